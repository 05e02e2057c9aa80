#include "data/DataFolders.h"

#include <cstdio>

namespace gs {

std::wstring AppDir;
std::wstring LastImageFile;
std::atomic<uint32_t> FileCounter{0};

std::wstring AppDirOf(const std::wstring& exePath) {
    const size_t sep = exePath.find_last_of(L"\\/");
    if (sep == std::wstring::npos) return L"";
    return exePath.substr(0, sep);  // the directory with its separator, less the last character
}

std::wstring FileStem(const LocalTime& t, uint32_t counter) {
    wchar_t buf[48];
    std::swprintf(buf, sizeof buf / sizeof buf[0], L"%04d-%02d-%02d-%02d-%02d-%02d-%04u", t.year,
                  t.month, t.day, t.hour, t.minute, t.second, counter % 10000);
    return buf;
}

std::wstring GetUniqueFileName(Platform& platform) {
    // One atomic step, so the GUI and the render thread never share a counter value.
    const uint32_t n = FileCounter.fetch_add(1, std::memory_order_relaxed);
    return FileStem(platform.localTime(), n);
}

void DeleteFolderFiles(Platform& platform, const std::wstring& wildcard) {
    platform.deleteFiles(wildcard);
}

}  // namespace gs

#include "settings/SetupFile.h"

#include <cstdio>

#include "platform/FileIo.h"

namespace gs::settings {

void SaveSetupFile(Platform& platform, const std::wstring& path,
                   const int (&indices)[kSetupColumns]) {
    try {
        const std::string text = SetupFileText(indices);
        const std::wstring temp = path + L".tmp";
        auto write = [&text](const std::wstring& to, bool toDisk) {
            File f = OpenFile(to, L"wb");
            if (!f) return false;
            const bool ok = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
            return CloseFile(f, toDisk) && ok;
        };
        if (write(temp, true)) {
            if (!platform.replaceFile(temp, path)) platform.deleteFile(temp);
        } else if (!platform.fileExists(temp)) {
            // No temporary file can be made here (a folder of that name, or a folder where
            // files may be changed but not created): the choice is still kept, in place.
            write(path, true);
        } else {
            platform.deleteFile(temp);
        }
    } catch (...) {
    }
}

std::optional<std::vector<std::string>> ReadSetupFields(const std::wstring& path) {
    File f = OpenFile(path, L"rb");
    if (!f) return std::nullopt;
    LastLineReader reader;
    char buf[16384];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) reader.feed(std::string_view(buf, n));
    if (std::ferror(f.get())) return std::nullopt;
    return SplitSetupLine(reader.last());
}

}  // namespace gs::settings

#include "platform/FileIo.h"

#include "platform/Text.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace gs {

File OpenFile(const std::wstring& path, const wchar_t* mode) {
#ifdef _WIN32
    return File(_wfopen(path.c_str(), mode));
#else
    return File(std::fopen(HostPath(path).c_str(), ToUtf8(mode).c_str()));
#endif
}

bool RemoveFile(const std::wstring& path) {
#ifdef _WIN32
    return _wremove(path.c_str()) == 0;
#else
    return std::remove(HostPath(path).c_str()) == 0;
#endif
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    File f = OpenFile(path, L"rb");
    if (!f) return std::nullopt;
    std::string bytes;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, n);
    if (std::ferror(f.get())) return std::nullopt;
    return bytes;
}

bool CloseFile(File& f, bool toDisk) {
    std::FILE* raw = f.release();
    if (!raw) return false;
    bool flushed = std::fflush(raw) == 0 && !std::ferror(raw);
#ifdef _WIN32
    if (flushed && toDisk) flushed = _commit(_fileno(raw)) == 0;
#else
    if (flushed && toDisk) flushed = fsync(fileno(raw)) == 0;
#endif
    return std::fclose(raw) == 0 && flushed;
}

}  // namespace gs

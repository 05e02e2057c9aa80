#pragma once
// Opening files by their UTF-16 names on every platform.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace gs {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::wstring& path, const wchar_t* mode);
bool RemoveFile(const std::wstring& path);

// A whole file's bytes; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// Closes the file and reports whether everything written reached it; with `toDisk`, only once
// the system has it on the disk (so a power cut cannot leave the file empty).
bool CloseFile(File& f, bool toDisk = false);

}  // namespace gs

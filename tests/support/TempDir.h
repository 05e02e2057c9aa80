#pragma once
// A fresh folder for one test, removed afterwards.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/FileIo.h"
#include "platform/Text.h"

namespace gs::test {

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "gs-test-XXXXXX").string();
        path = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::wstring file(const std::string& name) const { return FromUtf8((path / name).string()); }
};

// A whole file's bytes; empty when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
    return ReadWholeFile(FromUtf8(path.string())).value_or("");
}

}  // namespace gs::test

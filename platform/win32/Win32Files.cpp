// Folders and wildcard deletes through the shell.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/Win32Platform.h"

namespace gs::win32 {

bool Win32Platform::createDirectoryTree(const std::wstring& path) {
    const int rc = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    if (rc == ERROR_SUCCESS || rc == ERROR_ALREADY_EXISTS || rc == ERROR_FILE_EXISTS) {
        const DWORD attr = GetFileAttributesW(path.c_str());
        return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
    }
    return false;
}

void Win32Platform::deleteFiles(const std::wstring& wildcard) {
    std::wstring from = wildcard;
    from.push_back(L'\0');  // a list of one name, ended by a second NUL
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOERRORUI;  // 1172
    SHFileOperationW(&op);
}

bool Win32Platform::fileExists(const std::wstring& path) {
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::replaceFile(const std::wstring& from, const std::wstring& to) {
    // A read-only file stays as it is (Windows refuses to replace it; Wine would not).
    const DWORD attr = GetFileAttributesW(to.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY)) return false;
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32Platform::deleteFile(const std::wstring& path) {
    return DeleteFileW(path.c_str()) != FALSE;
}

std::intptr_t Win32Platform::shellExecute(NativeWindow owner, const std::wstring& verb,
                                          const std::wstring& file, const std::wstring& parameters,
                                          const std::wstring& directory, int show) {
    auto orNull = [](const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); };
    return reinterpret_cast<std::intptr_t>(
        ShellExecuteW(reinterpret_cast<HWND>(owner), orNull(verb), file.c_str(), orNull(parameters),
                      orNull(directory), show));
}

}  // namespace gs::win32

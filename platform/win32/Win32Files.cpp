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

}  // namespace gs::win32

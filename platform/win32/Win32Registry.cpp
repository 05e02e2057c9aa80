// The current user's registry, for the autostart value.
#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"

namespace gs::win32 {

namespace {
// Key paths given from the root start with a backslash; the API wants them relative.
std::wstring relative(const std::wstring& key) {
    return !key.empty() && key.front() == L'\\' ? key.substr(1) : key;
}

RegKey openKey(const std::wstring& key) {
    RegKey k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, relative(key).c_str(), 0, KEY_ALL_ACCESS, k.put()) !=
        ERROR_SUCCESS)
        return RegKey();
    return k;
}
}  // namespace

bool Win32Platform::regCreateKey(const std::wstring& key) {
    RegKey created;  // closed at once
    return RegCreateKeyExW(HKEY_CURRENT_USER, relative(key).c_str(), 0, nullptr,
                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, created.put(),
                           nullptr) == ERROR_SUCCESS;
}

Platform::RegWrite Win32Platform::regSetString(const std::wstring& key, const std::wstring& name,
                                               const std::wstring& data) {
    RegKey k = openKey(key);
    if (!k) return RegWrite::KeyNotOpened;
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    const LSTATUS rc = RegSetValueExW(k.get(), name.c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    return rc == ERROR_SUCCESS ? RegWrite::Written : RegWrite::Failed;
}

void Win32Platform::regDeleteValue(const std::wstring& key, const std::wstring& name) {
    if (RegKey k = openKey(key)) RegDeleteValueW(k.get(), name.c_str());
}

}  // namespace gs::win32

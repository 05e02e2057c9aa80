// A DLL named like a system DLL the program uses, as it might lie beside a program unzipped
// into a Downloads folder: when anything loads it, it leaves "planted-dll-loaded.txt" beside
// itself.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 32];
    DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\') --n;
    lstrcpyW(path + n, L"planted-dll-loaded.txt");
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DwmFlush(void) { return S_OK; }

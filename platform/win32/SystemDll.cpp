#include "platform/win32/SystemDll.h"

namespace gs::win32 {

void SearchSystemFolderOnly() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

FARPROC SystemFunction(const wchar_t* dll, const char* name) {
    // Kept loaded for the program's life: its functions are called again and again.
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace gs::win32

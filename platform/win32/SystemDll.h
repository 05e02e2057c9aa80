#pragma once
// Functions of system DLLs that are not on Windows' list of known DLLs, found only in the
// system folder: imported by name, such a DLL would be looked for beside the program first,
// where anything unzipped into the same folder (a Downloads folder) could stand in for it.
#include <windows.h>

namespace gs::win32 {

// Every program of ours calls this first thing: DLLs it (or a DLL it loads) asks for later are
// looked for in the system folder only.
void SearchSystemFolderOnly();

// The function `name` of `dll`, loaded from the system folder once; null when either is
// missing (an older Windows).
FARPROC SystemFunction(const wchar_t* dll, const char* name);

template <class F>
F* SystemFunctionAs(const wchar_t* dll, const char* name) {
    return reinterpret_cast<F*>(reinterpret_cast<void (*)()>(SystemFunction(dll, name)));
}

}  // namespace gs::win32

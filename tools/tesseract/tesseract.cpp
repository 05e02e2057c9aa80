// tesseract.exe: the program's OCR engine. It hands its arguments to a real Tesseract: on
// Windows the one beside it or in the usual install folder or on the PATH; under Wine the
// host's tesseract. Tesseract 4 and later want "--psm N" where the program says "-psm N".
#include <windows.h>

#include "tools/ToolRunner.h"

namespace {
std::wstring env(const wchar_t* name) {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(name, buf, MAX_PATH);
    return n && n < MAX_PATH ? std::wstring(buf, n) : L"";
}
}  // namespace

int wmain() {
    using namespace gs::tools;
    std::vector<std::wstring> args = OwnArguments();
    for (std::wstring& a : args)
        if (a == L"-psm") a = L"--psm";
    if (RunningUnderWine()) return RunHostProgram("tesseract", args);
    const std::wstring here = OwnFolder();
    // Not ourselves on the PATH: only a real Tesseract in a folder of its own.
    const std::wstring exe = FindProgram({here + L"tesseract\\tesseract.exe",
                                          env(L"ProgramFiles") + L"\\Tesseract-OCR\\tesseract.exe",
                                          env(L"LOCALAPPDATA") + L"\\Programs\\Tesseract-OCR\\tesseract.exe"},
                                         L"");
    if (exe.empty()) return kNotFound;
    return RunProgram(exe, args);
}

// tesseract.exe: the program's OCR engine. It hands its arguments to a real Tesseract: on
// Windows the one beside it or in the usual install folders (never one on the PATH, which may
// be this very forwarder); under Wine the host's tesseract. Tesseract 4 and later want "--psm N"
// where the program says "-psm N".
#include <windows.h>

#include "tools/ToolRunner.h"

int wmain() {
    using namespace gs::tools;
    std::vector<std::wstring> args = OwnArguments();
    for (std::wstring& a : args)
        if (a == L"-psm") a = L"--psm";
    if (RunningUnderWine()) return RunHostProgram("tesseract", args);
    const std::wstring here = OwnFolder();
    // Not ourselves on the PATH: only a real Tesseract in a folder of its own.
    const std::wstring exe =
        FindProgram({here + L"tesseract\\tesseract.exe",
                     Env(L"ProgramFiles") + L"\\Tesseract-OCR\\tesseract.exe",
                     Env(L"LOCALAPPDATA") + L"\\Programs\\Tesseract-OCR\\tesseract.exe"},
                    L"");
    if (exe.empty()) return kNotFound;
    return RunProgram(exe, args);
}

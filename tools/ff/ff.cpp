// ff.exe: the program's video encoder. It hands its arguments to a real FFmpeg: on Windows the
// one beside it, in the usual install folders or on the PATH; under Wine the host's ffmpeg.
#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "tools/ToolRunner.h"

namespace {

bool endsWithNoCase(const std::wstring& s, const std::wstring& tail) {
    if (s.size() < tail.size()) return false;
    return std::equal(tail.rbegin(), tail.rend(), s.rbegin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

// A MOV written without codec options comes out as 4:4:4 H.264, which most players refuse;
// 4:2:0 plays everywhere.
void playableMov(std::vector<std::wstring>& args) {
    if (args.empty() || !endsWithNoCase(args.back(), L".mov")) return;
    for (const std::wstring& a : args)
        if (a == L"-vcodec" || a == L"-c:v" || a == L"-codec:v" || a == L"-pix_fmt") return;
    args.insert(args.end() - 1, {L"-pix_fmt", L"yuv420p"});
}


}  // namespace

int wmain() {
    using namespace gs::tools;
    std::vector<std::wstring> args = OwnArguments();
    playableMov(args);
    if (RunningUnderWine()) return RunHostProgram("ffmpeg", args);
    const std::wstring here = OwnFolder();
    const std::wstring exe = FindProgram({here + L"ffmpeg.exe", here + L"ffmpeg\\bin\\ffmpeg.exe",
                                          Env(L"ProgramFiles") + L"\\ffmpeg\\bin\\ffmpeg.exe",
                                          L"C:\\ffmpeg\\bin\\ffmpeg.exe"},
                                         L"ffmpeg.exe");
    if (exe.empty()) return kNotFound;
    return RunProgram(exe, args);
}

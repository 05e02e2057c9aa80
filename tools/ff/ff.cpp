// ff.exe: the program's video encoder. It runs the FFmpeg shipped beside it (or, when that was
// removed, one installed for the machine or the user) with the program's command line, adapted
// so that every frame size and format renders, and hands back the engine's exit code.
#include <windows.h>

#include "platform/win32/Handles.h"
#include "tools/ToolRunner.h"
#include "tools/ff/EngineArguments.h"

namespace {

using namespace gs::tools;

// The PNG files in the first frame's folder: the frames of the recording.
int countFrames(const std::wstring& firstFrame) {
    const size_t slash = firstFrame.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : firstFrame.substr(0, slash + 1);
    WIN32_FIND_DATAW found;
    gs::win32::FindHandle find(FindFirstFileW((folder + L"*.png").c_str(), &found));
    int n = 0;
    for (bool more = static_cast<bool>(find); more;
         more = FindNextFileW(find.get(), &found) != FALSE)
        ++n;
    return n;
}

int render() {
    const std::vector<std::wstring> program = OwnArguments();
    const std::wstring engine =
        FindProgram(EnginePlaces(L"ffmpeg\\ffmpeg.exe", L"ffmpeg\\bin\\ffmpeg.exe"));
    if (engine.empty()) return kNotFound;
    const std::wstring first = FirstFrameFile(program);
    const std::optional<FrameSize> size =
        first.empty() ? std::nullopt : PngFrameSize(FileHead(first, 24));
    RunOptions options;
    options.timeLimitMs = RenderTimeLimitMs(first.empty() ? 0 : countFrames(first),
                                            size.value_or(FrameSize{1920, 1080}));
    // The engine's messages, for whoever needs to know why a render failed.
    options.logFile = TempFolder() + L"glimmershot-ffmpeg.log";
    return RunProgram(engine, EngineArguments(program, size), options);
}

}  // namespace

int wmain() {
    // DLLs loaded from here on come from System32 only: not the current folder, the PATH or
    // this program's own folder, where one could be planted.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return Guarded(render);
}

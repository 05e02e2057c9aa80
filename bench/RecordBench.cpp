// What one video frame costs (the screen read with its cursor mark, and the PNG at level 1 as the
// recorder writes it, its deflate shared out on the pool) and how many of the 83 ms slots of a
// 10 s recording had to be filled by copies, at the sizes people have (up to 4K); and the
// process's memory peak so far. The recorder reads a frame while the one before is written, so
// a frame's slot is bound by the slower of the two, not by their sum. Runs the program's own
// recorder on the real Win32 services over a desktop-like screen.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/BenchDesktop.h"
#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "imaging/ImageFiles.h"
#include "jobs/VideoRender.h"
#include "platform/FileIo.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "recording/ClipForm.h"
#include "recording/FrameTiming.h"
#include "ui/backend_win32.h"

namespace {
gs::TClipForm* recording = nullptr;
void CALLBACK stopRecording(HWND, UINT, UINT_PTR, DWORD) {
    if (recording) recording->StopRecording();
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The figures go to the file named first: a Windows-subsystem program has no console.
    const gs::File file(argc > 1 ? _wfopen(argv[1], L"w") : nullptr);
    FILE* out = file.get();
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 10;
    if (!out) return 2;
    gs::bench::ShowDesktop();
    gs::bench::BenchApp app;
    auto& platform = app.platform;
    auto& clip = app.clip;
    recording = &clip;

    std::fprintf(out, "%-10s %9s %9s %10s %7s %7s %10s %8s\n", "area", "grab ms", "png ms",
                 "slots/10s", "grabs", "copies", "copy share", "peak MB");
    const std::pair<int, int> sizes[] = {{640, 480},   {1280, 720},  {1280, 1024},
                                         {1920, 1080}, {2560, 1440}, {3840, 2160}};
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    for (auto [w, h] : sizes) {
        if (w > sw || h > sh) continue;
        // Away from the corner where the screen allows (the desktop's windows start there).
        const int left = std::min(100, sw - w), top = std::min(60, sh - h);
        const gs::Rect area{left, top, left + w, top + h};
        gs::Picture frame(w, h);
        auto grabber = platform.screenGrabber(w, h);
        const std::wstring file = gs::AppDir + L"\\frame.png";
        const double grabMs = gs::bench::TimeIt(20, [&] {
            grabber->grab(gs::Point{area.Left, area.Top}, frame);
            gs::DrawCursor(frame, clip.CursorImage->picture(), w / 2, h / 2);
        });
        const double pngMs = gs::bench::TimeIt(20, [&] {
            gs::imaging::WritePng(file, frame, {1, 65535, false, &app.pool});
        });
        // The recorder itself, for `seconds`, stopped by a timer that it pumps.
        clip.ClipRect = area;
        const UINT_PTR timer =
            SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), stopRecording);
        clip.RecordVideo();
        KillTimer(nullptr, timer);
        WIN32_FIND_DATAW fd;
        int files = 0;
        if (gs::win32::FindHandle find{
                FindFirstFileW((gs::AppDir + gs::TempVideoFolder + L"\\*.png").c_str(), &fd)}) {
            do ++files;
            while (FindNextFileW(find.get(), &fd));
        }
        const int copies = files - clip.capturedFrames;
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
        std::fprintf(out, "%4dx%-5d %9.1f %9.1f %10d %7d %7d %9.0f%% %8.0f\n", w, h, grabMs, pngMs,
                     files, clip.capturedFrames, copies, files ? 100.0 * copies / files : 0.0,
                     memory.PeakWorkingSetSize / 1048576.0);
        std::fflush(out);
        app.services.renders.waitIdle();
        app.form.DetectCreatedVideo();  // takes the job's end, as the tick would
        gs::DeleteFolderFiles(platform, gs::AppDir + gs::TempVideoFolder + L"\\*.*");
    }
    return 0;
}

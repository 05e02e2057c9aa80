// How long one capture takes, from the release of ALT to the preview, the clipboard and both
// files closed, and where the time goes. Puts a desktop-like picture on the screen, then runs the
// program's own capture (getscreen) and its parts on the real Win32 services. Prints medians in
// milliseconds.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchDesktop.h"
#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "imaging/ImageFiles.h"
#include "platform/FileIo.h"
#include "platform/win32/Win32Platform.h"
#include "recording/ClipForm.h"
#include "ui/backend_win32.h"

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 2 ? _wtoi(argv[2]) : 12;
    // The figures go to the file named first: a Windows-subsystem program has no console.
    const gs::File file(argc > 1 ? _wfopen(argv[1], L"w") : nullptr);
    FILE* out = file.get();
    if (!out) return 2;

    gs::bench::ShowDesktop();
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);

    gs::bench::BenchApp app;
    auto& platform = app.platform;
    auto& form = app.form;

    std::fprintf(out, "screen %dx%d, %d runs each, median ms\n", sw, sh, runs);
    std::fprintf(out, "%-10s %8s %8s %9s %8s %8s %8s %8s\n", "size", "total", "BitBlt", "clipboard",
                 "PNG", "JPEG", "preview", "png KiB");
    const std::pair<int, int> sizes[] = {
        {3840, 2160}, {2560, 1440}, {1920, 1080}, {1280, 1024}, {640, 480}};
    auto fixed1 = [](double v) {
        char b[32];
        std::snprintf(b, sizeof b, "%.1f", v);
        return std::string(b);
    };
    std::string lines;  // one comparable line a size, printed after the table
    for (auto [w, h] : sizes) {
        if (w > sw || h > sh) continue;
        const gs::Rect area{0, 0, w, h};
        form.StartPoint = gs::Point{area.Left, area.Top};
        form.StopPoint = gs::Point{area.Right, area.Bottom};
        bool ok = true;
        // From the start of the screen read: the screen read, the preview made, the capture on
        // the clipboard, both files written (the pending save finished).
        std::vector<double> read, shown, clipped, written;
        for (int i = 0; i < runs; ++i) {
            const double t0 = gs::bench::NowMs();
            ok = form.getscreen() && ok;
            form.FinishSaves();
            written.push_back(gs::bench::NowMs() - t0);
            read.push_back(platform.grabbed - t0);
            shown.push_back(platform.previewed - t0);
            clipped.push_back(platform.onClipboard - t0);
        }
        const double total = gs::bench::Median(written);
        gs::Picture shot;
        const double blt = gs::bench::TimeIt(runs, [&] { platform.copyScreen(area, shot); });
        const double clipMs =
            gs::bench::TimeIt(runs, [&] { platform.setClipboardBitmap(shot, nullptr); });
        const std::wstring png = gs::AppDir + L"\\bench.png", jpg = gs::AppDir + L"\\bench.jpg";
        const double pngMs = gs::bench::TimeIt(runs, [&] { gs::imaging::WritePng(png, shot); });
        const double jpgMs =
            gs::bench::TimeIt(runs, [&] { gs::imaging::WriteJpeg(jpg, shot, 90); });
        const double prevMs =
            gs::bench::TimeIt(runs, [&] { form.fitBitmapToRectangle(shot, 210, 135); });
        WIN32_FILE_ATTRIBUTE_DATA fa{};
        GetFileAttributesExW(png.c_str(), GetFileExInfoStandard, &fa);
        std::fprintf(out, "%4dx%-5d %8.1f %8.1f %9.1f %8.1f %8.1f %8.1f %8lu%s\n", w, h, total, blt,
                     clipMs, pngMs, jpgMs, prevMs, fa.nFileSizeLow / 1024,
                     ok ? "" : "  (a capture failed)");
        lines += "capture " + std::to_string(w) + "x" + std::to_string(h) + ": bitblt " +
                 fixed1(gs::bench::Median(read)) + " ms, preview " +
                 fixed1(gs::bench::Median(shown)) + " ms, clipboard " +
                 fixed1(gs::bench::Median(clipped)) + " ms, files " + fixed1(total) + " ms\n";
        std::fflush(out);
    }
    std::fputs(lines.c_str(), out);
    form.optClearAllFoldersClick();
    return 0;
}

// How long one capture takes, from the release of ALT to both files closed, and where the
// time goes. Puts a desktop-like picture on the screen, then runs the program's own capture
// (getscreen) and its parts on the real Win32 services. Prints medians in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "capture/CaptureFiles.h"
#include "capture/Form1.h"
#include "imaging/ImageFiles.h"
#include "platform/win32/Win32Platform.h"
#include "recording/ClipForm.h"
#include "ui/backend_win32.h"

namespace {

LRESULT CALLBACK desktopProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return DefWindowProcW(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT all;
    GetClientRect(h, &all);
    HBRUSH back = CreateSolidBrush(RGB(36, 94, 140));
    FillRect(dc, &all, back);
    DeleteObject(back);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    // Some application windows full of text, a gradient and a photo-like patch.
    const RECT wins[] = {{40, 40, 900, 700}, {700, 120, 1500, 900}, {1300, 60, 1880, 520}, {200, 600, 1000, 1050}};
    int seed = 1;
    for (const RECT& w : wins) {
        RECT title{w.left, w.top, w.right, w.top + 24}, body{w.left, w.top + 24, w.right, w.bottom};
        HBRUSH t = CreateSolidBrush(RGB(0, 84, 166)), b = CreateSolidBrush(RGB(250, 250, 250));
        FillRect(dc, &title, t);
        FillRect(dc, &body, b);
        DeleteObject(t);
        DeleteObject(b);
        for (int y = body.top + 6; y < body.bottom - 14; y += 16) {
            std::wstring line;
            for (int i = 0; i < 80; ++i) {
                seed = seed * 1103515245 + 12345;
                line += (seed >> 16) % 7 == 0 ? L' ' : static_cast<wchar_t>(L'a' + ((seed >> 8) % 26));
            }
            SetTextColor(dc, RGB(20, 20, 20));
            TextOutW(dc, body.left + 8, y, line.c_str(), static_cast<int>(line.size()));
        }
    }
    for (int x = 0; x < 400; ++x) {
        RECT r{1450 + x, 600, 1451 + x, 1000};
        HBRUSH g = CreateSolidBrush(RGB(x * 255 / 400, 128, 255 - x * 255 / 400));
        FillRect(dc, &r, g);
        DeleteObject(g);
    }
    for (int y = 700; y < 860; ++y)
        for (int x = 1500; x < 1700; ++x) {
            seed = seed * 1103515245 + 12345;
            SetPixel(dc, x, y, RGB(120 + ((seed >> 16) & 63), 90 + ((seed >> 10) & 63), 60));
        }
    SelectObject(dc, old);
    DeleteObject(font);
    EndPaint(h, &ps);
    return 0;
}

double now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeIt(int runs, const std::function<void()>& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const double a = now();
        f();
        t.push_back(now() - a);
    }
    return median(t);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 2 ? _wtoi(argv[2]) : 12;
    FILE* out = argc > 1 ? _wfopen(argv[1], L"w") : stdout;
    if (!out) return 2;

    WNDCLASSW wc{};
    wc.lpfnWndProc = desktopProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BenchDesktop";
    RegisterClassW(&wc);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    HWND desk = CreateWindowExW(WS_EX_TOOLWINDOW, L"BenchDesktop", L"", WS_POPUP | WS_VISIBLE, 0, 0, sw, sh,
                                nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(desk);

    gs::win32::Win32Platform platform;
    auto backend = gs::ui::MakeWin32Backend(platform);
    gs::TForm1 form(platform, *backend);
    gs::TClipForm clip(platform, *backend);
    form.attachClipForm(clip);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    gs::AppDir = std::wstring(temp) + L"glimmershot-bench";
    for (int i = 0; i < 20; ++i) {
        platform.processMessages();
        Sleep(10);
    }

    std::fprintf(out, "screen %dx%d, %d runs each, median ms\n", sw, sh, runs);
    std::fprintf(out, "%-10s %8s %8s %9s %8s %8s %8s %8s\n", "size", "total", "BitBlt", "clipboard",
                 "PNG", "JPEG", "preview", "png KiB");
    const std::pair<int, int> sizes[] = {{1920, 1080}, {1280, 1024}, {640, 480}};
    for (auto [w, h] : sizes) {
        if (w > sw || h > sh) continue;
        const gs::Rect area{0, 0, w, h};
        form.StartPoint = gs::Point{area.Left, area.Top};
        form.StopPoint = gs::Point{area.Right, area.Bottom};
        bool ok = true;
        const double total = timeIt(runs, [&] { ok = form.getscreen() && ok; });
        gs::Picture shot;
        const double blt = timeIt(runs, [&] { platform.copyScreen(area, shot); });
        const double clipMs = timeIt(runs, [&] { platform.setClipboardBitmap(form.handle(), shot); });
        const std::wstring png = gs::AppDir + L"\\bench.png", jpg = gs::AppDir + L"\\bench.jpg";
        const double pngMs = timeIt(runs, [&] { gs::imaging::WritePng(png, shot); });
        const double jpgMs = timeIt(runs, [&] { gs::imaging::WriteJpeg(jpg, shot, 90); });
        const double prevMs = timeIt(runs, [&] { form.fitBitmapToRectangle(shot, 210, 135); });
        WIN32_FILE_ATTRIBUTE_DATA fa{};
        GetFileAttributesExW(png.c_str(), GetFileExInfoStandard, &fa);
        std::fprintf(out, "%4dx%-5d %8.1f %8.1f %9.1f %8.1f %8.1f %8.1f %8lu%s\n", w, h, total, blt, clipMs,
                     pngMs, jpgMs, prevMs, fa.nFileSizeLow / 1024, ok ? "" : "  (a capture failed)");
        std::fflush(out);
    }
    form.optClearAllFoldersClick();
    if (out != stdout) std::fclose(out);
    return 0;
}

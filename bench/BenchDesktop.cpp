// A desktop-like picture on the screen for the benchmarks to capture, and their timing helpers.
#include "bench/BenchDesktop.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "data/DataFolders.h"
#include "platform/win32/Handles.h"

namespace gs::bench {

namespace {

void fill(HDC dc, const RECT& r, COLORREF color) {
    win32::Brush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.get());
}

LRESULT CALLBACK desktopProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT) return DefWindowProcW(h, msg, wp, lp);
    win32::PaintDc paint(h);
    const HDC dc = paint.get();
    RECT all;
    GetClientRect(h, &all);
    fill(dc, all, RGB(36, 94, 140));
    win32::Font font(
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    win32::Selected useFont(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    // Some application windows full of text, a gradient and a photo-like patch.
    const RECT wins[] = {
        {40, 40, 900, 700}, {700, 120, 1500, 900}, {1300, 60, 1880, 520}, {200, 600, 1000, 1050}};
    int seed = 1;
    for (const RECT& w : wins) {
        RECT title{w.left, w.top, w.right, w.top + 24}, body{w.left, w.top + 24, w.right, w.bottom};
        fill(dc, title, RGB(0, 84, 166));
        fill(dc, body, RGB(250, 250, 250));
        for (int y = body.top + 6; y < body.bottom - 14; y += 16) {
            std::wstring line;
            for (int i = 0; i < 80; ++i) {
                seed = seed * 1103515245 + 12345;
                line +=
                    (seed >> 16) % 7 == 0 ? L' ' : static_cast<wchar_t>(L'a' + ((seed >> 8) % 26));
            }
            SetTextColor(dc, RGB(20, 20, 20));
            TextOutW(dc, body.left + 8, y, line.c_str(), static_cast<int>(line.size()));
        }
    }
    for (int x = 0; x < 400; ++x)
        fill(dc, RECT{1450 + x, 600, 1451 + x, 1000}, RGB(x * 255 / 400, 128, 255 - x * 255 / 400));
    for (int y = 700; y < 860; ++y)
        for (int x = 1500; x < 1700; ++x) {
            seed = seed * 1103515245 + 12345;
            SetPixel(dc, x, y, RGB(120 + ((seed >> 16) & 63), 90 + ((seed >> 10) & 63), 60));
        }
    return 0;
}

}  // namespace

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeIt(int runs, const std::function<void()>& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const double a = NowMs();
        f();
        t.push_back(NowMs() - a);
    }
    return Median(t);
}

void ShowDesktop() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = desktopProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BenchDesktop";
    RegisterClassW(&wc);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    HWND desk = CreateWindowExW(WS_EX_TOOLWINDOW, L"BenchDesktop", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                sw, sh, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(desk);
}

BenchApp::BenchApp() {
    form.attachClipForm(clip);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    AppDir = std::wstring(temp) + L"glimmershot-bench";
    form.CreateDirectories();
    for (int i = 0; i < 20; ++i) {
        platform.processMessages();
        Sleep(10);
    }
}

}  // namespace gs::bench

// A small Windows program the end-to-end tests run beside Glimmershot to look at it from
// outside: its windows, their state, its GDI/USER object counts, and its tray callbacks.
// Every command prints plain "key=value" lines.
#include "probe/probe.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace probe {

std::vector<HWND> windowsOfClass(const std::wstring& cls) {
    struct Ctx {
        std::wstring cls;
        std::vector<HWND> found;
    } ctx{cls, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            wchar_t name[256];
            if (GetClassNameW(h, name, 256) && c->cls == name) c->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

}  // namespace probe

namespace {

using probe::windowsOfClass;

std::wstring arg(int argc, wchar_t** argv, int i) { return i < argc ? argv[i] : L""; }

int alphaOf(HWND h) {
    if (!(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(h, nullptr, &alpha, &flags)) return -1;
    return (flags & LWA_ALPHA) ? alpha : 255;
}

void describe(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    wchar_t caption[512] = L"";
    GetWindowTextW(h, caption, 512);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    std::printf(
        "hwnd=%llu pid=%lu visible=%d iconic=%d left=%ld top=%ld right=%ld bottom=%ld "
        "topmost=%d layered=%d alpha=%d caption=%ls\n",
        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)), pid,
        IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0, r.left, r.top, r.right, r.bottom,
        (ex & WS_EX_TOPMOST) ? 1 : 0, (ex & WS_EX_LAYERED) ? 1 : 0, alphaOf(h), caption);
}

// Samples a window class every few milliseconds; reports how often it was on screen with
// something showing (visible, not minimised, alpha above zero).
int monitor(const std::wstring& cls, int ms) {
    const DWORD end = GetTickCount() + ms;
    int samples = 0, shown = 0, visible = 0, seen = 0;
    while (GetTickCount() < end) {
        auto found = windowsOfClass(cls);
        ++samples;
        if (!found.empty()) ++seen;
        for (HWND h : found) {
            if (!IsWindowVisible(h)) continue;
            ++visible;
            if (!IsIconic(h) && alphaOf(h) > 0) ++shown;
        }
        Sleep(5);
    }
    std::printf("samples=%d seen=%d visible=%d shown=%d\n", samples, seen, visible, shown);
    return 0;
}

int trayEvent(UINT event) {
    auto found = windowsOfClass(L"GlimmershotTray");
    if (found.empty()) return 3;
    // The program's tray callback, in the version 4 layout.
    PostMessageW(found[0], WM_APP + 1, 0, MAKELPARAM(event, 1));
    return 0;
}

// The test pattern: every pixel's colour follows from its screen position.
uint32_t patternAt(int x, int y) {
    return (static_cast<uint32_t>((x * 7) & 255) << 16) |
           (static_cast<uint32_t>((y * 5) & 255) << 8) | static_cast<uint32_t>((x ^ y) & 255);
}

LRESULT CALLBACK patternProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        gs::win32::PaintDc paint(h);
        const HDC dc = paint.get();
        RECT r;
        GetWindowRect(h, &r);
        const int w = r.right - r.left, ht = r.bottom - r.top;
        std::vector<uint32_t> px(static_cast<size_t>(w) * ht);
        for (int y = 0; y < ht; ++y)
            for (int x = 0; x < w; ++x)
                px[static_cast<size_t>(y) * w + x] = patternAt(r.left + x, r.top + y);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -ht, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, 0, w, ht, 0, 0, 0, ht, px.data(), &bi, DIB_RGB_COLORS);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

// A plain window of black text on white, for the OCR test.
std::wstring gText;
LRESULT CALLBACK textProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        gs::win32::PaintDc paint(h);
        const HDC dc = paint.get();
        RECT r;
        GetClientRect(h, &r);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        gs::win32::Font f(CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                      ANTIALIASED_QUALITY, 0, L"Arial"));
        gs::win32::Selected useFont(dc, f.get());
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, gText.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

// A window showing a picture file (a BMP), for screens drawn by a test.
gs::win32::Bitmap gPicture;
LRESULT CALLBACK pictureProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        gs::win32::PaintDc paint(h);
        gs::win32::MemoryDc source(CreateCompatibleDC(paint.get()));
        gs::win32::Selected show(source.get(), gPicture.get());
        RECT r;
        GetClientRect(h, &r);
        BitBlt(paint.get(), 0, 0, r.right, r.bottom, source.get(), 0, 0, SRCCOPY);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

int pattern(int x, int y, int w, int h, const std::wstring& text = L"",
            const std::wstring& picture = L"") {
    WNDCLASSW wc{};
    gText = text;
    if (!picture.empty()) {
        gPicture.reset(static_cast<HBITMAP>(
            LoadImageW(nullptr, picture.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        BITMAP bm{};
        if (!gPicture || !GetObjectW(gPicture.get(), sizeof bm, &bm)) return 4;
        w = bm.bmWidth;
        h = bm.bmHeight;
    }
    wc.lpfnWndProc = !picture.empty() ? pictureProc : text.empty() ? patternProc : textProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ProbePattern";
    RegisterClassW(&wc);
    HWND win = CreateWindowExW(WS_EX_TOOLWINDOW, L"ProbePattern", L"pattern", WS_POPUP | WS_VISIBLE,
                               x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    if (!win) return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}

// Writes the clipboard's bitmap (CF_DIB) to a BMP file and its "PNG" format to <file>.png;
// prints its formats, the size of the bitmap and whether CF_BITMAP can be had.
int clipboard(const std::wstring& out) {
    if (!OpenClipboard(nullptr)) return 3;
    const UINT pngFormat = RegisterClipboardFormatW(L"PNG");
    std::printf("bitmap=%d dib=%d text=%d png=%d\n", IsClipboardFormatAvailable(CF_BITMAP),
                IsClipboardFormatAvailable(CF_DIB), IsClipboardFormatAvailable(CF_UNICODETEXT),
                IsClipboardFormatAvailable(pngFormat));
    if (HANDLE p = GetClipboardData(pngFormat)) {
        if (FILE* f = _wfopen((out + L".png").c_str(), L"wb")) {
            std::fwrite(GlobalLock(p), 1, GlobalSize(p), f);
            GlobalUnlock(p);
            std::fclose(f);
        }
    }
    if (HANDLE b = GetClipboardData(CF_BITMAP)) {
        BITMAP bm{};
        GetObjectW(b, sizeof bm, &bm);
        std::printf("ddb_width=%ld ddb_height=%ld\n", bm.bmWidth, bm.bmHeight);
    }
    if (HANDLE t = GetClipboardData(CF_UNICODETEXT)) {
        // The text goes to the file as UTF-8, exactly.
        const auto* w = static_cast<const wchar_t*>(GlobalLock(t));
        const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
        std::string u(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, w, -1, u.data(), n, nullptr, nullptr);
        GlobalUnlock(t);
        if (FILE* f = _wfopen((out + L".txt").c_str(), L"wb")) {
            std::fwrite(u.data(), 1, u.size() - 1, f);
            std::fclose(f);
        }
    }
    HANDLE h = GetClipboardData(CF_DIB);
    int rc = 4;
    if (h) {
        const auto* bih = static_cast<const BITMAPINFOHEADER*>(GlobalLock(h));
        const SIZE_T size = GlobalSize(h);
        std::printf("width=%ld height=%ld bpp=%d\n", bih->biWidth, bih->biHeight, bih->biBitCount);
        BITMAPFILEHEADER fh{};
        fh.bfType = 0x4D42;
        fh.bfSize = static_cast<DWORD>(sizeof(fh) + size);
        DWORD colours = bih->biCompression == BI_BITFIELDS ? 12 : 0;
        fh.bfOffBits = static_cast<DWORD>(sizeof(fh) + bih->biSize + colours);
        if (FILE* f = _wfopen(out.c_str(), L"wb")) {
            std::fwrite(&fh, sizeof(fh), 1, f);
            std::fwrite(bih, 1, size, f);
            std::fclose(f);
            rc = 0;
        }
        GlobalUnlock(h);
    }
    CloseClipboard();
    return rc;
}

// Prints the rectangles of a window's region, in window coordinates.
int region(const std::wstring& cls) {
    auto found = windowsOfClass(cls);
    if (found.empty()) return 3;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const int type = GetWindowRgn(found[0], rgn);
    std::printf("type=%d\n", type);
    const DWORD bytes = GetRegionData(rgn, 0, nullptr);
    std::vector<char> buf(bytes);
    if (bytes && GetRegionData(rgn, bytes, reinterpret_cast<RGNDATA*>(buf.data()))) {
        const auto* data = reinterpret_cast<const RGNDATA*>(buf.data());
        const auto* r = reinterpret_cast<const RECT*>(data->Buffer);
        for (DWORD i = 0; i < data->rdh.nCount; ++i)
            std::printf("left=%ld top=%ld right=%ld bottom=%ld\n", r[i].left, r[i].top, r[i].right,
                        r[i].bottom);
    }
    DeleteObject(rgn);
    return 0;
}

// How long the window's thread takes to answer, sampled for a while: the longest wait in ms.
int responsive(const std::wstring& cls, int ms) {
    auto found = windowsOfClass(cls);
    if (found.empty()) return 3;
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    DWORD worst = 0;
    int samples = 0;
    while (GetTickCount() < end) {
        const DWORD t0 = GetTickCount();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(found[0], WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        worst = std::max(worst, GetTickCount() - t0);
        ++samples;
        Sleep(10);
    }
    std::printf("samples=%d worst=%lu\n", samples, worst);
    return 0;
}

// Stand-in for an editor or a viewer: appends its command line to the file named by GS_RECORD.
int record() {
    wchar_t path[1024];
    if (!GetEnvironmentVariableW(L"GS_RECORD", path, 1024)) return 3;
    FILE* f = _wfopen(path, L"ab");
    if (!f) return 4;
    const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size() - 1, f);
    std::fclose(f);
    return 0;
}

// Visible top-level windows whose caption contains a text.
int captions(const std::wstring& part) {
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t caption[512] = L"";
            GetWindowTextW(h, caption, 512);
            if (IsWindowVisible(h) && std::wstring(caption).find(*reinterpret_cast<std::wstring*>(
                                          lp)) != std::wstring::npos)
                describe(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&part));
    return 0;
}

// The window that has the keyboard, and the text of the edit control inside the first window
// of class `cls` (a text editor's document), for tests that type beside the program.
int focus(const std::wstring& cls) {
    wchar_t name[256] = L"";
    const HWND fg = GetForegroundWindow();
    GetClassNameW(fg, name, 256);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(GetWindowThreadProcessId(fg, nullptr), &gui);
    wchar_t focused[256] = L"";
    GetClassNameW(gui.hwndFocus, focused, 256);
    std::printf("foreground=%ls hwnd=%llu focus=%ls menu=%d alt=%d\n", name,
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(fg)),
                gui.hwndFocus ? focused : L"-", (gui.flags & GUI_INMENUMODE) ? 1 : 0,
                (GetAsyncKeyState(VK_MENU) & 0x8000) ? 1 : 0);
    const auto found = windowsOfClass(cls);
    const HWND edit = found.empty() ? nullptr : FindWindowExW(found[0], nullptr, L"Edit", nullptr);
    if (!edit) return cls.empty() ? 0 : 3;
    // Another process's control: its text comes only by asking it (GetWindowText would give
    // the window's caption).
    DWORD_PTR length = 0;
    SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &got);
    text.resize(std::min<size_t>(got, length));
    std::printf("text=%ls\n", text.c_str());
    return 0;
}

// The visible message boxes: their caption and text; "dismiss" presses OK on them.
int dialogs(bool dismiss) {
    for (HWND h : windowsOfClass(L"#32770")) {
        if (!IsWindowVisible(h)) continue;
        wchar_t caption[256] = L"", text[1024] = L"";
        GetWindowTextW(h, caption, 256);
        GetDlgItemTextW(h, 0xFFFF, text, 1024);
        std::printf("hwnd=%llu caption=%ls|%ls\n",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)), caption, text);
        if (dismiss) PostMessageW(h, WM_COMMAND, IDOK, 0);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring me(self);
    if (me.size() >= 11 && _wcsicmp(me.c_str() + me.size() - 11, L"mspaint.exe") == 0)
        return record();
    const std::wstring cmd = arg(argc, argv, 1);
    if (cmd == L"record") return record();
    if (cmd == L"responsive")
        return responsive(arg(argc, argv, 2), _wtoi(arg(argc, argv, 3).c_str()));
    if (cmd == L"captions") return captions(arg(argc, argv, 2));
    if (cmd == L"dialogs") return dialogs(false);
    if (cmd == L"focus") return focus(arg(argc, argv, 2));
    if (cmd == L"dismiss") return dialogs(true);
    if (cmd == L"windows") {
        for (HWND h : windowsOfClass(arg(argc, argv, 2))) describe(h);
        return 0;
    }
    if (cmd == L"monitor") return monitor(arg(argc, argv, 2), _wtoi(arg(argc, argv, 3).c_str()));
    if (cmd == L"tray")
        return trayEvent(static_cast<UINT>(wcstoul(arg(argc, argv, 2).c_str(), nullptr, 0)));
    if (cmd == L"objects")
        return probe::objects(static_cast<DWORD>(_wtoi(arg(argc, argv, 2).c_str())));
    if (cmd == L"ticks")
        return probe::ticks(_wtoi(arg(argc, argv, 2).c_str()),
                            static_cast<UINT_PTR>(_wtoi(arg(argc, argv, 3).c_str())));
    if (cmd == L"holdclip")
        return probe::holdClipboard(_wtoi(arg(argc, argv, 2).c_str()), arg(argc, argv, 3));
    if (cmd == L"hotkey")
        return probe::holdHotKey(static_cast<UINT>(wcstoul(arg(argc, argv, 2).c_str(), nullptr, 0)),
                                 _wtoi(arg(argc, argv, 3).c_str()), arg(argc, argv, 4));
    if (cmd == L"untray") return probe::removeTrayIcon();
    if (cmd == L"idle") return probe::idleWindow(_wtoi(arg(argc, argv, 2).c_str()));
    if (cmd == L"broadcast") return probe::broadcast(arg(argc, argv, 2));
    if (cmd == L"pattern" || cmd == L"text")
        return pattern(_wtoi(arg(argc, argv, 2).c_str()), _wtoi(arg(argc, argv, 3).c_str()),
                       _wtoi(arg(argc, argv, 4).c_str()), _wtoi(arg(argc, argv, 5).c_str()),
                       cmd == L"text" ? arg(argc, argv, 6) : L"");
    if (cmd == L"picture")  // picture X Y FILE.bmp: the file at its own size
        return pattern(_wtoi(arg(argc, argv, 2).c_str()), _wtoi(arg(argc, argv, 3).c_str()), 0, 0,
                       L"", arg(argc, argv, 4));
    if (cmd == L"clipboard") return clipboard(arg(argc, argv, 2));
    if (cmd == L"region") return region(arg(argc, argv, 2));
    if (cmd == L"tooltips") {
        for (HWND h : windowsOfClass(L"tooltips_class32"))
            if (IsWindowVisible(h)) describe(h);
        return 0;
    }
    if (cmd == L"post") {  // post HWND MSG [WPARAM LPARAM]
        PostMessageW(reinterpret_cast<HWND>(static_cast<uintptr_t>(
                         _wcstoui64(arg(argc, argv, 2).c_str(), nullptr, 0))),
                     static_cast<UINT>(wcstoul(arg(argc, argv, 3).c_str(), nullptr, 0)),
                     static_cast<WPARAM>(_wcstoui64(arg(argc, argv, 4).c_str(), nullptr, 0)),
                     static_cast<LPARAM>(_wcstoi64(arg(argc, argv, 5).c_str(), nullptr, 0)));
        return 0;
    }
    if (cmd == L"place") {  // place CLASS X Y W H: the first window of the class, moved there
        const auto found = windowsOfClass(arg(argc, argv, 2));
        if (found.empty()) return 3;
        SetWindowPos(found[0], nullptr, _wtoi(arg(argc, argv, 3).c_str()),
                     _wtoi(arg(argc, argv, 4).c_str()), _wtoi(arg(argc, argv, 5).c_str()),
                     _wtoi(arg(argc, argv, 6).c_str()), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    if (cmd == L"close") {
        for (HWND h : windowsOfClass(arg(argc, argv, 2))) PostMessageW(h, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fprintf(
        stderr,
        "usage: probe "
        "windows|focus|place|monitor|tray|objects|ticks|holdclip|hotkey|untray|broadcast|pattern|"
        "clipboard|region|tooltips|close ...\n");
    return 2;
}

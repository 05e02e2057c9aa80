// A small Windows program the end-to-end tests run beside Glimmershot to look at it from
// outside: its windows, their state, its GDI/USER object counts, and its tray callbacks.
// Every command prints plain "key=value" lines.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring arg(int argc, wchar_t** argv, int i) { return i < argc ? argv[i] : L""; }

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
    std::printf("hwnd=%llu pid=%lu visible=%d iconic=%d left=%ld top=%ld right=%ld bottom=%ld "
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

int guiResources(DWORD pid) {
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!p) return 3;
    std::printf("gdi=%lu user=%lu\n", GetGuiResources(p, GR_GDIOBJECTS), GetGuiResources(p, GR_USEROBJECTS));
    CloseHandle(p);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring cmd = arg(argc, argv, 1);
    if (cmd == L"windows") {
        for (HWND h : windowsOfClass(arg(argc, argv, 2))) describe(h);
        return 0;
    }
    if (cmd == L"monitor") return monitor(arg(argc, argv, 2), _wtoi(arg(argc, argv, 3).c_str()));
    if (cmd == L"tray") return trayEvent(static_cast<UINT>(wcstoul(arg(argc, argv, 2).c_str(), nullptr, 0)));
    if (cmd == L"gui") return guiResources(static_cast<DWORD>(_wtoi(arg(argc, argv, 2).c_str())));
    if (cmd == L"close") {
        for (HWND h : windowsOfClass(arg(argc, argv, 2))) PostMessageW(h, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fprintf(stderr, "usage: probe windows|monitor|tray|gui|close ...\n");
    return 2;
}

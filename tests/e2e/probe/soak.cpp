// Probe commands for the soak and fault tests: drive the program's timer, get in its way
// (clipboard, hot key, tray icon) and measure what it holds.
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "probe/probe.h"
#include "support/GdiObjects.h"

namespace probe {

namespace {

HWND helperWindow() {
    auto found = windowsOfClass(L"GlimmershotTray");
    return found.empty() ? nullptr : found[0];
}

void mark(const std::wstring& marker, const char* text) {
    if (FILE* f = _wfopen(marker.c_str(), L"wb")) {
        std::fputs(text, f);
        std::fclose(f);
    }
}

}  // namespace

// Delivers timer ticks straight to the program's timer window, one after another: each is
// handled before the next is sent, so the program runs its tick as often as it can.
int ticks(int count, UINT_PTR id) {
    HWND h = helperWindow();
    if (!h) return 3;
    const DWORD t0 = GetTickCount();
    int answered = 0;
    for (int i = 0; i < count; ++i) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(h, WM_TIMER, id, 0, SMTO_NORMAL, 10000, &result)) ++answered;
    }
    std::printf("sent=%d answered=%d ms=%lu\n", count, answered, GetTickCount() - t0);
    return 0;
}

// Holds the clipboard open for a while, as a busy program would; the marker says when.
int holdClipboard(int ms, const std::wstring& marker) {
    if (!OpenClipboard(nullptr)) return 3;
    mark(marker, "held");
    Sleep(static_cast<DWORD>(ms));
    CloseClipboard();
    return 0;
}

// Registers a hot key for itself and keeps it for a while, counting the presses it receives.
int holdHotKey(UINT vk, int ms, const std::wstring& marker) {
    const bool ok = RegisterHotKey(nullptr, 1, 0, vk) != FALSE;
    mark(marker, ok ? "held" : "refused");
    int presses = 0;
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_HOTKEY) ++presses;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    if (ok) UnregisterHotKey(nullptr, 1);
    std::printf("registered=%d presses=%d\n", ok ? 1 : 0, presses);
    return 0;
}

// Takes the program's icon out of the notification area, as a restarting shell loses it.
int removeTrayIcon() {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = helperWindow();
    nid.uID = 1;
    std::printf("removed=%d\n", nid.hWnd && Shell_NotifyIconW(NIM_DELETE, &nid) ? 1 : 0);
    return 0;
}

int broadcast(const std::wstring& name) {
    const UINT msg = RegisterWindowMessageW(name.c_str());
    std::printf("sent=%d\n", msg && PostMessageW(HWND_BROADCAST, msg, 0, 0) ? 1 : 0);
    return 0;
}

// The floor for the idle benchmark: a bare hidden window with a 50 ms timer, and the key
// state read on every message, for as long as asked.
int idleWindow(int ms) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ProbeIdle";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, L"ProbeIdle", L"idle", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, wc.hInstance, nullptr);
    SetTimer(h, 1, 50, nullptr);
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (GetTickCount() < end && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        GetAsyncKeyState(VK_MENU);
        DispatchMessageW(&msg);
    }
    DestroyWindow(h);
    return 0;
}

// What a process holds: GDI objects (and regions), its windows (top-level and child, the
// USER objects Wine lets us count), and its private and working-set memory in KiB.
int objects(DWORD pid) {
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!p) return 3;
    const gs::test::GdiCount gdi = gs::test::CountGdiObjects(p);
    PROCESS_MEMORY_COUNTERS_EX mem{};
    mem.cb = sizeof(mem);
    GetProcessMemoryInfo(p, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof(mem));
    CloseHandle(p);
    struct Ctx {
        DWORD pid;
        int windows = 0;
    } ctx{pid};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner != c->pid) return TRUE;
            ++c->windows;
            EnumChildWindows(
                h,
                [](HWND, LPARAM l) -> BOOL { return ++reinterpret_cast<Ctx*>(l)->windows, TRUE; },
                lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    std::printf("gdi=%d regions=%d windows=%d private=%llu ws=%llu\n", gdi.total, gdi.regions,
                ctx.windows, static_cast<unsigned long long>(mem.PrivateUsage / 1024),
                static_cast<unsigned long long>(mem.WorkingSetSize / 1024));
    return gdi.total < 0 ? 4 : 0;
}

}  // namespace probe

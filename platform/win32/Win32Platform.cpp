#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include "platform/win32/OwnPath.h"

namespace gs::win32 {

bool Win32Platform::asyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey) != 0; }

Point Win32Platform::cursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return Point{p.x, p.y};
}

bool Win32Platform::maskAltRelease() {
    // 0xE8 is unassigned: no program has a command or a character on it.
    constexpr WORD kUnassignedKey = 0xE8;
    INPUT keys[2]{};
    for (INPUT& k : keys) {
        k.type = INPUT_KEYBOARD;
        k.ki.wVk = kUnassignedKey;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, keys, sizeof(INPUT)) == 2;
}

uint32_t Win32Platform::tickCount() { return GetTickCount(); }

LocalTime Win32Platform::localTime() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void Win32Platform::sleep(uint32_t ms) { Sleep(ms); }

void Win32Platform::processMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring Win32Platform::exePath() { return OwnPath(); }

std::wstring Win32Platform::lowerCase(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

int Win32Platform::messageBox(NativeWindow owner, const std::wstring& text,
                              const std::wstring& title, unsigned style) {
    return MessageBoxW(reinterpret_cast<HWND>(owner), text.c_str(), title.c_str(), style);
}

}  // namespace gs::win32

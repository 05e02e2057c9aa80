// Hot keys, child processes and file copies and reads.
#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"

namespace gs::win32 {

uint16_t Win32Platform::globalAddAtom(const std::wstring& name) {
    return GlobalAddAtomW(name.c_str());
}

void Win32Platform::globalDeleteAtom(uint16_t atom) { GlobalDeleteAtom(atom); }

bool Win32Platform::registerHotKey(NativeWindow window, int id, unsigned modifiers, unsigned vk) {
    return RegisterHotKey(reinterpret_cast<HWND>(window), id, modifiers, vk) != FALSE;
}

void Win32Platform::unregisterHotKey(NativeWindow window, int id) {
    UnregisterHotKey(reinterpret_cast<HWND>(window), id);
}

std::optional<uint32_t> Win32Platform::runAndWait(const std::wstring& application,
                                                  const std::wstring& commandLine,
                                                  const std::function<bool()>& keepWaiting) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.wShowWindow = SW_HIDE;  // without STARTF_USESHOWWINDOW: the system's default applies
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;  // CreateProcessW may write into it
    const BOOL started = CreateProcessW(
        application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr, FALSE,
        NORMAL_PRIORITY_CLASS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &si, &pi);
    Handle process(pi.hProcess), thread(pi.hThread);
    if (!started) return std::nullopt;
    // The calling thread's own messages keep flowing while it waits (a GUI thread's windows
    // stay responsive; a worker has none, and this costs it nothing).
    while (WaitForSingleObject(process.get(), 50) != WAIT_OBJECT_0) {
        if (!keepWaiting()) return std::nullopt;
        processMessages();
        Sleep(20);
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process.get(), &code)) return std::nullopt;
    return code;
}

bool Win32Platform::copyFile(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

int64_t Win32Platform::fileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a) ||
        (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (static_cast<int64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

std::optional<std::string> Win32Platform::readFinishedFile(const std::wstring& path) {
    // Without FILE_SHARE_WRITE the open fails while a writer holds the file.
    FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return std::nullopt;
    std::string bytes;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &n, nullptr)) {
        if (n == 0) return bytes;
        bytes.append(buf, n);
    }
    return std::nullopt;
}

}  // namespace gs::win32

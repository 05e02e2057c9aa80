#pragma once
// The operating-system services the program calls, shaped after the calls themselves.
// platform/win32 implements them for real; tests use an in-memory fake.
#include <cstdint>
#include <string>

#include "platform/Picture.h"
#include "platform/Types.h"

namespace gs {

// Virtual-key codes the program asks about (same values as on Windows).
enum VirtualKey : int { kVkLButton = 0x01, kVkRButton = 0x02, kVkMenu = 0x12, kVkF10 = 0x79 };

// Message-box styles used by the program (same values as on Windows).
inline constexpr int kSwShow = 5;
inline constexpr int kSwHide = 0;

enum MessageBoxStyle : unsigned {
    kMbOk = 0x0,
    kMbIconError = 0x10,
    kMbIconInformation = 0x40,
};

using NativeWindow = std::uintptr_t;  // an HWND, opaque outside platform/win32

class Platform {
public:
    virtual ~Platform() = default;

    // Input
    // True when any bit of the asynchronous key state is set (down now, or pressed since
    // the previous query).
    virtual bool asyncKeyState(int virtualKey) = 0;
    virtual Point cursorPos() = 0;

    // Time
    virtual uint32_t tickCount() = 0;
    virtual LocalTime localTime() = 0;
    virtual void sleep(uint32_t ms) = 0;

    // One pass of the GUI thread's message pump (lets timers, hot keys and clicks run).
    virtual void processMessages() = 0;

    // Process
    virtual std::wstring exePath() = 0;

    // Screen and pictures
    // Copies an area of the whole screen (its device context, SRCCOPY) into `out`.
    virtual bool copyScreen(const Rect& area, Picture& out) = 0;
    // Halftone stretch of all of `source` onto `target` at `to` (target coordinates).
    virtual void stretchHalftone(const Picture& source, Picture& target, const Rect& to) = 0;

    // Clipboard: empties it and puts the bitmap on it; false when it could not be opened.
    virtual bool setClipboardBitmap(NativeWindow owner, const Picture& bitmap) = 0;

    // Window shape: `outer` minus `hole`, plus `extra` when given, in window coordinates.
    // Returns the region handed to the window, or 0 when the window refused it.
    virtual std::uintptr_t setWindowRing(NativeWindow window, const Rect& outer, const Rect& hole,
                                         const Rect* extra) = 0;

    // Files
    // Creates a folder and all missing parents; true when it exists afterwards.
    virtual bool createDirectoryTree(const std::wstring& path) = 0;
    // Deletes every file matching a wildcard, silently and permanently; folders stay.
    virtual void deleteFiles(const std::wstring& wildcard) = 0;

    // True only for a file (a folder of that name does not count).
    virtual bool fileExists(const std::wstring& path) = 0;
    // Moves `from` over `to` in one step, replacing it, written through to the disk; a
    // read-only `to` is never replaced.
    virtual bool replaceFile(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool deleteFile(const std::wstring& path) = 0;

    // Shell: ShellExecuteW; empty texts are passed as none. Returns the shell's result.
    virtual std::intptr_t shellExecute(NativeWindow owner, const std::wstring& verb,
                                       const std::wstring& file, const std::wstring& parameters,
                                       const std::wstring& directory, int show) = 0;

    // Registry, under HKEY_CURRENT_USER, all access requested in full. Key paths may start
    // with a backslash (taken from the root).
    enum class RegWrite { KeyNotOpened, Written, Failed };
    // Creates the key when missing and closes it again; false when it cannot be created.
    virtual bool regCreateKey(const std::wstring& key) = 0;
    // Opens the key (never creates it) and writes a REG_SZ value.
    virtual RegWrite regSetString(const std::wstring& key, const std::wstring& name,
                                  const std::wstring& data) = 0;
    // Opens the key (never creates it) and deletes a value; every failure is ignored.
    virtual void regDeleteValue(const std::wstring& key, const std::wstring& name) = 0;

    // Dialogs: modal; returns the button pressed.
    virtual int messageBox(NativeWindow owner, const std::wstring& text, const std::wstring& title,
                           unsigned style) = 0;
};

}  // namespace gs

#pragma once
// The operating-system services the program calls, shaped after the calls themselves.
// platform/win32 implements them for real; tests use an in-memory fake.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Picture.h"
#include "platform/Types.h"

namespace gs {

// Virtual-key codes the program asks about (same values as on Windows).
enum VirtualKey : int { kVkLButton = 0x01, kVkRButton = 0x02, kVkMenu = 0x12, kVkF10 = 0x79 };

// Show commands handed to the shell (same values as on Windows).
inline constexpr int kSwShow = 5;
inline constexpr int kSwHide = 0;

enum MessageBoxStyle : unsigned {
    kMbOk = 0x0,
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
    // Tells the program that has the keyboard that ALT, held now, was used with another key
    // (an unassigned one, down and up), so that ALT's release opens no menu there. False when
    // the input could not be sent (another desktop, a window of higher integrity in front).
    virtual bool maskAltRelease() = 0;

    // Time
    virtual uint32_t tickCount() = 0;
    virtual LocalTime localTime() = 0;
    virtual void sleep(uint32_t ms) = 0;

    // One pass of the GUI thread's message pump (lets timers, hot keys and clicks run).
    virtual void processMessages() = 0;

    // Process
    virtual std::wstring exePath() = 0;

    // Text in lower case by the system's rules for every script (not only A to Z).
    virtual std::wstring lowerCase(std::wstring text) = 0;

    // Screen and pictures
    // Copies an area of the whole screen (its device context, SRCCOPY) into `out`.
    virtual bool copyScreen(const Rect& area, Picture& out) = 0;
    // Waits until the desktop composition has shown what was drawn so far (where there is one).
    virtual void flushComposition() = 0;
    // Halftone stretch of all of `source` onto `target` at `to` (target coordinates).
    virtual void stretchHalftone(const Picture& source, Picture& target, const Rect& to) = 0;

    // A fixed-size copier of screen areas for a recording: one device context and one
    // picture for all its frames.
    class ScreenGrabber {
      public:
        virtual ~ScreenGrabber() = default;
        // Copies the area whose top-left corner is `at` into `frame` (its size stays).
        virtual bool grab(Point at, Picture& frame) = 0;
    };
    // Null when it cannot be set up (no screen, no memory for the picture).
    virtual std::unique_ptr<ScreenGrabber> screenGrabber(int width, int height) = 0;

    // Clipboard: empties it and puts the bitmap on it as a device-independent bitmap (the
    // system derives CF_BITMAP from it) and, when `png` is set, promises the registered "PNG"
    // format with the bytes `png` gives: made only when a program asks for it or this program
    // ends, so the PNG need not be written yet. False when the clipboard could not be opened.
    using PngSource = std::function<std::optional<std::string>()>;
    virtual bool setClipboardBitmap(const Picture& bitmap, PngSource png) = 0;
    virtual bool setClipboardText(NativeWindow owner, const std::wstring& text) = 0;

    // Hot keys, delivered to the window as the form's OnHotKey.
    virtual uint16_t globalAddAtom(const std::wstring& name) = 0;
    virtual void globalDeleteAtom(uint16_t atom) = 0;
    virtual bool registerHotKey(NativeWindow window, int id, unsigned modifiers, unsigned vk) = 0;
    virtual void unregisterHotKey(NativeWindow window, int id) = 0;

    // Processes: starts `application` with `commandLine` (flags NORMAL_PRIORITY_CLASS |
    // CREATE_NEW_PROCESS_GROUP, window hidden if the system honours it) and waits for it,
    // looking every 50 ms plus 20 ms for as long as `keepWaiting` says so. The exit code, or
    // nothing when it could not start or was no longer waited for (it then runs on alone).
    virtual std::optional<uint32_t> runAndWait(const std::wstring& application,
                                               const std::wstring& commandLine,
                                               const std::function<bool()>& keepWaiting) = 0;

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
    // Copies, replacing the target; the result tells whether it worked.
    virtual bool copyFile(const std::wstring& from, const std::wstring& to) = 0;
    // The size of a file in bytes; -1 when there is none.
    virtual int64_t fileSize(const std::wstring& path) = 0;
    // A whole file's bytes, unless it is missing, cannot be read, or another program still has
    // it open for writing (it is opened denying writers).
    virtual std::optional<std::string> readFinishedFile(const std::wstring& path) = 0;

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

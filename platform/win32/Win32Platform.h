#pragma once
#include <windows.h>

#include <exception>
#include <memory>

#include "platform/Platform.h"
#include "platform/win32/DibCanvas.h"
#include "platform/win32/Handles.h"

namespace gs::win32 {

class Win32Platform : public Platform {
  public:
    Win32Platform() = default;
    // Makes what the clipboard was only promised, so a capture stays pasteable after Exit.
    ~Win32Platform() override;
    // The same before the program's end, at once: the promised PNG is made, and the clipboard
    // no longer needs this program.
    void releaseClipboard();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    bool asyncKeyState(int virtualKey) override;
    Point cursorPos() override;
    bool maskAltRelease() override;
    uint32_t tickCount() override;
    LocalTime localTime() override;
    void sleep(uint32_t ms) override;
    void processMessages() override;
    std::wstring exePath() override;
    std::wstring lowerCase(std::wstring text) override;
    bool copyScreen(const Rect& area, Picture& out) override;
    void flushComposition() override;
    void stretchHalftone(const Picture& source, Picture& target, const Rect& to) override;
    bool setClipboardBitmap(const Picture& bitmap, PngSource png) override;
    bool setClipboardText(NativeWindow owner, const std::wstring& text) override;
    std::unique_ptr<ScreenGrabber> screenGrabber(int width, int height) override;
    uint16_t globalAddAtom(const std::wstring& name) override;
    void globalDeleteAtom(uint16_t atom) override;
    bool registerHotKey(NativeWindow window, int id, unsigned modifiers, unsigned vk) override;
    void unregisterHotKey(NativeWindow window, int id) override;
    std::optional<uint32_t> runAndWait(const std::wstring& application,
                                       const std::wstring& commandLine,
                                       const std::function<bool()>& keepWaiting) override;
    bool copyFile(const std::wstring& from, const std::wstring& to) override;
    int64_t fileSize(const std::wstring& path) override;
    std::optional<std::string> readFinishedFile(const std::wstring& path) override;
    std::uintptr_t setWindowRing(NativeWindow window, const Rect& outer, const Rect& hole,
                                 const Rect* extra) override;
    bool createDirectoryTree(const std::wstring& path) override;
    void deleteFiles(const std::wstring& wildcard) override;
    bool fileExists(const std::wstring& path) override;
    bool replaceFile(const std::wstring& from, const std::wstring& to) override;
    bool deleteFile(const std::wstring& path) override;
    std::intptr_t shellExecute(NativeWindow owner, const std::wstring& verb,
                               const std::wstring& file, const std::wstring& parameters,
                               const std::wstring& directory, int show) override;
    bool regCreateKey(const std::wstring& key) override;
    RegWrite regSetString(const std::wstring& key, const std::wstring& name,
                          const std::wstring& data) override;
    void regDeleteValue(const std::wstring& key, const std::wstring& name) override;
    int messageBox(NativeWindow owner, const std::wstring& text, const std::wstring& title,
                   unsigned style) override;

    // The clipboard owner window's messages.
    LRESULT clipboardMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void reportUncaught(std::exception_ptr) noexcept {}  // a format left unmade stays empty

  private:
    void renderPng();
    // The canvas screen reads land in, at least w x h; kept between captures unless large.
    DibCanvas* screenCanvas(HDC screen, int w, int h);
    void trimScreenCanvas();
    std::unique_ptr<DibCanvas> canvas_;
    Window clipboardOwner_;  // a message-only window, made with the first capture
    PngSource offeredPng_;   // the promised "PNG" format
};

}  // namespace gs::win32

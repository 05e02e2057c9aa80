#pragma once
#include "platform/Platform.h"

namespace gs::win32 {

class Win32Platform : public Platform {
public:
    bool asyncKeyState(int virtualKey) override;
    Point cursorPos() override;
    uint32_t tickCount() override;
    LocalTime localTime() override;
    void sleep(uint32_t ms) override;
    void processMessages() override;
    std::wstring exePath() override;
    int messageBox(NativeWindow owner, const std::wstring& text, const std::wstring& title,
                   unsigned style) override;
};

}  // namespace gs::win32

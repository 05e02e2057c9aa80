#pragma once
// Shared between the Win32 realisation files only.
#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <map>
#include <memory>

#include "platform/Platform.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowProc.h"
#include "ui/Backend.h"
#include "ui/Form.h"
#include "ui/Tray.h"

namespace gs::ui {

inline constexpr UINT kTrayCallback = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;
// The helper window's timer for adding the icon again; far above the form timers' ids.
inline constexpr UINT_PTR kTrayRetryTimer = 0x7FFF0001;
inline constexpr UINT kTrayRetryMs = 2000;
inline constexpr wchar_t kHelperClass[] = L"GlimmershotTray";

COLORREF ResolveColor(TColor c);

// Registers a window class; a class this process registered before counts as done. Throws
// when the system refuses, for a program without its windows cannot be used.
void RegisterWindowClass(const WNDCLASSEXW& wc);
// Throws the system's last error for a window or class that could not be made.
[[noreturn]] void ThrowWindowError(const std::wstring& what);

class Win32TrayPeer;

class Win32Backend : public Backend {
  public:
    explicit Win32Backend(Platform& platform);
    ~Win32Backend() override;

    std::unique_ptr<FormPeer> createFormPeer(Form& form) override;
    std::unique_ptr<TimerPeer> createTimerPeer(Timer& timer) override;
    std::unique_ptr<TrayPeer> createTrayPeer(TrayIcon& tray) override;
    MenuItem* trackPopupMenu(PopupMenu& menu, Point screen) override;
    int dpiAt(const Rect& screenArea) override;

    HWND helper() const { return helper_.get(); }
    HINSTANCE instance() const { return instance_; }
    Platform& platform() const { return platform_; }

    // Shows the report for an error that escaped a handler; never throws.
    void reportUncaught(std::exception_ptr error) noexcept;
    LRESULT helperMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    // Bookkeeping for peers.
    UINT_PTR addTimer(Timer& t);
    void removeTimer(UINT_PTR id);
    void setTray(Win32TrayPeer* t) { tray_ = t; }
    bool claimMainForm() { return !mainTaken_ ? (mainTaken_ = true) : false; }
    void setMainWindow(HWND w) { main_ = w; }

  private:
    Platform& platform_;
    HINSTANCE instance_;
    win32::Window helper_;
    UINT taskbarCreated_ = 0;
    std::map<UINT_PTR, Timer*> timers_;
    UINT_PTR nextTimer_ = 1;
    Win32TrayPeer* tray_ = nullptr;
    bool mainTaken_ = false;
    HWND main_ = nullptr;
};

class Win32TrayPeer : public TrayPeer {
  public:
    Win32TrayPeer(Win32Backend& backend, TrayIcon& tray);
    ~Win32TrayPeer() override;
    void update() override;
    void showBalloon() override;
    void callback(WPARAM wp, LPARAM lp);
    void readd();  // after Explorer restarted

  private:
    NOTIFYICONDATAW baseData() const;
    Win32Backend& backend_;
    TrayIcon& tray_;
    win32::Icon icon_;
    bool added_ = false;
    bool balloonPending_ = false;  // asked for while the shell did not have the icon
};

}  // namespace gs::ui

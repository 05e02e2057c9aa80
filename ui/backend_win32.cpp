#include "ui/backend_win32.h"

#include <windows.h>

#include <shellscalingapi.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "ui/ErrorReport.h"
#include "ui/Menu.h"
#include "ui/peers_win32.h"

namespace gs::ui {

COLORREF ResolveColor(TColor c) {
    if (c & clSystemFlag) return GetSysColor(static_cast<int>(c & 0xFF));
    return static_cast<COLORREF>(c);
}

namespace {

class Win32TimerPeer : public TimerPeer {
  public:
    Win32TimerPeer(Win32Backend& b, Timer& t) : backend_(b), timer_(t), id_(b.addTimer(t)) {
        update();
    }
    ~Win32TimerPeer() override {
        KillTimer(backend_.helper(), id_);
        backend_.removeTimer(id_);
    }
    void update() override {
        if (timer_.Interval() > 0)
            SetTimer(backend_.helper(), id_, timer_.Interval(), nullptr);
        else
            KillTimer(backend_.helper(), id_);
    }

  private:
    Win32Backend& backend_;
    Timer& timer_;
    UINT_PTR id_;
};

// Builds a native menu from the model; ids map back to the items.
void buildMenu(HMENU menu, const MenuItem& parent, std::vector<MenuItem*>& byId) {
    for (MenuItem* item : parent.Items()) {
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        mi.fType = MFT_STRING;
        if (item->RadioItem) mi.fType |= MFT_RADIOCHECK;
        if (item->Break == MenuBreak::Bar) mi.fType |= MFT_MENUBARBREAK;
        mi.fState = (item->Checked() ? MFS_CHECKED : 0) | (item->Enabled ? 0 : MFS_DISABLED);
        byId.push_back(item);
        mi.wID = static_cast<UINT>(byId.size());
        std::wstring caption = item->Caption;
        mi.dwTypeData = caption.data();
        win32::Menu sub;
        if (item->Count() > 0) {
            sub.reset(CreatePopupMenu());
            buildMenu(sub.get(), *item, byId);
            mi.fMask |= MIIM_SUBMENU;
            mi.hSubMenu = sub.get();
        }
        if (InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mi))
            sub.release();  // owned by the parent menu from here on
    }
}

}  // namespace

void RegisterWindowClass(const WNDCLASSEXW& wc) {
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        ThrowWindowError(std::wstring(L"Cannot register the window class ") + wc.lpszClassName);
}

void ThrowWindowError(const std::wstring& what) {
    throw std::runtime_error(ToUtf8(what) + " (system error " + std::to_string(GetLastError()) +
                             ")");
}

Win32Backend::Win32Backend(Platform& platform)
    : platform_(platform), instance_(GetModuleHandleW(nullptr)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = win32::WindowProc<Win32Backend, &Win32Backend::helperMessage>;
    wc.hInstance = instance_;
    wc.lpszClassName = kHelperClass;
    RegisterWindowClass(wc);
    // A hidden top-level window rather than a message-only one: only top-level windows hear
    // the "TaskbarCreated" broadcast, and only they can own a tracked popup menu.
    helper_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kHelperClass, L"Glimmershot", WS_POPUP, 0, 0, 0,
                                  0, nullptr, nullptr, instance_, this));
    if (!helper_) ThrowWindowError(L"Cannot create the window " + std::wstring(kHelperClass));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Backend::~Win32Backend() = default;

LRESULT Win32Backend::helperMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTrayRetryTimer) {
        KillTimer(hwnd, kTrayRetryTimer);  // set again by a failing try
        if (tray_) tray_->readd();
        return 0;
    }
    if (msg == WM_TIMER) {
        auto it = timers_.find(wp);
        if (it != timers_.end()) it->second->fire();
        return 0;
    }
    if (msg == kTrayCallback) {
        if (tray_) tray_->callback(wp, lp);
        return 0;
    }
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        if (tray_) tray_->readd();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32Backend::reportUncaught(std::exception_ptr error) noexcept {
    try {
        std::wstring text = L"Unknown error";
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            text = FromUtf8(e.what());
        } catch (...) {
        }
        MessageBoxW(main_, ErrorReportText(text).c_str(), ApplicationTitle(platform_).c_str(),
                    MB_OK | MB_ICONERROR);
    } catch (...) {
    }
}

UINT_PTR Win32Backend::addTimer(Timer& t) {
    UINT_PTR id = nextTimer_++;
    timers_[id] = &t;
    return id;
}

void Win32Backend::removeTimer(UINT_PTR id) { timers_.erase(id); }

std::unique_ptr<TimerPeer> Win32Backend::createTimerPeer(Timer& timer) {
    return std::make_unique<Win32TimerPeer>(*this, timer);
}

std::unique_ptr<TrayPeer> Win32Backend::createTrayPeer(TrayIcon& tray) {
    return std::make_unique<Win32TrayPeer>(*this, tray);
}

MenuItem* Win32Backend::trackPopupMenu(PopupMenu& menu, Point screen) {
    win32::Menu native(CreatePopupMenu());
    std::vector<MenuItem*> byId;
    buildMenu(native.get(), menu.root(), byId);
    // Without this the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(helper_.get());
    // Menus open to the side the user's system asks for (right-to-left layouts, handedness).
    const UINT side = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | side | TPM_TOPALIGN;
    const int id = static_cast<int>(
        TrackPopupMenu(native.get(), flags, screen.x, screen.y, 0, helper_.get(), nullptr));
    PostMessageW(helper_.get(), WM_NULL, 0, 0);
    if (id <= 0 || id > static_cast<int>(byId.size())) return nullptr;
    return byId[static_cast<size_t>(id - 1)];
}

int Win32Backend::dpiAt(const Rect& a) {
    const RECT r{a.Left, a.Top, std::max(a.Right, a.Left + 1), std::max(a.Bottom, a.Top + 1)};
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
    if (monitor && SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y > 0)
        return static_cast<int>(y);
    return static_cast<int>(GetDpiForSystem());
}

std::unique_ptr<Backend> MakeWin32Backend(Platform& platform) {
    return std::make_unique<Win32Backend>(platform);
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace gs::ui

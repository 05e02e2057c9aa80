#include <windows.h>

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "ui/peers_win32.h"

namespace gs::ui {

template <size_t N>
static void copyText(wchar_t (&dst)[N], const std::wstring& src) {
    const size_t n = std::min(src.size(), N - 1);
    std::wmemcpy(dst, src.c_str(), n);
    dst[n] = L'\0';
}

Win32TrayPeer::Win32TrayPeer(Win32Backend& backend, TrayIcon& tray)
    : backend_(backend), tray_(tray) {
    // The shell asks for the small icon size of the system scale; the resource has images from
    // 16 to 48 px, so 100 % to 300 % get one drawn for their size.
    icon_.reset(static_cast<HICON>(
        LoadImageW(backend.instance(), MAKEINTRESOURCEW(tray.IconResource), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    backend.setTray(this);
    update();
}

Win32TrayPeer::~Win32TrayPeer() {
    if (added_) {
        NOTIFYICONDATAW nid = baseData();
        Shell_NotifyIconW(NIM_DELETE, &nid);
    }
    KillTimer(backend_.helper(), kTrayRetryTimer);
    backend_.setTray(nullptr);
}

NOTIFYICONDATAW Win32TrayPeer::baseData() const {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = backend_.helper();
    nid.uID = kTrayIconId;
    return nid;
}

void Win32TrayPeer::readd() {
    added_ = false;
    update();
}

void Win32TrayPeer::update() {
    NOTIFYICONDATAW nid = baseData();
    if (!tray_.Visible()) {
        if (added_) Shell_NotifyIconW(NIM_DELETE, &nid);
        added_ = false;
        return;
    }
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    nid.uCallbackMessage = kTrayCallback;
    nid.hIcon = icon_.get();
    copyText(nid.szTip, tray_.Hint);
    if (added_) {
        Shell_NotifyIconW(NIM_MODIFY, &nid);
        return;
    }
    added_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
    if (!added_) {
        // The shell is not up yet (a start at logon): try again until it takes the icon.
        SetTimer(backend_.helper(), kTrayRetryTimer, kTrayRetryMs, nullptr);
        return;
    }
    KillTimer(backend_.helper(), kTrayRetryTimer);
    nid.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &nid);
    if (std::exchange(balloonPending_, false)) showBalloon();
}

void Win32TrayPeer::showBalloon() {
    if (!added_) {
        balloonPending_ = true;  // shown once the shell has the icon
        return;
    }
    NOTIFYICONDATAW nid = baseData();
    // The tip goes along: a modification without NIF_SHOWTIP would leave the icon without its
    // tooltip once the balloon is gone.
    nid.uFlags = NIF_INFO | NIF_TIP | NIF_SHOWTIP;
    copyText(nid.szTip, tray_.Hint);
    copyText(nid.szInfo, tray_.BalloonHint);
    copyText(nid.szInfoTitle, tray_.BalloonTitle);
    nid.uTimeout = static_cast<UINT>(tray_.BalloonTimeout);
    nid.dwInfoFlags = NIIF_INFO | (tray_.BalloonUnasked ? NIIF_RESPECT_QUIET_TIME : 0);
    Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void Win32TrayPeer::callback(WPARAM wp, LPARAM lp) {
    // Version 4 layout: the event in the low word of lParam, the anchor point in wParam.
    switch (LOWORD(lp)) {
        case NIN_SELECT:
        case NIN_KEYSELECT:
            tray_.clicked();
            break;
        case WM_CONTEXTMENU:
            tray_.contextMenu(Point{GET_X_LPARAM(wp), GET_Y_LPARAM(wp)});
            break;
        case NIN_BALLOONUSERCLICK:
            tray_.balloonClicked();
            break;
        default:
            break;
    }
}

}  // namespace gs::ui

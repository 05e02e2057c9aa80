#include "ui/Tray.h"

#include "ui/Menu.h"

namespace gs::ui {

TrayIcon::~TrayIcon() = default;

void TrayIcon::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    if (peer_) peer_->update();
}

void TrayIcon::ShowBalloonHint() {
    if (peer_) peer_->showBalloon();
}

void TrayIcon::balloon(const std::wstring& text, const std::wstring& title, int timeout,
                       bool unasked) {
    BalloonHint = text;
    BalloonTitle = title;
    BalloonTimeout = timeout;
    BalloonUnasked = unasked;
    ShowBalloonHint();
}

void TrayIcon::realize(Backend& backend) {
    if (!peer_) peer_ = backend.createTrayPeer(*this);
}

void TrayIcon::contextMenu(Point screen) {
    if (popupMenu) popupMenu->Popup(screen.x, screen.y);
}

}  // namespace gs::ui

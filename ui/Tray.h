#pragma once
#include <memory>
#include <string>

#include "ui/Backend.h"
#include "ui/Component.h"

namespace gs::ui {

class PopupMenu;

class TrayIcon : public Component {
  public:
    using Component::Component;
    ~TrayIcon() override;

    std::wstring Hint;
    int IconResource = 1;
    PopupMenu* popupMenu = nullptr;

    std::wstring BalloonHint;
    std::wstring BalloonTitle;
    int BalloonTimeout = 0;  // handed unchanged to the notification service
    // A balloon the user did not ask for (the start notice): the shell may hold it back while
    // the user does not want to be disturbed (quiet hours, a full-screen program).
    bool BalloonUnasked = false;
    Handler OnClick;
    Handler OnBalloonClick;

    bool Visible() const { return visible_; }
    void setVisible(bool v);
    void ShowBalloonHint();
    // Sets text, then title, then time-out, then shows it: the order the program uses.
    void balloon(const std::wstring& text, const std::wstring& title, int timeout = 3,
                 bool unasked = false);

    void realize(Backend& backend);

    // Reported by the peer.
    void clicked() {
        if (OnClick) OnClick(*this);
    }
    void balloonClicked() {
        if (OnBalloonClick) OnBalloonClick(*this);
    }
    void contextMenu(Point screen);

  private:
    bool visible_ = false;
    std::unique_ptr<TrayPeer> peer_;
};

}  // namespace gs::ui

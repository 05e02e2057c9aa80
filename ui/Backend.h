#pragma once
// What a realisation of the form layer provides. The Win32 one is the product; tests use a
// recording fake. Peers are told about property changes and report user input back.
#include <memory>

#include "platform/Platform.h"
#include "platform/Types.h"

namespace gs::ui {

class Form;
class Timer;
class TrayIcon;
class PopupMenu;
class MenuItem;

class FormPeer {
  public:
    virtual ~FormPeer() = default;
    virtual NativeWindow handle() const = 0;
    virtual void visibilityChanged() = 0;
    virtual void boundsChanged() = 0;
    virtual void alphaChanged() = 0;
    virtual void windowStateChanged() = 0;
    virtual void stayOnTopChanged() = 0;
    virtual void bringToFront() = 0;
    virtual void invalidate(const Rect& clientArea) = 0;
    virtual void close() = 0;
    // The controls were laid out again (a new scale): places that follow them move along.
    virtual void layoutChanged() = 0;
};

class TimerPeer {
  public:
    virtual ~TimerPeer() = default;
    virtual void update() = 0;  // interval or enabled changed
};

class TrayPeer {
  public:
    virtual ~TrayPeer() = default;
    virtual void update() = 0;  // visibility or hint changed
    virtual void showBalloon() = 0;
};

class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<FormPeer> createFormPeer(Form& form) = 0;
    virtual std::unique_ptr<TimerPeer> createTimerPeer(Timer& timer) = 0;
    virtual std::unique_ptr<TrayPeer> createTrayPeer(TrayIcon& tray) = 0;
    // Shows the menu at a screen point and waits for the choice; null when dismissed.
    virtual MenuItem* trackPopupMenu(PopupMenu& menu, Point screen) = 0;
    // Pixels per inch of the monitor that holds most of a screen area (96 at 100 %).
    virtual int dpiAt(const Rect& screenArea) = 0;
};

}  // namespace gs::ui

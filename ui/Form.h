#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Backend.h"
#include "ui/Component.h"
#include "ui/Dpi.h"

namespace gs::ui {

enum class WindowState { Normal, Minimized };

class Timer : public Component {
  public:
    using Component::Component;
    ~Timer() override;
    unsigned Interval() const { return interval_; }
    void setInterval(unsigned ms);
    Handler OnTimer;

    void realize(Backend& backend);
    void fire() {
        if (OnTimer) OnTimer(*this);
    }

  private:
    unsigned interval_ = 1000;
    std::unique_ptr<TimerPeer> peer_;
};

// A top-level window holding drawn controls. Only borderless windows are needed here.
class Form : public Component {
  public:
    Form(Backend& backend, std::wstring name);
    ~Form() override;

    Backend& backend() const { return backend_; }
    FormPeer* peer() const { return peer_.get(); }
    NativeWindow handle() const { return peer_ ? peer_->handle() : 0; }

    // Lays the form out for the monitor it is on and creates the window. Call once the
    // controls exist.
    void realize();

    // Pixels per inch the form is laid out for; its layout is designed at 96.
    int Dpi() const { return dpi_; }
    // A design length at the form's scale.
    int Scaled(int designPixels) const;
    // The form moved to a monitor of another scale, or the scale changed: lays it out again.
    void setDpi(int dpi);

    std::wstring Caption;
    TColor Color = clBtnFace;
    Font font;
    bool AlphaBlend = false;

    Rect bounds() const { return bounds_; }
    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.width(); }
    int Height() const { return bounds_.height(); }
    void setBounds(int left, int top, int width, int height);

    uint8_t AlphaBlendValue() const { return alpha_; }
    void setAlphaBlendValue(uint8_t a);
    WindowState windowState() const { return state_; }
    void setWindowState(WindowState s);
    bool StayOnTop() const { return stayOnTop_; }
    void setStayOnTop(bool s);
    // Puts a stay-on-top window back at the top of the top-most band.
    void ReassertStayOnTop();
    bool Visible() const { return visible_; }
    void setVisible(bool v);

    // Visible and at the front.
    void Show();
    void Hide() { setVisible(false); }
    void BringToFront();
    void Close();

    // Controls back to front.
    const std::vector<Control*>& controls() const { return zOrder_; }
    void BringControlToFront(Control& c);
    Control* controlAt(Point client) const;
    void invalidate(const Rect& area);
    void invalidate() { invalidate(Rect{0, 0, Width(), Height()}); }

    // WM_HOTKEY with the hot key's id.
    std::function<void(int id)> OnHotKey;

    // User input reported by the peer, in client coordinates.
    void mouseMovedTo(Point client);
    void mouseLeft() { hovered_ = nullptr; }
    void mouseClicked(Point down, Point up);

  protected:
    void adopted(Component& c) override;
    // Sets what depends on the scale: sizes, fonts, pictures drawn for the size.
    virtual void applyDpi() {}

  private:
    Backend& backend_;
    std::unique_ptr<FormPeer> peer_;
    std::vector<Control*> zOrder_;
    Control* hovered_ = nullptr;
    Rect bounds_{};
    uint8_t alpha_ = 255;
    WindowState state_ = WindowState::Normal;
    bool stayOnTop_ = false;
    bool visible_ = false;
    int dpi_ = kDesignDpi;
};

}  // namespace gs::ui

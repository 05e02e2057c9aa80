#include "ui/Form.h"

#include <algorithm>

namespace gs::ui {

Timer::~Timer() = default;

void Timer::setInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (peer_) peer_->update();
}

void Timer::realize(Backend& backend) {
    if (!peer_) peer_ = backend.createTimerPeer(*this);
}

Form::Form(Backend& backend, std::wstring name)
    : Component(nullptr, std::move(name)), backend_(backend) {}

Form::~Form() {
    // Timers and tray icons let go of their windows before the form's own window goes.
    zOrder_.clear();
    hovered_ = nullptr;
    destroyComponents();
    peer_.reset();
}

void Form::realize() {
    setDpi(backend_.dpiAt(bounds_));
    if (!peer_) peer_ = backend_.createFormPeer(*this);
    for (const auto& c : Components())
        if (auto* t = dynamic_cast<Timer*>(c.get())) t->realize(backend_);
}

int Form::Scaled(int designPixels) const { return Scale(designPixels, dpi_); }

void Form::setDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    applyDpi();
    if (peer_) peer_->layoutChanged();
}

void Form::adopted(Component& c) {
    if (auto* ctl = dynamic_cast<Control*>(&c)) zOrder_.push_back(ctl);
    if (peer_)
        if (auto* t = dynamic_cast<Timer*>(&c)) t->realize(backend_);
}

void Form::setBounds(int left, int top, int width, int height) {
    Rect r{left, top, left + width, top + height};
    if (r == bounds_) return;
    bounds_ = r;
    if (peer_) peer_->boundsChanged();
}

void Form::setAlphaBlendValue(uint8_t a) {
    if (a == alpha_) return;
    alpha_ = a;
    if (peer_) peer_->alphaChanged();
}

void Form::setWindowState(WindowState s) {
    if (s == state_) return;
    state_ = s;
    if (peer_) peer_->windowStateChanged();
}

void Form::setStayOnTop(bool s) {
    if (s == stayOnTop_) return;
    stayOnTop_ = s;
    if (peer_) peer_->stayOnTopChanged();
}

void Form::ReassertStayOnTop() {
    if (peer_) peer_->stayOnTopChanged();
}

void Form::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    if (!v) hovered_ = nullptr;
    if (peer_) peer_->visibilityChanged();
}

void Form::Show() {
    setVisible(true);
    BringToFront();
}

void Form::BringToFront() {
    if (peer_) peer_->bringToFront();
}

void Form::Close() {
    if (peer_) peer_->close();
}

void Form::BringControlToFront(Control& c) {
    auto it = std::find(zOrder_.begin(), zOrder_.end(), &c);
    if (it == zOrder_.end()) return;
    zOrder_.erase(it);
    zOrder_.push_back(&c);
    invalidate(c.bounds());
}

Control* Form::controlAt(Point client) const {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it)
        if ((*it)->Visible() && (*it)->bounds().contains(client)) return *it;
    return nullptr;
}

void Form::invalidate(const Rect& area) {
    if (peer_) peer_->invalidate(area);
}

void Form::mouseMovedTo(Point client) {
    Control* c = controlAt(client);
    if (c == hovered_) return;
    hovered_ = c;
    if (c && c->OnMouseEnter) c->OnMouseEnter(*c);
}

void Form::mouseClicked(Point down, Point up) {
    Control* c = controlAt(down);
    if (c && c == controlAt(up) && c->OnClick) c->OnClick(*c);
}

}  // namespace gs::ui

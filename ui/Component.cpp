#include "ui/Component.h"

#include "ui/Form.h"

namespace gs::ui {

Component::Component(Component* owner, std::wstring name) : owner_(owner), name_(std::move(name)) {}

Component::~Component() { destroyComponents(); }

void Component::destroyComponents() {
    // Newest first: later components may refer to earlier ones.
    while (!owned_.empty()) owned_.pop_back();
}

Component* Component::FindComponent(const std::wstring& name) const {
    for (const auto& c : owned_)
        if (c->Name() == name) return c.get();
    return nullptr;
}

Form* Control::parentForm() const {
    for (Component* c = Owner(); c; c = c->Owner())
        if (auto* f = dynamic_cast<Form*>(c)) return f;
    return nullptr;
}

void Control::invalidate() {
    if (Form* f = parentForm()) f->invalidate(bounds_);
}

void Control::setBounds(int left, int top, int width, int height) {
    Rect r{left, top, left + width, top + height};
    if (r == bounds_) return;
    invalidate();
    bounds_ = r;
    invalidate();
}

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    invalidate();
}

void Image::setPicture(Picture p) {
    picture_ = std::move(p);
    invalidate();
}

void Label::setCaption(const std::wstring& c) {
    if (c == caption_) return;
    caption_ = c;
    invalidate();
}

void Shape::setPenColor(TColor c) {
    if (c == penColor_) return;
    penColor_ = c;
    invalidate();
}

}  // namespace gs::ui

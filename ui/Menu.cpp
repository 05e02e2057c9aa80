#include "ui/Menu.h"

#include "ui/Form.h"

namespace gs::ui {

void MenuItem::setChecked(bool value) {
    checked_ = value;
    if (!value || !RadioItem || !parent_) return;
    for (MenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->RadioItem && sibling->GroupIndex == GroupIndex)
            sibling->checked_ = false;
}

void MenuItem::Add(MenuItem& child) {
    child.parent_ = this;
    items_.push_back(&child);
}

void MenuItem::Click() {
    if (Enabled && OnClick) OnClick(*this);
}

PopupMenu::PopupMenu(Component* owner, std::wstring name)
    : Component(owner, std::move(name)), root_(&create<MenuItem>(L"")) {}

MenuItem& PopupMenu::addItem(Component& owner, std::wstring name, std::wstring caption) {
    MenuItem& item = owner.create<MenuItem>(std::move(name));
    item.Caption = std::move(caption);
    root_->Add(item);
    return item;
}

static Backend* backendOf(Component* c) {
    for (; c; c = c->Owner())
        if (auto* f = dynamic_cast<Form*>(c)) return &f->backend();
    return nullptr;
}

void PopupMenu::Popup(int x, int y) {
    Backend* backend = backendOf(this);
    if (!backend) return;
    if (MenuItem* chosen = backend->trackPopupMenu(*this, Point{x, y})) chosen->Click();
}

}  // namespace gs::ui

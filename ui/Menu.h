#pragma once
#include <string>
#include <vector>

#include "ui/Component.h"

namespace gs::ui {

enum class MenuBreak { None, Bar };

class MenuItem : public Component {
  public:
    using Component::Component;

    std::wstring Caption;
    uint8_t GroupIndex = 0;
    bool RadioItem = false;
    bool Enabled = true;
    MenuBreak Break = MenuBreak::None;
    Handler OnClick;

    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group under the same parent.
    void setChecked(bool value);

    MenuItem* Parent() const { return parent_; }
    const std::vector<MenuItem*>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    MenuItem* item(int index) const { return items_.at(static_cast<size_t>(index)); }
    // Position among the parent's items; -1 for a root.
    void Add(MenuItem& child);

    // What a user's choice does: nothing for a disabled item.
    void Click();

  private:
    bool checked_ = false;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> items_;
};

// A popup menu: a root item whose children are the entries.
class PopupMenu : public Component {
  public:
    PopupMenu(Component* owner, std::wstring name);
    MenuItem& root() { return *root_; }
    const std::vector<MenuItem*>& Items() const { return root_->Items(); }
    // Adds a new entry owned by `owner` (the form, or the parent item for submenus).
    MenuItem& addItem(Component& owner, std::wstring name, std::wstring caption);
    // Shows the menu at a screen point; runs the chosen entry's handler.
    void Popup(int x, int y);

  private:
    MenuItem* root_;
};

}  // namespace gs::ui

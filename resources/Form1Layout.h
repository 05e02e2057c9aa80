#pragma once
// The panel's layout as data: every drawn component in creation order (back to front).
#include <span>
#include <string_view>

#include "ui/Component.h"

namespace gs::layout {

enum class Kind { Image, Label, FlatButton };

enum class Art { None, Background, FolderIcon, EditIcon, TextIcon, VideoIcon, Arrow };

struct ControlSpec {
    Kind kind;
    const wchar_t* name;
    int left, top, width, height;
    const wchar_t* text;  // caption, or hint for images
    int fontHeight;       // 0: no font of its own
    bool bold;
    ui::TColor color;
    bool handCursor;
    Art art;
};

std::span<const ControlSpec> Form1Controls();

// What choosing an options-menu entry does.
enum class OnChoose { Shared, ClearAllFolders, RenderRecent, None };

struct MenuItemSpec {
    const wchar_t* menu;  // the popup menu it belongs to
    const wchar_t* name;
    const wchar_t* caption;
    unsigned groupIndex;
    bool radio;
    bool checked;
    bool enabled;
    OnChoose onChoose;
};

// The four options menus, in order; items in menu order.
std::span<const MenuItemSpec> Form1OptionMenus();

// The video submenus built in code: the field a TForm1 member is named after, and the name
// the entry carries (two differ).
struct AvEntrySpec {
    const wchar_t* parent;  // optVideoFormat or optVideoQuality
    const wchar_t* field;
    const wchar_t* name;
    const wchar_t* caption;
    unsigned groupIndex;
    bool checked;
    bool barBreak;
};
std::span<const AvEntrySpec> AvSubmenuEntries();

// The panel itself.
inline constexpr int kPanelWidth = 240;
inline constexpr int kPanelHeight = 210;

}  // namespace gs::layout

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

// The panel itself.
inline constexpr int kPanelWidth = 240;
inline constexpr int kPanelHeight = 210;

}  // namespace gs::layout

#pragma once
// The program's pictures, drawn in code so that no binary artwork needs to be kept.
#include "platform/Picture.h"
#include "resources/Form1Layout.h"

namespace gs::art {

ui::Picture Make(layout::Art which);

// Grey level of the panel background at a row (0..209).
int BackgroundGrey(int row);

// The recording panel's 150 x 100 background: a raised grey gradient.
ui::Picture ControlPanelBackground();

// The 50 x 50 cursor marker: a half-transparent disc with a black plus sign.
ui::Picture CursorDisc(uint8_t r, uint8_t g, uint8_t b);

// The tray and program icon at a size (16, 24, 32), 32-bit with alpha.
ui::Picture AppIcon(int size);

}  // namespace gs::art

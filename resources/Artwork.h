#pragma once
// The program's pictures, drawn in code so that no binary artwork needs to be kept. Each is
// designed at 96 DPI and drawn afresh for the size it is shown at, never stretched.
#include "platform/Picture.h"
#include "resources/Form1Layout.h"

namespace gs::art {

// A panel picture drawn for a size (its design size, or a scaled one).
ui::Picture Make(layout::Art which, int width, int height);

// The recording panel's background: a raised grey gradient (150 x 100 at 96 DPI).
ui::Picture ControlPanelBackground(int width = 150, int height = 100);

// The cursor marker: a half-transparent disc with a black plus sign (50 x 50 at 96 DPI).
inline constexpr int kCursorDisc = 50;
ui::Picture CursorDisc(uint8_t r, uint8_t g, uint8_t b, int size = kCursorDisc);

// The tray and program icon at a size, 32-bit with alpha.
ui::Picture AppIcon(int size);

}  // namespace gs::art

#pragma once
// Layouts are designed at 96 pixels per inch and shown at the monitor's. One rule scales them
// all: a design length times dpi / 96, rounded to the nearest pixel, halves away from zero
// (the system's MulDiv rule). Rectangles scale by their edges, so controls that touch at
// 96 DPI still touch, without gaps or overlaps, at any scale.
#include "platform/Types.h"
#include "ui/Component.h"

namespace gs::ui {

inline constexpr int kDesignDpi = 96;

int Scale(int designPixels, int dpi);
Rect ScaleRect(int left, int top, int width, int height, int dpi);
// Font heights are lengths too (negative: the character height).
Font ScaleFont(Font f, int dpi);

}  // namespace gs::ui

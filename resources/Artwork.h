#pragma once
// The program's pictures, drawn in code so that no binary artwork needs to be kept.
#include "resources/Form1Layout.h"
#include "ui/Picture.h"

namespace gs::art {

ui::Picture Make(layout::Art which);

// Grey level of the panel background at a row (0..209).
int BackgroundGrey(int row);

// The tray and program icon at a size (16, 24, 32), 32-bit with alpha.
ui::Picture AppIcon(int size);

}  // namespace gs::art

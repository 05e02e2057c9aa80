#include "capture/PreviewModel.h"

#include <cmath>
#include <string>

namespace gs {

static int32_t floorToInt(double v) { return static_cast<int32_t>(std::floor(v)); }

static uint8_t opacityOf(double v) {
    // Inside its bands the value stays within 0..255; clamping only guards rounding.
    int32_t o = floorToInt(v);
    return static_cast<uint8_t>(o < 0 ? 0 : (o > 255 ? 255 : o));
}

PanelLook PanelLookFor(double counter) {
    PanelLook look;
    if (counter > 4) {
        look.opacity = 255;
        look.action = PanelAction::Show;
        return look;
    }
    if (counter <= 0) {
        look.minimized = true;
        look.action = PanelAction::Hide;
        return look;
    }
    look.caption = std::to_wstring(floorToInt(counter + 1));
    if (counter > 3.5) {
        look.opacity = opacityOf(std::abs(counter - 4) * 510);
        look.action = PanelAction::Show;
    } else if (counter > 0.5) {
        look.opacity = 255;
    } else {
        look.opacity = opacityOf(counter * 510);
    }
    return look;
}

Rect PreviewPlacement(int sourceWidth, int sourceHeight, int aWidth, int aHeight) {
    const double ratio = static_cast<double>(sourceWidth) / sourceHeight;
    int w = aWidth;
    int h = floorToInt(aWidth / ratio);
    if (h > aHeight) {
        h = aHeight;
        w = floorToInt(aHeight * ratio);
    }
    const int x = aWidth / 2 - w / 2;
    const int y = aHeight / 2 - h / 2;
    return Rect{x, y, x + w, y + h};
}

}  // namespace gs

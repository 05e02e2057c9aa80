#include "ui/Dpi.h"

#include <cstdint>

namespace gs::ui {

int Scale(int designPixels, int dpi) {
    if (dpi == kDesignDpi) return designPixels;
    const int64_t p = int64_t{designPixels} * dpi;
    const int64_t half = kDesignDpi / 2;
    return static_cast<int>(p >= 0 ? (p + half) / kDesignDpi : (p - half) / kDesignDpi);
}

Rect ScaleRect(int left, int top, int width, int height, int dpi) {
    return Rect{Scale(left, dpi), Scale(top, dpi), Scale(left + width, dpi),
                Scale(top + height, dpi)};
}

Font ScaleFont(Font f, int dpi) {
    f.height = Scale(f.height, dpi);
    return f;
}

}  // namespace gs::ui

#include "recording/FrameTiming.h"

#include <algorithm>

namespace gs {

std::wstring FrameFileName(const std::wstring& folder, int index) {
    return folder + L"\\" + std::to_wstring(1000000 + index).substr(1) + L".png";
}

void DrawCursor(Picture& frame, const Picture& mark, int left, int top) {
    const int x0 = std::max(0, left), x1 = std::min(frame.width, left + mark.width);
    const int y0 = std::max(0, top), y1 = std::min(frame.height, top + mark.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint32_t s = mark.at(x - left, y - top);
            const uint32_t a = s >> 24;
            if (!a) continue;
            uint32_t& d = frame.at(x, y);
            auto mix = [&](int sh) {
                return (((s >> sh) & 0xFF) * a + ((d >> sh) & 0xFF) * (255 - a) + 127) / 255;
            };
            d = 0xFF000000u | (mix(16) << 16) | (mix(8) << 8) | mix(0);
        }
}

}  // namespace gs

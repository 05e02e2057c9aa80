#include "platform/Picture.h"

#include <algorithm>

namespace gs {

namespace {
template <int R, int G, int B>
void rowToTriples(const Picture& p, int y, uint8_t* out) {
    const uint32_t* px = &p.pixels[static_cast<size_t>(y) * p.width];
    for (int x = 0; x < p.width; ++x, out += 3) {
        out[R] = static_cast<uint8_t>(px[x] >> 16);
        out[G] = static_cast<uint8_t>(px[x] >> 8);
        out[B] = static_cast<uint8_t>(px[x]);
    }
}
}  // namespace

void RowToRgb(const Picture& p, int y, uint8_t* out) { rowToTriples<0, 1, 2>(p, y, out); }
void RowToBgr(const Picture& p, int y, uint8_t* out) { rowToTriples<2, 1, 0>(p, y, out); }

void BlendPicture(uint32_t* bits, int w, int h, const Picture& p, int left, int top, BlendClip clip,
                  bool useAlpha) {
    const int x0 = std::max({0, clip.left, left}), x1 = std::min({w, clip.right, left + p.width});
    const int y0 = std::max({0, clip.top, top}), y1 = std::min({h, clip.bottom, top + p.height});
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = bits + static_cast<size_t>(y) * w;
        for (int x = x0; x < x1; ++x) {
            const uint32_t s = p.at(x - left, y - top);
            const uint32_t a = useAlpha ? s >> 24 : 255;
            if (!a) continue;
            const uint32_t d = row[x];
            auto mix = [&](int sh) {
                return (((s >> sh) & 0xFF) * a + ((d >> sh) & 0xFF) * (255 - a) + 127) / 255;
            };
            row[x] = (d & 0xFF000000u) | (mix(16) << 16) | (mix(8) << 8) | mix(0);
        }
    }
}

}  // namespace gs

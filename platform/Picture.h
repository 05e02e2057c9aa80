#pragma once
// A picture in memory: 32-bit pixels, top row first, each 0xAARRGGBB with straight alpha.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gs {

struct Picture {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<uint32_t> pixels;

    Picture() = default;
    Picture(int w, int h, uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    bool empty() const { return width <= 0 || height <= 0; }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline constexpr uint32_t argb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// Row y of a picture as 8-bit triples without alpha, in RGB order (PNG, JPEG) or BGR order
// (the system's 24-bit bitmaps).
void RowToRgb(const Picture& p, int y, uint8_t* out);
void RowToBgr(const Picture& p, int y, uint8_t* out);

// Draws `p` (straight alpha, or opaque when `useAlpha` is false) over the w x h pixels at
// `bits` with its top-left corner at (left, top), only inside the columns [clipLeft, clipRight)
// and rows [clipTop, clipBottom) and the pixels themselves. The pixels keep their own alpha.
struct BlendClip {
    int left, top, right, bottom;
};
void BlendPicture(uint32_t* bits, int w, int h, const Picture& p, int left, int top, BlendClip clip,
                  bool useAlpha);

}  // namespace gs

namespace gs::ui {
using gs::argb;
using gs::Picture;
}  // namespace gs::ui

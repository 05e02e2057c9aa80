#pragma once
// A 24-bit bitmap with direct pixel access, and its enlargement by whole-number factors with
// a four-tap cubic Lagrange interpolation in two separable passes.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/PngDeflate.h"
#include "platform/Picture.h"

namespace gs {

#pragma pack(push, 1)
struct TRGB {
    uint8_t b, g, r;
    friend bool operator==(const TRGB&, const TRGB&) = default;
};
#pragma pack(pop)
static_assert(sizeof(TRGB) == 3);

// The longest side of the picture the program hands to text recognition (img1.png): the OCR
// tool refuses a larger one unread.
inline constexpr int kOcrLargestSide = 16000;

// The enlargement factor for text recognition: floor(kOcrLargestSide / longer side) in floating
// point, at most 10; 0 when the side exceeds kOcrLargestSide. The program enlarges by it, and
// the OCR tool finds the capture back by it.
int OcrFactor(int width, int height);

// The weights of the taps at -1, 0, +1 and +2 for one sub-pixel phase.
using TLagrangePolynom = std::array<float, 4>;

// The weights for factor s: t = i / s as a 32-bit float, each basis polynomial evaluated in
// double from left to right and rounded to a 32-bit float.
std::vector<TLagrangePolynom> LagrangeWeights(int s);

// One channel from four taps: the sum in double, rounded to float, clamped to 0..255, then
// rounded half to even.
uint8_t ChannelValue(const uint8_t (&taps)[4], const TLagrangePolynom& w);

// One row of `width` 3-byte pixels enlarged along the row by `xscale` (the weights of
// LagrangeWeights(xscale)) into `dst`: the enlargement's first pass, which also gives, bit for
// bit, the enlarged picture's rows that fall on the source's own rows. With `swap`, the first
// and third byte of each pixel change places (BGR in, RGB out).
void EnlargeRow(const uint8_t* src, int width, int xscale,
                const std::vector<TLagrangePolynom>& weights, uint8_t* dst, bool swap = false);

class TQuickBitmap {
  public:
    // A white aWidth x aHeight bitmap; fails for fewer than 2 rows or no columns.
    TQuickBitmap(int aWidth, int aHeight);
    // A 24-bit copy of a picture; absent, or narrower or lower than 2 pixels: white 100 x 100.
    explicit TQuickBitmap(const Picture* aBitmap);
    TQuickBitmap(const TQuickBitmap&) = delete;
    TQuickBitmap& operator=(const TQuickBitmap&) = delete;

    // The owned bitmap as a picture (a copy of its pixels).
    Picture GetBitmap() const;
    // The nearest pixel inside the bitmap.
    TRGB GetPixel(int x, int y) const;
    // Writes the pixel when it lies inside; otherwise nothing.
    void SetPixel(int x, int y, TRGB color);
    // A new bitmap of width x xscale by height x yscale; factors must be at least 1. Rows are
    // shared out on the pool, when given. (The enlargement below, gathered into a bitmap.)
    std::unique_ptr<TQuickBitmap> QuickBicubicResize(int xscale, int yscale,
                                                     Executor* pool = nullptr);
    // The same enlargement as RGB rows made as they are fetched (from any thread, in any
    // order): only the horizontally enlarged source rows are kept, 1/yscale of the result, so
    // a 16000 x 9000 picture is written without 432 MB in memory. Keeps this bitmap's
    // weights (LX, LY); the rows need nothing else alive.
    imaging::RgbRows EnlargedRows(int xscale, int yscale, Executor* pool = nullptr);

    int width = 0;
    int height = 0;
    uint8_t* origin = nullptr;  // row 0, the top row
    int32_t LineLength = 0;     // bytes from row 0 to row 1: negative, rows are stored bottom-up
    std::vector<TLagrangePolynom> LX, LY;

  private:
    void allocate(int w, int h);
    uint8_t* row(int y) const { return origin + static_cast<std::ptrdiff_t>(y) * LineLength; }
    std::vector<uint8_t> bitmap_;
};

}  // namespace gs

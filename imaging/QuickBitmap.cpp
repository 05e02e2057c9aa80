#include "imaging/QuickBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "platform/Executor.h"

namespace gs {

int OcrFactor(int width, int height) {
    const int a = width > height ? width : height;
    const int factor = static_cast<int>(std::floor(double{kOcrLargestSide} / a));
    return factor > 10 ? 10 : factor;
}

std::vector<TLagrangePolynom> LagrangeWeights(int s) {
    if (s < 1) throw std::invalid_argument("The factor must be at least 1");
    std::vector<TLagrangePolynom> w(static_cast<size_t>(s));
    for (int i = 0; i < s; ++i) {
        const double t = static_cast<float>((1.0 / s) * i);
        w[static_cast<size_t>(i)] = {static_cast<float>((t - 0) * (t - 1) * (t - 2) / -6),
                                     static_cast<float>((t + 1) * (t - 1) * (t - 2) / 2),
                                     static_cast<float>((t + 1) * (t - 0) * (t - 2) / -2),
                                     static_cast<float>((t + 1) * (t - 0) * (t - 1) / 6)};
    }
    return w;
}

namespace {

// Rounding uses the default rounding mode: adding and taking away 1.5 * 2^23 leaves no
// fraction bits (IEEE arithmetic keeps the pair; the build never allows reassociation).
inline uint8_t roundClamped(double sum) {
    // As in blendRows below: round the float to an integer (halves to even), then clamp.
    constexpr float kMagic = 12582912.0f;
    const int r = static_cast<int>((static_cast<float>(sum) + kMagic) - kMagic);
    return static_cast<uint8_t>(r < 0 ? 0 : (r > 255 ? 255 : r));
}

// The sums are exact in double (a byte times a 24-bit weight has at most 32 significant bits,
// and four of them span well under 53), so any order of adding gives the same result.
inline double mix(double a, double b, double c, double d, const TLagrangePolynom& w) {
    return a * w[0] + b * w[1] + c * w[2] + d * w[3];
}

// One output row of the vertical pass from its four tap rows; a plain loop the compiler turns
// into vector code.
void blendRows(const uint8_t* __restrict a, const uint8_t* __restrict b,
               const uint8_t* __restrict c, const uint8_t* __restrict d, uint8_t* __restrict o,
               size_t n, const TLagrangePolynom& w) {
    const double w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
    // Rounding first and clamping the integer after gives the same byte as clamping the float
    // first (254.5 rounds to 254 either way) and has no branches. 1.5 * 2^23 rounds any float
    // of magnitude below 2^22, negative ones included, to an integer, halves to even.
    constexpr float kMagic = 12582912.0f;
    for (size_t i = 0; i < n; ++i) {
        const float v = static_cast<float>(a[i] * w0 + b[i] * w1 + c[i] * w2 + d[i] * w3);
        const int r = static_cast<int>((v + kMagic) - kMagic);
        o[i] = static_cast<uint8_t>(r < 0 ? 0 : (r > 255 ? 255 : r));
    }
}

// Rows are independent, so [0, H) is shared out among the cores (on the pool, when given).
void forRowBands(int H, Executor* pool, const std::function<void(int, int)>& body) {
    const unsigned cores = pool ? Executor::cores() : 1;
    const int bands = static_cast<int>(std::max(1u, std::min(cores, static_cast<unsigned>(H))));
    const int per = (H + bands - 1) / bands;
    auto band = [&](int t) { body(std::min(H, t * per), std::min(H, (t + 1) * per)); };
    if (pool)
        pool->forEach(bands, cores - 1, band);
    else
        band(0);
}

}  // namespace

uint8_t ChannelValue(const uint8_t (&p)[4], const TLagrangePolynom& w) {
    return roundClamped(mix(p[0], p[1], p[2], p[3], w));
}

void EnlargeRow(const uint8_t* src, int W, int xscale, const std::vector<TLagrangePolynom>& lx,
                uint8_t* dst, bool swap) {
    for (int x = 0; x < W; ++x) {
        const uint8_t* t[4];
        for (int p = 0; p < 4; ++p) t[p] = src + 3 * std::clamp(x + p - 1, 0, W - 1);
        for (int j = 0; j < xscale; ++j) {
            const TLagrangePolynom& w = lx[static_cast<size_t>(j)];
            uint8_t* o = dst + 3 * (static_cast<size_t>(x) * xscale + j);
            for (int c = 0; c < 3; ++c)
                o[swap ? 2 - c : c] = roundClamped(mix(t[0][c], t[1][c], t[2][c], t[3][c], w));
        }
    }
}

void TQuickBitmap::allocate(int w, int h) {
    if (w < 1 || h < 2)
        throw std::invalid_argument("A bitmap needs at least one column and two rows");
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    bitmap_.assign(stride * static_cast<size_t>(h), 255);  // new bitmaps are white
    width = w;
    height = h;
    // Bottom-up like the platform's bitmaps: row 0 is stored last.
    origin = bitmap_.data() + stride * static_cast<size_t>(h - 1);
    LineLength = -static_cast<int32_t>(stride);
}

TQuickBitmap::TQuickBitmap(int aWidth, int aHeight) { allocate(aWidth, aHeight); }

TQuickBitmap::TQuickBitmap(const Picture* aBitmap) {
    if (!aBitmap || aBitmap->width <= 1 || aBitmap->height <= 1) {
        allocate(100, 100);
        return;
    }
    allocate(aBitmap->width, aBitmap->height);
    for (int y = 0; y < height; ++y) RowToBgr(*aBitmap, y, row(y));
}

Picture TQuickBitmap::GetBitmap() const {
    Picture p(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = row(y);
        for (int x = 0; x < width; ++x, in += 3)
            p.at(x, y) = 0xFF000000u | (uint32_t{in[2]} << 16) | (uint32_t{in[1]} << 8) | in[0];
    }
    return p;
}

TRGB TQuickBitmap::GetPixel(int x, int y) const {
    if (x > width - 1) x = width - 1;
    if (x < 0) x = 0;
    if (y > height - 1) y = height - 1;
    if (y < 0) y = 0;
    const uint8_t* p = row(y) + 3 * x;
    return TRGB{p[0], p[1], p[2]};
}

void TQuickBitmap::SetPixel(int x, int y, TRGB color) {
    if (x < 0 || x > width - 1 || y < 0 || y > height - 1) return;
    uint8_t* p = row(y) + 3 * x;
    p[0] = color.b;
    p[1] = color.g;
    p[2] = color.r;
}

std::unique_ptr<TQuickBitmap> TQuickBitmap::QuickBicubicResize(int xscale, int yscale,
                                                               Executor* pool) {
    const imaging::RgbRows rows = EnlargedRows(xscale, yscale, pool);
    auto result = std::make_unique<TQuickBitmap>(rows.width, rows.height);
    TQuickBitmap& out = *result;
    forRowBands(rows.height, pool, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            uint8_t* bgr = out.row(y);
            rows.row(y, bgr);
            for (int x = 0; x < rows.width; ++x, bgr += 3) std::swap(bgr[0], bgr[2]);
        }
    });
    return result;
}

imaging::RgbRows TQuickBitmap::EnlargedRows(int xscale, int yscale, Executor* pool) {
    LX = LagrangeWeights(xscale);
    LY = LagrangeWeights(yscale);
    const int W = width, H = height, outW = W * xscale;
    const size_t bytes = static_cast<size_t>(outW) * 3;
    // The horizontal pass in RGB order: the vertical blend works byte by byte, so it needs no
    // reordering afterwards.
    auto wide = std::make_shared<std::vector<uint8_t>>(bytes * static_cast<size_t>(H));
    forRowBands(H, pool, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            EnlargeRow(row(y), W, xscale, LX, wide->data() + bytes * static_cast<size_t>(y), true);
    });
    // Output row s * yscale + k: phase 0 reproduces its centre row exactly, so it is the wide
    // row itself; the others blend the four wide rows around it.
    return {outW, H * yscale, [wide, ly = LY, bytes, H, yscale](int y, uint8_t* rgb) {
                const int s = y / yscale, k = y % yscale;
                auto wideRow = [&](int r) {
                    return wide->data() + bytes * static_cast<size_t>(std::clamp(r, 0, H - 1));
                };
                if (k == 0) {
                    std::memcpy(rgb, wideRow(s), bytes);
                    return;
                }
                blendRows(wideRow(s - 1), wideRow(s), wideRow(s + 1), wideRow(s + 2), rgb, bytes,
                          ly[static_cast<size_t>(k)]);
            }};
}

}  // namespace gs

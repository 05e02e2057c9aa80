#pragma once
#include <algorithm>
#include <cmath>
#include <memory>

#include "imaging/QuickBitmap.h"

namespace gs::test {

// The enlargement written the straight way, pixel by pixel through GetPixel and SetPixel, as
// the reference the fast one must match bit for bit.
inline std::unique_ptr<TQuickBitmap> ReferenceResize(TQuickBitmap& src, int xs, int ys) {
    const auto LX = LagrangeWeights(xs), LY = LagrangeWeights(ys);
    auto out = std::make_unique<TQuickBitmap>(src.width * xs, src.height * ys);
    auto channel = [](const TRGB(&p)[4], const TLagrangePolynom& w, int c) {
        auto pick = [c](const TRGB& t) { return c == 0 ? t.b : c == 1 ? t.g : t.r; };
        double v = 0;
        for (int i = 0; i < 4; ++i)
            v += static_cast<double>(pick(p[i])) * static_cast<double>(w[i]);
        float f = static_cast<float>(v);
        if (f < 0) f = 0;
        if (f >= 255) f = 255;
        return static_cast<uint8_t>(std::nearbyint(f));
    };
    auto apply = [&](const TRGB(&p)[4], const TLagrangePolynom& w) {
        return TRGB{channel(p, w, 0), channel(p, w, 1), channel(p, w, 2)};
    };
    for (int x = 0; x < src.width; ++x)
        for (int y = 0; y < src.height; ++y) {
            const TRGB p[4] = {src.GetPixel(x - 1, y), src.GetPixel(x, y), src.GetPixel(x + 1, y),
                               src.GetPixel(x + 2, y)};
            for (int j = 0; j < xs; ++j)
                out->SetPixel(x * xs + j, y * ys, apply(p, LX[static_cast<size_t>(j)]));
        }
    for (int X = 0; X < out->width; ++X)
        for (int s = 0; s < src.height; ++s) {
            TRGB q[4];
            for (int p = 0; p < 4; ++p)
                q[p] = out->GetPixel(X, std::clamp(s + p - 1, 0, src.height - 1) * ys);
            for (int k = 0; k < ys; ++k)
                out->SetPixel(X, s * ys + k, apply(q, LY[static_cast<size_t>(k)]));
        }
    return out;
}

}  // namespace gs::test

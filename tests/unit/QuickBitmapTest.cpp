#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>

#include "imaging/QuickBitmap.h"
#include "support/ReferenceUpscaler.h"

namespace gs {
namespace {

std::unique_ptr<TQuickBitmap> rowOf(std::initializer_list<int> values) {
    auto b = std::make_unique<TQuickBitmap>(static_cast<int>(values.size()), 2);
    int x = 0;
    for (int v : values) {
        const auto u = static_cast<uint8_t>(v);
        b->SetPixel(x, 0, TRGB{u, u, u});
        b->SetPixel(x++, 1, TRGB{u, u, u});
    }
    return b;
}

std::vector<int> firstRow(const TQuickBitmap& b) {
    std::vector<int> out;
    for (int x = 0; x < b.width; ++x) out.push_back(b.GetPixel(x, 0).g);
    return out;
}

TEST(QuickBitmap, WorkedExamples) {
    auto a = rowOf({0, 113, 113, 10});
    EXPECT_EQ(firstRow(*a->QuickBicubicResize(2, 1)),
              (std::vector<int>{0, 56, 113, 126, 113, 62, 10, 4}));
    auto b = rowOf({0, 0, 255, 255});
    EXPECT_EQ(firstRow(*b->QuickBicubicResize(2, 1)),
              (std::vector<int>{0, 0, 0, 128, 255, 255, 255, 255}));
    auto c = rowOf({10, 20, 30, 40});
    EXPECT_EQ(firstRow(*c->QuickBicubicResize(3, 1)),
              (std::vector<int>{10, 13, 16, 20, 23, 27, 30, 34, 37, 40, 41, 40}));
    const auto w2 = LagrangeWeights(2);
    EXPECT_EQ(w2[0], (TLagrangePolynom{0, 1, 0, 0}));
    EXPECT_EQ(w2[1], (TLagrangePolynom{-0.0625f, 0.5625f, 0.5625f, -0.0625f}));
    const uint8_t halves[4] = {0, 113, 0, 0};  // 113 * 0.5 = 56.5
    EXPECT_EQ(ChannelValue(halves, TLagrangePolynom{0, 0.5f, 0, 0}), 56);
    const uint8_t up[4] = {0, 123, 0, 0};  // 61.5
    EXPECT_EQ(ChannelValue(up, TLagrangePolynom{0, 0.5f, 0, 0}), 62);
}

TEST(QuickBitmap, MatchesTheStraightVersionBitForBit) {
    std::mt19937 rng(5);
    for (int xs = 1; xs <= 10; ++xs)
        for (int ys : {1, 2, 3, 7, 10}) {
            TQuickBitmap src(3 + static_cast<int>(rng() % 20), 2 + static_cast<int>(rng() % 15));
            for (int y = 0; y < src.height; ++y)
                for (int x = 0; x < src.width; ++x)
                    src.SetPixel(
                        x, y,
                        TRGB{static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng() & 0xF0),
                             static_cast<uint8_t>(rng() % 2 ? 255 : 0)});
            auto fast = src.QuickBicubicResize(xs, ys);
            auto slow = test::ReferenceResize(src, xs, ys);
            ASSERT_EQ(fast->GetBitmap().pixels, slow->GetBitmap().pixels) << xs << " x " << ys;
            // The rows made on demand are the same bytes, fetched in any order.
            const Picture enlarged = fast->GetBitmap();
            const imaging::RgbRows whole = imaging::RowsOf(enlarged),
                                   streamed = src.EnlargedRows(xs, ys);
            ASSERT_EQ(streamed.width, whole.width);
            ASSERT_EQ(streamed.height, whole.height);
            std::vector<uint8_t> a(static_cast<size_t>(whole.width) * 3), b(a.size());
            for (int y = whole.height - 1; y >= 0; --y) {
                whole.row(y, a.data());
                streamed.row(y, b.data());
                ASSERT_EQ(a, b) << xs << " x " << ys << ", row " << y;
            }
        }
}

TEST(QuickBitmap, OneColourStaysOneColourAndOneByOneCopies) {
    for (int s = 1; s <= 10; ++s) {
        TQuickBitmap flat(5, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) flat.SetPixel(x, y, TRGB{17, 130, 254});
        auto big = flat.QuickBicubicResize(s, s);
        for (uint32_t px : big->GetBitmap().pixels) ASSERT_EQ(px, 0xFFFE8211u) << "factor " << s;
    }
    Picture pic(6, 3);
    for (size_t i = 0; i < pic.pixels.size(); ++i)
        pic.pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x10305);
    TQuickBitmap src(&pic);
    EXPECT_EQ(src.QuickBicubicResize(1, 1)->GetBitmap().pixels, pic.pixels);
}

TEST(QuickBitmap, ConstructorsAndPixelAccess) {
    const Picture thin(1, 50, 0xFF000000u), flat(50, 1, 0xFF000000u);
    for (const Picture* p : {static_cast<const Picture*>(nullptr), &thin, &flat}) {
        TQuickBitmap b(p);
        EXPECT_EQ(b.width, 100);
        EXPECT_EQ(b.height, 100);
        EXPECT_EQ(b.GetPixel(50, 50), (TRGB{255, 255, 255}));
    }
    Picture two(2, 2);
    two.at(0, 1) = 0xFF010203u;
    TQuickBitmap b(&two);
    EXPECT_EQ(b.width, 2);
    EXPECT_EQ(b.GetPixel(-5, 1000000), (TRGB{3, 2, 1})) << "bottom-left: column 0, last row";
    EXPECT_LT(b.LineLength, 0) << "stored bottom-up";
    EXPECT_EQ(b.origin + b.LineLength, b.origin - 8) << "rows padded to 4 bytes";
    b.SetPixel(2, 0, TRGB{9, 9, 9});
    b.SetPixel(0, -1, TRGB{9, 9, 9});
    EXPECT_EQ(b.GetBitmap().pixels, two.pixels);
    EXPECT_THROW(TQuickBitmap(5, 1), std::invalid_argument);
    EXPECT_THROW(b.QuickBicubicResize(0, 1), std::invalid_argument);
    EXPECT_THROW(b.QuickBicubicResize(2, -1), std::invalid_argument);
}

}  // namespace
}  // namespace gs

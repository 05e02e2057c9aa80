#include <gtest/gtest.h>

#include "resources/Artwork.h"

namespace gs::art {
namespace {

TEST(Artwork, BackgroundGradientAndHeaderLine) {
    ui::Picture bg = Make(layout::Art::Background, layout::kPanelWidth, layout::kPanelHeight);
    ASSERT_EQ(bg.width, 240);
    ASSERT_EQ(bg.height, 210);
    EXPECT_FALSE(bg.hasAlpha);
    auto grey = [&](int y) { return static_cast<int>(bg.at(120, y) & 0xFF); };
    EXPECT_EQ(grey(0), 112);
    EXPECT_EQ(grey(105), 56);
    EXPECT_EQ(grey(209), 104);
    EXPECT_EQ(bg.at(0, 20), 0xFF000000u);
    EXPECT_EQ(bg.at(239, 20), 0xFF000000u);
    // Falling to the middle, rising after it; opaque and grey everywhere.
    for (int y = 1; y < 105; ++y) {
        if (y != 20 && y != 21) {
            EXPECT_LE(grey(y), grey(y - 1)) << y;
        }
    }
    for (int y = 106; y < 210; ++y) EXPECT_GE(grey(y), grey(y - 1)) << y;
    for (uint32_t px : bg.pixels) {
        EXPECT_EQ(px >> 24, 0xFFu);
        EXPECT_EQ((px >> 16) & 0xFF, px & 0xFF);
    }
}

TEST(Artwork, IconsAreSizedAndHaveTransparentCorners) {
    for (auto a : {layout::Art::FolderIcon, layout::Art::EditIcon, layout::Art::TextIcon,
                   layout::Art::VideoIcon, layout::Art::Arrow}) {
        const int size = a == layout::Art::Arrow ? 10 : 32;
        ui::Picture p = Make(a, size, size);
        ASSERT_EQ(p.width, size);
        ASSERT_EQ(p.height, size);
        EXPECT_TRUE(p.hasAlpha);
        EXPECT_EQ(p.at(0, 0) >> 24, 0u);
        int opaque = 0;
        for (uint32_t px : p.pixels) opaque += (px >> 24) == 0xFF;
        EXPECT_GT(opaque, size * size / 8);
    }
    for (int size : {16, 24, 32}) {
        ui::Picture icon = AppIcon(size);
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.at(size / 2, size / 2) >> 24, 0xFFu);
    }
}

}  // namespace
}  // namespace gs::art

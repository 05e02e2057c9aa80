// tesseract.exe's preparation: the capture read back out of the program's enlargement, and the
// picture the engine is given.
#include <gtest/gtest.h>

#include <random>

#include "imaging/ImageFiles.h"
#include "imaging/QuickBitmap.h"
#include "platform/FileIo.h"
#include "support/TempDir.h"
#include "tools/tesseract/ScreenText.h"

namespace gs::tools {
namespace {

// Random pixels under a band of one colour, which proves no factor.
Picture capture(int w, int h, unsigned seed) {
    std::mt19937 rnd(seed);
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.at(x, y) = y < 3 ? 0xFFE0E0E0u : 0xFF000000u | (rnd() & 0xFFFFFFu);
    return p;
}

std::vector<uint8_t> rgb(const Picture& p) {
    std::vector<uint8_t> out;
    for (uint32_t c : p.pixels)
        out.insert(out.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return out;
}

TEST(ScreenText, TheCaptureComesBackExactlyFromEitherOfTwoFactorsOfTheSameSize) {
    // 1920 x 10 enlarged 8 times and 1536 x 8 enlarged 10 times are both 15360 x 80.
    test::TempDir dir;
    for (auto [w, h, factor] : {std::array{1920, 10, 8}, std::array{1536, 8, 10}}) {
        const Picture original = capture(w, h, static_cast<unsigned>(factor));
        TQuickBitmap source(&original);
        imaging::WritePng(dir.file("img1.png"),
                          source.QuickBicubicResize(factor, factor)->GetBitmap(), {1, 65535});
        File f = OpenFile(dir.file("img1.png"), L"rb");
        int found = 0;
        const RgbImage back = CaptureFromPng(f.get(), &found);
        EXPECT_EQ(found, factor);
        EXPECT_EQ(back.width, w);
        EXPECT_EQ(back.height, h);
        EXPECT_TRUE(back.pixels == rgb(original)) << "factor " << factor;
    }
    std::FILE* text = std::tmpfile();
    std::fputs("not a picture", text);
    std::rewind(text);
    EXPECT_EQ(CaptureFromPng(text).width, 0);
    std::fclose(text);
}

TEST(ScreenText, LightOnDarkIsInvertedDoubledAndFramedInTheBackgroundsGrey) {
    RgbImage dark{3, 2, {}};
    for (int i = 0; i < 6; ++i) dark.pixels.insert(dark.pixels.end(), {20, 20, 20});
    dark.pixels[0] = dark.pixels[1] = dark.pixels[2] = 250;  // one light "text" pixel at (0, 0)
    const GreyImage out = PrepareForRecognition(dark, 10);
    ASSERT_EQ(out.width, 26);
    ASSERT_EQ(out.height, 24);
    auto at = [&](int x, int y) { return out.pixels[static_cast<size_t>(y) * out.width + x]; };
    EXPECT_EQ(at(0, 0), 235) << "the border is the background, inverted";
    EXPECT_EQ(at(25, 23), 235);
    EXPECT_EQ(at(10, 10), 5) << "the text pixel's corner, now dark";
    EXPECT_EQ(at(11, 11), 106) << "3/4 of it and 1/4 of its neighbours each way";
    EXPECT_EQ(at(15, 13), 235);

    RgbImage light{2, 2, std::vector<uint8_t>(12, 200)};
    EXPECT_EQ(PrepareForRecognition(light, 1).pixels[0], 200) << "dark on light stays as it is";
    EXPECT_EQ(Pgm(GreyImage{2, 1, {7, 9}}), std::string("P5\n2 1\n255\n\x07\x09", 13));
}

TEST(ScreenText, PathsFromTheResultFolderNeedNotSpellItsName) {
    const std::wstring app = L"C:\\Přenosné programy\\Glimmer shot Jiří";
    EXPECT_EQ(RelativePath(app + L"\\Data\\Published\\ocr",
                           app + L"\\data\\TesseractOCR\\tesseract\\tessdata"),
              L"..\\..\\TesseractOCR\\tesseract\\tessdata");
    EXPECT_EQ(
        RelativePath(app + L"\\Data\\Published\\ocr\\", app + L"\\Data\\Published\\ocr\\img1.png"),
        L"img1.png");
    EXPECT_EQ(RelativePath(app, app), L".");
    EXPECT_EQ(RelativePath(L"D:\\x", app), app) << "another drive";
}

}  // namespace
}  // namespace gs::tools

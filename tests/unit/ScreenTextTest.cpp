// tesseract.exe's preparation: the capture read back out of the program's enlargement, and the
// picture the engine is given.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>

#include "imaging/ImageFiles.h"
#include "imaging/QuickBitmap.h"
#include "platform/FileIo.h"
#include "support/TempDir.h"
#include "tools/tesseract/Hocr.h"
#include "tools/tesseract/ScreenLayout.h"
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
    imaging::WritePng(dir.file("wide.png"), Picture(kOcrLargestSide + 1, 2), {1, 65535});
    File wide = OpenFile(dir.file("wide.png"), L"rb");
    EXPECT_EQ(CaptureFromPng(wide.get()).width, 0) << "wider than the program writes: not read";
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

    // Doubled, a large screen would pass what the engine is given at most: it is enlarged less.
    const GreyImage large =
        PrepareForRecognition(RgbImage{4600, 2600, std::vector<uint8_t>(4600 * 2600 * 3, 200)});
    const double pixels = static_cast<double>(large.width) * large.height;
    EXPECT_LE(pixels, kMostPixels);
    EXPECT_GT(pixels, 0.99 * kMostPixels);
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

TEST(ScreenText, EnglishIsReadBesideAnyOtherLanguage) {
    EXPECT_EQ(EngineLanguages(L"rus"), L"rus+eng");
    EXPECT_EQ(EngineLanguages(L"eng"), L"eng");
    EXPECT_EQ(EngineLanguages(L""), L"") << "no language checked: the engine's own default";
}

// A screen drawn with a pixel font of four letters (x-height 6, ascender 9), dark on white.
struct Screen {
    RgbImage image;
    Screen(int w, int h) : image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 3, 255)} {}
    std::array<uint8_t, 3> ink = {30, 30, 30};  // what text() and cells() draw in
    void dot(int x, int y) { dot(x, y, ink); }
    void dot(int x, int y, std::array<uint8_t, 3> c) {
        std::copy(c.begin(), c.end(),
                  image.pixels.begin() + 3 * (static_cast<long>(y) * image.width + x));
    }
    void fill(int x0, int y0, int x1, int y1, std::array<uint8_t, 3> c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) dot(x, y, c);
    }
    // Letters from "ilno" and blanks on the baseline `base`; returns where the text ends.
    int text(int x, int base, const std::string& s) {
        const int top = base - 6;
        for (char c : s) {
            if (c == ' ') {
                x += 3;
                continue;
            }
            if (c == 'l' || c == 'i') {
                for (int y = c == 'l' ? base - 9 : top; y < base; ++y) dot(x, y);
                if (c == 'i') dot(x, top - 2);
                x += 2;
                continue;
            }
            for (int y = top; y < base; ++y) dot(x, y), dot(x + 4, y);  // 'n' and 'o'
            for (int k = 1; k < 4; ++k) {
                dot(x + k, top);
                if (c == 'o') dot(x + k, base - 1);
            }
            x += 6;
        }
        return x;
    }
    // In cells of 8 px (a terminal's): "ilno" as above, plus and minus signs, blanks.
    void cells(int x, int base, const std::string& s) {
        for (char c : s) {
            if (c == '+' || c == '-') {
                for (int k = c == '+' ? 0 : 1; k < (c == '+' ? 7 : 6); ++k) dot(x + k, base - 4);
                if (c == '+')
                    for (int y = base - 7; y < base - 1; ++y) dot(x + 3, y);
            } else if (c != ' ') {
                text(c == 'l' || c == 'i' ? x + 3 : x + 1, base, std::string(1, c));
            }
            x += 8;
        }
    }
};

// The runs of each row of the reading order, as the x where each run starts.
std::vector<std::vector<int>> RowStarts(const TextLayout& layout) {
    std::vector<std::vector<int>> rows;
    for (const std::vector<int>& row : layout.rows) {
        rows.emplace_back();
        for (int r : row) rows.back().push_back(layout.runs[static_cast<size_t>(r)].box.x0);
    }
    return rows;
}

TEST(ScreenLayout, ASubPixelSmoothedWordKeepsAllItsLetters) {
    // ClearType's fringes: orange on a stroke's left, blue on its right, on every letter.
    Screen screen(140, 30);
    screen.text(10, 20, "lion noon loin lion");
    const RgbImage plain = screen.image;
    auto at = [&](int x, int y) { return &plain.pixels[3 * (static_cast<size_t>(y) * 140 + x)]; };
    auto inked = [&](int x, int y) { return x >= 0 && x < 140 && at(x, y)[0] != 255; };
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 140; ++x)
            if (!inked(x, y) && inked(x + 1, y))
                screen.dot(x, y, {255, 170, 90});
            else if (!inked(x, y) && inked(x - 1, y))
                screen.dot(x, y, {90, 170, 255});
    const Ink ink = FindInk(screen.image);
    const Marks marks = MarkNonText(ink);
    EXPECT_EQ(std::count(marks.begin(), marks.end(), rules::MarkRule::Text),
              static_cast<long>(marks.size()))
        << "no letter taken for a mark";
    EXPECT_EQ(LayOut(ink, marks).rows.size(), 1u);

    // Dark ink on white: a fringe's channels differ by up to two thirds; an icon's blue does not
    // come from smoothing black, however it is done.
    const uint8_t white[] = {255, 255, 255}, black[] = {30, 30, 30};
    const uint8_t orange[] = {255, 160, 90}, grey[] = {140, 140, 140}, blue[] = {40, 90, 230};
    EXPECT_TRUE(Smoothed(orange, white, black));
    EXPECT_TRUE(Smoothed(grey, white, black));
    EXPECT_FALSE(Smoothed(blue, white, black));
}

TEST(ScreenLayout, DisabledTextEmbossedOnADarkFaceIsInkButALoneDisabledArrowIsNot) {
    Screen screen(140, 30);
    screen.fill(0, 0, 140, 30, {46, 46, 46});
    screen.ink = {220, 220, 220};
    screen.text(10, 20, "noon");
    // Each letter drawn light a pixel down and right, then dark: both too faint to be ink.
    for (const auto& [colour, shift] : {std::pair{std::array<uint8_t, 3>{81, 81, 81}, 1},
                                        std::pair{std::array<uint8_t, 3>{25, 25, 25}, 0}}) {
        screen.ink = colour;
        screen.text(45 + shift, 20 + shift, "onno noon");
        screen.text(120 + shift, 20 + shift, "o");
    }
    const Ink ink = FindInk(screen.image);
    auto glyphsFrom = [&](int x0, int x1) {
        return std::count_if(ink.glyphs.begin(), ink.glyphs.end(),
                             [&](const Glyph& g) { return g.box.x0 >= x0 && g.box.x0 < x1; });
    };
    EXPECT_EQ(glyphsFrom(45, 110), 8) << "the disabled words' letters";
    EXPECT_EQ(glyphsFrom(110, 140), 0);
}

TEST(ScreenLayout, TheBlackBetweenAConsolesLetterAndTheWindowsWhiteFrameIsNoInk) {
    Screen screen(60, 40);                       // white: the title bar and the frame
    screen.fill(2, 12, 60, 40, {0, 0, 0});       // the console
    screen.fill(2, 19, 6, 20, {200, 200, 200});  // a "1"'s flag, from the frame
    screen.fill(5, 20, 6, 31, {200, 200, 200});  // its stem
    screen.fill(2, 31, 6, 32, {200, 200, 200});  // and its foot, closing the black in
    const Ink ink = FindInk(screen.image);
    const size_t pocket = 22 * 60 + 3, stem = 22 * 60 + 5;
    EXPECT_LT(ink.strength[pocket], rules::kInkStrength);
    EXPECT_EQ(ink.glyphOf[pocket], 0);
    EXPECT_GE(ink.strength[stem], rules::kInkStrength);
}

TEST(ScreenLayout, ALightStrokeReachingADarkBarsEdgeIsInkWhileAFramesLongLineIsNot) {
    // A terminal's reversed status line: a black bar exactly a cell high on the white page, and
    // a white descender that reaches its bottom edge, touching the page. Gives the strength of
    // the stroke's last pixel and of the bar.
    auto strength = [](int barHeight, int stroke) {
        Screen screen(100, 80);
        screen.fill(10, 10, 90, 10 + barHeight, {0, 0, 0});
        screen.fill(40, 10 + barHeight - stroke, 41, 10 + barHeight, {255, 255, 255});
        const Ink ink = FindInk(screen.image);
        return std::pair{
            static_cast<int>(ink.strength[static_cast<size_t>(10 + barHeight - 1) * 100 + 40]),
            static_cast<int>(ink.strength[12 * 100 + 80])};
    };
    EXPECT_GE(strength(rules::kBackgroundHeight, 6).first, rules::kInkStrength);
    EXPECT_LT(strength(rules::kBackgroundHeight, 6).second, rules::kInkStrength)
        << "a bar this high is a background";
    EXPECT_GE(strength(rules::kBackgroundHeight - 1, 6).second, rules::kInkStrength)
        << "a lower one is ink";
    EXPECT_LT(strength(rules::kBackgroundHeight, 1).first, rules::kInkStrength)
        << "one pixel, as of a dotted focus frame, is no stroke";
    // A short word selected in a field: its bar is too small for a background but is one.
    Screen field(60, 30);
    field.fill(10, 10,
               10 + static_cast<int>(std::ceil(rules::kSelectionWide * rules::kBackgroundHeight)),
               10 + rules::kBackgroundHeight, {49, 106, 197});
    field.fill(14, 13, 15, 19, {255, 255, 255});
    EXPECT_GE(FindInk(field.image).strength[15 * 60 + 14], rules::kInkStrength);
    // A line the bar's whole height, longer than a letter's stroke: part of the page's frame.
    const int tall = rules::kNeckLength + 2;
    EXPECT_GE(strength(tall, rules::kNeckLength).first, rules::kInkStrength);
    EXPECT_LT(strength(tall, rules::kNeckLength + 1).first, rules::kInkStrength);
}

TEST(ScreenLayout, ADropDownsButtonAFocusFramesDotsAndTheWindowsSizeGripAreLeftOut) {
    Screen screen(120, 30);
    screen.text(10, 20, "lion loin");
    // The button, no taller than a line: four sides, each corner a single pixel off them; a
    // chevron inside.
    screen.fill(84, 8, 92, 9, screen.ink);
    screen.fill(84, 17, 92, 18, screen.ink);
    screen.fill(82, 10, 83, 16, screen.ink);
    screen.fill(93, 10, 94, 16, screen.ink);
    for (auto [x, y] : {std::pair{83, 9}, {92, 9}, {83, 16}, {92, 16}}) screen.dot(x, y);
    for (int k = 0; k < 3; ++k) screen.dot(85 + k, 11 + k), screen.dot(90 - k, 11 + k);
    // A focus frame's dotted side: single pixels every other pixel.
    for (int y = 6; y < 20; y += 2) screen.dot(101, y);
    // The window's size grip in the corner: three stripes along the diagonal of a 10 px square.
    for (int stripe : {9, 12, 15})
        for (int x = 108 + stripe - 9; x < 118; ++x) screen.dot(x, 18 + stripe - (x - 108));
    const Ink ink = FindInk(screen.image);
    const Marks marks = MarkNonText(ink);
    EXPECT_EQ(marks[static_cast<size_t>(ink.glyphOf[11 * 120 + 85] - 1)],
              rules::MarkRule::InButton);
    EXPECT_EQ(marks[static_cast<size_t>(ink.glyphOf[12 * 120 + 82] - 1)], rules::MarkRule::InButton)
        << "its side";
    EXPECT_EQ(marks[static_cast<size_t>(ink.glyphOf[27 * 120 + 108] - 1)],
              rules::MarkRule::SizeGrip);
    EXPECT_EQ(marks[static_cast<size_t>(ink.glyphOf[6 * 120 + 101] - 1)], rules::MarkRule::Dotted);
    const TextLayout layout = LayOut(ink, marks);
    ASSERT_EQ(layout.rows.size(), 1u);
    EXPECT_EQ(layout.rows[0].size(), 1u) << "the words alone";
}

TEST(ScreenLayout, AnIconAndAMnemonicsStrokeAreLeftOutWhileTheDotsOfItsLabelStay) {
    Screen screen(140, 36);
    screen.fill(4, 10, 20, 26, {40, 90, 200});  // a two-coloured icon before its label
    screen.fill(8, 14, 16, 22, {250, 200, 40});
    const int end = screen.text(26, 24, "lion in loin");
    // A caron that starts before its letter and reaches past it: the letter still joins the run.
    screen.fill(end, 15, end + 8, 17, {30, 30, 30});
    screen.text(end + 1, 24, "no");
    // A mnemonic's stroke under the o of "loin" that starts under the i before it.
    screen.fill(55, 25, 62, 26, {30, 30, 30});
    const Ink ink = FindInk(screen.image);
    const Marks marks = MarkNonText(ink);
    const TextLayout layout = LayOut(ink, marks);
    const int icon = ink.glyphOf[15 * 140 + 5] - 1;
    EXPECT_EQ(marks[static_cast<size_t>(icon)], rules::MarkRule::Colourful);
    EXPECT_EQ(layout.runOf[static_cast<size_t>(icon)], -1);
    ASSERT_EQ(layout.rows.size(), 1u);
    ASSERT_EQ(layout.rows[0].size(), 1u) << "one run: the words of one label";
    // The dot of the first i (at x 28, two rows above the x-height) rides with its word.
    ASSERT_GT(ink.glyphOf[16 * 140 + 28], 0) << "the dot is ink";
    const int dot = ink.glyphOf[16 * 140 + 28] - 1;
    EXPECT_FALSE(IsMark(marks, dot));
    EXPECT_EQ(layout.runOf[static_cast<size_t>(dot)], layout.rows[0][0]);
    EXPECT_EQ(layout.runs[static_cast<size_t>(layout.rows[0][0])].box.x0, 26);
    EXPECT_EQ(layout.runOf[static_cast<size_t>(ink.glyphOf[25 * 140 + 58] - 1)], -1)
        << "the mnemonic's stroke is no character";
}

TEST(ScreenLayout, ARowOfSignsAfterABlankEndingALineOfATerminalIsReadHereCellByCell) {
    Screen screen(260, 64);
    screen.cells(10, 16, "noon lion loin nil noon");
    screen.cells(10, 32, "lion nil ++++++--");
    screen.cells(10, 48, "noon " + std::string(rules::kSignRun - 1, '+'));
    const ScreenReading seen = ReadScreen(screen.image);
    ASSERT_GT(seen.layout.pitch, 0) << "a character grid";
    std::vector<std::string> tails;
    for (const Composed::Band& band : ComposeForRecognition(seen.ink, seen.layout).bands)
        if (tails.size() <= static_cast<size_t>(band.row)) tails.push_back(band.tail);
    EXPECT_EQ(tails, (std::vector<std::string>{"", "++++++--", ""}))
        << "fewer signs than kSignRun are the engine's to read";

    // A dash that starts a line (ls -l's "-rw-r--r--") starts its run.
    Screen listing(200, 40);
    listing.cells(10, 16, "-ln-n--n-- l noon");
    listing.cells(10, 32, "-ln-n--n-- l lion");
    const ScreenReading files = ReadScreen(listing.image);
    ASSERT_GT(files.layout.pitch, 0);
    for (const std::vector<int>& row : RowStarts(files.layout)) EXPECT_EQ(row.front(), 11);
}

TEST(ScreenLayout, ColumnsOfTextAreReadOneAfterTheOtherAndTableRowsStayRows) {
    // Two columns of running text whose lines happen to align, a gutter between them.
    Screen columns(460, 60);
    for (int line = 0; line < 3; ++line) {
        columns.text(10, 16 + 14 * line, "lion noon loin lion noon loin lion noon");
        columns.text(250, 16 + 14 * line, "noon lion loin noon lion loin noon lion");
    }
    Ink ink = FindInk(columns.image);
    EXPECT_EQ(RowStarts(LayOut(ink, MarkNonText(ink))),
              (std::vector<std::vector<int>>{{10}, {10}, {10}, {250}, {250}, {250}}));
    // Two narrow columns of running text (short lines of four words, filling their column).
    Screen narrow(260, 60);
    for (int line = 0; line < 3; ++line) {
        narrow.text(10, 16 + 14 * line, line == 2 ? "lion noon loin nil" : "noon lion loin nil");
        narrow.text(150, 16 + 14 * line, "nil loin lion noon");
    }
    ink = FindInk(narrow.image);
    EXPECT_EQ(RowStarts(LayOut(ink, MarkNonText(ink))),
              (std::vector<std::vector<int>>{{10}, {10}, {10}, {150}, {150}, {150}}));
    // A list: a short name and its size on each row, far apart.
    Screen list(300, 60);
    for (int line = 0; line < 3; ++line) {
        list.text(10, 16 + 14 * line, line == 1 ? "noon lion" : "loin");
        list.text(240, 16 + 14 * line, "nil");
    }
    ink = FindInk(list.image);
    const TextLayout rows = LayOut(ink, MarkNonText(ink));
    EXPECT_EQ(RowStarts(rows), (std::vector<std::vector<int>>{{10, 240}, {10, 240}, {10, 240}}));
    // Where words surely part (in each of a small row's readings): between the cells,
    // and at the blank of "noon lion" only.
    std::vector<size_t> parts, want;
    for (const Composed::Band& band : ComposeForRecognition(ink, rows).bands)
        parts.push_back(band.spacing.size());
    for (size_t blanks : {1, 2, 1})
        want.insert(want.end(), 1 + std::size(rules::kSmallTextAlso), blanks);
    EXPECT_EQ(parts, want);
}

TEST(ScreenLayout,
     TheTextTakesTheWordsARowsReadingsAgreeOnPartsWordsByTheScreenAndBlankLinesBlocks) {
    // An hOCR word read with `conf`, of letters 10 px wide from `left`.
    auto word = [](int left, int top, double conf, const std::string& text) {
        std::string out = "<span class='ocrx_word' id='w' title='bbox " + std::to_string(left) +
                          " " + std::to_string(top) + " " +
                          std::to_string(left + 10 * text.size()) + " " + std::to_string(top + 20) +
                          "; x_wconf " + std::to_string(conf) + "'>";
        for (size_t i = 0; i < text.size(); ++i) {
            const int x = left + 10 * static_cast<int>(i);
            out += "<span class='ocrx_cinfo' title='x_bboxes " + std::to_string(x) + " " +
                   std::to_string(top) + " " + std::to_string(x + 10) + " " +
                   std::to_string(top + 20) + "; x_conf 99'>" +
                   (text[i] == '&' ? std::string("&amp;") : std::string(1, text[i])) + "</span>";
        }
        return out + "</span>\n";
    };
    // Row 0 read three times (bands 0 to 2): each word is the one two readings agree on, though
    // the surest reading has "fi1e&". Row 1, in another block, read once: the engine ran "24" and
    // "kB" together across a clear space and read an underscore as a blank; where the screen
    // tells nothing ("Sa ve"), its own break stands; a diffstat's signs read off the screen end it.
    const std::vector<Composed::Band> bands = {
        {10, 40, 0, 0, {}},
        {50, 70, 0, 0, {}},
        {75, 95, 0, 0, {}},
        {100, 130, 1, 1, {{30, 34, false, false}, {75, 85, true, false}}, {}, {}, "++-"}};
    const std::string hocr =
        "<div class='ocr_page'>" + word(10, 12, 60, "Opem") + word(60, 12, 70, "file&") +
        word(10, 52, 95, "Open") + word(60, 52, 90, "fi1e&") + word(10, 77, 50, "Open") +
        word(60, 77, 50, "file&") + word(10, 105, 80, "24kB") + word(80, 105, 80, "a") +
        word(90, 105, 80, "Sa") + word(110, 105, 80, "ve") + "</div>";
    EXPECT_EQ(TextFromWords(hocr, bands),
              std::optional<std::string>("Open file&\n\n24 kB_a Sa ve ++-\n"));
    // An engine that gives no letters' boxes: the words as they are.
    EXPECT_EQ(TextFromWords("<div class='ocr_page'><span class='ocrx_word' id='w' title='bbox 10 "
                            "105 50 125; x_wconf 90'><strong>Size</strong></span></div>",
                            {{100, 130, 0, 0, {}}}),
              std::optional<std::string>("Size\n"));
    EXPECT_EQ(TextFromWords("not a report", bands), std::nullopt);
}

TEST(Hocr, AWordOrLetterPlacedBeyondAnyPictureIsLeftOutAndAnyReportIsReadInOnePass) {
    const std::vector<Word> words = ReadHocr(
        "<span class='ocrx_word' title='bbox 1 2 30 20; x_wconf 90'>"
        "<span class='ocrx_cinfo' title='x_bboxes 1 2 10 20'>o</span>"
        "<span class='ocrx_cinfo' title='x_bboxes 1e300 2 20 20'>x</span>"
        "<span class='ocrx_cinfo' title='x_bboxes 20 2 30 20'>k</span></span>"
        "<span class='ocrx_word' title='bbox nan 2 30 20; x_wconf 90'>nan</span>"
        "<span class='ocrx_word' title='bbox 1 2 inf 20; x_wconf 90'>inf</span>"
        "<span class='ocrx_word' title='bbox 1 -3000000000 30 20; x_wconf 90'>far</span>"
        "<span class='ocrx_word' title='bbox 1 2 30 20; x_wconf 1e400'>sure</span>"
        "<span class='ocrx_word' title='bbox 40 2 60 20; x_wconf 80'>up</span>");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].text(), "ok");
    EXPECT_EQ(words[1].text(), "up");
    EXPECT_EQ(words[1].letters[0].x1, 60);

    // Searched again from its start for every word, this one took seconds.
    std::string untitled;
    for (int i = 0; i < 200000; ++i) untitled += "<span class='ocrx_word'>x</span>";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(ReadHocr(untitled).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace gs::tools

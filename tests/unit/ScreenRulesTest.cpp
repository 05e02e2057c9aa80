// The screen-text reader's rules, each at its threshold: a measure just short of it and just
// past it, so that a rule switched off or turned around fails here.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/tesseract/ScreenLayout.h"
#include "tools/tesseract/ScreenRules.h"

namespace gs::tools::rules {
namespace {

// A letter-sized glyph among letters 10 px tall on a screen of 8 px letters: no rule takes it.
GlyphContext Letter() {
    GlyphContext g;
    g.width = 6;
    g.height = 8;
    g.pixels = 20;
    g.density = 20.0 / 48;
    g.tall = 10;
    g.screenTall = 10;
    g.letter = 8;
    g.beside = 6;
    g.besideColours = 6;
    g.before = g.after = 1;
    return g;
}

int Ceil(double v) { return static_cast<int>(std::ceil(v - 1e-9)); }

TEST(MarkRules, EachRuleAtItsThresholdAndOnlyItTakesTheGlyph) {
    EXPECT_EQ(MarkOf(Letter()), MarkRule::Text);

    GlyphContext g = Letter();  // patches in a colour of their own
    g.colourful = kColourfulPatches - 1;
    EXPECT_FALSE(IsColourful(g));
    g.colourful = kColourfulPatches;
    EXPECT_EQ(MarkOf(g), MarkRule::Colourful);
    g.pixels = 100;  // a large glyph needs one patch in kColourfulShare pixels
    EXPECT_FALSE(IsColourful(g));

    g = Letter();  // taller than the letters beside it
    g.width = g.height = Ceil(kIconHeight * g.tall) - 1;
    EXPECT_FALSE(IsIconSized(g));
    g.width = g.height = Ceil(kIconHeight * g.tall);
    EXPECT_EQ(MarkOf(g), MarkRule::IconSized);
    g.width = static_cast<int>(2.6 * g.height);  // a switch's pill only when it has its edges
    EXPECT_FALSE(IsIconSized(g));
    g.pill = true;
    EXPECT_TRUE(IsIconSized(g));

    g = Letter();  // alone and a little taller: a label's icon
    g.width = g.height = Ceil(kAloneTallHeight * g.tall);
    g.before = g.after = Ceil(g.tall / 2) - 1;
    EXPECT_FALSE(IsAloneTall(g)) << "a letter beside it";
    g.before = g.after = Ceil(g.tall / 2);
    EXPECT_EQ(MarkOf(g), MarkRule::AloneTall);

    g = Letter();  // alone in another colour
    g.before = g.after = 5;
    g.colourOff = kOtherColour - 1;
    EXPECT_FALSE(IsAloneOtherColour(g));
    g.colourOff = kOtherColour;
    EXPECT_EQ(MarkOf(g), MarkRule::AloneOtherColour);

    g = Letter();  // a swatch: dense, square, standing apart
    g.width = g.height = 8;
    g.density = kSolidDensity - 0.01;
    g.before = g.after = 5;
    EXPECT_FALSE(IsSolid(g));
    g.density = kSolidDensity;
    EXPECT_EQ(MarkOf(g), MarkRule::Solid);
    g.before = g.after = 1;  // a dense bold letter among others
    EXPECT_FALSE(IsSolid(g));
    g.bar = true;
    EXPECT_TRUE(IsSolid(g));

    g = Letter();  // a toolbar's icon among icons as tall as it, well above the screen's letters
    g.width = g.height = Ceil(kDensePictureHeight * g.screenTall);
    g.tall = g.height;
    g.density = kDensePicture - 0.01;
    EXPECT_EQ(MarkOf(g), MarkRule::Text) << "a bold heading's letter";
    g.density = kDensePicture;
    EXPECT_EQ(MarkOf(g), MarkRule::DensePicture);
    g.width = g.height = Ceil(kDensePictureHeight * g.screenTall) - 1;
    EXPECT_FALSE(IsDensePicture(g));

    g = Letter();  // a check box, and a tree's sharp expander
    g.hollowSide = Ceil(kHollowHeight * g.tall) - 1;
    EXPECT_FALSE(IsHollowSquare(g));
    g.hollowSide = Ceil(kHollowHeight * g.tall);
    EXPECT_EQ(MarkOf(g), MarkRule::HollowSquare);
    g.hollowSide = Ceil(kSharpHeight * g.screenTall);
    EXPECT_FALSE(IsHollowSquare(g)) << "rounded corners: an o";
    g.sharpSquare = true;
    EXPECT_TRUE(IsHollowSquare(g));

    g = Letter();  // a picture
    g.height = Ceil(2 * g.tall);
    g.width = Ceil(4 * g.tall) - 1;
    EXPECT_FALSE(IsHuge(g));
    g.width = Ceil(4 * g.tall);
    EXPECT_EQ(MarkOf(g), MarkRule::Huge);

    g = Letter();  // a selected item's marker
    g.width = 3;
    g.height = Ceil(1.5 * g.tall);
    g.density = 0.84;
    EXPECT_FALSE(IsPost(g));
    g.density = 0.85;
    EXPECT_EQ(MarkOf(g), MarkRule::Post);

    g = Letter();  // a caret just after the last letter typed
    g.width = 1;
    g.bar = true;
    g.density = 1;
    g.height = Ceil(kCaretHeight * g.tall) - 1;
    g.before = 1;
    g.after = 1 << 30;
    EXPECT_FALSE(IsCaret(g)) << "an l";
    g.height = Ceil(kCaretHeight * g.tall);
    EXPECT_EQ(MarkOf(g), MarkRule::Caret);
    g.before = static_cast<int>(kCaretTouch * g.tall) + 1;
    EXPECT_FALSE(IsCaret(g)) << "a | after a blank";
    g.before = static_cast<int>(g.tall);
    EXPECT_TRUE(IsCaret(g)) << "a divider standing alone";
    g.after = static_cast<int>(g.tall) - 1;
    EXPECT_FALSE(IsCaret(g)) << "a | before a word";
    g.height = Ceil(kFrameSide * g.tall);
    EXPECT_TRUE(IsCaret(g)) << "a frame's side beside a word";
    --g.height;
    EXPECT_FALSE(IsCaret(g));
}

TEST(MarkRules, IconsInPiecesBulletsAndWhatAnIconHolds) {
    UnitContext u;  // a clock drawn in three pieces beside a label
    u.pieces = 3;
    u.width = u.height = 14;
    u.beside = 4;
    u.line = 10;
    u.gap = kUnitAlone * u.line;
    u.above = u.below = 2;
    EXPECT_TRUE(IsIconUnit(u));
    u.gap = kUnitAlone * u.line - 1;
    EXPECT_FALSE(IsIconUnit(u)) << "as close as a word";
    u.gap = 10;
    u.word = true;
    EXPECT_FALSE(IsIconUnit(u)) << "letters side by side";
    u.word = false;
    u.pieces = kUnitPieces + 1;
    EXPECT_FALSE(IsIconUnit(u));

    BulletContext b;  // a dot before a list item, above its baseline
    b.width = b.height = 4;
    b.density = 0.8;
    b.letter = 10;
    b.beside = true;
    b.raised = std::max(1, b.letter / 8);
    EXPECT_TRUE(IsBullet(b));
    b.raised -= 1;
    EXPECT_FALSE(IsBullet(b)) << "on the baseline: a full stop";
    b.raised += 1;
    b.before = true;
    EXPECT_FALSE(IsBullet(b)) << "after a word";

    GlyphContext icon = Letter();
    icon.width = icon.height = static_cast<int>(kIconReach * icon.tall);
    EXPECT_TRUE(HoldsInside(icon, MarkRule::IconSized));
    EXPECT_FALSE(HoldsInside(icon, MarkRule::Text));
    icon.width += 1;
    EXPECT_FALSE(HoldsInside(icon, MarkRule::IconSized)) << "a picture holds text of its own";

    // A scroll button's chevron, 5 px in a 16 px square beside letters 10 px tall.
    const int side = static_cast<int>(kButtonSide * 10);
    EXPECT_TRUE(IsInButton(static_cast<int>(kButtonSign * 10), side, side, 10, true));
    EXPECT_FALSE(IsInButton(static_cast<int>(kButtonSign * 10) + 1, 16, 16, 10, true))
        << "a letter in a box";
    EXPECT_FALSE(IsInButton(5, side + 1, side, 10, true)) << "a table's cell";
    EXPECT_FALSE(IsInButton(5, 16, Ceil(16 / 0.75) + 1, 10, true)) << "not square";
    EXPECT_FALSE(IsInButton(5, 16, 16, 10, false)) << "with other glyphs in the frame";

    EXPECT_TRUE(IsDotted(1, kDottedRun - 2));
    EXPECT_FALSE(IsDotted(0, kDottedRun - 2)) << "a colon's dots, or a few more";

    // A size grip: square, nothing above the diagonal, no bigger than a few letters.
    EXPECT_TRUE(IsSizeGrip(12, 12, kGripDiagonal, 10));
    EXPECT_FALSE(IsSizeGrip(12, 12, kGripDiagonal - 0.01, 10)) << "ink in its upper left";
    EXPECT_FALSE(IsSizeGrip(Ceil(12 * kGripSquare) + 1, 12, 1, 10)) << "wide: a word";
    EXPECT_FALSE(IsSizeGrip(kIconSmallest - 1, kIconSmallest - 1, 1, 10)) << "a full stop";
    EXPECT_FALSE(IsSizeGrip(26, 26, 1, 10)) << "larger than a grip";
}

TEST(LayoutRules, RunsLinesColumnsAndWords) {
    EXPECT_TRUE(IsSmallGlyph(2, 4, 10));  // a full stop, a comma
    EXPECT_FALSE(IsSmallGlyph(6, 5, 10)) << "an x-height letter";
    EXPECT_TRUE(IsSmallGlyph(20, 4, 10)) << "a row of tildes";

    EXPECT_TRUE(JoinsRun(10, 10, 10, 10));
    EXPECT_FALSE(JoinsRun(11, 10, 10, 10)) << "a column gap";
    EXPECT_FALSE(JoinsRun(2, 10, 10, 4)) << "another line";

    // A comma below a line without descenders is in it; the next line's carets are not, in a
    // character grid.
    EXPECT_TRUE(InLine(18, 22, 10, 20));
    EXPECT_FALSE(InLine(22, 26, 10, 20));
    EXPECT_FALSE(InLine(20, 23, 10, 20, true));

    EXPECT_TRUE(IsRunningText(kRunningTextRuns, kRunningTextWidth, 1, 0));
    EXPECT_FALSE(IsRunningText(kRunningTextRuns - 1, kRunningTextWidth, 9, 1));
    EXPECT_TRUE(IsRunningText(kRunningTextRuns, 6, kRunningTextWords, kFullLines));
    EXPECT_FALSE(IsRunningText(kRunningTextRuns, 6, kRunningTextWords - 1, kFullLines))
        << "a table's cells are a word or two";
    EXPECT_FALSE(IsRunningText(kRunningTextRuns, 6, kRunningTextWords, kFullLines - 0.01));

    EXPECT_TRUE(RowsPair(kPairedMost, kPairedLeast, false));
    EXPECT_FALSE(RowsPair(kPairedMost - 0.01, kPairedMost - 0.01, false));
    EXPECT_FALSE(RowsPair(1, kPairedLeast - 0.01, false));
    EXPECT_FALSE(RowsPair(1, 1, true)) << "two columns of running text never pair";
    EXPECT_TRUE(IsLoneCell(1, 1)) << "one run beyond a gap in a line of code";
    EXPECT_FALSE(IsLoneCell(2, 1)) << "a column of two lines";
    EXPECT_FALSE(IsLoneCell(1, 0)) << "a line of its own";

    EXPECT_TRUE(PartsWords(kWordGapMin, 0, false));
    EXPECT_FALSE(PartsWords(kWordGapMin - 1, 0, false));
    EXPECT_FALSE(PartsWords(5, 3, false)) << "widely spaced letters";
    EXPECT_TRUE(PartsWords(1, 3, true)) << "an underscore";

    // A dim red "-" after white digits is lifted; a light grey divider is not.
    const uint8_t red[3] = {205, 0, 0}, grey[3] = {160, 160, 160};
    const uint8_t lessRed[3] = {kChromaticInk - 1, 0, 0}, justRed[3] = {kChromaticInk, 0, 0};
    const int peak = Ceil(kFaintGlyph * 200);
    EXPECT_TRUE(IsFaintColouredSign(peak - 1, 200, red));
    EXPECT_FALSE(IsFaintColouredSign(peak, 200, red)) << "about as strong as its run";
    EXPECT_FALSE(IsFaintColouredSign(peak - 1, 200, grey));
    EXPECT_FALSE(IsFaintColouredSign(peak - 1, 200, lessRed));
    EXPECT_TRUE(IsFaintColouredSign(peak - 1, 200, justRed));

    // A faint dark piece with its light copy a pixel down and right: disabled text's letter.
    const int paired = Ceil(kEmbossedPaired * 20), high = Ceil(kEmbossedHeight * 8);
    EXPECT_TRUE(IsEmbossed(20, paired, 2, high, 8));
    EXPECT_FALSE(IsEmbossed(20, paired - 1, 2, high, 8));
    EXPECT_FALSE(IsEmbossed(20, paired, 2, high - 1, 8)) << "an etched frame's short piece";
    EXPECT_FALSE(IsEmbossed(20, paired, 1, high, 8));

    // A short word's selection bar: a line high, wide, filled but for the letters, and its own
    // all round its edges.
    const int h = kBackgroundHeight, wide = Ceil(kSelectionWide * h);
    const auto filled = static_cast<size_t>(Ceil(kSelectionFilled * wide * h));
    const auto rim = static_cast<size_t>(Ceil(kSelectionRim * (2 * (wide + h) - 4)));
    EXPECT_TRUE(IsSelectionBar(wide, h, filled, rim));
    EXPECT_FALSE(IsSelectionBar(wide, h - 1, filled, rim)) << "lower than a line";
    EXPECT_FALSE(IsSelectionBar(wide - 1, h, filled, rim)) << "squarer: an icon's face";
    EXPECT_FALSE(IsSelectionBar(wide, h, filled - 1, rim)) << "hollow: a frame";
    EXPECT_FALSE(IsSelectionBar(wide, h, filled, rim - 1)) << "not a rectangle";

    EXPECT_TRUE(IsUnderscore(6, 2, 10, 1));
    EXPECT_FALSE(IsUnderscore(6, 2, 10, 2)) << "above the baseline: a dash";
    EXPECT_FALSE(IsUnderscore(3, 2, 10, 0)) << "short: a hyphen's stub";
}

TEST(LayoutRules, AFixedPitchRunIsPartedByItsEmptyCells) {
    // "ab.c de": cells 10 px apart, the full stop's cell narrow, one empty cell before "de".
    std::vector<std::pair<int, int>> cells = {{0, 8},   {10, 18}, {23, 25},
                                              {30, 38}, {50, 58}, {60, 68}};
    EXPECT_DOUBLE_EQ(Pitch(cells), 10);
    std::vector<std::pair<int, int>> proportional = {{0, 8},   {9, 12},  {14, 25},
                                                     {27, 30}, {33, 45}, {46, 50}};
    EXPECT_EQ(Pitch(proportional), 0);
    // A double quote's two strokes are one character; two letters that touch are two.
    std::vector<std::pair<int, int>> quote = {{0, 8}, {11, 13}, {15, 17}, {20, 28}, {30, 48}};
    ASSERT_TRUE(FitsPitch(quote, 10));
    EXPECT_EQ(quote.size(), 4u);
    EXPECT_EQ(Characters(quote[3], 10), 2);
}

}  // namespace
}  // namespace gs::tools::rules

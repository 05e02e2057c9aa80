#pragma once
// Every rule by which the screen-text reader tells text from what is not text and puts the text
// in the order a person reads it, with its thresholds: each named, with the kind of capture it
// is for and what set it. The steps (ScreenInk, ScreenMarks, ScreenLayout, ScreenCompose) compute
// the measures; the decisions are the predicates here, so that each can be tested on its own,
// a pixel either side of its threshold.
//
// "Sets" below name the bench sets a value was decided on: the drawn set (bench/ocr_accuracy.py
// and bench/screen_layouts.py, pictures drawn with Pillow) and the real set's tuning half
// (bench/screens, captures of real programs; bench/ocr_real.py). Heights are in the capture's
// pixels; "H" is the screen's usual letter height, "tall" the height of the taller letters
// (capitals, ascenders) beside a glyph.
#include <algorithm>
#include <cstdint>

namespace gs::tools::rules {

// ---- Backgrounds, ink and rules (ScreenInk) --------------------------------------------------

// Neighbours this close in every channel belong to one flat area. Window faces and panes are
// flat to the bit; 3 keeps the gentle gradients of title bars and buttons flat too.
inline constexpr int kFlatStep = 3;
// A one-pixel column no taller than this, standing out from the same colour on both sides, is a
// letter's stroke and joins no flat area above or below it (a descender that reaches the edge of
// a terminal's reversed status line touches the page beyond). A window frame's lines run longer
// than a letter at 200 %. Real set, tuning half: the less status lines of a 7x13 and a 9x15
// terminal lost every descender ("pase", "( ress"); with this and the height below, 23 -> 18
// and 46 -> 47 errors (the status line whole, the rest the engine's Latin or Cyrillic), 664 ->
// 664 on all 44.
inline constexpr int kNeckLength = 24;
// A flat area is a background when it is this large (a letter's inside, an icon's face, a rule
// never is) and this many of its pixels lie two pixels deep inside it; and at least this wide
// and high (a button's face is; a check box's is not; a terminal's reversed line one cell high,
// 13 px in a 7x13 font, is).
inline constexpr int kBackgroundArea = 400;
inline constexpr int kBackgroundWidth = 48, kBackgroundHeight = 12;
// A short word selected in a field ("*.txt" in a file dialog's name box) lies on a bar too
// small for a background: still one, when it is a line high, this much wider than high, fills
// this share of its box and has this share of the box's edges (letters are thin, and a
// ClearType fringe may reach an edge; an icon's face is square or not a rectangle, a frame is
// hollow). Real set, tuning half: the Open dialogs' "*.txt" (grey 23 x 13 with 247 pixels flat;
// ClearType at 144 DPI 33 x 19, 373 flat, 86 of the 100 on its edges) were taken for icons.
// The fill rule alone: 63 -> 58 errors there, 664 -> 656 on all 44; the edge rule then 46 -> 44
// on the ClearType one, 613 -> 611 on all 44.
inline constexpr double kSelectionWide = 1.5, kSelectionFilled = 0.5, kSelectionRim = 0.8;
inline bool IsSelectionBar(int width, int height, size_t area, size_t rim) {
    const double box = static_cast<double>(width) * height;
    const double edge = 2.0 * (width + height) - 4;
    return height >= kBackgroundHeight && width >= kSelectionWide * height &&
           static_cast<double>(area) >= kSelectionFilled * box &&
           static_cast<double>(rim) >= kSelectionRim * edge;
}
// Strength (of 255) from which a pixel counts as ink: half of a grey-smoothed stroke's edge.
inline constexpr int kInkStrength = 40;
// Disabled text on a dark face is drawn embossed: a dark copy of each letter with a light one a
// pixel down and right, each too faint to be ink (dark winecfg: 0x19 and 0x51 on 0x2e, 21 and 35
// of 255). A faint dark piece is ink when at least kEmbossedPaired of its pixels have the light
// copy there, and it is a letter's size: at least kEmbossedHeight of the letters high and 2 px
// wide (an etched frame's short piece beside its caption is neither), with another such piece
// beside it on its line no farther than a letter's height (a disabled arrow stands alone).
inline constexpr double kEmbossedPaired = 0.3, kEmbossedHeight = 0.5;
inline bool IsEmbossed(int pixels, int paired, int width, int height, int letter) {
    return paired >= kEmbossedPaired * pixels && width >= 2 && height >= kEmbossedHeight * letter &&
           height <= 2 * letter;
}
// Rules and edges between panes may be faint (a light grey separator on white is 12 to 30).
inline constexpr int kLineStrength = 12;
// The thickest a rule may be, and the shortest: never shorter than three letters' height, so
// that a letter's stroke (an l, an underscore of a short word) is no rule.
inline constexpr int kLineThickness = 3;
inline constexpr int kLineLength = 24;
inline constexpr int kLineLetters = 3;
// A rule is even: this share of it within these shares of its usual strength (a separator is
// drawn in one colour; the smoothed edge of touching letters rises and falls; real set's
// "0x00000001" in Tahoma 8 pt with ClearType was taken for a rule).
inline constexpr double kEvenShare = 0.9, kEvenLow = 0.75, kEvenHigh = 1.33;
// An underline: ink within kUnderlineGap pixels above it along this share of its length.
inline constexpr int kUnderlineGap = 3;
inline constexpr double kUnderlineCover = 0.5;
// A frame (a card's border with round corners) goes whole when this share of its pixels lies
// on rules and it spans three tall letters each way; text touching a rule keeps what is off it.
inline constexpr double kFrameOnRules = 0.85;
inline constexpr int kFrameLetters = 3;
// The glyphs that may be letters when the text's size is measured: this high, and no wider
// than this many times their height.
inline constexpr int kLetterLowest = 3, kLetterHighest = 120, kLetterWidest = 5;
// A glyph's ink colour: its pixels at least this share as strong as its strongest.
inline constexpr double kInkColourShare = 0.75;

// A pixel's colour is explained by smoothing when each of its channels lies between the
// background's and the ink's (within this share of the channel's range beyond either end);
// sub-pixel (ClearType) smoothing blends each channel on its own, grey smoothing all three
// alike, and neither makes a colour outside that box. A channel whose range is narrower than
// kNarrowChannel may stray no farther than that beyond it.
inline constexpr double kSmoothingSlack = 0.25;
inline constexpr int kNarrowChannel = 32;
// Sub-pixel smoothing's filter spreads a stroke over five sub-pixels: within one pixel the
// channels' coverages then differ by two thirds at most (real set, ClearType text: 99.9 % of
// text pixels within 0.64, none over 0.8). A pixel whose channels differ by more is a colour of
// its own.
inline constexpr double kSubpixelSpread = 0.8;

// ---- What is not text (ScreenMarks) ----------------------------------------------------------

// What a glyph looks like and what lies beside it: measured once, judged by the rules below.
struct GlyphContext {
    int width = 0, height = 0;
    int pixels = 0;
    double density = 0;     // pixels over the box's area
    double tall = 0;        // the taller letters beside it; never under kTallFloor of the screen's
    double screenTall = 0;  // the screen's taller letters
    int letter = 4;         // H, the screen's usual letter height (at least 4)
    int beside = 0;         // glyphs on its rows nearby, up to twice its height
    int besideColours = 0;
    int colourOff = 0;  // its ink against the text beside it: the largest channel difference
    // To the nearest glyph on its rows on its left, and on its right; 0 when one overlaps it.
    int before = 1 << 30, after = 1 << 30;
    int colourful = 0;   // 2 x 2 patches of colours no smoothing of its ink makes
    bool pill = false;   // long straight edges along its top and bottom
    bool bar = false;    // every row inked across
    int hollowSide = 0;  // the side of the square outline it draws (corners drawn, middle empty)
    bool sharpSquare = false;  // that square drawn with straight edges and square corners
    double aspect() const { return static_cast<double>(width) / height; }
    int gap() const { return std::min(before, after); }
};

// The taller letters beside a glyph are never taken for less than this share of the screen's.
inline constexpr double kTallFloor = 0.9;

enum class MarkRule : uint8_t {
    Text,  // not a mark
    Colourful,
    IconSized,
    AloneTall,
    AloneOtherColour,
    Solid,
    HollowSquare,
    Huge,
    Post,
    Caret,
    InButton,
    IconUnit,
    Bullet,
    InsideIcon,
    DensePicture,
    SizeGrip,
    Dotted,
};
inline constexpr int kMarkRules = 17;

// A word of one glyph, or a label's icon: nothing beside it within half the tall letters.
inline bool Alone(const GlyphContext& g) { return g.gap() >= g.tall / 2; }
// Roughly square and big enough to be a picture of something.
inline bool Squarish(const GlyphContext& g) {
    return g.aspect() >= 0.6 && g.aspect() <= 1.8 && g.height >= 7;
}

// Icons, pictures and emoji have patches in colours of their own; smoothed text has none.
inline constexpr int kColourfulPatches = 3;
inline constexpr int kColourfulShare = 20;  // one patch in this many pixels
inline bool IsColourful(const GlyphContext& g) {
    return g.colourful >= std::max(kColourfulPatches, g.pixels / kColourfulShare);
}

// Icons, check boxes, avatars and switches stand well above the letters beside them; letters
// with accents stay under 1.45 of the tall letters (drawn set).
inline constexpr double kIconHeight = 1.45;
inline constexpr int kIconSmallest = 7;
inline bool IsIconSized(const GlyphContext& g) {
    return g.height >= kIconSmallest && g.height >= kIconHeight * g.tall && g.aspect() >= 0.5 &&
           (g.aspect() <= 1.5 || (g.aspect() <= 2.6 && g.pill));
}

// A line icon before its label: alone, square and a little taller than the letters.
inline constexpr double kAloneTallHeight = 1.2;
inline bool IsAloneTall(const GlyphContext& g) {
    return Alone(g) && g.beside > 0 && Squarish(g) && g.height >= kAloneTallHeight * g.tall;
}

// A toolbar's icons: alone and in another colour than the text beside them.
inline constexpr int kOtherColour = 64;
inline bool IsAloneOtherColour(const GlyphContext& g) {
    return Alone(g) && g.besideColours >= 2 && g.colourOff >= kOtherColour &&
           g.height >= 0.6 * g.tall;
}

// A colour swatch: a filled square at least a letter high that stands apart, or is filled across
// every row when no taller than the letters (a bold N is dense too).
inline constexpr double kSolidDensity = 0.88;
inline bool IsSolid(const GlyphContext& g) {
    return g.density >= kSolidDensity && g.aspect() >= 0.75 && g.aspect() <= 1.33 &&
           g.height >= std::max(6, g.letter) &&
           (g.height >= 1.1 * g.tall || 4 * g.gap() >= g.tall || g.bar);
}

// A toolbar's icons at high DPI, side by side: filled pictures well above the screen's letters,
// though no taller than the icons beside them (real set, 144 DPI: 19 to 22 px beside 14 px
// letters, density 0.81 to 0.88; the densest heading letter is 0.68).
inline constexpr double kDensePicture = 0.75, kDensePictureHeight = 1.3;
inline bool IsDensePicture(const GlyphContext& g) {
    return g.density >= kDensePicture && g.aspect() >= 0.75 && g.aspect() <= 1.33 &&
           g.height >= kDensePictureHeight * g.screenTall;
}

// An empty check box: a square outline (within these shapes) a little taller than the letters,
// if only just rounded; a tree view's expander: a sharp square from kSharpHeight of them (9 px
// beside 11 px letters; an o or a 0 is round at its corners, real set).
inline constexpr double kSquareLeast = 0.85, kSquareMost = 1.18;
inline constexpr double kHollowHeight = 1.1, kSharpHeight = 0.7, kSharpEdge = 0.9;
inline bool IsHollowSquare(const GlyphContext& g) {
    return g.hollowSide >=
           std::max(7.0, g.sharpSquare ? kSharpHeight * g.screenTall : kHollowHeight * g.tall);
}

// Pictures and long bars: far larger than the text beside them.
inline bool IsHuge(const GlyphContext& g) {
    return (g.height >= 2 * g.tall && g.width >= 4 * g.tall) ||
           (g.height >= 4 * g.tall && g.width >= 2 * g.tall) ||
           (g.width >= 6 * g.height && g.width >= 4 * g.tall && g.height > kLineThickness && g.bar);
}

// A selected item's marker: a solid upright bar taller than the letters.
inline bool IsPost(const GlyphContext& g) {
    return g.width >= 2 && 10 * g.width <= 3 * g.height && g.density >= 0.85 &&
           g.height >= 1.5 * g.tall;
}

// An editor's text caret just after the last letter typed, or a pane's divider standing alone
// (a status bar's): a thin bar inked on every row, taller than the letters (an l or an I is as
// tall as they are), with nothing after it on its rows and nothing before it but a letter it
// nearly touches. A "|" between words has a blank either side (real set, Notepad in ClearType).
// Whatever stands beside it, a bar kFrameSide times the letters' height is the side of a frame
// (two buttons side by side at 120 DPI: 26 px beside 10 px letters, read as "||"; a "|" is
// about 1.3 times their height).
inline constexpr int kCaretWidest = 2;
inline constexpr double kCaretHeight = 1.15, kCaretTouch = 0.25, kFrameSide = 2;
inline bool IsCaret(const GlyphContext& g) {
    const bool alone = g.before >= g.tall && g.after >= g.tall;
    const bool typed = g.before <= kCaretTouch * g.tall && g.after >= g.tall;
    return g.width <= kCaretWidest && g.bar && g.height >= kCaretHeight * g.tall &&
           (alone || typed || g.height >= kFrameSide * g.tall);
}

// The first rule that takes a glyph for a mark, in the order above; Text when none does.
inline MarkRule MarkOf(const GlyphContext& g) {
    if (IsColourful(g)) return MarkRule::Colourful;
    if (IsIconSized(g)) return MarkRule::IconSized;
    if (IsAloneTall(g)) return MarkRule::AloneTall;
    if (IsAloneOtherColour(g)) return MarkRule::AloneOtherColour;
    if (IsSolid(g)) return MarkRule::Solid;
    if (IsDensePicture(g)) return MarkRule::DensePicture;
    if (IsHollowSquare(g)) return MarkRule::HollowSquare;
    if (IsHuge(g)) return MarkRule::Huge;
    if (IsPost(g)) return MarkRule::Post;
    if (IsCaret(g)) return MarkRule::Caret;
    return MarkRule::Text;
}

// A mark this small against the letters holds what lies inside it (the letter on a file's
// icon, a check box's tick): whatever covers this share of its own box inside it goes too.
inline constexpr double kIconReach = 5;
inline constexpr double kInside = 0.7;
inline bool HoldsInside(const GlyphContext& g, MarkRule rule) {
    return rule != MarkRule::Text && std::max(g.width, g.height) <= kIconReach * g.tall;
}

// A scroll bar's arrow or a spin button's: a small sign alone inside a small square framed by
// rules or background edges on all four sides (real set: Notepad's scroll buttons, whose
// chevrons were read as "^" and "<"). A letter is never this much shorter than the letters; a
// table's cell is wider than the frame lets it be.
inline constexpr double kButtonSign = 0.8, kButtonSide = 2.2;
// A button's side drawn as a glyph (a drop-down's round-cornered button) lies within this of the
// frame and has no more pixels than an outline this thick. Real set, tuning half: the grey
// German Open dialog's three drop-downs read "| v |" and, counted as a column, kept the Open
// and Cancel buttons off their rows; 58 -> 17 errors there, 656 -> 613 on all 44.
inline constexpr int kFrameStroke = 3;
inline bool IsInButton(int signHeight, int frameWidth, int frameHeight, double tall, bool alone) {
    const double aspect = static_cast<double>(frameWidth) / std::max(1, frameHeight);
    return alone && signHeight <= kButtonSign * tall && aspect >= 0.75 && aspect <= 1.33 &&
           std::max(frameWidth, frameHeight) <= kButtonSide * tall;
}

// Icons drawn in pieces (a grid of squares, a clock's face and hands): pieces closer than
// letters in a word form a unit; a unit of a few pieces that stands alone and is not a short
// word is an icon when it is taller than the text's line or in another colour than it.
struct UnitContext {
    int pieces = 0;
    int width = 0, height = 0;
    int beside = 0;               // letters beside it on its line
    double line = 1;              // the text's line: tall letters' tops to the baseline
    double gap = 0;               // to the nearest letter beside it
    bool word = false;            // two or more letter-high pieces side by side, not overlapping
    double above = 0, below = 0;  // how far it reaches over the line's top and below its baseline
    int colourOff = 0;
};
inline constexpr double kUnitTouch = 0.15;  // pieces this close (of the line's height) join
inline constexpr int kUnitPieces = 6;
inline constexpr double kUnitAlone = 0.6;  // of the line; a word space is a third of it or less
inline bool IsIconUnit(const UnitContext& u) {
    if (u.pieces < 1 || u.pieces > kUnitPieces || u.height < kIconSmallest ||
        u.width > 2 * u.height || u.beside < 2 || u.gap < kUnitAlone * u.line)
        return false;
    const bool taller = !u.word && u.height >= 1.3 * u.line && u.width <= 1.6 * u.height &&
                        std::max(u.above, u.below) >= 1 &&
                        std::min(u.above, u.below) >= -0.15 * u.line;
    const bool otherColour = u.colourOff >= kOtherColour && u.height >= 0.6 * u.line &&
                             u.pieces <= 2 && u.width <= 1.4 * u.height;
    return taller || otherColour;
}

// A window's size grip in its bottom-right corner: stripes (classic) or dots (themed) that fill
// the lower-right half of a square and nothing above its diagonal; a group of letters always
// has ink in its upper-left, a slash is narrower than a square. `diagonal` is the least, over its
// pixels, of x / width + y / height within the group's box (a pixel on the diagonal from
// bottom-left to top-right gives 1). Real set, tuning half: the Open dialogs' grips read "£ a",
// "u u" and "O »", and kept the buttons beside them off their rows; the ClearType one at 144
// DPI went 44 -> 17 errors, 611 -> 584 on all 44, no other capture changed.
inline constexpr double kGripSquare = 1.33, kGripDiagonal = 0.8, kGripSize = 2.5;
inline bool IsSizeGrip(int width, int height, double diagonal, double tall) {
    const double aspect = static_cast<double>(width) / std::max(1, height);
    return aspect >= 1 / kGripSquare && aspect <= kGripSquare && height >= kIconSmallest &&
           height <= kGripSize * tall && diagonal >= kGripDiagonal;
}

// A dotted line (the focus frame round a selected item, a tree's lines): single pixels every
// other pixel along a row or a column, this many in a row; a colon's two dots are no line. Real
// set, tuning half: winecfg's selected "Default Settings" read "(Default Settings |"; 10 -> 6
// errors there, 575 -> 568 on all 44, no capture worse.
inline constexpr int kDottedRun = 4;
inline bool IsDotted(int before, int after) { return before + 1 + after >= kDottedRun; }

// A bullet: a small round dot that starts a row and floats above its baseline, with nothing
// above or below it (a full stop sits on the baseline, the dot of an i above its stem).
struct BulletContext {
    int width = 0, height = 0;
    double density = 0;
    int letter = 4;
    bool before = false;   // a glyph close before it on its row
    bool stacked = false;  // a glyph above or below it
    bool beside = false;   // letters after it on its row
    int raised = 0;        // its bottom above the baseline of the letters after it
};
inline bool IsBullet(const BulletContext& b) {
    const double aspect = static_cast<double>(b.width) / std::max(1, b.height);
    return b.height >= 2 && 10 * b.height <= 7 * b.letter && aspect >= 0.6 && aspect <= 1.6 &&
           b.density >= 0.55 && !b.before && !b.stacked && b.beside &&
           b.raised >= std::max(1, b.letter / 8);
}

// ---- Lines of text and their reading order (ScreenLayout) ------------------------------------

// Dots, accents and punctuation are low and narrow (under 0.45 H, or under 0.6 H both ways):
// they join the run they sit on. Letters run together into a wider glyph stay letters.
inline bool IsSmallGlyph(int width, int height, int letter) {
    return 20 * height < 9 * letter || (5 * height < 3 * letter && 5 * width < 3 * letter);
}
// A letter joins a run it shares half its height with when the gap to it is under the taller
// one's height (a word space is a third of that, a column gap more) and it does not start far
// back under the run (a kerned "Ti" starts a little back).
inline bool JoinsRun(int gap, int runHeight, int letterHeight, int shared) {
    return gap <= std::max(runHeight, letterHeight) && 5 * gap >= -2 * runHeight &&
           2 * shared >= std::min(runHeight, letterHeight);
}
// A small glyph lies in a run's line when its middle is within the run's letters' band, or
// below it by less than this share of the band (a comma under a line without descenders).
inline constexpr double kInLineBelow = 0.3;
// In a character grid the next line follows closely (a row of carets under code): there only
// kGridInLineBelow.
inline constexpr double kGridInLineBelow = 0.1;
inline bool InLine(int y0, int y1, int coreTop, int coreBottom, bool grid = false) {
    const double middle = (y0 + y1) / 2.0;
    return middle >= coreTop &&
           middle <= coreBottom + (grid ? kGridInLineBelow : kInLineBelow) * (coreBottom - coreTop);
}
// A flat stroke (no higher than 2 px, or a fifth of the letters) under a run's baseline is
// an underline, never a character: a menu's mnemonic, an underlined link, a highlight's edge.
inline constexpr int kUnderlineFlat = 5;
// Small glyphs on a row of their own (carets, dashes, dots under a line of code) are read when
// at least this many stand side by side, each at least this large both ways (a tree view's
// dotted lines are single pixels).
inline constexpr int kSmallRow = 3, kSmallRowGlyph = 2;
// A run no letter has joined for this many of its heights is closed.
inline constexpr int kRunClosed = 4;
// A run's height is that of its taller letters: this share of its glyphs are no higher.
inline constexpr double kRunHeightShare = 0.75;
// A dot, accent or mark of punctuation joins the nearest run whose letters it lies beside
// (within this many ems), above (up to this share of the run's height) or below.
inline constexpr double kSmallReach = 0.3, kSmallAbove = 0.8, kSmallBelow = 0.5;
// A run's em: about its font's size from its taller letters.
inline constexpr double kEm = 1.35;
// A gap between columns is at least an em wide.
inline constexpr double kColumnGap = 1.0;
// A rule or an edge between backgrounds cuts a group when it runs across this share of it.
inline constexpr double kCutCover = 0.6;
// Two runs share a line when they share this much of the lower one's height.
inline constexpr double kSameLine = 0.6;
inline constexpr double kSameRow = 0.5;

// Running text: three or more runs of a median width of twelve ems (drawn set's columns); or,
// in a narrow column, of kRunningTextWords words or more each, most of them reaching within
// kRaggedMargin of the column's width of its right edge (a table's cells are a word or two and
// end where they end).
inline constexpr int kRunningTextRuns = 3, kRunningTextWords = 4;
inline constexpr double kRunningTextWidth = 12, kRaggedMargin = 0.25, kFullLines = 0.6;
// A gap of this share of the letters' height or more parts words.
inline constexpr double kWordSpace = 0.25;
inline bool IsRunningText(int runs, double medianWidthInEms, int medianWords, double fullLines) {
    return runs >= kRunningTextRuns &&
           (medianWidthInEms >= kRunningTextWidth ||
            (medianWords >= kRunningTextWords && fullLines >= kFullLines));
}
// Runs on the two sides of a gap pair up row by row (a list's name and size, a table's cells, a
// menu's item and shortcut) when this share of one side and this of the other have a partner
// on their line; two columns of running text pair up too when their lines happen to align, so
// they never count as a table.
inline constexpr double kPairedMost = 0.7, kPairedLeast = 0.3;
// One run alone beyond a gap, on a line of the other side, ends that line (a wide gap in a line
// of code, a switch's label beside its setting); a column has more than one line. Web pages,
// tuning half: 2.03 -> 1.47 % (a code block read its line's end after the block).
inline bool IsLoneCell(int runs, double paired) { return runs == 1 && paired >= 1; }
inline bool RowsPair(double leftPaired, double rightPaired, bool bothRunningText) {
    return std::max(leftPaired, rightPaired) >= kPairedMost &&
           std::min(leftPaired, rightPaired) >= kPairedLeast && !bothRunningText;
}

// ---- The picture for the engine (ScreenCompose) ----------------------------------------------

// The height the engine reads best (of a row's taller letters); text shorter than kSmallText is
// hard for it at any one scale: it is also read at kSmallTextAlso, and each word is the one
// most readings agree on. Real screens' tuning half: with 16 and 10 alone (three readings)
// 2.50 %, with 13 and 20 as well 2.43 % (terminals 3.52 -> 3.20, ClearType 3.33 -> 3.14); four
// readings tie too often (2.52 %). The surest reading alone: 2.53 %.
inline constexpr double kTallLetters = 30;
inline constexpr int kSmallText = 12;
inline constexpr double kSmallTextAlso[] = {16, 10, 13, 20};
// Rows of about the screen's usual height (within these shares) are enlarged alike, never
// more than kMostScale times.
inline constexpr double kUsualLow = 0.75, kUsualHigh = 1.33;
inline constexpr double kMostScale = 8;
// A run's ink is scaled to full black from the strength this share of its pixels stay under.
inline constexpr double kRunContrast = 0.9;
// A glyph much fainter than its run and in a colour of its own (a terminal's green "+" and dim
// red "-" beside white digits) is shown as dark as the rest, or the engine drops it. Grey ones
// stay faint: a list header's light dividers would become "|". Terminal captures (tuning half):
// 4.00 -> 3.59 %; lifting grey ones too took Wine's ClearType windows from 3.29 to 3.73 %.
inline constexpr double kFaintGlyph = 0.6;
inline constexpr int kChromaticInk = 96;  // its ink's strongest channel above its weakest
inline bool IsFaintColouredSign(int peak, int runContrast, const uint8_t (&colour)[3]) {
    const auto [low, high] = std::minmax({colour[0], colour[1], colour[2]});
    return peak < kFaintGlyph * runContrast && high - low >= kChromaticInk;
}
// Rows go under each other half a row apart, blocks more than a row apart; the cells of a row
// a little more than a letter's height apart.
inline constexpr double kRowGap = 0.5, kBlockGap = 1.2, kCellGap = 1.1;
// An underscore: a flat bar (a fifth of the run's height, at most 2 px for small text) on the
// baseline, at least a third of the run's height long.
inline bool IsUnderscore(int width, int height, int runHeight, int belowBaseline) {
    return 5 * height <= std::max(10, runHeight) && 3 * width >= runHeight && belowBaseline <= 1;
}
// Letters that touch leave no stretch between them; the letter spacing is then taken as at
// most this share of the letters' height.
inline constexpr double kTouchingLetters = 0.25;
// A fixed-pitch font (a terminal's, a code block's): at least kPitchCells neighbouring cells,
// their middles kPitchSmallest or more apart, and this share of them whole multiples of the
// usual distance (within kPitchSlack of it: a narrow l or full stop sits up to 1.5 px off its
// cell's middle at a pitch of 10, real set's terminals); pieces nearer than kPitchPieces of it
// are one character. There a blank is a cell left empty: two cells this many pitches apart are
// two words, nearer ones never (a full stop or a colon stands in a cell as wide as a letter's,
// with much room on either side).
inline constexpr int kPitchCells = 4;
inline constexpr double kPitchSmallest = 4, kPitchSlack = 0.2, kPitchRegular = 0.85;
inline constexpr double kPitchPieces = 0.5, kPitchWordGap = 1.5;
// A character grid: at least kGridGlyphs glyphs in runs of two or more, this share of them in
// fixed-pitch runs of one pitch (within kGridSlack of it); a glyph is on the grid when its middle
// lies within kGridSlack of a cell's, and no more than kGridTallest of the tall letters large.
inline constexpr int kGridGlyphs = 20;
inline constexpr double kGridShare = 0.75, kGridSlack = 0.25, kGridTallest = 2.5;
inline constexpr size_t kGridPhaseLooks = 400;  // cells tried as the phase
// In a character grid, a row of cells no higher than this share of the tall letters, each rising to
// a point in its middle or higher on its left than its right, is a row of carets and tildes.
// (With vertical bars in it too.)
inline constexpr double kSymbolHeight = 0.6;
// ... and a stroke no wider than this share of a cell, as high as the tall letters, a bar.
inline constexpr double kBarWidth = 0.3;
// In a character grid, a run that ends, after a blank, in this many cells or more of plus and
// minus signs (a diffstat's bar: "| 169 +++++++---") has them read here, cell by cell: the
// engine makes letters of a long row of them (real set, git log --stat: 79 "+" read as
// "++++++i+t++tti..."). A sign's strokes are no thicker than kSignStroke of the tall letters, or
// 2 px (gcc's flat tildes, 3 px beside 12 px letters, were read as dashes at 0.25); it fills most
// of its cell's width; a dash lies between kDashHigh of the letters' height from their top and
// kDashLow from their bottom (an underscore lies lower).
inline constexpr int kSignRun = 4;
inline constexpr double kSignStroke = 0.2, kDashHigh = 0.25, kDashLow = 0.15;

// Wide enough to part two digits: a tabular "1" stands off its neighbours by nearly half the
// letters' height ("F10").
inline constexpr double kDigitsApart = 0.5;
// A stretch between two glyphs of a row surely parts two words when it is this much wider than
// the row's letter spacing, and at least kWordGapMin (drawn set: letters stand up to two pixels
// farther apart than usual, words three or more and at least four).
inline constexpr int kWordGapMore = 3, kWordGapMin = 4;
inline bool PartsWords(int stretch, int letterSpacing, bool underscore) {
    return underscore || stretch >= std::max(kWordGapMin, letterSpacing + kWordGapMore);
}

}  // namespace gs::tools::rules

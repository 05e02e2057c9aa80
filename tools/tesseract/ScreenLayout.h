#pragma once
// How a screen's text reads: its glyphs gathered into pieces of lines, the pieces put in the
// order a person reads them (a side pane before the content beside it, a column before the
// next, a list or a table row by row), and a picture of that text, line under line, for the
// recognition engine.
#include <optional>
#include <string>
#include <vector>

#include "tools/tesseract/ScreenInk.h"
#include "tools/tesseract/ScreenMarks.h"

namespace gs::tools {

// A piece of one text line: glyphs close together on one baseline (a word or a few; a cell).
struct Run {
    Box box;               // everything it holds, dots and accents included
    Box core;              // its letters
    int height = 0;        // the height of its taller letters
    int baseline = 0;      // where most of its letters end
    bool symbols = false;  // small glyphs alone on their row (carets, tildes, dashes)
    int words = 1;         // parted by gaps of a word space
    std::vector<int> glyphs;
    double em() const { return rules::kEm * height; }  // about the font's size
};

struct TextLayout {
    std::vector<Run> runs;
    std::vector<int> runOf;  // per glyph: its run, or -1 (a mark, or a speck no run took)
    // In reading order, each row's runs from left to right; a row is one line of the result.
    std::vector<std::vector<int>> rows;
    std::vector<int> blockOf;  // per row: the block it belongs to (a pane, a column, a list)
    double pitch = 0;          // a character grid's, when the screen is one
    double phase = 0;          // and where its cells' middles fall, from 0 to the pitch
};

// Gathers the text glyphs (marks left out) into runs and orders them.
TextLayout LayOut(const Ink& ink, const Marks& marks);

// The columns a run's glyphs stand in, left to right: glyphs one above the other (the dots of
// a colon, an i and its dot) share one.
std::vector<std::pair<int, int>> CellsOf(const Ink& ink, const Run& run);
double Apart(const std::pair<int, int>& a, const std::pair<int, int>& b);
// The pitch of a fixed-pitch font (a terminal's, a code block's): the distance of most
// neighbouring cells' middles, which all others are whole multiples of; 0 when the run's
// letters are set in a proportional font. Cells nearer than half the pitch are one character's
// pieces (the two strokes of a double quote), and become one.
double Pitch(std::vector<std::pair<int, int>>& cells);
// Whether cells keep to a known pitch (as Pitch tells), their pieces then made one.
bool FitsPitch(std::vector<std::pair<int, int>>& cells, double pitch);
// How many characters a cell holds at a pitch (letters that touch fill one wide cell).
int Characters(const std::pair<int, int>& cell, double pitch);

// A screen of characters in one fixed-pitch grid (a terminal, a console): every line character
// (a vertical bar, a row of dashes or tildes, a box-drawing frame) is text there, and its rows
// are read across whole, whatever gaps they hold.
struct CharacterGrid {
    double pitch = 0;  // 0: none found
    double phase = 0;  // where a cell's middle falls, from 0 to the pitch
    bool found() const { return pitch > 0; }
    bool onGrid(const Box& b) const;
};
CharacterGrid FindCharacterGrid(const Ink& ink);
// The grid's text: what the mark rules took for marks on the grid is text (but a solid block:
// the cursor), and the rows are one block read across.
Marks GridMarks(const Ink& ink, const CharacterGrid& grid);
TextLayout LayOutGrid(const Ink& ink, const Marks& marks, const CharacterGrid& grid);

// A stretch between two glyphs of a row that surely parts two words, told from the screen's
// own spacing (in the picture's columns): the engine often misjudges it ("24kB"), and reads an
// underscore between words as a blank.
struct Spacing {
    int x0, x1;
    bool underscore;
    // Wide enough to part two digits: a tabular "1" stands off its neighbours by nearly half
    // the letters' height ("F10").
    bool betweenDigits;
};

// The picture the engine reads, and where each row landed in it (top down; a small row at
// several sizes).
struct Composed {
    GreyImage image;
    struct Band {
        int top, bottom, row, block;
        std::vector<Spacing> spacing;  // left to right
        // When every run of the row is set in a fixed-pitch font: the letters of each of its
        // words, counted off the screen's character cells (a blank is an empty cell; a full stop
        // or a colon fills one as a letter does). Empty otherwise.
        std::vector<int> words = {};
        // The row's text when it was read from the screen here (carets and tildes in a
        // character grid); such a band holds no picture.
        std::string known = {};
        // Signs read here that end the row, after the engine's words (a diffstat's bar).
        std::string tail = {};
    };
    std::vector<Band> bands;  // empty when the picture is the capture as it is
};

// The rows as the engine reads them best: dark on white, the capture's own pixels of each run
// (nothing of what lies around it), every row scaled so that its taller letters are about
// rules::kTallLetters pixels high (small text also at rules::kSmallTextAlso), rows under each
// other with a blank line between blocks.
Composed ComposeForRecognition(const Ink& ink, const TextLayout& layout);

// A character grid's run of carets and tildes, read from the shapes of its cells; nothing when
// any cell is another symbol.
std::optional<std::string> ReadSymbols(const Ink& ink, const TextLayout& layout, int run);

// A character grid's run that ends, after a blank, in a row of plus and minus signs: where they
// start and what they are.
struct SignTail {
    int x0;
    std::string signs;
};
std::optional<SignTail> TrailingSigns(const Ink& ink, const TextLayout& layout, int run);

// What the layout step makes of a capture: its ink, the marks, the text's runs in reading order
// (as a character grid, when it is one).
struct ScreenReading {
    Ink ink;
    Marks marks;
    TextLayout layout;
    CharacterGrid grid;
};
ScreenReading ReadScreen(const RgbImage& capture);

// The whole preparation of a capture: its text laid out as above, or, where no background can
// be told (a photograph) or no text is found, the capture as it is (PrepareForRecognition).
Composed PrepareScreen(const RgbImage& capture);

// The text of a composed picture from the engine's report of its words and their letters
// (hOCR with character boxes): each band's words left to right on one line (of a row read more
// than once, the words most readings agree on), words parted where the screen's spacing
// parts them, a blank line between blocks. Nothing when the report cannot be read.
std::optional<std::string> TextFromWords(const std::string& hocr,
                                         const std::vector<Composed::Band>& bands);

}  // namespace gs::tools

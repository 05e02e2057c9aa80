#pragma once
// What is drawn on a screen capture: each pixel's background, the ink on it, the straight rules
// and background edges that divide a screen, and the connected pieces of ink (glyphs), each
// with its measures; ScreenMarks tells which of them are not text.
#include <cstdint>
#include <vector>

#include "tools/tesseract/ScreenText.h"

namespace gs::tools {

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1 and y1 exclusive
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    void add(int x, int y);
    void add(const Box& b);
    bool contains(const Box& b) const {
        return b.x0 >= x0 && b.x1 <= x1 && b.y0 >= y0 && b.y1 <= y1;
    }
};
int OverlapX(const Box& a, const Box& b);
int OverlapY(const Box& a, const Box& b);

// A rule drawn across the screen, or the edge where one background meets another.
struct Line {
    Box box;
    bool horizontal = true;
    int length() const { return horizontal ? box.width() : box.height(); }
};

// One connected piece of ink.
struct Glyph {
    Box box;
    int pixels = 0;
    int strongest = 0;    // the index of its pixel farthest from the background
    uint8_t colour[3]{};  // its ink: the mean colour of its strongest pixels
    uint8_t reach[3]{};   // per channel, the value farthest from the background it reaches
    int colourful = 0;    // 2 x 2 patches in colours no smoothing of its ink makes
};

struct Ink {
    int width = 0, height = 0;
    std::vector<uint8_t> strength;  // per pixel: how far it is from its background, 0 to 255
    std::vector<uint8_t> erased;    // per pixel: part of a rule or an edge, never text
    std::vector<int32_t> glyphOf;   // per pixel: its glyph's index + 1, or 0
    std::vector<Glyph> glyphs;
    std::vector<Line> lines;
    int glyphHeight = 0;  // the median height of letter-sized glyphs
    int tallHeight = 0;   // the height of the taller of them (capitals, ascenders)
    // True when no background could be told (a photograph): nothing here is to be trusted.
    bool plain = false;
};

// Which thin straight strokes are rules, not text: all of them, or (in a character grid, where
// vertical bars and rows of dashes or tildes are characters) only the lines under text.
enum class Rules { All, Underlines };
// Whether a pixel's colour could be a smoothed edge of a glyph with ink `ink` on `back`: each
// channel between the background's and the ink's, and, where the channels blend on their own
// (sub-pixel smoothing), no further apart than its filter lets them be.
bool Smoothed(const uint8_t* px, const uint8_t* back, const uint8_t* ink);
// Finds the backgrounds, the ink, the lines and the glyphs.
Ink FindInk(const RgbImage& capture, Rules rules = Rules::All);

}  // namespace gs::tools

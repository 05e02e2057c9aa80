// Telling the marks on a screen that are not text (icons, check boxes, avatars, bullets,
// switches, swatches) from its letters.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tools/tesseract/Pieces.h"
#include "tools/tesseract/ScreenInk.h"

namespace gs::tools {

namespace {

// Glyphs near a box, found through their left edges; the few wide ones are looked at always.
class Neighbours {
  public:
    explicit Neighbours(const std::vector<Glyph>& glyphs) : glyphs_(glyphs) {
        for (size_t i = 0; i < glyphs.size(); ++i)
            (glyphs[i].box.width() <= kNarrow ? order_ : wide_).push_back(static_cast<int>(i));
        std::sort(order_.begin(), order_.end(),
                  [&](int a, int b) { return box(a).x0 < box(b).x0; });
    }
    // Every glyph (but `self`) within `reach` of `box` sideways that shares some of its rows.
    template <class Visit>
    void around(int self, const Box& b, int reach, Visit visit) const {
        auto look = [&](int g) {
            const Box& n = box(g);
            if (g != self && n.x1 >= b.x0 - reach && n.x0 <= b.x1 + reach && OverlapY(n, b) > 0)
                visit(g, glyphs_[static_cast<size_t>(g)]);
        };
        auto it = std::lower_bound(order_.begin(), order_.end(), b.x0 - reach - kNarrow,
                                   [&](int g, int x) { return box(g).x0 < x; });
        for (; it != order_.end() && box(*it).x0 <= b.x1 + reach; ++it) look(*it);
        for (int g : wide_) look(g);
    }

  private:
    static constexpr int kNarrow = 256;
    const Box& box(int g) const { return glyphs_[static_cast<size_t>(g)].box; }
    const std::vector<Glyph>& glyphs_;
    std::vector<int> order_, wide_;
};

double Density(const Glyph& g) {
    return static_cast<double>(g.pixels) / (static_cast<double>(g.box.width()) * g.box.height());
}

// Icons drawn in pieces (a grid of squares, a clock's face and hands) and icons a little
// taller than the letters: the pieces closer together than letters in a word make a unit; a
// unit of a few pieces that stands alone (farther from the text beside it than a word space),
// is not a row of letters side by side (a short word), is not much wider than high, and is 1.3
// times as tall as that text's line (tall letters to baseline) is an icon; so is a unit alone
// in another colour than the text beside it.
void MarkIconUnits(std::vector<Glyph>& glyphs, const Neighbours& near, double tallest) {
    Sets units(glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& g = glyphs[i];
        if (g.mark) continue;
        const int touch =
            std::max(2, static_cast<int>(0.15 * std::max<double>(g.box.height(), tallest)));
        const Box reach{g.box.x0, g.box.y0 - touch, g.box.x1, g.box.y1 + touch};
        near.around(static_cast<int>(i), reach, touch, [&](int j, const Glyph& n) {
            if (!n.mark) units.unite(static_cast<int32_t>(i), j);
        });
    }
    std::vector<std::vector<int>> members(glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i)
        if (!glyphs[i].mark)
            members[static_cast<size_t>(units.find(static_cast<int32_t>(i)))].push_back(
                static_cast<int>(i));
    for (const std::vector<int>& unit : members) {
        if (unit.empty() || unit.size() > 6) continue;
        Box box;
        for (int g : unit) box.add(glyphs[static_cast<size_t>(g)].box);
        const int w = box.width(), h = box.height();
        if (h < 7 || w > 2 * h) continue;
        std::vector<int> tops, bottoms, colours[3];
        int gap = 1 << 30, tallestBeside = 0;
        near.around(-1, box, 3 * h, [&](int j, const Glyph& n) {
            if (n.mark || units.find(j) == units.find(unit.front()) ||
                n.box.height() < tallest / 2 || 5 * n.box.height() > 6 * h ||
                2 * OverlapY(n.box, box) < n.box.height())
                return;
            tops.push_back(n.box.y0);
            bottoms.push_back(n.box.y1);
            tallestBeside = std::max(tallestBeside, n.box.height());
            for (int k = 0; k < 3; ++k) colours[k].push_back(n.colour[k]);
            gap = std::min(gap, std::max(n.box.x0 - box.x1, box.x0 - n.box.x1));
        });
        if (tops.size() < 2) continue;
        // The text's line from its tall letters' tops (accents above them are few) to its
        // baseline (descenders lie below it and nothing much above: a low share of bottoms).
        std::vector<int> tallTops;
        for (size_t k = 0; k < tops.size(); ++k)
            if (5 * (bottoms[k] - tops[k]) >= 4 * tallestBeside) tallTops.push_back(tops[k]);
        std::sort(tallTops.begin(), tallTops.end());
        std::sort(bottoms.begin(), bottoms.end());
        const int top = tallTops[tallTops.size() / 2], baseline = bottoms[bottoms.size() * 3 / 10];
        // Never less than the screen's tall letters: small words of small text stay words.
        const double line = std::max({1.0, static_cast<double>(baseline - top), tallest});
        // A word space is a third of the line or less; an icon keeps more room.
        if (gap < 0.6 * line) continue;
        // Taller, reaching beyond the line, and not a short word: letters side by side.
        std::vector<Box> letters;
        for (int g : unit)
            if (2 * glyphs[static_cast<size_t>(g)].box.height() >= h)
                letters.push_back(glyphs[static_cast<size_t>(g)].box);
        std::sort(letters.begin(), letters.end(),
                  [](const Box& a, const Box& b) { return a.x0 < b.x0; });
        bool word = letters.size() >= 2;
        for (size_t k = 1; k < letters.size(); ++k)
            word = word && OverlapX(letters[k - 1], letters[k]) <= 1;
        const double above = top - box.y0, below = box.y1 - baseline;
        const bool taller = !word && h >= 1.3 * line && w <= 1.6 * h &&
                            std::max(above, below) >= 1 && std::min(above, below) >= -0.15 * line;
        const Glyph& first = glyphs[static_cast<size_t>(unit.front())];
        int colourOff = 0;
        for (int k = 0; k < 3; ++k) {
            std::vector<int>& c = colours[k];
            std::nth_element(c.begin(), c.begin() + static_cast<long>(c.size() / 2), c.end());
            colourOff = std::max(colourOff, std::abs(c[c.size() / 2] - first.colour[k]));
        }
        const bool otherColour =
            colourOff >= 64 && h >= 0.6 * line && unit.size() <= 2 && w <= 1.4 * h;
        if (taller || otherColour)
            for (int g : unit) glyphs[static_cast<size_t>(g)].mark = true;
    }
}

// The longest run of the glyph's ink along row y, as a share of its width.
double RowRun(const Ink& ink, const Glyph& g, int label, int y) {
    int best = 0, run = 0;
    for (int x = g.box.x0; x < g.box.x1; ++x) {
        run = ink.glyphOf[static_cast<size_t>(y) * ink.width + x] == label ? run + 1 : 0;
        best = std::max(best, run);
    }
    return static_cast<double>(best) / g.box.width();
}

// A switch's pill: long straight edges along its top and bottom (letters that touch have only
// their ascenders and descenders there).
bool Pill(const Ink& ink, const Glyph& g, int label) {
    return std::max(RowRun(ink, g, label, g.box.y0), RowRun(ink, g, label, g.box.y0 + 1)) >= 0.4 &&
           std::max(RowRun(ink, g, label, g.box.y1 - 1), RowRun(ink, g, label, g.box.y1 - 2)) >=
               0.4;
}

// A bar: every row inked across (letters that touch leave gaps in most rows).
bool Bar(const Ink& ink, const Glyph& g, int label) {
    for (int y = g.box.y0; y < g.box.y1; ++y)
        if (RowRun(ink, g, label, y) < 0.9) return false;
    return true;
}

// The ink along the outermost two rows and columns: a box drawn as a square outline.
bool HollowSquare(const Ink& ink, const Glyph& g, int label) {
    const Box& b = g.box;
    auto inked = [&](int x, int y) {
        return ink.glyphOf[static_cast<size_t>(y) * ink.width + x] == label;
    };
    auto rowCover = [&](int y) {
        int n = 0;
        for (int x = b.x0; x < b.x1; ++x) n += inked(x, y);
        return static_cast<double>(n) / b.width();
    };
    auto columnCover = [&](int x) {
        int n = 0;
        for (int y = b.y0; y < b.y1; ++y) n += inked(x, y);
        return static_cast<double>(n) / b.height();
    };
    const double sides[4] = {std::max(rowCover(b.y0), rowCover(b.y0 + 1)),
                             std::max(rowCover(b.y1 - 1), rowCover(b.y1 - 2)),
                             std::max(columnCover(b.x0), columnCover(b.x0 + 1)),
                             std::max(columnCover(b.x1 - 1), columnCover(b.x1 - 2))};
    if (std::any_of(sides, sides + 4, [](double s) { return s < 0.75; })) return false;
    // Its corners are drawn (a round letter's are not), if only just rounded.
    int corners = 0;
    for (int cy : {b.y0, b.y1 - 2})
        for (int cx : {b.x0, b.x1 - 2})
            corners +=
                inked(cx, cy) || inked(cx + 1, cy) || inked(cx, cy + 1) || inked(cx + 1, cy + 1);
    if (corners < 3) return false;
    int inside = 0, area = 0;
    for (int y = b.y0 + b.height() / 4; y < b.y1 - b.height() / 4; ++y)
        for (int x = b.x0 + b.width() / 4; x < b.x1 - b.width() / 4; ++x, ++area)
            inside += inked(x, y);
    return area > 0 && inside <= 0.3 * area;
}

}  // namespace

// What is not text, by these rules. "Beside it" means the glyphs that share its rows nearby;
// "tall" is the height of the taller letters there (capitals, ascenders), and never less than
// nine tenths of theirs on the whole screen; "alone" means no glyph within half that on
// either side (a word of one glyph).
// - colourful: patches in a second colour (icons, pictures, emoji);
// - icon-sized: at least 1.45 times tall, and not much wider than high (icons, check boxes,
//   avatars, switches); letters with accents stay well under that;
// - alone and taller than the letters beside it (a line icon before its label; a word alone in
//   a table cell has no letters beside it);
// - alone and drawn in another colour than the text beside it (a toolbar's icons);
// - solid: a filled square at least as tall as a small letter (a colour swatch), standing
//   apart or filled across every row when no taller than the letters (a bold N is dense too);
// - a square outline a little taller than the letters (an empty check box);
// - a bullet: a small round dot that starts a row and floats above its baseline, with nothing
//   above or below it (a full stop sits on the baseline, the dot of an i above its stem);
// - pictures and bars: far larger than the text beside it in both directions, or a long bar,
//   or a solid upright bar taller than the letters (a selected item's marker);
// - whatever lies inside an icon-sized mark (the letter on a file's icon, a check box's tick).
void MarkNonText(Ink& ink) {
    std::vector<Glyph>& glyphs = ink.glyphs;
    const int H = std::max(ink.glyphHeight, 4);
    const double tallest = 0.9 * std::max(ink.tallHeight, H);
    const Neighbours near(glyphs);
    std::vector<int> icons;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        Glyph& g = glyphs[i];
        const int gw = g.box.width(), gh = g.box.height();
        const double aspect = static_cast<double>(gw) / gh, density = Density(g);
        const int label = static_cast<int>(i) + 1;
        // The text beside it: glyphs on its rows up to twice as tall as this one.
        std::vector<int> heights, colours[3];
        int left = 1 << 30, right = 1 << 30;
        near.around(static_cast<int>(i), g.box, 5 * std::max(gh, H) / 2, [&](int, const Glyph& n) {
            if (n.box.height() > 2 * gh || 2 * OverlapY(n.box, g.box) < n.box.height()) return;
            heights.push_back(n.box.height());
            // The text's colour from glyphs about its size (not the rules beside a table's cell).
            if (2 * n.box.height() <= 3 * gh)
                for (int k = 0; k < 3; ++k) colours[k].push_back(n.colour[k]);
            if (n.box.x1 <= g.box.x0) left = std::min(left, g.box.x0 - n.box.x1);
            if (n.box.x0 >= g.box.x1) right = std::min(right, n.box.x0 - g.box.x1);
            if (OverlapX(n.box, g.box) > 0) left = right = 0;
        });
        double ref = tallest;
        int colourOff = 0;
        if (heights.size() >= 2) {
            std::sort(heights.begin(), heights.end());
            ref = std::max(ref, static_cast<double>(heights[heights.size() * 4 / 5]));
        }
        if (colours[0].size() >= 2) {
            for (int k = 0; k < 3; ++k) {
                std::vector<int>& c = colours[k];
                std::nth_element(c.begin(), c.begin() + static_cast<long>(c.size() / 2), c.end());
                colourOff = std::max(colourOff, std::abs(c[c.size() / 2] - g.colour[k]));
            }
        }
        const bool alone = std::min(left, right) >= ref / 2;
        const bool squarish = aspect >= 0.6 && aspect <= 1.8 && gh >= 7;
        const bool colourful = g.colourful >= std::max(3, g.pixels / 20);
        const bool iconSized = gh >= 7 && gh >= 1.45 * ref && aspect >= 0.5 &&
                               (aspect <= 1.5 || (aspect <= 2.6 && Pill(ink, g, label)));
        const bool aloneTall = alone && !heights.empty() && squarish && gh >= 1.2 * ref;
        const bool aloneOther =
            alone && colours[0].size() >= 2 && colourOff >= 64 && gh >= 0.6 * ref;
        const bool solid =
            density >= 0.88 && aspect >= 0.75 && aspect <= 1.33 && gh >= std::max(6, H) &&
            (gh >= 1.1 * ref || 4 * std::min(left, right) >= ref || Bar(ink, g, label));
        const bool hollow = aspect >= 0.85 && aspect <= 1.18 && gh >= std::max(7.0, 1.1 * ref) &&
                            HollowSquare(ink, g, label);
        const bool huge =
            (gh >= 2 * ref && gw >= 4 * ref) || (gh >= 4 * ref && gw >= 2 * ref) ||
            (gw >= 6 * gh && gw >= 4 * ref && gh > kLineThickness && Bar(ink, g, label));
        const bool post = gw >= 2 && 10 * gw <= 3 * gh && density >= 0.85 && gh >= 1.5 * ref;
        g.mark =
            colourful || iconSized || aloneTall || aloneOther || solid || hollow || huge || post;
        if (g.mark && std::max(gw, gh) <= 5 * ref) icons.push_back(static_cast<int>(i));
    }
    MarkIconUnits(glyphs, near, tallest);
    // Bullets, once the glyphs around them are known.
    for (size_t i = 0; i < glyphs.size(); ++i) {
        Glyph& g = glyphs[i];
        const int gw = g.box.width(), gh = g.box.height();
        const double aspect = static_cast<double>(gw) / gh;
        if (g.mark || gh < 2 || 10 * gh > 7 * H || aspect < 0.6 || aspect > 1.6 ||
            Density(g) < 0.55)
            continue;
        bool before = false, stacked = false;
        std::vector<int> bottoms;
        Box reach = g.box;
        reach.y0 -= H;
        reach.y1 += H;
        near.around(static_cast<int>(i), reach, 5 * H / 2, [&](int, const Glyph& n) {
            if (n.mark) return;
            if (OverlapX(n.box, g.box) > 0) stacked = true;
            if (OverlapY(n.box, g.box) <= 0) return;
            if (n.box.x1 <= g.box.x0 && g.box.x0 - n.box.x1 < 6 * H / 5) before = true;
            if (n.box.x0 >= g.box.x1 && n.box.height() >= H / 2) bottoms.push_back(n.box.y1);
        });
        if (before || stacked || bottoms.empty()) continue;
        std::sort(bottoms.begin(), bottoms.end());
        const int baseline = bottoms[bottoms.size() / 2];
        if (g.box.y1 <= baseline - std::max(1, H / 8)) g.mark = true;
    }
    for (int m : icons) {
        const Box& b = glyphs[static_cast<size_t>(m)].box;
        near.around(m, b, 0, [&](int j, const Glyph& n) {
            const long inside = static_cast<long>(std::max(0, OverlapX(n.box, b))) *
                                std::max(0, OverlapY(n.box, b));
            if (10 * inside >= 7L * n.box.width() * n.box.height())
                glyphs[static_cast<size_t>(j)].mark = true;
        });
    }
}

}  // namespace gs::tools

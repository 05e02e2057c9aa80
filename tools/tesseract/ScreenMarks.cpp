// Telling the marks on a screen that are not text from its letters: each glyph is measured once
// (its shape, the text beside it) and judged by the rules of ScreenRules.h.
#include "tools/tesseract/ScreenMarks.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tools/tesseract/Pieces.h"

namespace gs::tools {

namespace {

using namespace rules;

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

// The screen's letter height (H) and the floor of the tall letters beside any glyph.
int LetterHeight(const Ink& ink) { return std::max(ink.glyphHeight, 4); }
double TallFloor(const Ink& ink) {
    return kTallFloor * std::max(ink.tallHeight, LetterHeight(ink));
}

// The largest channel difference between `colour` and the median colour of `colours`.
int ColourOff(std::vector<int> (&colours)[3], const uint8_t* colour) {
    int off = 0;
    for (int k = 0; k < 3; ++k) {
        std::vector<int>& c = colours[k];
        std::nth_element(c.begin(), c.begin() + static_cast<long>(c.size() / 2), c.end());
        off = std::max(off, std::abs(c[c.size() / 2] - colour[k]));
    }
    return off;
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

// A box drawn as a square outline: ink along its outermost two rows and columns, its corners
// drawn (a round letter's are not, if only just rounded), its middle half empty. Rows and
// columns at its edges with a single pixel of ink are left off first (the dotted line of a tree
// view touching its expander). Tells the square's side (0 when it is none), and whether it is
// drawn sharp: each side a straight line along the edge itself, and the four corner pixels ink.
struct Square {
    int side = 0;
    bool sharp = false;
};
Square HollowSquare(const Ink& ink, const Glyph& g, int label) {
    auto inked = [&](int x, int y) {
        return ink.glyphOf[static_cast<size_t>(y) * ink.width + x] == label;
    };
    Box b = g.box;
    auto rowInk = [&](int y) {
        int n = 0;
        for (int x = b.x0; x < b.x1; ++x) n += inked(x, y);
        return n;
    };
    auto columnInk = [&](int x) {
        int n = 0;
        for (int y = b.y0; y < b.y1; ++y) n += inked(x, y);
        return n;
    };
    for (bool trimmed = true; trimmed && b.width() >= 4 && b.height() >= 4;) {
        trimmed = false;
        if (rowInk(b.y0) <= 1) ++b.y0, trimmed = true;
        if (rowInk(b.y1 - 1) <= 1) --b.y1, trimmed = true;
        if (columnInk(b.x0) <= 1) ++b.x0, trimmed = true;
        if (columnInk(b.x1 - 1) <= 1) --b.x1, trimmed = true;
    }
    if (b.width() < 4 || b.height() < 4) return {};
    const double aspect = static_cast<double>(b.width()) / b.height();
    if (aspect < kSquareLeast || aspect > kSquareMost) return {};
    auto rowCover = [&](int y) { return static_cast<double>(rowInk(y)) / b.width(); };
    auto columnCover = [&](int x) { return static_cast<double>(columnInk(x)) / b.height(); };
    const double edges[4] = {rowCover(b.y0), rowCover(b.y1 - 1), columnCover(b.x0),
                             columnCover(b.x1 - 1)};
    const double sides[4] = {
        std::max(edges[0], rowCover(b.y0 + 1)), std::max(edges[1], rowCover(b.y1 - 2)),
        std::max(edges[2], columnCover(b.x0 + 1)), std::max(edges[3], columnCover(b.x1 - 2))};
    if (std::any_of(sides, sides + 4, [](double s) { return s < 0.75; })) return {};
    int corners = 0;
    for (int cy : {b.y0, b.y1 - 2})
        for (int cx : {b.x0, b.x1 - 2})
            corners +=
                inked(cx, cy) || inked(cx + 1, cy) || inked(cx, cy + 1) || inked(cx + 1, cy + 1);
    if (corners < 3) return {};
    int inside = 0, area = 0;
    for (int y = b.y0 + b.height() / 4; y < b.y1 - b.height() / 4; ++y)
        for (int x = b.x0 + b.width() / 4; x < b.x1 - b.width() / 4; ++x, ++area)
            inside += inked(x, y);
    if (area == 0 || inside > 0.3 * area) return {};
    const bool sharp = std::all_of(edges, edges + 4, [](double e) { return e >= kSharpEdge; }) &&
                       inked(b.x0, b.y0) && inked(b.x1 - 1, b.y0) && inked(b.x0, b.y1 - 1) &&
                       inked(b.x1 - 1, b.y1 - 1);
    return {b.height(), sharp};
}

GlyphContext ContextOf(const Ink& ink, const Neighbours& near, int i) {
    const Glyph& g = ink.glyphs[static_cast<size_t>(i)];
    const int H = LetterHeight(ink);
    GlyphContext c;
    c.width = g.box.width();
    c.height = g.box.height();
    c.pixels = g.pixels;
    c.density = static_cast<double>(g.pixels) / (static_cast<double>(c.width) * c.height);
    c.letter = H;
    c.colourful = g.colourful;
    // The text beside it: glyphs on its rows up to twice as tall as this one; its colour from
    // glyphs about its size (not the rules beside a table's cell).
    std::vector<int> heights, colours[3];
    int left = 1 << 30, right = 1 << 30;
    near.around(i, g.box, 5 * std::max(c.height, H) / 2, [&](int, const Glyph& n) {
        if (n.box.height() > 2 * c.height || 2 * OverlapY(n.box, g.box) < n.box.height()) return;
        heights.push_back(n.box.height());
        if (2 * n.box.height() <= 3 * c.height)
            for (int k = 0; k < 3; ++k) colours[k].push_back(n.colour[k]);
        if (n.box.x1 <= g.box.x0) left = std::min(left, g.box.x0 - n.box.x1);
        if (n.box.x0 >= g.box.x1) right = std::min(right, n.box.x0 - g.box.x1);
        if (OverlapX(n.box, g.box) > 0) left = right = 0;
    });
    c.tall = TallFloor(ink);
    c.screenTall = std::max(ink.tallHeight, H);
    if (heights.size() >= 2) {
        std::sort(heights.begin(), heights.end());
        c.tall = std::max(c.tall, static_cast<double>(heights[heights.size() * 4 / 5]));
    }
    c.beside = static_cast<int>(heights.size());
    c.besideColours = static_cast<int>(colours[0].size());
    if (c.besideColours >= 2) c.colourOff = ColourOff(colours, g.colour);
    c.before = left;
    c.after = right;
    const int label = i + 1;
    c.pill = c.height >= 4 && Pill(ink, g, label);
    c.bar = Bar(ink, g, label);
    const Square square = HollowSquare(ink, g, label);
    c.hollowSide = square.side;
    c.sharpSquare = square.sharp;
    return c;
}

// The least, over the pixels of `unit`'s glyphs, of x / width + y / height within `box` (see
// IsSizeGrip).
double Diagonal(const Ink& ink, const std::vector<int>& unit, const Box& box) {
    double least = 2;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            const int32_t g = ink.glyphOf[static_cast<size_t>(y) * ink.width + x];
            if (g && std::find(unit.begin(), unit.end(), g - 1) != unit.end())
                least = std::min(
                    least, (x - box.x0 + 0.5) / box.width() + (y - box.y0 + 0.5) / box.height());
        }
    return least;
}

// Icons drawn in pieces: units of pieces that touch or nearly touch, judged by IsIconUnit; a
// window's size grip is one too (IsSizeGrip).
void MarkIconUnits(const Ink& ink, const Neighbours& near, Marks& marks) {
    const std::vector<Glyph>& glyphs = ink.glyphs;
    const double tallest = TallFloor(ink);
    Sets units(glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& g = glyphs[i];
        if (IsMark(marks, static_cast<int>(i))) continue;
        const int touch =
            std::max(2, static_cast<int>(kUnitTouch * std::max<double>(g.box.height(), tallest)));
        const Box reach{g.box.x0, g.box.y0 - touch, g.box.x1, g.box.y1 + touch};
        near.around(static_cast<int>(i), reach, touch, [&](int j, const Glyph&) {
            if (!IsMark(marks, j)) units.unite(static_cast<int32_t>(i), j);
        });
    }
    std::vector<std::vector<int>> members(glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i)
        if (!IsMark(marks, static_cast<int>(i)))
            members[static_cast<size_t>(units.find(static_cast<int32_t>(i)))].push_back(
                static_cast<int>(i));
    for (const std::vector<int>& unit : members) {
        if (unit.empty() || static_cast<int>(unit.size()) > kUnitPieces) continue;
        UnitContext u;
        u.pieces = static_cast<int>(unit.size());
        Box box;
        for (int g : unit) box.add(glyphs[static_cast<size_t>(g)].box);
        u.width = box.width();
        u.height = box.height();
        if (u.height < kIconSmallest || u.width > 2 * u.height) continue;  // no icon: spared
        if (IsSizeGrip(u.width, u.height, Diagonal(ink, unit, box), tallest)) {
            for (int g : unit) marks[static_cast<size_t>(g)] = MarkRule::SizeGrip;
            continue;
        }
        std::vector<int> tops, bottoms, colours[3];
        int gap = 1 << 30, tallestBeside = 0;
        near.around(-1, box, 3 * u.height, [&](int j, const Glyph& n) {
            if (IsMark(marks, j) || units.find(j) == units.find(unit.front()) ||
                n.box.height() < tallest / 2 || 5 * n.box.height() > 6 * u.height ||
                2 * OverlapY(n.box, box) < n.box.height())
                return;
            tops.push_back(n.box.y0);
            bottoms.push_back(n.box.y1);
            tallestBeside = std::max(tallestBeside, n.box.height());
            for (int k = 0; k < 3; ++k) colours[k].push_back(n.colour[k]);
            gap = std::min(gap, std::max(n.box.x0 - box.x1, box.x0 - n.box.x1));
        });
        u.beside = static_cast<int>(tops.size());
        if (u.beside < 2) continue;
        // The text's line from its tall letters' tops (accents above them are few) to its
        // baseline (descenders lie below it and nothing much above: a low share of bottoms).
        std::vector<int> tallTops;
        for (size_t k = 0; k < tops.size(); ++k)
            if (5 * (bottoms[k] - tops[k]) >= 4 * tallestBeside) tallTops.push_back(tops[k]);
        std::sort(tallTops.begin(), tallTops.end());
        std::sort(bottoms.begin(), bottoms.end());
        const int top = tallTops[tallTops.size() / 2], baseline = bottoms[bottoms.size() * 3 / 10];
        // Never less than the screen's tall letters: small words of small text stay words.
        u.line = std::max({1.0, static_cast<double>(baseline - top), tallest});
        u.gap = gap;
        std::vector<Box> letters;
        for (int g : unit)
            if (2 * glyphs[static_cast<size_t>(g)].box.height() >= u.height)
                letters.push_back(glyphs[static_cast<size_t>(g)].box);
        std::sort(letters.begin(), letters.end(),
                  [](const Box& a, const Box& b) { return a.x0 < b.x0; });
        u.word = letters.size() >= 2;
        for (size_t k = 1; k < letters.size(); ++k)
            u.word = u.word && OverlapX(letters[k - 1], letters[k]) <= 1;
        u.above = top - box.y0;
        u.below = box.y1 - baseline;
        u.colourOff = ColourOff(colours, glyphs[static_cast<size_t>(unit.front())].colour);
        if (IsIconUnit(u))
            for (int g : unit) marks[static_cast<size_t>(g)] = MarkRule::IconUnit;
    }
}

// Bullets, once the glyphs around them are known (a bullet found counts as a mark for the next).
void MarkBullets(const Ink& ink, const Neighbours& near, Marks& marks) {
    const int H = LetterHeight(ink);
    for (size_t i = 0; i < ink.glyphs.size(); ++i) {
        const Glyph& g = ink.glyphs[i];
        if (IsMark(marks, static_cast<int>(i))) continue;
        BulletContext b;
        b.width = g.box.width();
        b.height = g.box.height();
        b.density = static_cast<double>(g.pixels) / (static_cast<double>(b.width) * b.height);
        b.letter = H;
        std::vector<int> bottoms;
        Box reach = g.box;
        reach.y0 -= H;
        reach.y1 += H;
        near.around(static_cast<int>(i), reach, 5 * H / 2, [&](int j, const Glyph& n) {
            if (IsMark(marks, j)) return;
            if (OverlapX(n.box, g.box) > 0) b.stacked = true;
            if (OverlapY(n.box, g.box) <= 0) return;
            if (n.box.x1 <= g.box.x0 && g.box.x0 - n.box.x1 < 6 * H / 5) b.before = true;
            if (n.box.x0 >= g.box.x1 && n.box.height() >= H / 2) bottoms.push_back(n.box.y1);
        });
        b.beside = !bottoms.empty();
        if (b.beside) {
            std::sort(bottoms.begin(), bottoms.end());
            b.raised = bottoms[bottoms.size() / 2] - g.box.y1;
        }
        if (IsBullet(b)) marks[i] = MarkRule::Bullet;
    }
}

// Signs framed as buttons, judged by IsInButton: the nearest rule or edge pixel straight out
// from the sign's middle on each side makes the frame. A button drawn with round corners (a
// drop-down's, in the light theme) has no rule: its sides are thin glyphs of their own, which
// then go with the sign.
void MarkButtonSigns(const Ink& ink, const Neighbours& near, Marks& marks) {
    const double tall = TallFloor(ink);
    const int reach = static_cast<int>(kButtonSide * tall);
    // The glyph (index + 1) at (x, y), -1 for an erased pixel, 0 for neither.
    auto at = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= ink.width || y >= ink.height) return 0;
        const size_t p = static_cast<size_t>(y) * ink.width + x;
        return ink.erased[p] ? -1 : ink.glyphOf[p];
    };
    struct Side {
        int at = -1, glyph = 0;  // where, and the glyph (index + 1) that draws it, if any
    };
    // The first erased or inked pixel from (x, y) on in steps of (dx, dy), within reach.
    auto out = [&](int self, int x, int y, int dx, int dy) {
        for (int k = 1; k <= reach; ++k)
            if (const int v = at(x + k * dx, y + k * dy); v != 0 && v != self + 1)
                return Side{dx ? x + k * dx : y + k * dy, std::max(v, 0)};
        return Side{};
    };
    for (size_t i = 0; i < ink.glyphs.size(); ++i) {
        const Box& g = ink.glyphs[i].box;
        if (IsMark(marks, static_cast<int>(i)) || g.height() > kButtonSign * tall) continue;
        const int self = static_cast<int>(i), cx = (g.x0 + g.x1) / 2, cy = (g.y0 + g.y1) / 2;
        const Side sides[4] = {out(self, g.x0, cy, -1, 0), out(self, g.x1 - 1, cy, 1, 0),
                               out(self, cx, g.y0, 0, -1), out(self, cx, g.y1 - 1, 0, 1)};
        if (std::any_of(sides, sides + 4, [](const Side& s) { return s.at < 0; })) continue;
        const Box frame{sides[0].at + 1, sides[2].at + 1, sides[1].at, sides[3].at};
        const Box outline{frame.x0 - 1, frame.y0 - 1, frame.x1 + 1, frame.y1 + 1};
        // A side drawn by a glyph: one that lies on the frame's outline, no deeper than a stroke
        // (a side, or the whole outline when its corners join).
        auto onOutline = [&](const Side& s) {
            if (!s.glyph) return true;
            const Glyph& side = ink.glyphs[static_cast<size_t>(s.glyph - 1)];
            const Box& b = side.box;
            return !IsMark(marks, s.glyph - 1) && b.x0 >= outline.x0 - kFrameStroke &&
                   b.x1 <= outline.x1 + kFrameStroke && b.y0 >= outline.y0 - kFrameStroke &&
                   b.y1 <= outline.y1 + kFrameStroke &&
                   side.pixels <= 2 * kFrameStroke * (b.width() + b.height());
        };
        if (!std::all_of(sides, sides + 4, onOutline)) continue;
        bool alone = true;
        near.around(self, frame, 0, [&](int j, const Glyph& n) {
            const bool side =
                std::any_of(sides, sides + 4, [&](const Side& s) { return s.glyph == j + 1; });
            if (j != self && !side && !IsMark(marks, j) && OverlapX(n.box, frame) > 0 &&
                OverlapY(n.box, frame) > 0)
                alone = false;
        });
        if (!IsInButton(g.height(), frame.width(), frame.height(), tall, alone)) continue;
        marks[i] = MarkRule::InButton;
        for (const Side& s : sides)
            if (s.glyph) marks[static_cast<size_t>(s.glyph - 1)] = MarkRule::InButton;
    }
}

}  // namespace

std::vector<GlyphContext> GlyphContexts(const Ink& ink) {
    const Neighbours near(ink.glyphs);
    std::vector<GlyphContext> out;
    out.reserve(ink.glyphs.size());
    for (size_t i = 0; i < ink.glyphs.size(); ++i)
        out.push_back(ContextOf(ink, near, static_cast<int>(i)));
    return out;
}

// Dotted lines, judged by IsDotted: each single-pixel glyph, with how many more lie two, four,
// ... pixels on along its row or column, each a single pixel too.
void MarkDotted(const Ink& ink, Marks& marks) {
    auto single = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= ink.width || y >= ink.height) return false;
        const int32_t g = ink.glyphOf[static_cast<size_t>(y) * ink.width + x];
        return g > 0 && ink.glyphs[static_cast<size_t>(g - 1)].pixels == 1;
    };
    auto count = [&](int x, int y, int dx, int dy) {
        int n = 0;
        while (single(x + 2 * (n + 1) * dx, y + 2 * (n + 1) * dy)) ++n;
        return n;
    };
    for (size_t i = 0; i < ink.glyphs.size(); ++i) {
        const Glyph& g = ink.glyphs[i];
        if (g.pixels != 1) continue;
        const int x = g.box.x0, y = g.box.y0;
        if (IsDotted(count(x, y, -1, 0), count(x, y, 1, 0)) ||
            IsDotted(count(x, y, 0, -1), count(x, y, 0, 1)))
            marks[i] = MarkRule::Dotted;
    }
}

Marks MarkNonText(const Ink& ink) {
    const Neighbours near(ink.glyphs);
    Marks marks(ink.glyphs.size(), MarkRule::Text);
    std::vector<int> icons;
    for (size_t i = 0; i < ink.glyphs.size(); ++i) {
        const GlyphContext c = ContextOf(ink, near, static_cast<int>(i));
        marks[i] = MarkOf(c);
        if (HoldsInside(c, marks[i])) icons.push_back(static_cast<int>(i));
    }
    MarkDotted(ink, marks);
    MarkIconUnits(ink, near, marks);
    MarkBullets(ink, near, marks);
    MarkButtonSigns(ink, near, marks);
    for (int m : icons) {
        const Box& b = ink.glyphs[static_cast<size_t>(m)].box;
        near.around(m, b, 0, [&](int j, const Glyph& n) {
            const long inside = static_cast<long>(std::max(0, OverlapX(n.box, b))) *
                                std::max(0, OverlapY(n.box, b));
            if (inside >= kInside * n.box.width() * n.box.height() && !IsMark(marks, j))
                marks[static_cast<size_t>(j)] = MarkRule::InsideIcon;
        });
    }
    return marks;
}

}  // namespace gs::tools

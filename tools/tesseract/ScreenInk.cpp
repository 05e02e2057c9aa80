#include "tools/tesseract/ScreenInk.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>

#include "tools/tesseract/Pieces.h"
#include "tools/tesseract/ScreenRules.h"

namespace gs::tools {

void Box::add(int x, int y) { add(Box{x, y, x + 1, y + 1}); }

void Box::add(const Box& b) {
    if (b.empty()) return;
    if (empty()) {
        *this = b;
        return;
    }
    x0 = std::min(x0, b.x0);
    y0 = std::min(y0, b.y0);
    x1 = std::max(x1, b.x1);
    y1 = std::max(y1, b.y1);
}

int OverlapX(const Box& a, const Box& b) { return std::min(a.x1, b.x1) - std::max(a.x0, b.x0); }
int OverlapY(const Box& a, const Box& b) { return std::min(a.y1, b.y1) - std::max(a.y0, b.y0); }

namespace {

using namespace rules;

// 8-connected pieces of the pixels `on` accepts: labels[p] is the piece's number + 1, or 0.
template <class On>
int LabelPieces(int w, int h, On on, std::vector<int32_t>& labels) {
    labels.assign(static_cast<size_t>(w) * h, 0);
    Sets sets(1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            if (!on(p)) continue;
            int32_t label = 0;
            auto join = [&](size_t q) {
                if (const int32_t m = labels[q]; m && !label)
                    label = m;
                else if (m)
                    sets.unite(label, m);
            };
            if (x > 0) join(p - 1);
            if (y > 0) {
                if (x > 0) join(p - w - 1);
                join(p - w);
                if (x + 1 < w) join(p - w + 1);
            }
            if (!label) {
                label = static_cast<int32_t>(sets.parent.size());
                sets.parent.push_back(label);
            }
            labels[p] = label;
        }
    // Set 0 is the unused label 0, so the pieces come out numbered from 1.
    const int32_t count = sets.number() - 1;
    for (int32_t& l : labels) l = sets.parent[static_cast<size_t>(l)];
    return count;
}

int Channel(const RgbImage& c, size_t p, int k) { return c.pixels[3 * p + static_cast<size_t>(k)]; }

// How far apart two pixels stand, on ink's scale of 255 (green weighs as red and blue together).
int Contrast(const RgbImage& c, size_t p, size_t q) {
    const int d = std::abs(Channel(c, p, 0) - Channel(c, q, 0)) +
                  2 * std::abs(Channel(c, p, 1) - Channel(c, q, 1)) +
                  std::abs(Channel(c, p, 2) - Channel(c, q, 2));
    return (d + 2) / 4;
}

bool Flat(const RgbImage& c, size_t p, size_t q) {
    for (int k = 0; k < 3; ++k)
        if (std::abs(Channel(c, p, k) - Channel(c, q, k)) > kFlatStep) return false;
    return true;
}

// Every pixel's background: the nearest pixel of a large flat area (a window, a pane, a
// highlighted row, a button's face). Returns, per pixel, that pixel's index, and the flat area
// it lies in; empty when nothing on the picture is flat and large.
struct Backgrounds {
    std::vector<int32_t> source;  // the background pixel each pixel takes its colour from
    std::vector<int32_t> area;    // per pixel: the flat area it lies in
};

Backgrounds FindBackgrounds(const RgbImage& c) {
    const int w = c.width, h = c.height;
    const size_t n = static_cast<size_t>(w) * h;
    Sets flat(n);
    // A one-pixel neck carries no background: a light letter's descender that reaches the edge
    // of a dark bar (a terminal's reversed status line) touches the light page beyond it, and
    // would join it. A neck is a column of pixels with one colour on both sides that they stand
    // out from as ink does, two pixels or more (a dotted focus frame is no stroke) and no taller
    // than a stroke of a letter (a frame's long line is no neck).
    auto narrow = [&](int x, int y) {
        const size_t p = static_cast<size_t>(y) * w + x;
        return Contrast(c, p, p - 1) >= kInkStrength && !Flat(c, p, p + 1) && Flat(c, p - 1, p + 1);
    };
    std::vector<uint8_t> neck(n);
    for (int x = 1; x + 1 < w; ++x)
        for (int y = 0; y < h;) {
            int end = y;
            while (end < h && narrow(x, end)) ++end;
            if (end - y >= 2 && end - y <= kNeckLength)
                for (int yy = y; yy < end; ++yy) neck[static_cast<size_t>(yy) * w + x] = 1;
            y = std::max(end, y + 1);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            if (x + 1 < w && Flat(c, p, p + 1))
                flat.unite(static_cast<int32_t>(p), static_cast<int32_t>(p + 1));
            if (y + 1 < h && Flat(c, p, p + w) && !neck[p] && !neck[p + w])
                flat.unite(static_cast<int32_t>(p), static_cast<int32_t>(p + w));
        }
    const int32_t areas = flat.number();
    Backgrounds bg;
    bg.area = std::move(flat.parent);
    std::vector<Box> boxes(static_cast<size_t>(areas));
    std::vector<size_t> sizes(static_cast<size_t>(areas)), inner(static_cast<size_t>(areas));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            const int32_t a = bg.area[p];
            boxes[static_cast<size_t>(a)].add(x, y);
            ++sizes[static_cast<size_t>(a)];
            // Two pixels of the same area every way: a rule or a stroke has none of these.
            auto same = [&](int dx, int dy) {
                const int nx = x + dx, ny = y + dy;
                return nx >= 0 && ny >= 0 && nx < w && ny < h &&
                       bg.area[static_cast<size_t>(ny) * w + nx] == a;
            };
            inner[static_cast<size_t>(a)] += same(-2, 0) && same(2, 0) && same(0, -2) &&
                                             same(0, 2) && same(-1, 0) && same(1, 0) &&
                                             same(0, -1) && same(0, 1);
        }
    // The pixels each area has on its box's edges: a bar's are all its own.
    std::vector<size_t> rim(static_cast<size_t>(areas));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t a = static_cast<size_t>(bg.area[static_cast<size_t>(y) * w + x]);
            rim[a] += x == boxes[a].x0 || x + 1 == boxes[a].x1 || y == boxes[a].y0 ||
                      y + 1 == boxes[a].y1;
        }
    // Large and thick enough that no letter's inside, icon, avatar or rule is taken for one.
    const size_t minSize = std::min<size_t>(kBackgroundArea, n / 4);
    std::vector<uint8_t> large(static_cast<size_t>(areas));
    for (size_t a = 0; a < large.size(); ++a)
        large[a] = (sizes[a] >= minSize && inner[a] >= minSize / 4 &&
                    boxes[a].width() >= std::min(kBackgroundWidth, w) &&
                    boxes[a].height() >= std::min(kBackgroundHeight, h)) ||
                   IsSelectionBar(boxes[a].width(), boxes[a].height(), sizes[a], rim[a]);

    bg.source.assign(n, -1);
    std::vector<int32_t> queue;
    queue.reserve(n);
    for (size_t p = 0; p < n; ++p)
        if (large[static_cast<size_t>(bg.area[p])]) {
            bg.source[p] = static_cast<int32_t>(p);
            queue.push_back(static_cast<int32_t>(p));
        }
    if (queue.empty()) return {};
    for (size_t i = 0; i < queue.size(); ++i) {
        const int32_t p = queue[i];
        const int x = p % w, y = p / w;
        auto reach = [&](int32_t q) {
            if (bg.source[static_cast<size_t>(q)] >= 0) return;
            bg.source[static_cast<size_t>(q)] = bg.source[static_cast<size_t>(p)];
            queue.push_back(q);
        };
        if (x > 0) reach(p - 1);
        if (x + 1 < w) reach(p + 1);
        if (y > 0) reach(p - w);
        if (y + 1 < h) reach(p + w);
    }
    // A small flat area of a background's colour that touches what that background reaches is
    // of it, though another came nearer: the black between a console's letter and the window's
    // white frame, taken for ink, made "12" read as "42".
    std::vector<int32_t> own(static_cast<size_t>(areas), -1);
    auto ownColour = [&](size_t p, size_t q) {
        const auto s = static_cast<size_t>(bg.source[q]);
        return Flat(c, p, s) && !Flat(c, p, static_cast<size_t>(bg.source[p]));
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            const auto a = static_cast<size_t>(bg.area[p]);
            if (large[a]) continue;
            auto take = [&](size_t q) {
                if (own[a] < 0 && ownColour(p, q)) own[a] = bg.source[q];
            };
            if (x > 0) take(p - 1);
            if (x + 1 < w) take(p + 1);
            // Nor does a neck carry a background's colour into a letter.
            if (y > 0 && !neck[p] && !neck[p - w]) take(p - w);
            if (y + 1 < h && !neck[p] && !neck[p + w]) take(p + w);
        }
    for (size_t p = 0; p < n; ++p)
        if (const int32_t s = own[static_cast<size_t>(bg.area[p])];
            s >= 0 && Flat(c, p, static_cast<size_t>(s)))
            bg.source[p] = s;
    return bg;
}

// Straight runs of at least kLineLength pixels, at most kLineThickness thick, of the pixels `on`
// accepts, along rows (`horizontal`) or columns. Touching runs become one line.
template <class On>
std::vector<Line> StraightRuns(int w, int h, bool horizontal, On on) {
    const int along = horizontal ? w : h, across = horizontal ? h : w;
    auto index = [&](int a, int b) {
        return horizontal ? static_cast<size_t>(b) * w + a : static_cast<size_t>(a) * w + b;
    };
    // How thick the ink is across the run at each pixel.
    std::vector<uint8_t> thick(static_cast<size_t>(w) * h, 0);
    for (int a = 0; a < along; ++a)
        for (int b = 0; b < across;) {
            if (!on(index(a, b))) {
                ++b;
                continue;
            }
            int e = b;
            while (e < across && on(index(a, e))) ++e;
            for (int k = b; k < e; ++k)
                thick[index(a, k)] = static_cast<uint8_t>(std::min(255, e - b));
            b = e;
        }
    std::vector<Line> lines;
    for (int b = 0; b < across; ++b)
        for (int a = 0; a < along;) {
            auto thin = [&](int k) {
                const size_t p = index(k, b);
                return on(p) && thick[p] <= kLineThickness;
            };
            if (!thin(a)) {
                ++a;
                continue;
            }
            // A rule goes on through a crossing rule (a few inked pixels that are not thin).
            int e = a;
            for (int k = a; k < along && on(index(k, b)); ++k) {
                if (!thin(k)) {
                    if (k - e > kLineThickness) break;
                    continue;
                }
                e = k + 1;
            }
            if (e - a >= kLineLength) {
                Box box = horizontal ? Box{a, b, e, b + 1} : Box{b, a, b + 1, e};
                // Joined to a line that ends on the row (column) before and shares most of it.
                auto joins = [&](const Line& l) {
                    const int shared = horizontal ? OverlapX(l.box, box) : OverlapY(l.box, box);
                    return (horizontal ? l.box.y1 : l.box.x1) == b && 2 * shared >= e - a;
                };
                auto it = std::find_if(lines.begin(), lines.end(), joins);
                if (it != lines.end())
                    it->box.add(box);
                else
                    lines.push_back(Line{box, horizontal});
            }
            a = e;
        }
    return lines;
}

// A rule is drawn in one colour: along it, the strength stays near its usual value. The edge of
// a row of letters that touch (a smoothed "0000" in small text) rises and falls with each letter.
bool Even(const Ink& ink, const Line& l) {
    std::vector<int> along;
    for (int a = l.horizontal ? l.box.x0 : l.box.y0; a < (l.horizontal ? l.box.x1 : l.box.y1);
         ++a) {
        int strongest = 0;
        for (int b = l.horizontal ? l.box.y0 : l.box.x0; b < (l.horizontal ? l.box.y1 : l.box.x1);
             ++b) {
            const size_t p = l.horizontal ? static_cast<size_t>(b) * ink.width + a
                                          : static_cast<size_t>(a) * ink.width + b;
            strongest = std::max(strongest, static_cast<int>(ink.strength[p]));
        }
        along.push_back(strongest);
    }
    const double usual = Median(along);
    const auto even = std::count_if(along.begin(), along.end(), [&](int s) {
        return s >= kEvenLow * usual && s <= kEvenHigh * usual;
    });
    return even >= kEvenShare * static_cast<double>(along.size());
}

// A line right under text: ink just above it along most of its length (a man page's underlined
// argument), where a row of dashes or tildes has a blank line above it.
bool Underline(const Ink& ink, const Line& l) {
    int covered = 0;
    for (int x = l.box.x0; x < l.box.x1; ++x)
        for (int y = std::max(0, l.box.y0 - kUnderlineGap); y < l.box.y0; ++y)
            if (ink.strength[static_cast<size_t>(y) * ink.width + x] >= kInkStrength) {
                ++covered;
                break;
            }
    return covered >= kUnderlineCover * l.length();
}

// Edges where one background area meets another along a row or a column.
std::vector<Line> BackgroundEdges(int w, int h, const Backgrounds& bg) {
    auto areaOf = [&](size_t p) { return bg.area[static_cast<size_t>(bg.source[p])]; };
    std::vector<Line> lines;
    for (int pass = 0; pass < 2; ++pass) {
        const bool horizontal = pass == 0;  // an edge between row y and y + 1
        const int along = horizontal ? w : h, across = horizontal ? h - 1 : w - 1;
        for (int b = 0; b < across; ++b)
            for (int a = 0; a < along;) {
                auto edge = [&](int k) {
                    const size_t p = horizontal ? static_cast<size_t>(b) * w + k
                                                : static_cast<size_t>(k) * w + b;
                    return areaOf(p) != areaOf(p + (horizontal ? static_cast<size_t>(w) : 1));
                };
                if (!edge(a)) {
                    ++a;
                    continue;
                }
                int e = a;
                while (e < along && edge(e)) ++e;
                if (e - a >= kLineLength)
                    lines.push_back(
                        Line{horizontal ? Box{a, b, e, b + 2} : Box{b, a, b + 2, e}, horizontal});
                a = e;
            }
    }
    return lines;
}

void MeasureGlyphs(Ink& ink, int count) {
    ink.glyphs.assign(static_cast<size_t>(count), Glyph{});
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x) {
            const size_t p = static_cast<size_t>(y) * ink.width + x;
            if (!ink.glyphOf[p]) continue;
            Glyph& g = ink.glyphs[static_cast<size_t>(ink.glyphOf[p] - 1)];
            if (!g.pixels || ink.strength[p] > ink.strength[static_cast<size_t>(g.strongest)])
                g.strongest = static_cast<int>(p);
            g.box.add(x, y);
            ++g.pixels;
        }
}

// The height below which `share` of the letter-sized glyphs lie.
int GlyphHeight(const std::vector<Glyph>& glyphs, double share) {
    std::vector<int> heights;
    for (const Glyph& g : glyphs)
        if (g.box.height() >= kLetterLowest && g.box.height() <= kLetterHighest &&
            g.box.width() <= kLetterWidest * g.box.height())
            heights.push_back(g.box.height());
    if (heights.empty()) return 0;
    const auto at =
        heights.begin() + static_cast<long>(share * static_cast<double>(heights.size() - 1));
    std::nth_element(heights.begin(), at, heights.end());
    return *at;
}

// Patches of 2 x 2 pixels in colours no smoothing of the glyph's ink makes: icons and pictures
// have them; text has none, however it is smoothed (grey or sub-pixel).
void CountColourful(Ink& ink, const RgbImage& c, const Backgrounds& bg) {
    const int w = ink.width;
    std::vector<uint8_t> off(ink.glyphOf.size(), 0);
    for (size_t p = 0; p < off.size(); ++p) {
        if (!ink.glyphOf[p]) continue;
        const Glyph& g = ink.glyphs[static_cast<size_t>(ink.glyphOf[p] - 1)];
        const auto back = static_cast<size_t>(bg.source[p]);
        off[p] = !Smoothed(&c.pixels[3 * p], &c.pixels[3 * back], g.reach);
    }
    for (int y = 0; y + 1 < ink.height; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            const size_t q[4] = {p, p + 1, p + w, p + w + 1};
            if (std::all_of(q, q + 4,
                            [&](size_t i) { return off[i] && ink.glyphOf[i] == ink.glyphOf[p]; }))
                ++ink.glyphs[static_cast<size_t>(ink.glyphOf[p] - 1)].colourful;
        }
}

// Lifts disabled text drawn embossed on a dark face to ink strength (see IsEmbossed).
void LiftEmbossed(Ink& ink, const RgbImage& c, const Backgrounds& bg, int letter) {
    const int w = ink.width, h = ink.height;
    auto luma = [&](size_t p) {
        return Channel(c, p, 0) + 2 * Channel(c, p, 1) + Channel(c, p, 2);
    };
    // -1 for a faint pixel darker than its background, 1 for a faint lighter one, else 0.
    auto faint = [&](size_t p) {
        if (ink.strength[p] < kLineStrength || ink.strength[p] >= kInkStrength) return 0;
        return luma(p) < luma(static_cast<size_t>(bg.source[p])) ? -1 : 1;
    };
    std::vector<int32_t> labels;
    const int count = LabelPieces(
        w, h, [&](size_t p) { return faint(p) < 0; }, labels);
    std::vector<Box> boxes(static_cast<size_t>(count));
    std::vector<int> pixels(static_cast<size_t>(count)), paired(static_cast<size_t>(count));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            if (!labels[p]) continue;
            const auto l = static_cast<size_t>(labels[p] - 1);
            boxes[l].add(x, y);
            ++pixels[l];
            paired[l] += x + 1 < w && y + 1 < h && faint(p + static_cast<size_t>(w) + 1) > 0;
        }
    std::vector<size_t> pieces;
    for (size_t l = 0; l < boxes.size(); ++l)
        if (IsEmbossed(pixels[l], paired[l], boxes[l].width(), boxes[l].height(), letter))
            pieces.push_back(l);
    // Letters come in words: a disabled arrow of a drop-down or scroll bar stands alone.
    std::vector<uint8_t> lift(boxes.size(), 0);
    for (size_t a : pieces)
        for (size_t b : pieces) {
            const Box &p = boxes[a], &q = boxes[b];
            if (a != b && 2 * OverlapY(p, q) >= std::min(p.height(), q.height()) &&
                std::max(p.x0 - q.x1, q.x0 - p.x1) <= letter)
                lift[a] = 1;
        }
    for (size_t p = 0; p < labels.size(); ++p)
        if (labels[p] && lift[static_cast<size_t>(labels[p] - 1)]) ink.strength[p] = kInkStrength;
}

}  // namespace

bool Smoothed(const uint8_t* px, const uint8_t* back, const uint8_t* ink) {
    double lo = 2, hi = -1;
    for (int k = 0; k < 3; ++k) {
        const int range = ink[k] - back[k], v = px[k] - back[k];
        if (std::abs(range) < kNarrowChannel) {
            if (std::abs(v) > std::abs(range) + kNarrowChannel) return false;
            continue;
        }
        const double cover = static_cast<double>(v) / range;
        if (cover < -kSmoothingSlack || cover > 1 + kSmoothingSlack) return false;
        lo = std::min(lo, cover);
        hi = std::max(hi, cover);
    }
    return hi < lo || hi - lo <= kSubpixelSpread;
}

Ink FindInk(const RgbImage& capture, Rules rules) {
    Ink ink;
    ink.width = capture.width;
    ink.height = capture.height;
    const int w = ink.width, h = ink.height;
    const size_t n = static_cast<size_t>(w) * h;
    const Backgrounds bg = FindBackgrounds(capture);
    if (bg.source.empty()) {
        ink.plain = true;
        return ink;
    }
    ink.strength.resize(n);
    for (size_t p = 0; p < n; ++p) {
        ink.strength[p] =
            static_cast<uint8_t>(Contrast(capture, p, static_cast<size_t>(bg.source[p])));
    }
    auto faint = [&](size_t p) { return ink.strength[p] >= kLineStrength; };
    ink.lines = StraightRuns(w, h, true, faint);
    if (rules == Rules::All)
        for (Line& l : StraightRuns(w, h, false, faint)) ink.lines.push_back(l);
    const std::vector<Line> edges = BackgroundEdges(w, h, bg);

    // A first look at the ink tells the size of the text, which tells a rule from a stroke.
    auto inked = [&](size_t p) { return ink.strength[p] >= kInkStrength; };
    MeasureGlyphs(ink, LabelPieces(w, h, inked, ink.glyphOf));
    LiftEmbossed(ink, capture, bg, GlyphHeight(ink.glyphs, 0.5));
    const int minLine = std::max(kLineLength, kLineLetters * GlyphHeight(ink.glyphs, 0.5));
    std::erase_if(ink.lines, [&](const Line& l) {
        return l.length() < minLine || !Even(ink, l) ||
               (rules == Rules::Underlines && !Underline(ink, l));
    });
    ink.erased.assign(n, 0);
    std::vector<int> onLines(ink.glyphs.size(), 0);
    for (const Line& l : ink.lines)
        for (int y = l.box.y0; y < l.box.y1; ++y)
            for (int x = l.box.x0; x < l.box.x1; ++x) {
                const size_t p = static_cast<size_t>(y) * w + x;
                if (!faint(p) || ink.erased[p]) continue;
                ink.erased[p] = 1;
                if (ink.glyphOf[p]) ++onLines[static_cast<size_t>(ink.glyphOf[p] - 1)];
            }
    // A frame (a card's border with its round corners) goes whole; text touching a rule (an
    // underline's descenders, a button's outline) keeps what is off the rule.
    const int frame = kFrameLetters * GlyphHeight(ink.glyphs, 0.8);
    for (size_t p = 0; p < n; ++p)
        if (const int32_t g = ink.glyphOf[p]) {
            const Glyph& glyph = ink.glyphs[static_cast<size_t>(g - 1)];
            if (onLines[static_cast<size_t>(g - 1)] >= kFrameOnRules * glyph.pixels &&
                glyph.box.width() >= frame && glyph.box.height() >= frame)
                ink.erased[p] = 1;
        }
    for (const Line& l : edges)
        if (l.length() >= minLine) ink.lines.push_back(l);

    MeasureGlyphs(ink,
                  LabelPieces(
                      w, h, [&](size_t p) { return inked(p) && !ink.erased[p]; }, ink.glyphOf));
    ink.glyphHeight = GlyphHeight(ink.glyphs, 0.5);
    ink.tallHeight = GlyphHeight(ink.glyphs, 0.8);
    // A glyph's ink: the mean colour of its strongest pixels (a smoothed edge's tint averages out).
    std::vector<std::array<uint32_t, 4>> sums(ink.glyphs.size());
    for (size_t p = 0; p < n; ++p)
        if (const int32_t g = ink.glyphOf[p]) {
            const Glyph& glyph = ink.glyphs[static_cast<size_t>(g - 1)];
            if (ink.strength[p] <
                kInkColourShare * ink.strength[static_cast<size_t>(glyph.strongest)])
                continue;
            std::array<uint32_t, 4>& sum = sums[static_cast<size_t>(g - 1)];
            for (int k = 0; k < 3; ++k)
                sum[static_cast<size_t>(k)] += static_cast<uint32_t>(Channel(capture, p, k));
            ++sum[3];
        }
    for (size_t g = 0; g < ink.glyphs.size(); ++g)
        for (int k = 0; k < 3; ++k)
            ink.glyphs[g].colour[k] =
                static_cast<uint8_t>(sums[g][static_cast<size_t>(k)] / std::max(1u, sums[g][3]));
    // And how far it reaches in each channel: sub-pixel smoothing tints every pixel of a thin
    // stroke, but each channel is fully inked somewhere in the glyph.
    for (size_t p = 0; p < n; ++p)
        if (const int32_t g = ink.glyphOf[p]) {
            Glyph& glyph = ink.glyphs[static_cast<size_t>(g - 1)];
            const auto strongest = static_cast<size_t>(glyph.strongest);
            const auto back = static_cast<size_t>(bg.source[strongest]);
            for (int k = 0; k < 3; ++k) {
                const int v = Channel(capture, p, k), b = Channel(capture, back, k);
                if (std::abs(v - b) > std::abs(glyph.reach[k] - b) || p == strongest)
                    glyph.reach[k] = static_cast<uint8_t>(v);
            }
        }
    CountColourful(ink, capture, bg);
    return ink;
}

}  // namespace gs::tools

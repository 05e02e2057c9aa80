// The picture the engine reads, made of the runs in reading order, and the text put together
// from what the engine reports of it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "tools/tesseract/Pieces.h"
#include "tools/tesseract/ScreenLayout.h"
#include "tools/tesseract/ScreenRules.h"

namespace gs::tools {

namespace {

using namespace rules;

// One run's pixels as grey, dark on white: its own ink scaled by its contrast; the ink of
// everything else (other runs, marks, rules) and the faint edges around it left white.
GreyImage RunPicture(const Ink& ink, const std::vector<int>& runOf, int r, const Box& from) {
    const int w = ink.width;
    std::vector<int> strengths;
    auto own = [&](size_t p) {
        const int32_t g = ink.glyphOf[p];
        return g && runOf[static_cast<size_t>(g - 1)] == r;
    };
    for (int y = from.y0; y < from.y1; ++y)
        for (int x = from.x0; x < from.x1; ++x)
            if (const size_t p = static_cast<size_t>(y) * w + x; own(p))
                strengths.push_back(ink.strength[p]);
    std::sort(strengths.begin(), strengths.end());
    const int contrast = std::max(
        kInkStrength,
        strengths.empty()
            ? 255
            : strengths[static_cast<size_t>(kRunContrast * static_cast<double>(strengths.size()))]);
    GreyImage out{from.width(), from.height(), {}};
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = from.y0; y < from.y1; ++y)
        for (int x = from.x0; x < from.x1; ++x) {
            const size_t p = static_cast<size_t>(y) * w + x;
            bool foreign = ink.erased[p] || (ink.glyphOf[p] && !own(p));
            for (int dy = -1; dy <= 1 && !foreign && !ink.glyphOf[p]; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= ink.height) continue;
                    const size_t q = static_cast<size_t>(ny) * w + nx;
                    if (ink.glyphOf[q] && !own(q)) foreign = true;
                }
            // A glyph drawn fainter than its run (a coloured sign beside white digits) is shown
            // as dark as the rest: the engine drops faint signs.
            int glyphContrast = contrast;
            if (const int32_t g = ink.glyphOf[p]; g && !foreign) {
                const Glyph& glyph = ink.glyphs[static_cast<size_t>(g - 1)];
                const int peak = ink.strength[static_cast<size_t>(glyph.strongest)];
                if (IsFaintColouredSign(peak, contrast, glyph.colour))
                    glyphContrast = std::max(peak, kInkStrength);
            }
            const int s = foreign ? 0 : std::min(255, ink.strength[p] * 255 / glyphContrast);
            out.pixels[static_cast<size_t>(y - from.y0) * out.width + (x - from.x0)] =
                static_cast<uint8_t>(255 - s);
        }
    return out;
}

// The stretches between a run's glyphs, in columns from `from.x0`. An underscore (a flat bar
// on the baseline) is a stretch of its own: the engine often reads it as a blank.
struct Stretch {
    int x0, x1;
    bool underscore;
    bool parts = false;  // surely parts two words (told by the pitch of a fixed-pitch font)
};
struct RunSpacing {
    std::vector<Stretch> stretches;
    bool fixedPitch = false;
    std::vector<int> words = {};  // in a fixed-pitch font: each word's letters
};

RunSpacing Stretches(const Ink& ink, const Run& run, const Box& from, double gridPitch) {
    auto box = [&](int g) -> const Box& { return ink.glyphs[static_cast<size_t>(g)].box; };
    std::vector<int> bottoms;
    for (int g : run.glyphs)
        if (2 * box(g).height() >= run.height) bottoms.push_back(box(g).y1);
    const int baseline = Median(bottoms);
    std::vector<std::pair<int, int>> cells = CellsOf(ink, run);
    const double pitch =
        gridPitch > 0 ? (FitsPitch(cells, gridPitch) ? gridPitch : 0) : Pitch(cells);
    if (pitch > 0) {
        // Each cell's characters: glyphs that touch (a bold "mm") fill as many as their width.
        RunSpacing out{{}, true, {0}};
        int before = 0;  // the previous cell's characters
        for (size_t i = 0; i < cells.size(); ++i) {
            const int letters = Characters(cells[i], pitch);
            if (i > 0) {
                // The empty cells between two: a blank, when about one is.
                const double apart =
                    (cells[i].first + cells[i].second - cells[i - 1].first - cells[i - 1].second) /
                    2.0;
                const bool parts = apart / pitch - (before + letters) / 2.0 >= kPitchWordGap - 1;
                out.stretches.push_back(
                    Stretch{cells[i - 1].second - from.x0, cells[i].first - from.x0, false, parts});
                if (parts) out.words.push_back(0);
            }
            out.words.back() += letters;
            before = letters;
        }
        return out;
    }
    enum : uint8_t { kEmpty, kUnderscore, kCovered };
    std::vector<uint8_t> columns(static_cast<size_t>(from.width()), kEmpty);
    for (int g : run.glyphs) {
        const Box& b = box(g);
        const bool underscore = IsUnderscore(b.width(), b.height(), run.height, baseline - b.y0);
        for (int x = std::max(b.x0, from.x0); x < std::min(b.x1, from.x1); ++x) {
            uint8_t& c = columns[static_cast<size_t>(x - from.x0)];
            c = std::max<uint8_t>(c, underscore ? kUnderscore : kCovered);
        }
    }
    RunSpacing out;
    int last = -1;  // the last covered column
    bool underscore = false;
    for (int x = 0; x < from.width(); ++x) {
        const uint8_t c = columns[static_cast<size_t>(x)];
        if (c != kCovered) {
            underscore = underscore || c == kUnderscore;
            continue;
        }
        if (last >= 0 && x > last + 1) out.stretches.push_back(Stretch{last + 1, x, underscore});
        last = x;
        underscore = false;
    }
    return out;
}

// Keeps of a run the glyphs that end before `x`; false when none does.
bool CutBefore(const Ink& ink, int x, Run& run) {
    std::erase_if(run.glyphs, [&](int g) { return ink.glyphs[static_cast<size_t>(g)].box.x1 > x; });
    Box box;
    for (int g : run.glyphs) box.add(ink.glyphs[static_cast<size_t>(g)].box);
    run.box = box;
    run.core.x1 = std::min(run.core.x1, box.x1);
    return !run.glyphs.empty();
}

}  // namespace

Composed ComposeForRecognition(const Ink& ink, const TextLayout& layout) {
    struct Placed {
        int run;
        Box from;
        int left, top;
        double scale;
    };
    std::vector<Placed> placed;
    Composed out;
    const int pad = std::max(1, ink.glyphHeight / 4);
    auto sourceOf = [&](const Run& run) {
        return Box{std::max(0, run.box.x0 - pad), std::max(0, run.box.y0 - pad),
                   std::min(ink.width, run.box.x1 + pad), std::min(ink.height, run.box.y1 + pad)};
    };
    // The usual height of the runs' taller letters, each run counted by its glyphs.
    std::vector<int> weighted;
    for (const Run& run : layout.runs)
        weighted.insert(weighted.end(), run.glyphs.size(), run.height);
    const double usual = std::max(1, Median(weighted));
    int y = 0, width = 0;
    auto place = [&](double budget) {
        placed.clear();
        out.bands.clear();
        width = 0;
        double margin = 0;
        for (size_t i = 0; i < layout.rows.size(); ++i) {
            const std::vector<int>& row = layout.rows[i];
            // A row of carets and tildes is read here: the engine would not.
            std::string known;
            for (int r : row) {
                const std::optional<std::string> symbols = ReadSymbols(ink, layout, r);
                if (!symbols) {
                    known.clear();
                    break;
                }
                known += (known.empty() ? "" : " ") + *symbols;
            }
            // The row's runs; of the last, what stands before a bar of signs read here.
            std::vector<std::pair<int, Run>> runs;
            for (int r : row) runs.emplace_back(r, layout.runs[static_cast<size_t>(r)]);
            std::string tail;
            const std::optional<SignTail> signs =
                known.empty() ? TrailingSigns(ink, layout, row.back()) : std::nullopt;
            if (signs) {
                tail = signs->signs;
                if (!CutBefore(ink, signs->x0, runs.back().second)) runs.pop_back();
                if (runs.empty()) known = tail;
            }
            if (!known.empty()) {
                out.bands.push_back(
                    Composed::Band{y, y, static_cast<int>(i), layout.blockOf[i], {}, {}, known});
                continue;
            }
            std::vector<int> heights;
            Box extent;
            for (const auto& [r, run] : runs) {
                heights.push_back(run.height);
                extent.add(run.box);
            }
            // Text of about the screen's usual size is enlarged alike: its letters' heights
            // vary with accents and descenders more than its size does.
            double height = std::max(1, Median(heights));
            if (height >= kUsualLow * usual && height <= kUsualHigh * usual) height = usual;
            std::vector<double> scales{kTallLetters / height};
            if (height < kSmallText)
                for (double also : kSmallTextAlso) scales.push_back(also / height);
            std::vector<RunSpacing> stretches;
            std::vector<int> widths{1};
            bool fixedPitch = true;
            for (const auto& [r, run] : runs) {
                stretches.push_back(Stretches(ink, run, sourceOf(run), layout.pitch));
                fixedPitch = fixedPitch && stretches.back().fixedPitch;
                for (const Stretch& s : stretches.back().stretches)
                    if (!s.underscore) widths.push_back(s.x1 - s.x0);
            }
            // The row's letter spacing: its usual stretch (most are between letters), and no more
            // than a quarter of its letters' height where its letters touch.
            const int letters =
                std::min(Median(widths), std::max(1, static_cast<int>(kTouchingLetters * height)));
            for (double& scale : scales) {
                scale = std::clamp(scale, 1.0, kMostScale) * budget;
                if (out.bands.empty()) {
                    margin = std::max(10.0, kEm * height * scale);
                    y = static_cast<int>(margin);
                } else {
                    const bool newBlock = layout.blockOf[i] != out.bands.back().block;
                    y += static_cast<int>((newBlock ? kBlockGap : kRowGap) * height * scale);
                }
                const int top = std::max(0, extent.y0 - pad);
                int x = static_cast<int>(margin), bottom = y;
                Composed::Band band{y, 0, static_cast<int>(i), layout.blockOf[i], {}, {}, {}, tail};
                if (fixedPitch)
                    for (const RunSpacing& run : stretches)
                        band.words.insert(band.words.end(), run.words.begin(), run.words.end());
                auto at = [&](double v) { return static_cast<int>(std::lround(v * scale)); };
                for (size_t k = 0; k < runs.size(); ++k) {
                    const int r = runs[k].first;
                    const Box from = sourceOf(runs[k].second);
                    const int down = y + at(from.y0 - top);
                    placed.push_back(Placed{r, from, x, down, scale});
                    for (const Stretch& s : stretches[k].stretches)
                        if (s.parts || (!stretches[k].fixedPitch &&
                                        PartsWords(s.x1 - s.x0, letters, s.underscore)))
                            band.spacing.push_back(Spacing{x + at(s.x0), x + at(s.x1), s.underscore,
                                                           s.x1 - s.x0 >= kDigitsApart * height});
                    x += at(from.width());
                    bottom = std::max(bottom, down + at(from.height()));
                    const int next = x + at(kCellGap * height);
                    if (k + 1 < runs.size()) band.spacing.push_back(Spacing{x, next, false, true});
                    x = next;
                }
                band.bottom = bottom;
                out.bands.push_back(std::move(band));
                width = std::max(width, x + static_cast<int>(margin));
                y = bottom;
            }
        }
        y += static_cast<int>(margin);
    };
    place(1.0);
    // A screen full of small text is enlarged less rather than made huge.
    const double area = static_cast<double>(width) * y;
    if (area > kMostPixels) place(std::sqrt(kMostPixels / area));
    out.image = GreyImage{std::max(width, 1), std::max(y, 1), {}};
    out.image.pixels.assign(static_cast<size_t>(out.image.width) * out.image.height, 255);
    for (const Placed& p : placed) {
        const GreyImage run = RunPicture(ink, layout.runOf, p.run, p.from);
        ScaleInto(run, p.scale, p.scale, static_cast<int>(std::lround(run.width * p.scale)),
                  static_cast<int>(std::lround(run.height * p.scale)), out.image, p.left, p.top);
    }
    return out;
}

ScreenReading ReadScreen(const RgbImage& capture) {
    ScreenReading seen{FindInk(capture), {}, {}, {}};
    if (seen.ink.plain) return seen;
    seen.grid = FindCharacterGrid(seen.ink);
    if (seen.grid.found()) {
        seen.ink = FindInk(capture, Rules::Underlines);
        seen.marks = GridMarks(seen.ink, seen.grid);
        seen.layout = LayOutGrid(seen.ink, seen.marks, seen.grid);
    } else {
        seen.marks = MarkNonText(seen.ink);
        seen.layout = LayOut(seen.ink, seen.marks);
    }
    return seen;
}

Composed PrepareScreen(const RgbImage& capture) {
    const ScreenReading seen = ReadScreen(capture);
    if (!seen.ink.plain && !seen.layout.rows.empty())
        return ComposeForRecognition(seen.ink, seen.layout);
    return Composed{PrepareForRecognition(capture), {}};
}

}  // namespace gs::tools

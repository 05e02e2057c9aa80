// The picture the engine reads, made of the runs in reading order, and the text put together
// from what the engine reports of it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "tools/tesseract/Pieces.h"
#include "tools/tesseract/ScreenLayout.h"

namespace gs::tools {

namespace {

// One run's pixels as grey, dark on white: its own ink scaled by its contrast; the ink of
// everything else (other runs, marks, rules) and the faint edges around it left white.
GreyImage RunPicture(const Ink& ink, int r, const Box& from) {
    const int w = ink.width;
    std::vector<int> strengths;
    auto own = [&](size_t p) {
        const int32_t g = ink.glyphOf[p];
        return g && ink.glyphs[static_cast<size_t>(g - 1)].run == r;
    };
    for (int y = from.y0; y < from.y1; ++y)
        for (int x = from.x0; x < from.x1; ++x)
            if (const size_t p = static_cast<size_t>(y) * w + x; own(p))
                strengths.push_back(ink.strength[p]);
    std::sort(strengths.begin(), strengths.end());
    const int contrast =
        std::max(kInkStrength, strengths.empty() ? 255 : strengths[strengths.size() * 9 / 10]);
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
            const int s = foreign ? 0 : std::min(255, ink.strength[p] * 255 / contrast);
            out.pixels[static_cast<size_t>(y - from.y0) * out.width + (x - from.x0)] =
                static_cast<uint8_t>(255 - s);
        }
    return out;
}

// Bilinear, pixel centres kept, into `to` at (left, top), `scale` times the size.
void Enlarge(const GreyImage& from, double scale, GreyImage& to, int left, int top) {
    const int w = static_cast<int>(std::lround(from.width * scale));
    const int h = static_cast<int>(std::lround(from.height * scale));
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, from.width - 1);
        y = std::clamp(y, 0, from.height - 1);
        return static_cast<double>(from.pixels[static_cast<size_t>(y) * from.width + x]);
    };
    for (int Y = 0; Y < h && top + Y < to.height; ++Y) {
        const double sy = (Y + 0.5) / scale - 0.5;
        const int y = static_cast<int>(std::floor(sy));
        const double fy = sy - y;
        for (int X = 0; X < w && left + X < to.width; ++X) {
            const double sx = (X + 0.5) / scale - 0.5;
            const int x = static_cast<int>(std::floor(sx));
            const double fx = sx - x;
            const double v = (1 - fy) * ((1 - fx) * at(x, y) + fx * at(x + 1, y)) +
                             fy * ((1 - fx) * at(x, y + 1) + fx * at(x + 1, y + 1));
            to.pixels[static_cast<size_t>(top + Y) * to.width + left + X] =
                static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
        }
    }
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
            std::vector<int> heights;
            Box extent;
            for (int r : row) {
                heights.push_back(layout.runs[static_cast<size_t>(r)].height);
                extent.add(layout.runs[static_cast<size_t>(r)].box);
            }
            // Text of about the screen's usual size is enlarged alike: its letters' heights
            // vary with accents and descenders more than its size does.
            double height = std::max(1, Median(heights));
            if (height >= 0.75 * usual && height <= 1.33 * usual) height = usual;
            std::vector<double> scales{kTallLetters / height};
            if (height < kSmallText)
                for (double also : kSmallTextAlso) scales.push_back(also / height);
            for (double& scale : scales) {
                scale = std::clamp(scale, 1.0, 8.0) * budget;
                if (out.bands.empty()) {
                    margin = std::max(10.0, 1.35 * height * scale);
                    y = static_cast<int>(margin);
                } else {
                    const bool newBlock = layout.blockOf[i] != out.bands.back().block;
                    y += static_cast<int>((newBlock ? 1.2 : 0.5) * height * scale);
                }
                const int top = std::max(0, extent.y0 - pad);
                int x = static_cast<int>(margin), bottom = y;
                for (int r : row) {
                    Box from = layout.runs[static_cast<size_t>(r)].box;
                    from = Box{std::max(0, from.x0 - pad), std::max(0, from.y0 - pad),
                               std::min(ink.width, from.x1 + pad),
                               std::min(ink.height, from.y1 + pad)};
                    const int at = y + static_cast<int>(std::lround((from.y0 - top) * scale));
                    placed.push_back(Placed{r, from, x, at, scale});
                    x += static_cast<int>(std::lround(from.width() * scale + 1.1 * height * scale));
                    bottom =
                        std::max(bottom, at + static_cast<int>(std::lround(from.height() * scale)));
                }
                out.bands.push_back(
                    Composed::Band{y, bottom, static_cast<int>(i), layout.blockOf[i]});
                width = std::max(width, x + static_cast<int>(margin));
                y = bottom;
            }
        }
        y += static_cast<int>(margin);
    };
    place(1.0);
    // The engine's time and memory grow with the picture: a screen full of small text is
    // enlarged less rather than made huge.
    constexpr double kMostPixels = 40e6;
    const double area = static_cast<double>(width) * y;
    if (area > kMostPixels) place(std::sqrt(kMostPixels / area));
    out.image = GreyImage{std::max(width, 1), std::max(y, 1), {}};
    out.image.pixels.assign(static_cast<size_t>(out.image.width) * out.image.height, 255);
    for (const Placed& p : placed)
        Enlarge(RunPicture(ink, p.run, p.from), p.scale, out.image, p.left, p.top);
    return out;
}

Composed PrepareScreen(const RgbImage& capture) {
    Ink ink = FindInk(capture);
    if (!ink.plain) {
        const TextLayout layout = LayOut(ink);
        if (!layout.rows.empty()) return ComposeForRecognition(ink, layout);
    }
    return Composed{PrepareForRecognition(capture), {}};
}

namespace {

struct Word {
    int left, top, width, height;
    double confidence;
    std::string text;
};

// The words of the engine's TSV report (level 5 lines).
std::vector<Word> WordsOf(const std::string& tsv) {
    std::vector<Word> words;
    size_t at = 0;
    while (at < tsv.size()) {
        size_t end = tsv.find('\n', at);
        if (end == std::string::npos) end = tsv.size();
        std::string line = tsv.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> f;
        for (size_t p = 0;;) {
            const size_t tab = line.find('\t', p);
            f.push_back(line.substr(p, tab == std::string::npos ? std::string::npos : tab - p));
            if (tab == std::string::npos) break;
            p = tab + 1;
        }
        if (f.size() < 12 || f[0] != "5") continue;
        Word w{std::atoi(f[6].c_str()), std::atoi(f[7].c_str()),  std::atoi(f[8].c_str()),
               std::atoi(f[9].c_str()), std::atof(f[10].c_str()), f[11]};
        if (!w.text.empty() && w.text.find_first_not_of(' ') != std::string::npos)
            words.push_back(w);
    }
    return words;
}

}  // namespace

std::optional<std::string> TextFromWords(const std::string& tsv,
                                         const std::vector<Composed::Band>& bands) {
    if (bands.empty() || tsv.rfind("level", 0) != 0) return std::nullopt;
    // Each word belongs to the band its middle lies in (or the nearest).
    std::vector<std::vector<Word>> inBand(bands.size());
    for (Word& w : WordsOf(tsv)) {
        const int mid = w.top + w.height / 2;
        size_t best = 0;
        int distance = 1 << 30;
        for (size_t b = 0; b < bands.size(); ++b) {
            const int d =
                mid < bands[b].top ? bands[b].top - mid : std::max(0, mid - bands[b].bottom);
            if (d < distance) best = b, distance = d;
        }
        inBand[best].push_back(std::move(w));
    }
    // Of a row read more than once, the reading the engine is surest of.
    std::string text;
    int lastBlock = -1;
    for (size_t b = 0; b < bands.size();) {
        size_t pick = b, next = b;
        double best = -1;
        for (; next < bands.size() && bands[next].row == bands[b].row; ++next) {
            double sum = 0, weight = 0;
            for (const Word& w : inBand[next]) {
                sum += w.confidence * static_cast<double>(w.text.size());
                weight += static_cast<double>(w.text.size());
            }
            const double confidence = weight > 0 ? sum / weight : 0;
            if (confidence > best) best = confidence, pick = next;
        }
        // In the engine's own order: it reads a line left to right.
        const std::vector<Word>& words = inBand[pick];
        if (!words.empty()) {
            if (lastBlock >= 0 && bands[pick].block != lastBlock) text += "\n";
            for (size_t i = 0; i < words.size(); ++i) text += (i ? " " : "") + words[i].text;
            text += "\n";
            lastBlock = bands[pick].block;
        }
        b = next;
    }
    return text;
}

}  // namespace gs::tools

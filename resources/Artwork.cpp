#include "resources/Artwork.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace gs::art {

namespace {

using Inside = std::function<bool(double x, double y)>;

// Paints `color` where `inside` holds, with 4x4 supersampled coverage as alpha, over what
// is already there. The shape is given in design units; `sx`, `sy` are pixels per unit.
void fill(ui::Picture& p, uint32_t color, const Inside& inside, double sx, double sy) {
    const double sr = ((color >> 16) & 0xFF), sg = ((color >> 8) & 0xFF), sb = (color & 0xFF);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int hits = 0;
            for (int ty = 0; ty < 4; ++ty)
                for (int tx = 0; tx < 4; ++tx)
                    if (inside((x + (tx + 0.5) / 4.0) / sx, (y + (ty + 0.5) / 4.0) / sy)) ++hits;
            if (!hits) continue;
            const double a = hits / 16.0;
            uint32_t& d = p.at(x, y);
            const double da = (d >> 24) / 255.0;
            const double oa = a + da * (1 - a);
            auto mix = [&](double s, int shift) {
                double dc = (d >> shift) & 0xFF;
                return static_cast<uint32_t>(std::lround((s * a + dc * da * (1 - a)) / oa));
            };
            d = (static_cast<uint32_t>(std::lround(oa * 255)) << 24) | (mix(sr, 16) << 16) |
                (mix(sg, 8) << 8) | mix(sb, 0);
        }
}

// A picture drawn in design units at any size: `paint(color, shape)` fills in design units.
class Canvas {
  public:
    Canvas(int w, int h, int designW, int designH)
        : picture(w, h, 0),
          sx_(static_cast<double>(w) / designW),
          sy_(static_cast<double>(h) / designH) {
        picture.hasAlpha = true;
    }
    void paint(uint32_t color, const Inside& inside) { fill(picture, color, inside, sx_, sy_); }
    ui::Picture picture;

  private:
    double sx_, sy_;
};

// A design-unit edge at a scale, rounded as layouts round theirs.
int edge(double designUnits, double scale) {
    return static_cast<int>(std::lround(designUnits * scale));
}

constexpr int kHeaderLine = 20;  // the black row under the countdown, in design rows

// 112 at the top, 56 at mid-height (row 105), 104 at the bottom row.
double gradientGrey(double row) {
    constexpr double kMid = 105, kLast = layout::kPanelHeight - 1;
    return row <= kMid ? 112.0 - 56.0 * row / kMid : 56.0 + 48.0 * (row - kMid) / (kLast - kMid);
}

Inside box(double l, double t, double r, double b) {
    return [=](double x, double y) { return x >= l && x < r && y >= t && y < b; };
}

Inside polygon(std::vector<std::pair<double, double>> pts) {
    return [pts = std::move(pts)](double x, double y) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            auto [xi, yi] = pts[i];
            auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
}

ui::Picture background(int w, int h) {
    ui::Picture p(w, h);
    const double sy = static_cast<double>(h) / layout::kPanelHeight;
    // The header line is one design row thick.
    const int lineTop = edge(kHeaderLine, sy), lineBottom = edge(kHeaderLine + 1, sy);
    for (int y = 0; y < p.height; ++y) {
        const bool line = y >= lineTop && y < lineBottom;
        const uint32_t g = line ? 0 : static_cast<uint32_t>(std::lround(gradientGrey(y / sy)));
        const uint32_t c = 0xFF000000u | (g << 16) | (g << 8) | g;
        for (int x = 0; x < p.width; ++x) p.at(x, y) = c;
    }
    return p;
}

ui::Picture folder(int w, int h) {
    Canvas c(w, h, 32, 32);
    c.paint(0x9A6A10, box(2, 6, 14, 11));
    c.paint(0x9A6A10, box(2, 9, 30, 28));
    c.paint(0xF2C14E, box(3, 7, 13, 11));
    c.paint(0xF2C14E, box(3, 10, 29, 27));
    c.paint(0xFFD970, polygon({{6, 14}, {31, 14}, {28, 27}, {3, 27}}));
    return c.picture;
}

ui::Picture edit(int w, int h) {
    Canvas c(w, h, 32, 32);
    c.paint(0x3A3A3A, polygon({{3, 29}, {5, 22}, {24, 3}, {29, 8}, {10, 27}}));
    c.paint(0xF5B800, polygon({{7, 22}, {24, 5}, {27, 8}, {10, 25}}));
    c.paint(0xE88A8A, polygon({{21, 8}, {24, 5}, {27, 8}, {24, 11}}));
    c.paint(0xF1D7A8, polygon({{4, 28}, {6, 23}, {9, 26}}));
    return c.picture;
}

ui::Picture text(int w, int h) {
    Canvas c(w, h, 32, 32);
    c.paint(0x505050, polygon({{5, 2}, {21, 2}, {27, 8}, {27, 30}, {5, 30}}));
    c.paint(0xFFFFFF, polygon({{6, 3}, {20, 3}, {26, 9}, {26, 29}, {6, 29}}));
    c.paint(0x2060C0, box(9, 8, 19, 11));
    c.paint(0x2060C0, box(12.5, 8, 15.5, 22));
    for (int i = 0; i < 3; ++i) c.paint(0x909090, box(9, 23.5 + i * 2, 23, 24.5 + i * 2));
    return c.picture;
}

ui::Picture video(int w, int h) {
    Canvas c(w, h, 32, 32);
    c.paint(0x202840, box(2, 9, 22, 25));
    c.paint(0x3050A0, box(3, 10, 21, 24));
    c.paint(0x202840, polygon({{21, 14}, {30, 9}, {30, 25}, {21, 20}}));
    c.paint(0xE03030, [](double x, double y) { return std::hypot(x - 7, y - 14) < 2.5; });
    return c.picture;
}

ui::Picture arrow(int w, int h) {
    Canvas c(w, h, 10, 10);
    c.paint(0x000000, polygon({{0, 2}, {10, 2}, {5, 8.5}}));
    c.paint(0xFFFFFF, polygon({{1.5, 3}, {8.5, 3}, {5, 7.2}}));
    return c.picture;
}

}  // namespace

ui::Picture ControlPanelBackground(int width, int height) {
    ui::Picture p(width, height);
    for (int y = 0; y < p.height; ++y) {
        const uint32_t g = static_cast<uint32_t>(std::lround(240.0 - 31.0 * y / (p.height - 1)));
        for (int x = 0; x < p.width; ++x) p.at(x, y) = 0xFF000000u | (g << 16) | (g << 8) | g;
    }
    auto grey = [](int v) { return 0xFF000000u | (v << 16) | (v << 8) | v; };
    for (int x = 0; x < p.width; ++x) {
        p.at(x, 0) = grey(245 + x % 3);
        p.at(x, p.height - 1) = grey(113 + (41 * x) / (p.width - 1));
    }
    for (int y = 0; y < p.height; ++y) {
        p.at(0, y) = grey(245 + y % 3);
        p.at(p.width - 1, y) = grey(113 + (41 * y) / (p.height - 1));
    }
    return p;
}

ui::Picture CursorDisc(uint8_t r, uint8_t g, uint8_t b, int size) {
    Canvas c(size, size, kCursorDisc, kCursorDisc);
    c.paint((uint32_t{r} << 16) | (uint32_t{g} << 8) | b,
            [](double x, double y) { return std::hypot(x - 25, y - 25) < 25; });
    ui::Picture& p = c.picture;
    // Half opacity: coverage times 127.
    for (uint32_t& px : p.pixels) px = (px & 0xFFFFFF) | (((px >> 24) * 127 / 255) << 24);
    // The plus sign: arms from 20 to 30, two units thick.
    const double k = static_cast<double>(size) / kCursorDisc;
    for (int i = edge(20, k); i < edge(30, k); ++i)
        for (int t = edge(24, k); t < edge(26, k); ++t) p.at(i, t) = p.at(t, i) = 0xFF000000u;
    return p;
}

ui::Picture AppIcon(int size) {
    // A dashed selection corner over a glimmer: reads at 16 px as well as at 32.
    Canvas c(size, size, 32, 32);
    c.paint(0x1E3A6E, box(1, 4, 31, 28));
    c.paint(0x3D7BD9, box(3, 6, 29, 26));
    c.paint(0xFFFFFF, polygon({{16, 8},
                               {18.5, 14},
                               {25, 16},
                               {18.5, 18},
                               {16, 24},
                               {13.5, 18},
                               {7, 16},
                               {13.5, 14}}));
    c.paint(0x7CFC00, polygon({{3, 6}, {12, 6}, {12, 8.5}, {5.5, 8.5}, {5.5, 15}, {3, 15}}));
    c.paint(0x7CFC00,
            polygon({{29, 26}, {20, 26}, {20, 23.5}, {26.5, 23.5}, {26.5, 17}, {29, 17}}));
    return c.picture;
}

ui::Picture Make(layout::Art which, int w, int h) {
    switch (which) {
        case layout::Art::Background:
            return background(w, h);
        case layout::Art::FolderIcon:
            return folder(w, h);
        case layout::Art::EditIcon:
            return edit(w, h);
        case layout::Art::TextIcon:
            return text(w, h);
        case layout::Art::VideoIcon:
            return video(w, h);
        case layout::Art::Arrow:
            return arrow(w, h);
        case layout::Art::None:
            break;
    }
    return {};
}

}  // namespace gs::art

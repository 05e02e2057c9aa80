// Rows of a character grid that hold only carets and tildes (where a compiler or Python points
// into the line above), and a diffstat's bars of plus and minus signs: the engine makes letters
// of them ("AAAA", "EEE"), so they are read here, cell by cell, from their shapes.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "tools/tesseract/ScreenLayout.h"
#include "tools/tesseract/ScreenRules.h"

namespace gs::tools {

namespace {

// One cell's ink: per column, the top and the bottom of the run's ink in it (-1: none).
struct Profile {
    std::vector<int> top, bottom;
    int inked() const {
        return static_cast<int>(
            std::count_if(top.begin(), top.end(), [](int t) { return t >= 0; }));
    }
};

Profile ProfileOf(const Ink& ink, const std::vector<int>& runOf, int run, const Box& run_box,
                  int x0, int x1) {
    Profile p;
    for (int x = x0; x < x1; ++x) {
        int top = -1, bottom = -1;
        for (int y = run_box.y0; y < run_box.y1; ++y) {
            const int32_t g = ink.glyphOf[static_cast<size_t>(y) * ink.width + x];
            if (!g || runOf[static_cast<size_t>(g - 1)] != run) continue;
            if (top < 0) top = y;
            bottom = y;
        }
        p.top.push_back(top);
        p.bottom.push_back(bottom);
    }
    return p;
}

// The mean of `v` over the inked columns from `from` to `to` (shares of the inked span).
double MeanOver(const Profile& p, const std::vector<int>& v, double from, double to) {
    int first = 0, last = static_cast<int>(v.size()) - 1;
    while (first <= last && p.top[static_cast<size_t>(first)] < 0) ++first;
    while (last >= first && p.top[static_cast<size_t>(last)] < 0) --last;
    const int n = last - first + 1;
    double sum = 0;
    int count = 0;
    for (int i = first + static_cast<int>(from * n);
         i < first + static_cast<int>(std::ceil(to * n)) && i <= last; ++i)
        if (p.top[static_cast<size_t>(i)] >= 0) sum += v[static_cast<size_t>(i)], ++count;
    return count ? sum / count : -1;
}

// '^' rises to a point in its middle; '~' is higher on its left than on its right.
char SymbolOf(const Profile& p) {
    if (p.inked() < 2) return 0;
    const double left = MeanOver(p, p.top, 0, 0.34), middle = MeanOver(p, p.top, 0.34, 0.67),
                 right = MeanOver(p, p.top, 0.67, 1);
    if (left < 0 || middle < 0 || right < 0) return 0;
    if (middle + 1 <= left && middle + 1 <= right) return '^';
    const double low = MeanOver(p, p.bottom, 0, 0.5), high = MeanOver(p, p.bottom, 0.5, 1);
    if (MeanOver(p, p.top, 0, 0.5) + 1 <= MeanOver(p, p.top, 0.5, 1) && low >= 0 && high >= 0)
        return '~';
    return 0;
}

// '+': one thin upright in the middle third of the cell, crossed inside its height by a flat bar
// reaching to both sides; '-': the flat bar alone, at the letters' middle.
char SignOf(const Profile& p, const Box& core, int letter) {
    const int n = static_cast<int>(p.top.size());
    const int thin = std::max(2, static_cast<int>(std::lround(rules::kSignStroke * letter)));
    int inked = 0, first = -1, last = -1, uprightTop = 1 << 30, uprightBottom = -1;
    int barTop = 1 << 30, barBottom = -1;
    for (int i = 0; i < n; ++i) {
        const int top = p.top[static_cast<size_t>(i)], bottom = p.bottom[static_cast<size_t>(i)];
        if (top < 0) continue;
        ++inked;
        if (bottom - top + 1 > thin) {
            if (first < 0) first = i;
            last = i;
            uprightTop = std::min(uprightTop, top), uprightBottom = std::max(uprightBottom, bottom);
        } else {
            barTop = std::min(barTop, top), barBottom = std::max(barBottom, bottom);
        }
    }
    if (2 * inked < n || barBottom < 0 || barBottom - barTop + 1 > thin) return 0;
    if (first < 0) {
        const double middle = (barTop + barBottom) / 2.0, h = core.height();
        return middle > core.y0 + rules::kDashHigh * h && middle < core.y1 - rules::kDashLow * h
                   ? '-'
                   : 0;
    }
    const bool upright = last - first + 1 <= thin && 3 * first >= n && 3 * (last + 1) <= 2 * n;
    const bool crossed = barTop > uprightTop && barBottom < uprightBottom && first > 0 &&
                         last + 1 < n && p.top[static_cast<size_t>(first - 1)] >= 0 &&
                         p.top[static_cast<size_t>(last + 1)] >= 0;
    return upright && crossed ? '+' : 0;
}

}  // namespace

std::optional<SignTail> TrailingSigns(const Ink& ink, const TextLayout& layout, int run) {
    const Run& r = layout.runs[static_cast<size_t>(run)];
    const double pitch = layout.pitch;
    if (pitch <= 0) return std::nullopt;
    const int letter = std::max(ink.tallHeight, 4);
    SignTail tail{r.box.x1, {}};
    bool blank = false;
    // The grid's cells, from the one that holds the run's last column leftwards.
    const double start = layout.phase - pitch / 2;
    auto edge = [&](int k) { return static_cast<int>(std::lround(start + k * pitch)); };
    for (int k = static_cast<int>(std::floor((r.box.x1 - 1 - start) / pitch)); tail.x0 > r.box.x0;
         --k) {
        const int x0 = std::max(r.box.x0, edge(k));
        const Profile p =
            ProfileOf(ink, layout.runOf, run, r.box, x0, std::min(tail.x0, edge(k + 1)));
        blank = p.inked() == 0;
        const char sign = blank ? 0 : SignOf(p, r.core, letter);
        if (!sign) break;
        tail.signs.insert(tail.signs.begin(), sign);
        tail.x0 = x0;
    }
    const bool apart = blank || tail.x0 <= r.box.x0;
    if (static_cast<int>(tail.signs.size()) < rules::kSignRun || !apart) return std::nullopt;
    return tail;
}

std::optional<std::string> ReadSymbols(const Ink& ink, const TextLayout& layout, int run) {
    const Run& r = layout.runs[static_cast<size_t>(run)];
    const double pitch = layout.pitch;
    if (pitch <= 0) return std::nullopt;
    const int letter = std::max(ink.tallHeight, 4);  // capitals and ascenders
    std::string text;
    // Cells from the run's left edge, at the grid's pitch: glyphs that touch (a row of tildes)
    // are parted by it.
    const int cells = std::max(1, static_cast<int>(std::lround(r.box.width() / pitch)));
    int blanks = 0;
    for (int c = 0; c < cells; ++c) {
        const int x0 = r.box.x0 + static_cast<int>(std::lround(c * pitch));
        const int x1 =
            std::min(r.box.x1, r.box.x0 + static_cast<int>(std::lround((c + 1) * pitch)));
        const Profile p = ProfileOf(ink, layout.runOf, run, r.box, x0, x1);
        if (p.inked() == 0) {
            ++blanks;
            continue;
        }
        int top = 1 << 30, bottom = -1;
        for (size_t i = 0; i < p.top.size(); ++i)
            if (p.top[i] >= 0)
                top = std::min(top, p.top[i]), bottom = std::max(bottom, p.bottom[i]);
        // Carets and tildes are short; a letter of the same shape ("n") stands a letter high. A
        // vertical bar (the margin of gcc's quoted code) is a thin stroke a whole letter high.
        const int high = bottom - top + 1;
        char symbol = high <= rules::kSymbolHeight * letter ? SymbolOf(p) : 0;
        if (high >= letter && p.inked() <= rules::kBarWidth * pitch) symbol = '|';
        if (!symbol) return std::nullopt;
        if (!text.empty() && blanks) text += ' ';
        blanks = 0;
        text += symbol;
    }
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

}  // namespace gs::tools

#include "tools/tesseract/ScreenLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "tools/tesseract/Pieces.h"
#include "tools/tesseract/ScreenRules.h"

namespace gs::tools {

namespace {

using namespace rules;

bool SameLine(const Box& a, const Box& b, double share) {
    return OverlapY(a, b) >= share * std::min(a.height(), b.height());
}

// Glyphs into runs, left to right: a letter joins the run it shares most rows with when the gap
// to it is below the run's height (a word space is a third of that, a column gap more) and it
// does not start far back under the run (a kerned "Ti" starts a little back); a small glyph
// (a full stop, a colon, a comma, a dash, a quote) joins a run whose letters' band it lies in,
// so that the letters after it measure their gap from it. Then dots and accents above or below
// the letters join the run they sit on, and what is left of small glyphs side by side on a row
// of their own (a row of carets or dashes under a line of code) makes a run of its own.
std::vector<Run> GatherRuns(const Ink& ink, const Marks& marks, std::vector<int>& runOf,
                            bool grid = false) {
    // In a character grid what lies under a line is the next line's (a row of carets): marks
    // below letters are drawn in one piece with them there.
    const double below = grid ? 0 : kSmallBelow;
    const int H = std::max(ink.glyphHeight, 4);
    std::vector<int> glyphs;
    std::vector<uint8_t> small(ink.glyphs.size(), 0);
    for (size_t i = 0; i < ink.glyphs.size(); ++i) {
        const Glyph& g = ink.glyphs[i];
        if (IsMark(marks, static_cast<int>(i))) continue;
        glyphs.push_back(static_cast<int>(i));
        small[i] = IsSmallGlyph(g.box.width(), g.box.height(), H);
    }
    auto box = [&](int g) -> const Box& { return ink.glyphs[static_cast<size_t>(g)].box; };
    std::sort(glyphs.begin(), glyphs.end(), [&](int a, int b) { return box(a).x0 < box(b).x0; });
    std::vector<Run> runs;
    std::vector<std::vector<int>> bottoms;  // per run: its letters' bottoms
    std::vector<int> open;                  // runs a later glyph may still join
    std::vector<int> left;                  // small glyphs no run took in its line
    // A flat stroke under a run's letters (a menu's mnemonic, an underlined word, a highlight's
    // edge) is no character of its line; an underscore between letters (Tahoma's lies below the
    // baseline too) has no letter over it. Which it is shows once the run is whole: a mnemonic's
    // stroke starts before the letter it underlines has joined ("File n_ame").
    auto flatBelow = [&](const Box& b, int r) {
        return b.height() <= std::max(2, H / kUnderlineFlat) &&
               b.y0 > Median(bottoms[static_cast<size_t>(r)]);
    };
    auto under = [&](const Box& b, int r) {
        if (!flatBelow(b, r)) return false;
        int covered = 0;
        for (int l : runs[static_cast<size_t>(r)].glyphs)
            if (!small[static_cast<size_t>(l)]) covered += std::max(0, OverlapX(box(l), b));
        return 2 * covered >= b.width();
    };
    for (int g : glyphs) {
        const Box& b = box(g);
        std::erase_if(open, [&](int r) {
            return runs[static_cast<size_t>(r)].box.x1 <
                   b.x0 - kRunClosed * runs[static_cast<size_t>(r)].core.height();
        });
        int best = -1, bestShare = 0, bestGap = 1 << 30;
        for (int r : open) {
            const Run& run = runs[static_cast<size_t>(r)];
            // An accent taken in first may reach past the letters: the letter under it (the r
            // of a "ř" under its caron) starts back from the accent's end, not the letters'.
            const int gap = std::max(b.x0 - run.box.x1, std::min(0, b.x0 - run.core.x1));
            if (small[static_cast<size_t>(g)]) {
                if (!InLine(b.y0, b.y1, run.core.y0, run.core.y1, grid) || flatBelow(b, r) ||
                    !JoinsRun(gap, run.core.height(), run.core.height(), run.core.height()) ||
                    std::abs(gap) >= bestGap)
                    continue;
                best = r, bestGap = std::abs(gap);
                continue;
            }
            const int share = OverlapY(run.core, b);
            if (!JoinsRun(gap, run.core.height(), b.height(), share)) continue;
            if (share > bestShare) best = r, bestShare = share;
        }
        if (best < 0 && small[static_cast<size_t>(g)]) {
            left.push_back(g);
            continue;
        }
        if (best < 0) {
            best = static_cast<int>(runs.size());
            runs.push_back(Run{});
            bottoms.emplace_back();
            open.push_back(best);
        }
        Run& run = runs[static_cast<size_t>(best)];
        run.box.add(b);
        if (!small[static_cast<size_t>(g)]) {
            run.core.add(b);
            bottoms[static_cast<size_t>(best)].push_back(b.y1);
        }
        run.glyphs.push_back(g);
    }
    for (Run& run : runs) {
        std::vector<std::pair<int, int>> spans;
        for (int g : run.glyphs) spans.push_back({box(g).x0, box(g).x1});
        std::sort(spans.begin(), spans.end());
        int reach = spans.empty() ? 0 : spans[0].second;
        for (size_t i = 1; i < spans.size(); ++i) {
            if (spans[i].first - reach >= std::max(3.0, kWordSpace * run.core.height()))
                ++run.words;
            reach = std::max(reach, spans[i].second);
        }
        std::vector<int> heights;
        for (int g : run.glyphs)
            if (!small[static_cast<size_t>(g)]) heights.push_back(box(g).height());
        std::sort(heights.begin(), heights.end());
        run.height =
            heights[static_cast<size_t>(kRunHeightShare * static_cast<double>(heights.size()))];
    }
    std::vector<int> alone;
    for (int g : left) {
        const Box& b = box(g);
        const double cx = (b.x0 + b.x1) / 2.0, cy = (b.y0 + b.y1) / 2.0;
        int best = -1;
        double nearest = 0;
        for (size_t r = 0; r < runs.size(); ++r) {
            const Run& run = runs[r];
            const int high = run.core.height();
            const double reach = kSmallReach * run.em(), h = high;
            // In a character grid, before the run in its line, it starts the run as a letter
            // would end one (the dash of "-rw-r--r--"): no run was there when it was met. Not
            // elsewhere: a tree's dotted lines would reach into the pane beside them (regedit,
            // 44 -> 472 errors). Real set, tuning half: man pages' "-k" and "--help" kept their
            // dashes, languages 1.04 -> 0.93 %, terminal 1.78 -> 1.72 %, 584 -> 575 on all 44.
            const bool starts = grid && b.x1 <= run.box.x0 &&
                                InLine(b.y0, b.y1, run.core.y0, run.core.y1, grid) &&
                                JoinsRun(run.box.x0 - b.x1, high, high, high);
            if ((!starts && cx < run.box.x0 - reach) || cx > run.box.x1 + reach ||
                cy < run.core.y0 - kSmallAbove * h || cy > run.core.y1 + below * h ||
                under(b, static_cast<int>(r)))
                continue;
            const double d = cy < run.core.y0 ? run.core.y0 - cy : std::max(0.0, cy - run.core.y1);
            if (best < 0 || d < nearest) best = static_cast<int>(r), nearest = d;
        }
        bool underAny = false;
        for (size_t r = 0; r < runs.size() && !underAny; ++r)
            underAny = OverlapX(runs[r].box, b) > 0 && under(b, static_cast<int>(r)) &&
                       b.y0 - Median(bottoms[r]) <= H / 2;
        if (best >= 0) {
            runs[static_cast<size_t>(best)].box.add(b);
            runs[static_cast<size_t>(best)].glyphs.push_back(g);
        } else if (!underAny && b.width() >= kSmallRowGlyph && b.height() >= kSmallRowGlyph) {
            alone.push_back(g);
        }
    }
    // Rows of small glyphs alone: read at the size of the screen's text, not their own.
    const size_t lettersRuns = runs.size();
    for (int g : alone) {
        const Box& b = box(g);
        int best = -1;
        for (size_t r = lettersRuns; r < runs.size() && best < 0; ++r)
            if (b.x0 - runs[r].box.x1 <= H && 2 * OverlapY(runs[r].core, b) >= b.height())
                best = static_cast<int>(r);
        if (best < 0) {
            best = static_cast<int>(runs.size());
            runs.push_back(Run{});
            runs.back().height = std::max(ink.tallHeight, H);
            runs.back().symbols = true;
        }
        runs[static_cast<size_t>(best)].box.add(b);
        runs[static_cast<size_t>(best)].core.add(b);
        runs[static_cast<size_t>(best)].glyphs.push_back(g);
    }
    std::erase_if(runs, [&](const Run& run) {
        return &run - runs.data() >= static_cast<std::ptrdiff_t>(lettersRuns) &&
               static_cast<int>(run.glyphs.size()) < kSmallRow;
    });
    runOf.assign(ink.glyphs.size(), -1);
    for (size_t r = 0; r < runs.size(); ++r)
        for (int g : runs[r].glyphs) runOf[static_cast<size_t>(g)] = static_cast<int>(r);
    return runs;
}

// The reading order, by cutting the runs apart recursively: at rules and background edges
// that cross the whole group, then at column gaps (unless the runs on both sides pair up row
// by row, as a list's or a table's cells do), then between the rows; groups of rows that share
// a column gap are read column by column.
class Reader {
  public:
    Reader(const std::vector<Run>& runs, const std::vector<Line>& lines, TextLayout& out)
        : runs_(runs), lines_(lines), out_(out) {}

    // All of them as one block, in rows.
    void emitRows(std::vector<int> ids) { emit(std::move(ids)); }

    void read(std::vector<int> ids) {
        if (ids.size() <= 1) return emit(std::move(ids));
        const Box extent = extentOf(ids);
        if (cutAtLines(ids, extent)) return;
        const double em = emOf(ids);
        for (const Gap& gap : columnGaps(ids, extent, em)) {
            std::vector<int> left, right;
            for (int r : ids) (run(r).box.x1 <= gap.from ? left : right).push_back(r);
            if (rowsPair(left, right)) continue;
            read(std::move(left));
            read(std::move(right));
            return;
        }
        std::vector<std::vector<int>> slabs = rowSlabs(std::move(ids));
        if (slabs.size() == 1) return emit(std::move(slabs.front()));
        // Consecutive slabs that share a column gap make one section, read column by column;
        // when every slab shares it the gap was refused above: the slabs are a table's rows.
        std::vector<std::vector<int>> sections;
        for (std::vector<int>& slab : slabs) {
            if (!sections.empty()) {
                std::vector<int> joined = sections.back();
                joined.insert(joined.end(), slab.begin(), slab.end());
                if (!columnGaps(joined, extentOf(joined), emOf(joined)).empty()) {
                    sections.back() = std::move(joined);
                    continue;
                }
            }
            sections.push_back(std::move(slab));
        }
        if (sections.size() == 1) {
            for (std::vector<int>& slab : rowSlabs(std::move(sections.front())))
                read(std::move(slab));
            return;
        }
        for (std::vector<int>& section : sections) read(std::move(section));
    }

  private:
    struct Gap {
        int from, to;
    };
    const Run& run(int r) const { return runs_[static_cast<size_t>(r)]; }

    Box extentOf(const std::vector<int>& ids) const {
        Box b;
        for (int r : ids) b.add(run(r).box);
        return b;
    }
    double emOf(const std::vector<int>& ids) const {
        std::vector<double> ems;
        for (int r : ids) ems.push_back(run(r).em());
        return Median(ems);
    }

    // Splits at the rules and edges that run across at least 60 % of the group without
    // touching any of its runs (upright ones not between cells that pair up row by row); the
    // direction whose longest one covers more is taken.
    bool cutAtLines(const std::vector<int>& ids, const Box& extent) {
        std::vector<int> cuts[2];
        double cover[2] = {0, 0};
        for (const Line& l : lines_) {
            const int d = l.horizontal ? 0 : 1;
            const int at = l.horizontal ? (l.box.y0 + l.box.y1) / 2 : (l.box.x0 + l.box.x1) / 2;
            const double share = l.horizontal ? double(OverlapX(l.box, extent)) / extent.width()
                                              : double(OverlapY(l.box, extent)) / extent.height();
            if (share < kCutCover) continue;
            bool before = false, after = false, crossed = false;
            for (int r : ids) {
                const Box& b = run(r).box;
                const int lo = l.horizontal ? b.y0 : b.x0, hi = l.horizontal ? b.y1 : b.x1;
                before |= hi <= at;
                after |= lo >= at;
                crossed |= lo < at && hi > at;
            }
            if (!before || !after || crossed) continue;
            // An upright rule between a table's cells (or a toolbar's groups) keeps rows whole.
            if (!l.horizontal) {
                std::vector<int> left, right;
                for (int r : ids) (run(r).box.x1 <= at ? left : right).push_back(r);
                if (rowsPair(left, right)) continue;
            }
            cuts[d].push_back(at);
            cover[d] = std::max(cover[d], share);
        }
        const int d = cover[1] > cover[0] ? 1 : 0;
        if (cuts[d].empty()) return false;
        std::sort(cuts[d].begin(), cuts[d].end());
        cuts[d].erase(std::unique(cuts[d].begin(), cuts[d].end()), cuts[d].end());
        std::vector<std::vector<int>> parts(cuts[d].size() + 1);
        for (int r : ids) {
            const int lo = d == 0 ? run(r).box.y0 : run(r).box.x0;
            const auto part =
                std::upper_bound(cuts[d].begin(), cuts[d].end(), lo) - cuts[d].begin();
            parts[static_cast<size_t>(part)].push_back(r);
        }
        for (std::vector<int>& p : parts)
            if (!p.empty()) read(std::move(p));
        return true;
    }

    // Gaps of at least an em between the runs' columns, inside the group, widest first.
    std::vector<Gap> columnGaps(std::vector<int> ids, const Box& extent, double em) const {
        std::sort(ids.begin(), ids.end(),
                  [&](int a, int b) { return run(a).box.x0 < run(b).box.x0; });
        std::vector<Gap> gaps;
        int reach = extent.x0;
        for (int r : ids) {
            if (run(r).box.x0 - reach >= kColumnGap * em) gaps.push_back(Gap{reach, run(r).box.x0});
            reach = std::max(reach, run(r).box.x1);
        }
        // Equal widths keep their order from the left (gaps are found left to right).
        std::sort(gaps.begin(), gaps.end(), [](const Gap& a, const Gap& b) {
            return a.to - a.from != b.to - b.from ? a.to - a.from > b.to - b.from : a.from < b.from;
        });
        return gaps;
    }

    // Runs on the two sides of a gap that pair up row by row belong together: a list's name
    // and size, a table's cells, a menu's item and shortcut. Two columns of running text pair
    // up too when their lines happen to align, so they never count as a table.
    bool rowsPair(const std::vector<int>& left, const std::vector<int>& right) const {
        auto share = [&](const std::vector<int>& side, const std::vector<int>& other) {
            int paired = 0;
            for (int a : side)
                paired += std::any_of(other.begin(), other.end(), [&](int b) {
                    return SameLine(run(a).core, run(b).core, kSameLine);
                });
            return static_cast<double>(paired) / static_cast<double>(side.size());
        };
        auto prose = [&](const std::vector<int>& side) {
            std::vector<double> widths;
            std::vector<int> words;
            int right = 0, left = 1 << 30;
            for (int r : side) {
                widths.push_back(run(r).box.width() / run(r).em());
                words.push_back(run(r).words);
                right = std::max(right, run(r).box.x1);
                left = std::min(left, run(r).box.x0);
            }
            // Lines that reach (about) the column's right edge: a ragged right margin.
            const double full =
                static_cast<double>(std::count_if(side.begin(), side.end(),
                                                  [&](int r) {
                                                      return run(r).box.x1 >=
                                                             right - kRaggedMargin * (right - left);
                                                  })) /
                static_cast<double>(side.size());
            return IsRunningText(static_cast<int>(side.size()), Median(widths), Median(words),
                                 full);
        };
        const double leftPaired = share(left, right), rightPaired = share(right, left);
        if (IsLoneCell(static_cast<int>(left.size()), leftPaired) ||
            IsLoneCell(static_cast<int>(right.size()), rightPaired))
            return true;
        return RowsPair(leftPaired, rightPaired, prose(left) && prose(right));
    }

    // The runs split where no run covers a row, top to bottom.
    std::vector<std::vector<int>> rowSlabs(std::vector<int> ids) const {
        std::sort(ids.begin(), ids.end(),
                  [&](int a, int b) { return run(a).box.y0 < run(b).box.y0; });
        std::vector<std::vector<int>> slabs;
        int reach = 0;
        for (int r : ids) {
            if (slabs.empty() || run(r).box.y0 >= reach) slabs.emplace_back();
            slabs.back().push_back(r);
            reach = slabs.back().size() == 1 ? run(r).box.y1 : std::max(reach, run(r).box.y1);
        }
        return slabs;
    }

    // One block: its runs in rows (those that share most of their letters' height), top down.
    void emit(std::vector<int> ids) {
        if (ids.empty()) return;
        std::sort(ids.begin(), ids.end(),
                  [&](int a, int b) { return run(a).core.y0 < run(b).core.y0; });
        std::vector<std::vector<int>> rows;
        std::vector<Box> cores;
        for (int r : ids) {
            if (!rows.empty() && SameLine(cores.back(), run(r).core, kSameRow)) {
                rows.back().push_back(r);
                cores.back().add(run(r).core);
                continue;
            }
            rows.push_back({r});
            cores.push_back(run(r).core);
        }
        for (std::vector<int>& row : rows) {
            std::sort(row.begin(), row.end(),
                      [&](int a, int b) { return run(a).box.x0 < run(b).box.x0; });
            out_.rows.push_back(std::move(row));
            out_.blockOf.push_back(block_);
        }
        ++block_;
    }

    const std::vector<Run>& runs_;
    const std::vector<Line>& lines_;
    TextLayout& out_;
    int block_ = 0;
};

}  // namespace

std::vector<std::pair<int, int>> CellsOf(const Ink& ink, const Run& run) {
    std::vector<std::pair<int, int>> spans;
    for (int g : run.glyphs) {
        const Box& b = ink.glyphs[static_cast<size_t>(g)].box;
        spans.push_back({b.x0, b.x1});
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> cells;
    for (const auto& [x0, x1] : spans) {
        if (!cells.empty() && x0 < cells.back().second)
            cells.back().second = std::max(cells.back().second, x1);
        else
            cells.push_back({x0, x1});
    }
    return cells;
}

double Apart(const std::pair<int, int>& a, const std::pair<int, int>& b) {
    return (b.first + b.second - a.first - a.second) / 2.0;
}

int Characters(const std::pair<int, int>& cell, double pitch) {
    return std::max(1, static_cast<int>(std::lround((cell.second - cell.first) / pitch)));
}

bool FitsPitch(std::vector<std::pair<int, int>>& cells, double pitch) {
    if (cells.empty()) return false;
    std::vector<std::pair<int, int>> merged{cells.front()};
    for (size_t i = 1; i < cells.size(); ++i) {
        if (Apart(merged.back(), cells[i]) < kPitchPieces * pitch)
            merged.back().second = std::max(merged.back().second, cells[i].second);
        else
            merged.push_back(cells[i]);
    }
    // Between two cells, whole empty cells: beside the characters' own half widths (two letters
    // that touch fill one cell of twice the width).
    int regular = 0;
    for (size_t i = 1; i < merged.size(); ++i) {
        const double empty =
            Apart(merged[i - 1], merged[i]) / pitch -
            (Characters(merged[i - 1], pitch) + Characters(merged[i], pitch)) / 2.0;
        regular += empty > -kPitchSlack && std::abs(empty - std::round(empty)) <= kPitchSlack;
    }
    if (regular < kPitchRegular * static_cast<double>(merged.size() - 1)) return false;
    cells = std::move(merged);
    return true;
}

double Pitch(std::vector<std::pair<int, int>>& cells) {
    std::vector<double> apart;
    for (size_t i = 1; i < cells.size(); ++i) apart.push_back(Apart(cells[i - 1], cells[i]));
    if (static_cast<int>(apart.size()) < kPitchCells) return 0;
    const double pitch = Median(apart);
    return pitch >= kPitchSmallest && FitsPitch(cells, pitch) ? pitch : 0;
}

TextLayout LayOut(const Ink& ink, const Marks& marks) {
    TextLayout layout;
    layout.runs = GatherRuns(ink, marks, layout.runOf);
    std::vector<int> all(layout.runs.size());
    std::iota(all.begin(), all.end(), 0);
    Reader(layout.runs, ink.lines, layout).read(std::move(all));
    return layout;
}

bool CharacterGrid::onGrid(const Box& b) const {
    if (!found()) return false;
    const double middle = (b.x0 + b.x1) / 2.0 - phase;
    return std::abs(middle - std::round(middle / pitch) * pitch) <= kGridSlack * pitch;
}

CharacterGrid FindCharacterGrid(const Ink& ink) {
    std::vector<int> runOf;
    const std::vector<Run> runs =
        GatherRuns(ink, Marks(ink.glyphs.size(), rules::MarkRule::Text), runOf, true);
    // The pitch most neighbouring cells of the whole screen are apart; then the share of the
    // glyphs in runs that keep to it (short ones too: "2:52").
    std::vector<std::vector<std::pair<int, int>>> cells;
    std::vector<double> apart;
    for (const Run& run : runs) {
        cells.push_back(CellsOf(ink, run));
        for (size_t i = 1; i < cells.back().size(); ++i)
            apart.push_back(Apart(cells.back()[i - 1], cells.back()[i]));
    }
    if (static_cast<int>(apart.size()) < kGridGlyphs) return {};
    const double pitch = Median(apart);
    if (pitch < kPitchSmallest) return {};
    int glyphs = 0, inGrid = 0;
    for (size_t r = 0; r < runs.size(); ++r) {
        if (runs[r].glyphs.size() < 2) continue;
        glyphs += static_cast<int>(runs[r].glyphs.size());
        if (FitsPitch(cells[r], pitch)) inGrid += static_cast<int>(runs[r].glyphs.size());
    }
    if (glyphs < kGridGlyphs || inGrid < kGridShare * glyphs) return {};
    // The phase most cells' middles agree on.
    std::vector<double> phases;
    for (const auto& run : cells)
        for (const auto& [x0, x1] : run) phases.push_back(std::fmod((x0 + x1) / 2.0, pitch));
    double phase = 0;
    size_t most = 0;
    for (size_t i = 0; i < phases.size() && i < kGridPhaseLooks; ++i) {
        const size_t agree =
            static_cast<size_t>(std::count_if(phases.begin(), phases.end(), [&](double p) {
                const double d = std::abs(p - phases[i]);
                return std::min(d, pitch - d) <= kGridSlack * pitch;
            }));
        if (agree > most) most = agree, phase = phases[i];
    }
    return CharacterGrid{pitch, phase};
}

Marks GridMarks(const Ink& ink, const CharacterGrid& grid) {
    Marks marks = MarkNonText(ink);
    const int tall = std::max(ink.tallHeight, 4);
    for (size_t g = 0; g < marks.size(); ++g) {
        const Box& b = ink.glyphs[g].box;
        if (marks[g] != rules::MarkRule::Solid && grid.onGrid(b) &&
            b.height() <= kGridTallest * tall && b.width() <= kGridTallest * tall)
            marks[g] = rules::MarkRule::Text;
    }
    return marks;
}

TextLayout LayOutGrid(const Ink& ink, const Marks& marks, const CharacterGrid& grid) {
    TextLayout layout;
    layout.pitch = grid.pitch;
    layout.phase = grid.phase;
    layout.runs = GatherRuns(ink, marks, layout.runOf, true);
    std::vector<int> all(layout.runs.size());
    std::iota(all.begin(), all.end(), 0);
    Reader(layout.runs, {}, layout).emitRows(std::move(all));
    return layout;
}

}  // namespace gs::tools

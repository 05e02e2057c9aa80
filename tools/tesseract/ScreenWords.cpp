// The text put together from the engine's report of the words and letters it read in the
// composed picture.
#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "tools/tesseract/Hocr.h"
#include "tools/tesseract/ScreenLayout.h"

namespace gs::tools {

namespace {

// The band's words, parted the way the screen's spacing parts them. Each stretch that surely
// parts words goes to the nearest place between two letters the engine read (its own word
// breaks first, within a few pixels): there a blank parts words the engine ran together, and
// an underscore it read as a blank is put back. Elsewhere the engine's word breaks stand.
// In a fixed-pitch row the screen's cells tell every word and its length: when the engine read
// as many letters as there are cells, they are parted there (a full stop or a colon stands in a
// cell as wide as a letter's, and the engine takes the room around it for blanks).
std::optional<std::string> LineByCells(const std::vector<Word>& words, const Composed::Band& band) {
    if (band.words.empty()) return std::nullopt;
    auto count = [](const std::string& s) {
        return static_cast<int>(std::count_if(s.begin(), s.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    };
    std::vector<const std::string*> letters;
    int read = 0, cells = 0;
    for (const Word& w : words)
        for (const Letter& l : w.letters)
            if (l.text.find_first_not_of(' ') != std::string::npos) {
                letters.push_back(&l.text);
                read += count(l.text);
            }
    for (int n : band.words) cells += n;
    if (read != cells) return std::nullopt;
    std::string line;
    size_t word = 0;
    int inWord = 0;
    for (const std::string* l : letters) {
        if (inWord >= band.words[word] && word + 1 < band.words.size()) {
            line += ' ';
            ++word;
            inWord = 0;
        }
        line += *l;
        inWord += count(*l);
    }
    return line;
}

std::string LineOf(const std::vector<Word>& words, const Composed::Band& band) {
    if (std::optional<std::string> byCells = LineByCells(words, band)) return *byCells;
    struct Boundary {
        const Letter *before, *after;
        bool engineBreak, blank = false, underscore = false;
    };
    std::vector<Boundary> between;
    const Letter* previous = nullptr;
    for (const Word& w : words)
        for (const Letter& l : w.letters) {
            if (previous) between.push_back(Boundary{previous, &l, &l == &w.letters.front()});
            previous = &l;
        }
    if (!previous) return {};
    const int slack = std::max(1, (band.bottom - band.top) / 8);
    auto digit = [](const Letter* l) {
        return l->text.size() == 1 && std::isdigit(static_cast<unsigned char>(l->text[0]));
    };
    for (const Spacing& s : band.spacing) {
        Boundary* nearest = nullptr;
        int best = slack + 1;
        for (Boundary& b : between) {
            if (!s.betweenDigits && !b.engineBreak && digit(b.before) && digit(b.after)) continue;
            // A letter's box may reach far over the next ones (an underscore taken in).
            const int end = std::min(b.before->x1, std::max(b.before->x0 + 1, b.after->x0));
            const int x0 = std::min(end, b.after->x0), x1 = std::max(end, b.after->x0);
            int d = std::max({0, x0 - s.x1, s.x0 - x1});
            if (b.engineBreak) d = std::max(0, d - slack);
            if (d < best || (d == best && nearest && b.engineBreak && !nearest->engineBreak))
                best = d, nearest = &b;
        }
        if (nearest) (s.underscore ? nearest->underscore : nearest->blank) = true;
    }
    // A split that would leave one letter alone between letters ("t he") is a box misplaced.
    auto alphabetic = [](const Letter* l) {
        const unsigned char c = static_cast<unsigned char>(l->text[0]);
        return c >= 0x80 || std::isalpha(c);
    };
    auto parted = [&](size_t i) {
        return i >= between.size() || between[i].engineBreak || between[i].blank;
    };
    for (size_t i = 0; i < between.size(); ++i) {
        Boundary& b = between[i];
        if (!b.blank || b.engineBreak || !alphabetic(b.before) || !alphabetic(b.after)) continue;
        const bool loneBefore = i == 0 || parted(i - 1), loneAfter = parted(i + 1);
        if (loneBefore || loneAfter) b.blank = false;
    }

    std::string line = words.front().letters.front().text;
    for (const Boundary& b : between) {
        if (b.underscore)
            line += b.before->text == "_" || b.after->text == "_" ? "" : "_";
        else if (b.blank || b.engineBreak)
            line += " ";
        line += b.after->text;
    }
    return line;
}

std::vector<std::string> WordsOf(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// Readings of one row at several sizes: where they part it into as many words, each word is the
// one most readings agree on (the surest reading's where none do); otherwise the surest reading.
std::string Agreed(const std::vector<std::string>& lines, size_t surest) {
    std::vector<std::vector<std::string>> words;
    for (const std::string& l : lines) words.push_back(WordsOf(l));
    for (const auto& w : words)
        if (w.size() != words[surest].size()) return lines[surest];
    std::string out;
    for (size_t i = 0; i < words[surest].size(); ++i) {
        const std::string* chosen = &words[surest][i];
        for (const auto& w : words) {
            const auto same = std::count_if(words.begin(), words.end(),
                                            [&](const auto& v) { return v[i] == w[i]; });
            if (2 * same > static_cast<long>(words.size())) chosen = &w[i];
        }
        out += (i ? " " : "") + *chosen;
    }
    return out;
}

}  // namespace

std::optional<std::string> TextFromWords(const std::string& hocr,
                                         const std::vector<Composed::Band>& bands) {
    if (bands.empty() || hocr.find("ocr_page") == std::string::npos) return std::nullopt;
    // Each word belongs to the band its middle lies in (or the nearest).
    std::vector<std::vector<Word>> inBand(bands.size());
    for (Word& w : ReadHocr(hocr)) {
        const int mid = (w.top + w.bottom) / 2;
        size_t best = 0;
        int distance = 1 << 30;
        for (size_t b = 0; b < bands.size(); ++b) {
            if (!bands[b].known.empty()) continue;  // no picture: no words of the engine's
            const int d =
                mid < bands[b].top ? bands[b].top - mid : std::max(0, mid - bands[b].bottom);
            if (d < distance) best = b, distance = d;
        }
        inBand[best].push_back(std::move(w));
    }
    // Of a row read more than once, the reading the engine is surest of; where the readings
    // part the row into as many words, each word is the one most of them agree on.
    std::string text;
    int lastBlock = -1;
    for (size_t b = 0; b < bands.size();) {
        size_t pick = b, next = b;
        double best = -1;
        std::vector<std::string> lines;
        for (; next < bands.size() && bands[next].row == bands[b].row; ++next) {
            // The engine's word confidences, each word weighed by its length.
            double sum = 0, weight = 0;
            for (const Word& w : inBand[next]) {
                const double n = static_cast<double>(w.text().size());
                sum += w.confidence * n;
                weight += n;
            }
            const double confidence = weight > 0 ? sum / weight : 0;
            if (confidence > best) best = confidence, pick = next;
            lines.push_back(bands[next].known.empty() ? LineOf(inBand[next], bands[next])
                                                      : bands[next].known);
        }
        const std::string& tail = bands[pick].tail;
        if (!inBand[pick].empty() || !bands[pick].known.empty() || !tail.empty()) {
            if (lastBlock >= 0 && bands[pick].block != lastBlock) text += "\n";
            const std::string words = Agreed(lines, pick - b);
            text += words + (words.empty() || tail.empty() ? "" : " ") + tail + "\n";
            lastBlock = bands[pick].block;
        }
        b = next;
    }
    return text;
}

}  // namespace gs::tools

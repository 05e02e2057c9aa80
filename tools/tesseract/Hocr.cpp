#include "tools/tesseract/Hocr.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace gs::tools {

namespace {

constexpr std::string_view kWord = "class='ocrx_word'", kLetter = "class='ocrx_cinfo'",
                           kTitle = "title='";

// The numbers after `key` in an hOCR title ("bbox 1 2 3 4; x_wconf 96"), up to the first thing
// that is not one, and no more than `most`: a number too large to hold reads as not finite.
std::vector<double> numbers(std::string_view title, std::string_view key, size_t most) {
    std::vector<double> out;
    const size_t at = title.find(key);
    if (at == std::string_view::npos) return out;
    const char* p = title.data() + at + key.size();
    const char* const end = title.data() + title.size();
    while (out.size() < most) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')) ++p;
        double v = 0;
        const auto [stop, error] = std::from_chars(p, end, v);
        if (stop == p) break;
        out.push_back(error == std::errc() ? v : NAN);
        p = stop;
    }
    return out;
}

bool place(double v) { return std::isfinite(v) && std::abs(v) <= kFarthestPlace; }

// A box's four numbers, each a place; nothing otherwise.
std::optional<std::vector<double>> box(std::string_view title, std::string_view key) {
    std::vector<double> b = numbers(title, key, 5);
    if (b.size() != 4 || !std::all_of(b.begin(), b.end(), place)) return std::nullopt;
    return b;
}

std::string unescaped(std::string_view s) {
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&amp;", '&'}};
    std::string out;
    for (size_t i = 0; i < s.size();) {
        bool replaced = false;
        for (const auto& [name, c] : kEntities)
            if (s.substr(i, name.size()) == name) {
                out += c;
                i += name.size();
                replaced = true;
                break;
            }
        if (!replaced) out += s[i++];
    }
    return out;
}

// The title of the element whose class attribute begins `part`, and where that element's
// content begins; nothing when `part` holds no complete title. Only `part` is searched.
struct Titled {
    std::string_view title;
    size_t content;
};
std::optional<Titled> titleOf(std::string_view part) {
    const size_t open = part.find(kTitle);
    if (open == std::string_view::npos) return std::nullopt;
    const size_t close = part.find('\'', open + kTitle.size());
    const size_t end = close == std::string_view::npos ? close : part.find('>', close);
    if (end == std::string_view::npos) return std::nullopt;
    return Titled{part.substr(open + kTitle.size(), close - open - kTitle.size()), end + 1};
}

// The part of `text` from `at` (where `marker` stands) to the next `marker`, or to its end.
std::string_view partAt(std::string_view text, size_t at, std::string_view marker) {
    const size_t next = text.find(marker, at + marker.size());
    return text.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at);
}

// One word from its part of the report (from its class attribute to the next word's).
std::optional<Word> wordOf(std::string_view part) {
    const std::optional<Titled> titled = titleOf(part);
    if (!titled) return std::nullopt;
    const std::optional<std::vector<double>> b = box(titled->title, "bbox ");
    const std::vector<double> conf = numbers(titled->title, "x_wconf ", 1);
    const double confidence = conf.empty() ? 0 : conf[0];
    if (!b || !(confidence >= 0 && confidence <= 100)) return std::nullopt;
    Word w{static_cast<int>((*b)[0]),
           static_cast<int>((*b)[1]),
           static_cast<int>((*b)[2]),
           static_cast<int>((*b)[3]),
           confidence,
           {}};
    const std::string_view inside = part.substr(titled->content);
    for (size_t at = inside.find(kLetter); at != std::string_view::npos;) {
        const std::string_view letter = partAt(inside, at, kLetter);
        at = at + letter.size() < inside.size() ? at + letter.size() : std::string_view::npos;
        const std::optional<Titled> t = titleOf(letter);
        const std::optional<std::vector<double>> x = t ? box(t->title, "x_bboxes ") : std::nullopt;
        const size_t end = t ? letter.find('<', t->content) : std::string_view::npos;
        if (x && end != std::string_view::npos)
            w.letters.push_back(Letter{static_cast<int>((*x)[0]), static_cast<int>((*x)[2]),
                                       unescaped(letter.substr(t->content, end - t->content))});
    }
    if (w.letters.empty()) {
        std::string plain;  // the word's text without its tags
        size_t depth = 0;
        for (char c : inside) {
            if (c == '<') ++depth;
            if (!depth && c != '\n' && c != ' ') plain += c;
            if (c == '>' && depth) --depth;
        }
        w.letters.push_back(Letter{w.left, w.right, unescaped(plain)});
    }
    if (w.text().find_first_not_of(' ') == std::string::npos) return std::nullopt;
    return w;
}

}  // namespace

std::string Word::text() const {
    std::string out;
    for (const Letter& l : letters) out += l.text;
    return out;
}

std::vector<Word> ReadHocr(std::string_view hocr) {
    std::vector<Word> words;
    // Each search starts where the last one ended: the report is read once, whatever it holds.
    for (size_t at = hocr.find(kWord); at != std::string_view::npos;) {
        const std::string_view part = partAt(hocr, at, kWord);
        at = at + part.size() < hocr.size() ? at + part.size() : std::string_view::npos;
        if (std::optional<Word> w = wordOf(part)) words.push_back(std::move(*w));
    }
    return words;
}

}  // namespace gs::tools

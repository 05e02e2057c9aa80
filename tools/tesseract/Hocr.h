#pragma once
// The engine's report of the words it read and where (hOCR with its letters' boxes). The report
// comes from another program: it is read in one pass, and every number is checked before it is
// used, so that no report costs more than its length or yields a place outside any picture.
#include <string>
#include <string_view>
#include <vector>

namespace gs::tools {

struct Letter {
    int x0, x1;
    std::string text;
};

struct Word {
    int left, top, right, bottom;
    double confidence;  // 0 to 100
    std::vector<Letter> letters;
    std::string text() const;
};

// The farthest a place in a picture of ours can lie from its corner, in pixels; a word or a
// letter placed beyond it is no reading of our picture.
inline constexpr double kFarthestPlace = 1e7;

// The report's words in its order, each with its box and confidence and its letters' columns
// and text (from an engine that gives no letters' boxes, the word's text as one letter). Left
// out: a word or letter whose box is not four numbers within kFarthestPlace, a word whose
// confidence is not within 0 to 100, a word with nothing but blanks.
std::vector<Word> ReadHocr(std::string_view hocr);

}  // namespace gs::tools

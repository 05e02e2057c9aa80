#pragma once
// Which glyphs of a screen are not text (icons, check boxes, avatars, bullets, switches,
// swatches), and which rule said so (ScreenRules.h).
#include <vector>

#include "tools/tesseract/ScreenInk.h"
#include "tools/tesseract/ScreenRules.h"

namespace gs::tools {

// Per glyph: the rule that took it for a mark, or Text.
using Marks = std::vector<rules::MarkRule>;
inline bool IsMark(const Marks& marks, int glyph) {
    return marks[static_cast<size_t>(glyph)] != rules::MarkRule::Text;
}

// Each glyph as the mark rules see it: its shape and what lies beside it.
std::vector<rules::GlyphContext> GlyphContexts(const Ink& ink);

// The glyphs' marks: the single-glyph rules, then icons drawn in pieces, bullets, and what lies
// inside an icon.
Marks MarkNonText(const Ink& ink);

}  // namespace gs::tools

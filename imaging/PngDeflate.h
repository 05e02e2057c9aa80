#pragma once
// The image data of an RGB PNG: every row Sub-filtered, deflated as one zlib stream.
#include <cstdint>
#include <vector>

#include "platform/Picture.h"

namespace gs::imaging {

// Large pictures are split into bands of rows compressed on several threads; each band is
// primed with the 32 KiB before it and ends on a sync flush, so the concatenation is one
// valid zlib stream (with the Adler-32 of the whole) at the given level.
std::vector<uint8_t> DeflateSubFiltered(const Picture& picture, int level, unsigned threads = 0);

}  // namespace gs::imaging

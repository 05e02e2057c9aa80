#pragma once
// The image data of an RGB PNG: every row Sub-filtered, deflated as one zlib stream.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Picture.h"

namespace gs {
class Executor;
}

namespace gs::imaging {

// The rows of a picture as 8-bit RGB, fetched on demand (from any thread, in any order), so a
// large picture needs no second copy in memory.
struct RgbRows {
    int width = 0, height = 0;
    std::function<void(int y, uint8_t* rgb)> row;
};
RgbRows RowsOf(const Picture& picture);

// One zlib stream held as the pieces it was made in (the header, each band, the trailer), so
// that a large result is never gathered into a second block on its way to the file.
struct ZlibStream {
    struct Piece {
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
    };
    std::vector<Piece> pieces;
    size_t size() const;
};

// Large pictures are split into bands of rows compressed on the pool's workers and the calling
// thread (without a pool, on the calling thread alone); each band is
// primed with the 32 KiB before it and ends on a sync flush, so the concatenation is one
// valid zlib stream (with the Adler-32 of the whole) at the given level. A band's rows are
// filtered a chunk at a time while it is compressed: the memory used beyond the result is
// small. `runLength` limits the matches to the byte before (zlib's Z_RLE): several times
// faster on large smooth pictures, at a larger file; otherwise Z_FILTERED, as libpng chooses.
ZlibStream DeflateSubFiltered(const RgbRows& rows, int level, Executor* pool = nullptr,
                              bool runLength = false);
inline ZlibStream DeflateSubFiltered(const Picture& picture, int level, Executor* pool = nullptr,
                                     bool runLength = false) {
    return DeflateSubFiltered(RowsOf(picture), level, pool, runLength);
}

}  // namespace gs::imaging

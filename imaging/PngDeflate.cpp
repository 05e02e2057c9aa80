#include "imaging/PngDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/Executor.h"

namespace gs::imaging {

namespace {

constexpr size_t kWindow = 32768;
constexpr size_t kMinBandBytes = 1 << 20;  // below this a second thread costs more than it saves
constexpr size_t kMaxBandBytes = 8 << 20;  // so that a huge picture is never filtered whole

// Rows y0..y1 Sub-filtered into `out`, each row led by its filter byte.
void filterRows(const RgbRows& rows, int y0, int y1, uint8_t* out) {
    const size_t stride = 1 + static_cast<size_t>(rows.width) * 3;
    for (int y = y0; y < y1; ++y, out += stride) {
        rows.row(y, out + 1);
        out[0] = 1;  // Sub; from the right, so each byte still has its left neighbour
        for (size_t i = stride - 1; i > 3; --i) out[i] = static_cast<uint8_t>(out[i] - out[i - 3]);
    }
}

struct Band {
    int y0 = 0, y1 = 0;
    ZlibStream::Piece out;  // grown as the compressor fills it, then trimmed to its size
    uLong adler = 1;
    size_t length = 0;
    bool ok = false;
};

// Rows are filtered and compressed a few hundred kilobytes at a time through one small buffer:
// fresh memory is costly (under Wine above all, where a page's first touch is slow), and the
// chunk stays in the cache between the filter and the compressor.
constexpr size_t kChunkBytes = 256 << 10;

void deflateBand(const RgbRows& rows, Band& b, int level, int strategy, bool last) {
    const size_t stride = 1 + static_cast<size_t>(rows.width) * 3;
    const int chunkRows = static_cast<int>(std::max<size_t>(1, kChunkBytes / stride));
    // The rows before the band that its 32 KiB dictionary reaches into.
    const int lead = std::min(b.y0, static_cast<int>((kWindow + stride - 1) / stride));
    // Kept by each thread for its next band (and the next picture's): no fresh pages each time.
    thread_local std::vector<uint8_t> chunk;
    chunk.resize(stride * static_cast<size_t>(std::max(chunkRows, lead)));
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy) != Z_OK) return;
    if (lead > 0) {
        filterRows(rows, b.y0 - lead, b.y0, chunk.data());
        const size_t have = stride * static_cast<size_t>(lead), dict = std::min(kWindow, have);
        deflateSetDictionary(&z, chunk.data() + have - dict, static_cast<uInt>(dict));
    }
    b.length = stride * static_cast<size_t>(b.y1 - b.y0);
    // Screens compress to a small part of their size: the output starts at an eighth of the
    // input and doubles when full, so the memory follows the result, not the worst case.
    size_t capacity = std::max<size_t>(64 << 10, b.length / 8);
    b.out.bytes.reset(new uint8_t[capacity]);
    auto grow = [&] {
        const size_t used = capacity - z.avail_out;
        auto bigger = std::make_unique<uint8_t[]>(capacity * 2);
        std::copy(b.out.bytes.get(), b.out.bytes.get() + used, bigger.get());
        b.out.bytes = std::move(bigger);
        z.next_out = b.out.bytes.get() + used;
        z.avail_out = static_cast<uInt>(capacity * 2 - used);
        capacity *= 2;
    };
    z.next_out = b.out.bytes.get();
    z.avail_out = static_cast<uInt>(capacity);
    uLong adler = 1;
    int rc = Z_OK;
    for (int y = b.y0; y < b.y1 && rc == Z_OK; y += chunkRows) {
        const int end = std::min(b.y1, y + chunkRows);
        filterRows(rows, y, end, chunk.data());
        const size_t n = stride * static_cast<size_t>(end - y);
        adler = adler32(adler, chunk.data(), static_cast<uInt>(n));
        z.next_in = chunk.data();
        z.avail_in = static_cast<uInt>(n);
        const int flush = end < b.y1 ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        // Until the chunk is taken and, at the end, the flush is complete (room left over).
        for (;;) {
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_END || (rc != Z_OK && rc != Z_BUF_ERROR)) break;
            if (z.avail_out != 0 && z.avail_in == 0) break;
            grow();
        }
        if (rc == Z_BUF_ERROR) rc = Z_OK;  // no progress was possible: not an error
        if (rc == Z_STREAM_END || z.avail_in != 0) break;
    }
    b.ok = last ? rc == Z_STREAM_END : (rc == Z_OK && z.avail_in == 0);
    b.out.size = capacity - z.avail_out;
    deflateEnd(&z);
    b.adler = adler;
}

}  // namespace

RgbRows RowsOf(const Picture& p) {
    return {p.width, p.height, [&p](int y, uint8_t* out) { RowToRgb(p, y, out); }};
}

size_t ZlibStream::size() const {
    size_t n = 0;
    for (const Piece& p : pieces) n += p.size;
    return n;
}

ZlibStream DeflateSubFiltered(const RgbRows& rows, int level, Executor* pool, bool runLength) {
    if (rows.width <= 0 || rows.height <= 0 || !rows.row)
        throw std::invalid_argument("No picture to compress");
    const size_t stride = 1 + static_cast<size_t>(rows.width) * 3;
    const size_t total = stride * static_cast<size_t>(rows.height);
    const unsigned threads = pool ? Executor::cores() : 1;
    const size_t bands = std::min<size_t>(
        rows.height, std::max(std::clamp<size_t>(total / kMinBandBytes, 1, threads),
                              (total + kMaxBandBytes - 1) / kMaxBandBytes));
    std::vector<Band> parts(bands);
    const int rowsPer = static_cast<int>((static_cast<size_t>(rows.height) + bands - 1) / bands);
    for (size_t i = 0; i < bands; ++i) {
        parts[i].y0 = std::min(rows.height, static_cast<int>(i) * rowsPer);
        parts[i].y1 = std::min(rows.height, parts[i].y0 + rowsPer);
    }
    // Bands are taken in turn by a few workers; each filters its own rows as it goes.
    auto band = [&](int i) {
        deflateBand(rows, parts[static_cast<size_t>(i)], level, runLength ? Z_RLE : Z_FILTERED,
                    static_cast<size_t>(i) + 1 == bands);
    };
    if (pool)
        pool->forEach(static_cast<int>(bands), threads - 1, band);
    else
        for (size_t i = 0; i < bands; ++i) band(static_cast<int>(i));

    auto small = [](std::initializer_list<uint8_t> bytes) {
        ZlibStream::Piece p{std::make_unique<uint8_t[]>(bytes.size()), bytes.size()};
        std::copy(bytes.begin(), bytes.end(), p.bytes.get());
        return p;
    };
    ZlibStream z;
    // zlib header: deflate with a 32 KiB window; the level flag as zlib itself writes it.
    const int flevel = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    const unsigned cmf = 0x78, flg0 = static_cast<unsigned>(flevel) << 6;
    z.pieces.push_back(small({static_cast<uint8_t>(cmf),
                              static_cast<uint8_t>(flg0 + (31 - (cmf * 256 + flg0) % 31) % 31)}));
    uLong adler = 1;
    for (Band& b : parts) {
        if (!b.ok) throw std::runtime_error("Compression failed");
        adler = adler32_combine(adler, b.adler, static_cast<z_off_t>(b.length));
        z.pieces.push_back(std::move(b.out));
    }
    z.pieces.push_back(small({static_cast<uint8_t>(adler >> 24), static_cast<uint8_t>(adler >> 16),
                              static_cast<uint8_t>(adler >> 8), static_cast<uint8_t>(adler)}));
    return z;
}

}  // namespace gs::imaging

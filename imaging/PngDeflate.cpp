#include "imaging/PngDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace gs::imaging {

namespace {

constexpr size_t kWindow = 32768;
constexpr size_t kMinBandBytes = 1 << 20;  // below this a second thread costs more than it saves

void filterRows(const Picture& p, int y0, int y1, uint8_t* out) {
    const size_t stride = 1 + static_cast<size_t>(p.width) * 3;
    for (int y = y0; y < y1; ++y) {
        uint8_t* row = out + static_cast<size_t>(y) * stride;
        const uint32_t* px = &p.pixels[static_cast<size_t>(y) * p.width];
        row[0] = 1;  // Sub
        uint8_t prev[3] = {0, 0, 0};
        for (int x = 0; x < p.width; ++x) {
            const uint8_t c[3] = {static_cast<uint8_t>(px[x] >> 16),
                                  static_cast<uint8_t>(px[x] >> 8), static_cast<uint8_t>(px[x])};
            for (int k = 0; k < 3; ++k) {
                row[1 + 3 * x + k] = static_cast<uint8_t>(c[k] - prev[k]);
                prev[k] = c[k];
            }
        }
    }
}

struct Band {
    size_t begin = 0, end = 0;
    std::vector<uint8_t> out;
    uLong adler = 1;
    bool ok = false;
};

void deflateBand(const std::vector<uint8_t>& raw, Band& b, int level, bool last) {
    z_stream z{};
    // Z_FILTERED suits filtered image rows, as libpng's own default does.
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_FILTERED) != Z_OK) return;
    if (b.begin > 0) {
        const size_t dict = std::min(kWindow, b.begin);
        deflateSetDictionary(&z, raw.data() + b.begin - dict, static_cast<uInt>(dict));
    }
    const size_t len = b.end - b.begin;
    b.out.resize(deflateBound(&z, static_cast<uLong>(len)) + 16);
    z.next_in = const_cast<Bytef*>(raw.data() + b.begin);
    z.avail_in = static_cast<uInt>(len);
    z.next_out = b.out.data();
    z.avail_out = static_cast<uInt>(b.out.size());
    const int rc = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    b.ok = last ? rc == Z_STREAM_END : (rc == Z_OK && z.avail_in == 0);
    b.out.resize(b.out.size() - z.avail_out);
    deflateEnd(&z);
    b.adler = adler32(1, raw.data() + b.begin, static_cast<uInt>(len));
}

}  // namespace

std::vector<uint8_t> DeflateSubFiltered(const Picture& p, int level, unsigned threads) {
    if (p.width <= 0 || p.height <= 0 || p.pixels.size() != static_cast<size_t>(p.width) * p.height)
        throw std::invalid_argument("No picture to compress");
    const size_t stride = 1 + static_cast<size_t>(p.width) * 3;
    std::vector<uint8_t> raw(stride * static_cast<size_t>(p.height));
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    const size_t bands = std::clamp<size_t>(raw.size() / kMinBandBytes, 1, threads);
    std::vector<Band> parts(bands);
    const int rowsPer = static_cast<int>((static_cast<size_t>(p.height) + bands - 1) / bands);
    for (size_t i = 0; i < bands; ++i) {
        const int y0 = std::min(p.height, static_cast<int>(i) * rowsPer);
        const int y1 = std::min(p.height, y0 + rowsPer);
        parts[i].begin = static_cast<size_t>(y0) * stride;
        parts[i].end = static_cast<size_t>(y1) * stride;
    }
    auto work = [&](size_t i) {
        filterRows(p, static_cast<int>(parts[i].begin / stride),
                   static_cast<int>(parts[i].end / stride), raw.data());
    };
    auto squeeze = [&](size_t i) { deflateBand(raw, parts[i], level, i + 1 == bands); };
    {
        // Filter first everywhere: a band's dictionary is the end of the band before it.
        std::vector<std::thread> pool;
        for (size_t i = 1; i < bands; ++i) pool.emplace_back(work, i);
        work(0);
        for (auto& t : pool) t.join();
        pool.clear();
        for (size_t i = 1; i < bands; ++i) pool.emplace_back(squeeze, i);
        squeeze(0);
        for (auto& t : pool) t.join();
    }

    std::vector<uint8_t> z;
    size_t total = 6;
    for (const Band& b : parts) total += b.out.size();
    z.reserve(total);
    // zlib header: deflate with a 32 KiB window; the level flag as zlib itself writes it.
    const int flevel = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    const unsigned cmf = 0x78, flg0 = static_cast<unsigned>(flevel) << 6;
    z.push_back(static_cast<uint8_t>(cmf));
    z.push_back(static_cast<uint8_t>(flg0 + (31 - (cmf * 256 + flg0) % 31) % 31));
    uLong adler = 1;
    for (const Band& b : parts) {
        if (!b.ok) throw std::runtime_error("Compression failed");
        z.insert(z.end(), b.out.begin(), b.out.end());
        adler = adler32_combine(adler, b.adler, static_cast<z_off_t>(b.end - b.begin));
    }
    for (int shift = 24; shift >= 0; shift -= 8) z.push_back(static_cast<uint8_t>(adler >> shift));
    return z;
}

}  // namespace gs::imaging

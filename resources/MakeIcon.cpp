// Writes the program icon (16 to 48 px, 32-bit with alpha) as an .ico file. Runs on the
// build machine, so the icon comes from the same drawing code as every other picture.
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <vector>

#include "platform/LittleEndian.h"
#include "resources/Artwork.h"

namespace {
void put16(std::vector<uint8_t>& o, unsigned v) { gs::PutLittleEndian(o, v, 2); }
void put32(std::vector<uint8_t>& o, uint32_t v) { gs::PutLittleEndian(o, v, 4); }

std::vector<uint8_t> entryImage(const gs::ui::Picture& p) {
    std::vector<uint8_t> o;
    const uint32_t maskRow = ((p.width + 31) / 32) * 4;
    put32(o, 40);
    put32(o, p.width);
    put32(o, p.height * 2);  // colour plus mask
    put16(o, 1);
    put16(o, 32);
    put32(o, 0);
    put32(o, p.width * p.height * 4 + maskRow * p.height);
    for (int i = 0; i < 4; ++i) put32(o, 0);
    for (int y = p.height - 1; y >= 0; --y)
        for (int x = 0; x < p.width; ++x) put32(o, p.at(x, y));
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < p.width; ++x)
            if ((p.at(x, y) >> 24) == 0) row[x / 8] |= 0x80 >> (x % 8);
        o.insert(o.end(), row.begin(), row.end());
    }
    return o;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUT.ico\n");
        return 2;
    }
    // The small icon at 100 % to 300 % display scale and the large one at 100 % and 150 %.
    const int sizes[] = {48, 40, 32, 24, 20, 16};
    constexpr size_t kCount = std::size(sizes);
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes) images.push_back(entryImage(gs::art::AppIcon(s)));
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, kCount);
    uint32_t offset = 6 + 16 * kCount;
    for (size_t i = 0; i < kCount; ++i) {
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (auto& img : images) out.insert(out.end(), img.begin(), img.end());
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok ? 0 : 1;
}

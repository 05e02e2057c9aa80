#pragma once
// Numbers into the byte order of the Windows file formats (BMP, ICO).
#include <cstdint>
#include <vector>

namespace gs {

// A bitmap's resolution at 96 DPI, as its header gives it: pixels per metre.
inline constexpr uint32_t kPixelsPerMetreAt96Dpi = 3780;

// The low `bytes` bytes of `v`, least significant first.
inline void PutLittleEndian(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace gs

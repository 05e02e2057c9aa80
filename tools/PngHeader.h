#pragma once
// A PNG file's size as its header gives it, read before anything else of the file: both tools
// decide from it what to do with a picture before they spend memory on it.
#include <cstdint>
#include <optional>
#include <string>

namespace gs::tools {

struct FrameSize {
    int width = 0;
    int height = 0;
};

// The width and height in a PNG file's first bytes (signature and IHDR); nothing when the
// bytes are not the start of a PNG.
inline std::optional<FrameSize> PngFrameSize(const std::string& head) {
    static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
    if (head.size() < 24 || head.compare(0, 8, kSignature) != 0 || head.compare(12, 4, "IHDR") != 0)
        return std::nullopt;
    auto bigEndian = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(head[at + i]);
        return v;
    };
    const uint32_t w = bigEndian(16), h = bigEndian(20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return std::nullopt;
    return FrameSize{static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace gs::tools

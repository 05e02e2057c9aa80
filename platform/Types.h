#pragma once
// Plain value types shared by every layer. Coordinates are physical screen pixels.
#include <cstdint>

namespace gs {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Right and Bottom are exclusive.
struct Rect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t width() const { return Right - Left; }
    int32_t height() const { return Bottom - Top; }
    bool contains(Point p) const {
        return p.x >= Left && p.x < Right && p.y >= Top && p.y < Bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

}  // namespace gs

#pragma once
// How the seconds left for the panel map to what the panel shows.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Types.h"

namespace gs {

enum class PanelAction { None, Show, Hide };

struct PanelLook {
    std::optional<uint8_t> opacity;  // unset: leave as it is
    bool minimized = false;
    std::wstring caption;  // the countdown label
    PanelAction action = PanelAction::None;
};

// Bands from the top, every bound strict.
PanelLook PanelLookFor(double counter);

// Where a letterboxed picture lands in an aWidth x aHeight box: scaled to touch the box on
// at least one pair of sides, centred.
Rect PreviewPlacement(int sourceWidth, int sourceHeight, int aWidth, int aHeight);

inline constexpr double kCounterShow = 4.0;
inline constexpr double kCounterPinned = 1000000000.0;
inline constexpr double kCounterClose = 0.0;

}  // namespace gs

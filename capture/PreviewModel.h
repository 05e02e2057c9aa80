#pragma once
// How the seconds left for the panel map to what the panel shows.
#include <cstdint>
#include <optional>
#include <string>

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

inline constexpr double kCounterShow = 4.0;
inline constexpr double kCounterPinned = 1000000000.0;
inline constexpr double kCounterClose = 0.0;

}  // namespace gs

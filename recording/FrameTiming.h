#pragma once
// What the recorders need beside the window: frame names, the 83 ms clock and the cursor mark.
#include <cstdint>
#include <string>

#include "platform/Picture.h"
#include "platform/Platform.h"

namespace gs {

inline constexpr uint32_t kFramePeriod = 83;  // floor(1000 / 12)
inline constexpr int kMaxVideoFrames = 1000000;
inline constexpr int kMaxSlowMotionFrames = 1000;

// folder + "\" + the index in six digits + ".png".
std::wstring FrameFileName(const std::wstring& folder, int index);

// The time of one frame slot. Tick counts are unsigned and wrap; every difference is taken
// modulo 2^32 and compared as a signed number once the filled slots are taken off.
class FrameClock {
  public:
    explicit FrameClock(Platform& platform) : platform_(platform) {}
    void frameStarts() {
        t0_ = platform_.tickCount();
        extra_ = 0;
    }
    // Reads the clock: has this frame used up its slot (and the slots filled since)?
    bool behind() {
        t1_ = platform_.tickCount();
        return lag() >= static_cast<int32_t>(kFramePeriod);
    }
    void slotFilled() { extra_ += kFramePeriod; }
    // The rest of the slot, 1 to 83 ms, after behind() said no.
    uint32_t pause() const { return kFramePeriod - static_cast<uint32_t>(lag()); }

  private:
    int32_t lag() const { return static_cast<int32_t>(static_cast<uint32_t>(t1_ - t0_) - extra_); }
    Platform& platform_;
    uint32_t t0_ = 0, t1_ = 0, extra_ = 0;
};

// Blends `mark` (straight alpha) onto `frame` with its top-left corner at (left, top),
// clipped to the frame.
void DrawCursor(Picture& frame, const Picture& mark, int left, int top);

}  // namespace gs

#pragma once
// Waiting on the GUI thread without freezing it: its messages are handled all along.
#include <cstdint>
#include <functional>

#include "platform/Executor.h"
#include "platform/Platform.h"

namespace gs {

// Waits `ms` in 20 ms steps, handling the messages after each.
void SleepPumping(Platform& platform, uint32_t ms);

// Runs `work` on the pool and handles the messages until it is done; an exception from `work`
// is thrown again here (as is the pool's, when no worker can be had).
void RunWhilePumping(Platform& platform, Executor& pool, const std::function<void()>& work);

}  // namespace gs

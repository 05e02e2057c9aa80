#include "platform/Pump.h"

#include <atomic>
#include <exception>
#include <memory>

namespace gs {

void SleepPumping(Platform& platform, uint32_t ms) {
    for (uint32_t i = 0; i < ms / 20; ++i) {
        platform.sleep(20);
        platform.processMessages();
    }
}

void RunWhilePumping(Platform& platform, Executor& pool, const std::function<void()>& work) {
    // Shared with the task: it may outlive this call only by its last few instructions.
    struct Outcome {
        std::atomic<bool> done{false};
        std::exception_ptr failure;
    };
    auto outcome = std::make_shared<Outcome>();
    pool.post([outcome, &work] {
        try {
            work();
        } catch (...) {
            outcome->failure = std::current_exception();
        }
        outcome->done.store(true, std::memory_order_release);
    });
    while (!outcome->done.load(std::memory_order_acquire)) {
        platform.processMessages();
        platform.sleep(10);
    }
    if (outcome->failure) std::rethrow_exception(outcome->failure);
}

}  // namespace gs

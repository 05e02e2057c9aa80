#include "platform/Pump.h"

#include <atomic>
#include <exception>
#include <thread>

namespace gs {

void SleepPumping(Platform& platform, uint32_t ms) {
    for (uint32_t i = 0; i < ms / 20; ++i) {
        platform.sleep(20);
        platform.processMessages();
    }
}

void RunWhilePumping(Platform& platform, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true, std::memory_order_release);
    });
    while (!done.load(std::memory_order_acquire)) {
        platform.processMessages();
        platform.sleep(10);
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace gs

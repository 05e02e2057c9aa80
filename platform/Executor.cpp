#include "platform/Executor.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <system_error>

namespace gs {

namespace {
#ifndef NDEBUG
std::string Describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "not a std::exception";
    }
}
#endif
}  // namespace

Executor::~Executor() {
    {
        std::lock_guard lock(m_);
        stop_ = true;
    }
    cv_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void Executor::post(std::function<void()> task) {
    std::unique_lock lock(m_);
    tasks_.push_back(std::move(task));
    if (idle_ < tasks_.size() && threads_.size() < max_) {
        try {
            // The only place the program starts a thread.
            threads_.emplace_back([this, number = static_cast<unsigned>(threads_.size())] {
                if (threadStarted_) threadStarted_(number);
                run();
            });
        } catch (...) {
            if (threads_.empty()) {
                tasks_.pop_back();
                throw;
            }
            // The workers there are will get to it.
        }
    } else if (threads_.empty()) {
        tasks_.pop_back();
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "no worker thread may be started");
    }
    lock.unlock();
    cv_.notify_one();
}

void Executor::run() {
    std::unique_lock lock(m_);
    for (;;) {
        ++idle_;
        cv_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
        --idle_;
        if (tasks_.empty()) return;  // stopping, and nothing is left to run
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        try {
            task();
        } catch (...) {
            // A task reports its own failures; what escapes it must not end the program, but
            // is a fault of the task's, shown where a developer looks.
#ifndef NDEBUG
            std::fprintf(stderr, "Executor: a task let an error escape: %s\n",
                         Describe(std::current_exception()).c_str());
#endif
        }
        task = nullptr;
        lock.lock();
    }
}

void Executor::forEach(int count, unsigned helpers, const std::function<void(int)>& body) {
    if (count <= 0) return;
    // Shared with the helpers, which may begin after the work is done and then find none.
    struct Share {
        std::atomic<int> next{0};
        int count = 0, done = 0;
        const std::function<void(int)>* body = nullptr;
        std::exception_ptr failure;
        std::mutex m;
        std::condition_variable cv;
        void work() {
            for (int i; (i = next.fetch_add(1)) < count;) {
                std::exception_ptr failed;
                try {
                    (*body)(i);
                } catch (...) {
                    failed = std::current_exception();
                }
                std::lock_guard lock(m);
                if (failed && !failure) failure = failed;
                if (++done == count) cv.notify_all();
            }
        }
    };
    auto share = std::make_shared<Share>();
    share->count = count;
    share->body = &body;
    for (unsigned h = 0; h < helpers && h + 1 < static_cast<unsigned>(count); ++h) {
        try {
            post([share] { share->work(); });
        } catch (...) {
            // Fewer hands (no thread, no memory for the task): the caller does the rest. It
            // must not leave while a helper it queued may still call `body`.
            break;
        }
    }
    share->work();
    std::unique_lock lock(share->m);
    share->cv.wait(lock, [&] { return share->done == count; });
    if (share->failure) std::rethrow_exception(share->failure);
}

void Executor::setMaxThreads(unsigned maxThreads) {
    std::lock_guard lock(m_);
    max_ = maxThreads;
}

unsigned Executor::cores() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace gs

#pragma once
// The program's one pool of worker threads. wWinMain owns it and hands it to the services:
// the capture saver, the render queue and the OCR job run their work on it, and the deflate
// and the enlargement share their bands of rows out on it.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace gs {

class Executor {
  public:
    // Threads are started as work needs them (a task finds none idle), up to `maxThreads`,
    // and kept for later work: a long task (a render waits for its engine) never holds up
    // another.
    // `threadStarted` runs first thing on each new worker, with its number (to name it).
    explicit Executor(unsigned maxThreads = 8,
                      std::function<void(unsigned)> threadStarted = nullptr)
        : max_(maxThreads), threadStarted_(std::move(threadStarted)) {}
    // Runs the tasks already posted, then ends and joins every thread.
    ~Executor();
    Executor(const Executor&) = delete;
    Executor& operator=(const Executor&) = delete;

    // Runs `task` on a worker. Throws std::system_error when no worker runs and none can be
    // started; the task is then dropped.
    void post(std::function<void()> task);

    // body(i) for every i in [0, count), on the calling thread and on up to `helpers` workers
    // that join in; returns when all have run, rethrowing the first failure. The caller takes
    // its share too, so a busy pool (or one that cannot take a helper at all) only makes it
    // slower.
    void forEach(int count, unsigned helpers, const std::function<void(int)>& body);

    // Never more threads than this from now on (0: none; tests use it).
    void setMaxThreads(unsigned maxThreads);
    // How many pieces a job is worth cutting into: one per core.
    static unsigned cores();

  private:
    void run();

    std::mutex m_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::thread> threads_;
    unsigned idle_ = 0, max_;
    bool stop_ = false;
    std::function<void(unsigned)> threadStarted_;
};

}  // namespace gs

#include "recording/FrameWriter.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace gs {

namespace {
// How often a waiting recorder handles its messages.
constexpr std::chrono::milliseconds kLook{5};
}  // namespace

FrameWriter::FrameWriter(Executor* pool, WriteFrame write, CopyFrame copy, int width, int height,
                         int depth)
    : pool_(pool),
      write_(std::move(write)),
      copy_(std::move(copy)),
      width_(width),
      height_(height),
      pictures_(static_cast<size_t>(std::max(1, depth))),
      inFlight_(pictures_.size(), false) {}

FrameWriter::~FrameWriter() {
    std::unique_lock lock(m_);
    cv_.wait(lock, [this] { return !draining_; });
}

int FrameWriter::freePicture() const {
    const auto free = std::find(inFlight_.begin(), inFlight_.end(), false);
    return free == inFlight_.end() ? -1 : static_cast<int>(free - inFlight_.begin());
}

Picture& FrameWriter::picture(const std::function<void()>& pump) {
    std::unique_lock lock(m_);
    while (freePicture() < 0) {
        lock.unlock();
        pump();
        lock.lock();
        cv_.wait_for(lock, kLook, [this] { return freePicture() >= 0; });
    }
    current_ = freePicture();
    Picture& p = pictures_[static_cast<size_t>(current_)];
    // Made when first needed: a short recording of a large area holds no more than it used.
    if (p.empty()) p = Picture(width_, height_);
    return p;
}

void FrameWriter::write(std::wstring file) {
    last_ = file;
    queue(Task{current_, std::move(file), {}});
}

void FrameWriter::copyLast(std::wstring file) { queue(Task{-1, std::move(file), last_}); }

void FrameWriter::queue(Task task) {
    std::unique_lock lock(m_);
    if (task.picture >= 0) inFlight_[static_cast<size_t>(task.picture)] = true;
    tasks_.push_back(std::move(task));
    if (draining_) return;
    draining_ = true;
    lock.unlock();
    if (pool_) {
        try {
            pool_->post([this] { drain(); });
            return;
        } catch (...) {
            // No worker to be had: written here and now, as without a pool.
        }
    }
    drain();
}

void FrameWriter::drain() {
    std::unique_lock lock(m_);
    while (!tasks_.empty()) {
        Task task = std::move(tasks_.front());
        tasks_.pop_front();
        // After a failure nothing more is written: the disk is full or gone, and the frames
        // before it are all there.
        const bool skip = static_cast<bool>(failure_);
        lock.unlock();
        std::exception_ptr failed;
        if (!skip) try {
                run(task);
            } catch (...) {
                failed = std::current_exception();
            }
        lock.lock();
        if (failed && !failure_) failure_ = failed;
        if (task.picture >= 0) inFlight_[static_cast<size_t>(task.picture)] = false;
        cv_.notify_all();
    }
    draining_ = false;
    cv_.notify_all();
}

void FrameWriter::run(const Task& task) {
    if (task.picture >= 0)
        write_(task.file, pictures_[static_cast<size_t>(task.picture)]);
    else
        copy_(task.from, task.file);
}

void FrameWriter::check() {
    std::lock_guard lock(m_);
    if (failure_) std::rethrow_exception(failure_);
}

void FrameWriter::finish(const std::function<void()>& pump) {
    std::unique_lock lock(m_);
    while (draining_) {
        lock.unlock();
        pump();
        lock.lock();
        cv_.wait_for(lock, kLook, [this] { return !draining_; });
    }
    if (failure_) std::rethrow_exception(failure_);
}

}  // namespace gs

#pragma once
// The frames of a recording are written behind the recorder: while one is compressed and
// written on the pool (its deflate shared out in bands), the next is read from the screen. The
// files are written in the order they were handed in, and only a few frames are ever in
// flight: the recorder waits for a picture to read into when all of them still are.
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Executor.h"
#include "platform/Picture.h"

namespace gs {

class FrameWriter {
  public:
    // Writes one frame as a file; throws when it cannot.
    using WriteFrame = std::function<void(const std::wstring& file, const Picture& frame)>;
    // Copies a written frame's file to another name.
    using CopyFrame = std::function<void(const std::wstring& from, const std::wstring& to)>;

    // Frames of width x height, written on `pool` (on the calling thread without one), at most
    // `depth` of them read ahead of their writing.
    FrameWriter(Executor* pool, WriteFrame write, CopyFrame copy, int width, int height,
                int depth = 3);
    // Waits for the frames still being written.
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // The picture to read the next frame into, once one is free; `pump` runs between looks,
    // a few milliseconds apart (the recorder handles its messages there). Before the first
    // frame it is blank.
    Picture& picture(const std::function<void()>& pump);
    // The picture as `file`, written after every frame handed in before it.
    void write(std::wstring file);
    // The last frame handed in, again, as `file` (a slot that got no frame of its own).
    void copyLast(std::wstring file);
    bool anyWritten() const { return !last_.empty(); }
    // Throws the first write's failure, if there was one (the frames before it are written;
    // what came after it is dropped).
    void check();
    // Waits (running `pump` between looks) until every frame handed in is written, then
    // throws a failure as check() does.
    void finish(const std::function<void()>& pump);

  private:
    struct Task {
        int picture = -1;  // a picture to write, or -1: a copy of `from`
        std::wstring file, from;
    };
    int freePicture() const;  // with m_ held; -1 when all are in flight
    void queue(Task task);
    void drain();
    void run(const Task& task);

    Executor* pool_;
    WriteFrame write_;
    CopyFrame copy_;
    int width_, height_;
    std::mutex m_;
    std::condition_variable cv_;
    std::vector<Picture> pictures_;
    std::vector<bool> inFlight_;
    std::deque<Task> tasks_;
    int current_ = -1;   // the picture handed out by picture()
    std::wstring last_;  // the file of the last frame handed in
    bool draining_ = false;
    std::exception_ptr failure_;
};

}  // namespace gs

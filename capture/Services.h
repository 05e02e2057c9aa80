#pragma once
// The program's services. wWinMain makes them after the executor and before the windows, and
// they end after the windows, in the reverse order of these members: the render queue first
// (it drops the jobs not begun and stops waiting for an encoder under way, which finishes its
// video on its own), then the capture saver (it writes the captures still queued); the
// executor they run on outlives them.
#include "capture/CaptureSaver.h"
#include "jobs/VideoRender.h"
#include "platform/Executor.h"
#include "platform/Platform.h"

namespace gs {

struct Services {
    Services(Platform& platform, Executor& executor)
        : pool(executor), saver(executor), renders(platform, executor) {}
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    Executor& pool;
    CaptureSaver saver;
    RenderQueue renders;
};

}  // namespace gs

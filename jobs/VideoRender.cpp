#include "jobs/VideoRender.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "capture/CaptureFiles.h"
#include "tools/ExitCodes.h"

namespace gs {

std::atomic<int32_t> VideoRenderState{rsIdle};
std::atomic<int32_t> LastRenderOutcome{static_cast<int32_t>(RenderOutcome::Created)};
std::wstring LastVideoFile;
std::wstring VideoExtension;
int32_t VideoQScale = 0;

std::wstring CodecArguments(const std::wstring& e) {
    if (e == L"wmv") return L"-vcodec wmv2";
    if (e == L"mp4") return L"-vcodec mpeg4";
    if (e == L"flv") return L"-vcodec flv";
    if (e == L"webm") return L"-f webm -vcodec libvpx";
    return L"";
}

int32_t ClampQScale(int32_t q) { return q < 5 ? 5 : (q >= 40 ? 40 : q); }

RenderCommand BuildRenderCommand(const std::wstring& appDir, const std::wstring& stem,
                                 const std::wstring& extension, int32_t qscale) {
    RenderCommand c;
    c.encoder = appDir + ToolsFolder + L"\\ff.exe";
    c.output = appDir + VideoFolder + L"\\" + stem + L"." + extension;
    c.commandLine = c.encoder + L" -r 12 -f image2 -i \"" + appDir + TempVideoFolder +
                    L"\\%06d.png\" -y " + CodecArguments(extension) + L" -qscale " +
                    std::to_wstring(qscale) + L" -r 12 \"" + c.output + L"\"";
    return c;
}

void RenderVideo(Platform& platform, NativeWindow owner, RenderJob job) {
    VideoRenderState.store(rsRenderStarted, std::memory_order_release);
    RenderOutcome outcome = RenderOutcome::NotStarted;
    try {
        if (job.extension.empty()) job.extension = L"wmv";
        job.qscale = ClampQScale(job.qscale);
        const std::wstring stem = GetUniqueFileName(platform);
        const RenderCommand cmd = BuildRenderCommand(AppDir, stem, job.extension, job.qscale);
        LastVideoFile = cmd.output;
        platform.setClipboardText(owner, cmd.commandLine);
        // The full path as the program to run: a blank in AppDir cannot start another one.
        const std::optional<uint32_t> exit = platform.runAndWait(cmd.encoder, cmd.commandLine);
        if (exit && (*exit == tools::kNotFound || *exit == tools::kCannotStart)) {
            // ff.exe ran but found no engine it could start.
            outcome = RenderOutcome::NotStarted;
        } else if (exit) {
            const bool made = *exit == 0 && platform.fileSize(cmd.output) > 0;
            outcome = made ? RenderOutcome::Created : RenderOutcome::EncoderFailed;
        }
    } catch (...) {
        // Whatever happened, the state must move on; the outcome says it failed.
    }
    LastRenderOutcome.store(static_cast<int32_t>(outcome), std::memory_order_relaxed);
    VideoRenderState.store(rsRendered, std::memory_order_release);
}

namespace {

struct Queued {
    Platform* platform;
    NativeWindow owner;
    RenderJob job;
};

struct Queue {
    std::mutex m;
    std::condition_variable cv;
    std::deque<Queued> jobs;
    bool busy = false;
    bool started = false;

    void run() {
        for (;;) {
            Queued job;
            {
                std::unique_lock lock(m);
                cv.wait(lock, [&] { return !jobs.empty(); });
                job = jobs.front();
                jobs.pop_front();
                busy = true;
            }
            // The previous job's completion must be shown before this one begins.
            while (VideoRenderState.load(std::memory_order_acquire) == rsRendered)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            RenderVideo(*job.platform, job.owner, job.job);
            {
                std::lock_guard lock(m);
                busy = false;
            }
            cv.notify_all();
        }
    }
};

Queue& queue() {
    static Queue* q = new Queue;  // lives to the end: the worker may still be waiting at exit
    return *q;
}

}  // namespace

void StartRenderVideo(Platform& platform, NativeWindow owner, RenderJob job) {
    Queue& q = queue();
    std::lock_guard lock(q.m);
    q.jobs.push_back(Queued{&platform, owner, std::move(job)});
    if (!q.started) {
        q.started = true;
        std::thread([&q] { q.run(); }).detach();
    }
    q.cv.notify_all();
}

void WaitForRenderJobs() {
    Queue& q = queue();
    std::unique_lock lock(q.m);
    q.cv.wait(lock, [&] { return q.jobs.empty() && !q.busy; });
}

}  // namespace gs

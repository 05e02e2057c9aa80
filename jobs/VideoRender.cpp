#include "jobs/VideoRender.h"

#include <optional>
#include <utility>

#include "data/DataFolders.h"
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

void RenderVideo(Platform& platform, RenderJob job,
                 const std::function<void(const std::wstring&)>& toClipboard,
                 const std::function<bool()>& keepWaiting) {
    VideoRenderState.store(rsRenderStarted, std::memory_order_release);
    RenderOutcome outcome = RenderOutcome::NotStarted;
    try {
        if (job.extension.empty()) job.extension = L"wmv";
        job.qscale = ClampQScale(job.qscale);
        const std::wstring stem = GetUniqueFileName(platform);
        const RenderCommand cmd = BuildRenderCommand(AppDir, stem, job.extension, job.qscale);
        LastVideoFile = cmd.output;
        toClipboard(cmd.commandLine);
        // The full path as the program to run: a blank in AppDir cannot start another one.
        const std::optional<uint32_t> exit =
            platform.runAndWait(cmd.encoder, cmd.commandLine, keepWaiting);
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

RenderQueue::~RenderQueue() {
    std::unique_lock lock(m_);
    stop_ = true;  // an encoder under way is no longer waited for
    jobs_.clear();
    cv_.wait(lock, [&] { return !draining_; });
}

void RenderQueue::post() {
    if (draining_ || stop_) return;
    pool_.post([this] { drain(); });
    draining_ = true;
}

void RenderQueue::start(RenderJob job) {
    std::lock_guard lock(m_);
    jobs_.push_back(std::move(job));
    try {
        post();
    } catch (...) {
        jobs_.pop_back();
        throw;
    }
}

void RenderQueue::shown() {
    std::lock_guard lock(m_);
    cv_.notify_all();
    if (jobs_.empty()) return;
    try {
        post();
    } catch (...) {
        // No worker now: the jobs wait for the next start or completion.
    }
}

std::optional<std::wstring> RenderQueue::takeClipboardText() {
    std::lock_guard lock(m_);
    return std::exchange(clipboardText_, std::nullopt);
}

void RenderQueue::waitIdle() {
    std::unique_lock lock(m_);
    cv_.wait(lock, [&] { return jobs_.empty() && !busy_; });
}

void RenderQueue::drain() {
    std::unique_lock lock(m_);
    // A job begins only once the previous one's completion was shown; until then shown() posts
    // the next drain, and no worker waits here.
    while (!stop_ && !jobs_.empty() &&
           VideoRenderState.load(std::memory_order_acquire) != rsRendered) {
        RenderJob next = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        RenderVideo(
            platform_, std::move(next),
            [this](const std::wstring& line) {
                std::lock_guard hold(m_);
                clipboardText_ = line;
            },
            [this] { return !stop_; });
        lock.lock();
        busy_ = false;
        cv_.notify_all();
    }
    draining_ = false;
    cv_.notify_all();
}

}  // namespace gs

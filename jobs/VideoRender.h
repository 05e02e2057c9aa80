#pragma once
// Turning the recorded frames into a video with the external encoder, on the pool.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Executor.h"
#include "platform/Platform.h"

namespace gs {

enum RenderState : int32_t {
    rsIdle = 0,
    rsRecording = 10,
    rsRenderStarted = 20,
    rsRendering = 30,
    rsRendered = 40,
};

// How the last finished job went; published together with rsRendered.
enum class RenderOutcome : int32_t { Created, NotStarted, EncoderFailed };

extern std::atomic<int32_t> VideoRenderState;
extern std::atomic<int32_t> LastRenderOutcome;
// Written by the job before it stores rsRendered (release); read by the GUI after it loads
// rsRendered (acquire). A next job starts only once the GUI has taken it.
extern std::wstring LastVideoFile;
// Set on the GUI thread before a job is queued; each job works on its own copy.
extern std::wstring VideoExtension;
extern int32_t VideoQScale;

// The encoder's codec options for a file extension ("" for MOV and unknown ones).
std::wstring CodecArguments(const std::wstring& extension);
int32_t ClampQScale(int32_t q);

struct RenderCommand {
    std::wstring encoder;      // AppDir + ToolsFolder + "\ff.exe"
    std::wstring commandLine;  // exactly as handed to the encoder and put on the clipboard
    std::wstring output;
};
RenderCommand BuildRenderCommand(const std::wstring& appDir, const std::wstring& stem,
                                 const std::wstring& extension, int32_t qscale);

struct RenderJob {
    std::wstring extension;
    int32_t qscale;
};
// The job the video options ask for, as the GUI thread last set them.
inline RenderJob ChosenRenderJob() { return RenderJob{VideoExtension, VideoQScale}; }

// Runs one job to its end on the calling thread: the state machine, the encoder. The command
// line goes to `toClipboard` (the GUI thread owns the clipboard); the encoder is waited for
// while `keepWaiting` says so. Never throws.
void RenderVideo(Platform& platform, RenderJob job,
                 const std::function<void(const std::wstring&)>& toClipboard,
                 const std::function<bool()>& keepWaiting);

// Told when a job could not be queued at all.
inline constexpr const wchar_t* kRenderNotStarted =
    L"Video was not rendered. Its render job could not be started.";

// Renders jobs one after another on the pool: a job begins only after the previous one's
// completion has been shown (the state left rsRendered, which shown() tells); no worker waits
// for that meanwhile. At its end the queue drops the jobs not begun and stops waiting for an
// encoder under way, which finishes its video on its own: Exit never waits for a render.
class RenderQueue {
  public:
    RenderQueue(Platform& platform, Executor& pool) : platform_(platform), pool_(pool) {}
    ~RenderQueue();
    RenderQueue(const RenderQueue&) = delete;
    RenderQueue& operator=(const RenderQueue&) = delete;

    // Throws when no worker can be had; the job is then not queued, and a later one tries
    // again.
    void start(RenderJob job);
    // The GUI took a job's completion (rsRendered to rsIdle): the next may begin.
    void shown();
    // The command line of the job that began last, once, for the GUI thread to put on the
    // clipboard (the clipboard's owner window lives there).
    std::optional<std::wstring> takeClipboardText();
    // Waits for the queued jobs. Each job's end must be taken by the tick (DetectCreatedVideo)
    // before the next begins, so the GUI must go on polling while more than one is queued.
    void waitIdle();

  private:
    void post();  // with m_ held
    void drain();

    Platform& platform_;
    Executor& pool_;
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<RenderJob> jobs_;
    std::optional<std::wstring> clipboardText_;
    bool draining_ = false, busy_ = false;
    std::atomic<bool> stop_{false};
};

}  // namespace gs

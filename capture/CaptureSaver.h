#pragma once
// A capture's files are written behind the user's back: the preview comes first, the PNG and
// the JPG follow on a worker thread, in the order the captures were taken, while the GUI thread
// puts the capture on the clipboard.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Executor.h"
#include "platform/Picture.h"

namespace gs {

// Which of a capture's files were written: the picture is its PNG, or a BMP when the PNG
// failed; the JPG is tried on its own.
struct SavedFiles {
    std::wstring stem;         // full path without the extension
    std::wstring pictureFile;  // the PNG, the BMP, or (neither written) the JPG; else empty
    bool picture = false;
    bool bmp = false;
    bool jpeg = false;
    bool onClipboard = true;  // as the capture found the clipboard
};

// Writes `stem`.png (or .bmp) and `stem`.jpg of a picture (the PNG's compression shared out on
// the pool, when given). Never throws.
SavedFiles SaveCaptureFiles(const Picture& shot, const std::wstring& stem,
                            Executor* pool = nullptr);

// What the user is told after a capture, if anything: files that could not be written in
// `folder`, and a clipboard another program held.
std::optional<std::wstring> CaptureSaveReport(const SavedFiles& saved, const std::wstring& folder);

// The saves run one after another on the pool; the saver is one of the program's services
// (Services.h), made by wWinMain and outliving the windows.
class CaptureSaver {
  public:
    using SaveFiles = std::function<SavedFiles(const Picture&, const std::wstring&, Executor*)>;
    // `save` writes one capture's files (tests put a failing one in).
    explicit CaptureSaver(Executor& pool, SaveFiles save = SaveCaptureFiles)
        : pool_(pool), save_(std::move(save)) {}
    ~CaptureSaver();  // waits for whatever is still queued: nothing is lost at exit
    CaptureSaver(const CaptureSaver&) = delete;
    CaptureSaver& operator=(const CaptureSaver&) = delete;

    void save(std::shared_ptr<const Picture> shot, std::wstring stem);
    // The capture saved under `stem` could not go to the clipboard: its report says so.
    void missedClipboard(const std::wstring& stem);
    // The saves finished since the last call, without waiting.
    std::vector<SavedFiles> takeDone();
    // Waits until every queued save is written, then the same.
    std::vector<SavedFiles> finish();
    // The bytes of `stem`.png once the saves queued by then are written (nothing when it was
    // not); usable from the GUI thread at any time, even after this saver is gone.
    std::function<std::optional<std::string>()> pngOf(const std::wstring& stem);
    // Reads the promised PNGs the clipboard still holds into memory while their files are
    // still there, so that they can be made after the files are deleted (the folders cleared).
    void keepPromisedPng();

  private:
    struct Job {
        std::shared_ptr<const Picture> shot;
        std::wstring stem;
    };
    // Shared with the worker and with the PNG sources handed out.
    struct State {
        std::mutex m;
        std::condition_variable cv;
        std::deque<Job> queue;
        std::vector<SavedFiles> done;
        std::vector<std::wstring> missedClipboard;  // stems, until their save is taken
        bool busy = false;                          // a drain of the queue is posted or running
        void waitIdle(std::unique_lock<std::mutex>& lock) {
            cv.wait(lock, [this] { return queue.empty() && !busy; });
        }
        void waitIdle() {
            std::unique_lock lock(m);
            waitIdle(lock);
        }
    };
    static void drain(State& s, Executor& pool, const SaveFiles& save);
    std::vector<SavedFiles> takeDoneLocked();

    struct Promise {
        std::wstring path;
        std::mutex m;
        std::optional<std::string> kept;
    };
    std::shared_ptr<State> s_ = std::make_shared<State>();
    // The promises handed out that are still held: only by the clipboard (one that a busy
    // clipboard refused is gone at once, and never counts for the capture it still holds).
    std::vector<std::weak_ptr<Promise>> promises_;
    Executor& pool_;
    SaveFiles save_;
};

}  // namespace gs

#include "capture/CaptureSaver.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "imaging/ImageFiles.h"
#include "platform/FileIo.h"

namespace gs {

namespace {
template <class Write>
bool attempt(Write&& write) {
    try {
        write();
        return true;
    } catch (...) {
        return false;
    }
}
}  // namespace

SavedFiles SaveCaptureFiles(const Picture& shot, const std::wstring& stem, Executor* pool) {
    SavedFiles saved;
    saved.stem = stem;
    // One after the other: the PNG's bands already keep the cores busy.
    if (attempt([&] { imaging::WritePng(stem + L".png", shot, {7, 65535, false, pool}); })) {
        saved.picture = true;
        saved.pictureFile = stem + L".png";
    } else if (attempt([&] { imaging::WriteBmp(stem + L".bmp", shot); })) {
        // A BMP of the capture as it came from the screen.
        saved.picture = saved.bmp = true;
        saved.pictureFile = stem + L".bmp";
    }
    saved.jpeg = attempt([&] { imaging::WriteJpeg(stem + L".jpg", shot, 90); });
    if (!saved.picture && saved.jpeg) saved.pictureFile = stem + L".jpg";  // for the editor
    return saved;
}

std::optional<std::wstring> CaptureSaveReport(const SavedFiles& saved, const std::wstring& folder) {
    if (!saved.picture && !saved.jpeg)
        return L"The capture could not be saved in \"" + folder + L"\"" +
               (saved.onClipboard ? L". It is on the clipboard." : L" nor put on the clipboard.");
    const std::wstring busy = saved.onClipboard ? L"" : L" Another program held the clipboard.";
    if (!saved.jpeg)
        return std::wstring(L"The capture was saved as ") + (saved.bmp ? L"BMP" : L"PNG") +
               L" but could not be saved as JPG in \"" + folder + L"\"." + busy;
    if (!saved.picture)
        return L"The capture was saved as JPG but could not be saved as PNG in \"" + folder +
               L"\"." + busy;
    if (!saved.onClipboard)
        return L"The capture was saved, but another program held the clipboard.";
    return std::nullopt;
}

CaptureSaver::~CaptureSaver() { s_->waitIdle(); }

void CaptureSaver::save(std::shared_ptr<const Picture> shot, std::wstring stem) {
    {
        std::lock_guard lock(s_->m);
        s_->queue.push_back(Job{std::move(shot), std::move(stem)});
        if (s_->busy) return;  // the drain under way takes it
        s_->busy = true;
    }
    try {
        pool_.post([s = s_, &pool = pool_, &save = save_] { drain(*s, pool, save); });
    } catch (...) {
        drain(*s_, pool_, save_);  // no worker to be had: written now, not lost
    }
}

void CaptureSaver::missedClipboard(const std::wstring& stem) {
    std::lock_guard lock(s_->m);
    s_->missedClipboard.push_back(stem);
}

void CaptureSaver::drain(State& s, Executor& pool, const SaveFiles& save) {
    std::unique_lock lock(s.m);
    // However this ends, the saver is idle afterwards and its waiters (the edit icon, Clear
    // All Folders, a paste, Exit) hear of it; what could not be saved is not waited for.
    struct Idle {
        State& s;
        std::unique_lock<std::mutex>& lock;
        const int unwinding = std::uncaught_exceptions();
        ~Idle() {
            if (!lock.owns_lock()) lock.lock();
            if (std::uncaught_exceptions() > unwinding) s.queue.clear();
            s.busy = false;
            s.cv.notify_all();
        }
    } idle{s, lock};
    while (!s.queue.empty()) {
        Job job = std::move(s.queue.front());
        s.queue.pop_front();
        lock.unlock();
        SavedFiles saved;
        try {
            saved = save(*job.shot, job.stem, &pool);
        } catch (...) {
            saved.stem = job.stem;  // nothing written: the user is told
        }
        job.shot.reset();
        lock.lock();
        s.done.push_back(std::move(saved));
    }
}

std::vector<SavedFiles> CaptureSaver::takeDoneLocked() {
    std::vector<SavedFiles> done = std::exchange(s_->done, {});
    auto& missed = s_->missedClipboard;
    for (SavedFiles& saved : done) {
        const auto it = std::find(missed.begin(), missed.end(), saved.stem);
        if (it == missed.end()) continue;
        saved.onClipboard = false;
        missed.erase(it);
    }
    return done;
}

std::vector<SavedFiles> CaptureSaver::takeDone() {
    std::lock_guard lock(s_->m);
    return takeDoneLocked();
}

std::vector<SavedFiles> CaptureSaver::finish() {
    std::unique_lock lock(s_->m);
    s_->waitIdle(lock);
    return takeDoneLocked();
}

std::function<std::optional<std::string>()> CaptureSaver::pngOf(const std::wstring& stem) {
    auto promise = std::make_shared<Promise>();
    promise->path = stem + L".png";
    std::erase_if(promises_, [](const std::weak_ptr<Promise>& p) { return p.expired(); });
    promises_.push_back(promise);
    return [s = s_, promise]() -> std::optional<std::string> {
        s->waitIdle();
        std::lock_guard lock(promise->m);
        return promise->kept ? promise->kept : ReadWholeFile(promise->path);
    };
}

void CaptureSaver::keepPromisedPng() {
    for (const std::weak_ptr<Promise>& held : promises_)
        if (auto promise = held.lock()) {
            s_->waitIdle();
            std::lock_guard lock(promise->m);
            if (!promise->kept) promise->kept = ReadWholeFile(promise->path);
        }
}

}  // namespace gs

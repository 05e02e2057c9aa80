#include "capture/CaptureSaver.h"

#include <future>
#include <utility>

#include "imaging/ImageFiles.h"

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

SavedFiles SaveCaptureFiles(const Picture& shot, const std::wstring& stem) {
    SavedFiles saved;
    saved.stem = stem;
    auto writeJpeg = [&] { return attempt([&] { imaging::WriteJpeg(stem + L".jpg", shot, 90); }); };
    // The JPG beside the PNG (whose bands keep several cores busy only for large pictures);
    // one after the other if no thread can be had.
    std::future<bool> jpeg;
    try {
        jpeg = std::async(std::launch::async, writeJpeg);
    } catch (...) {
    }
    if (attempt([&] { imaging::WritePng(stem + L".png", shot, {7, 65535}); })) {
        saved.picture = true;
        saved.pictureFile = stem + L".png";
    } else if (attempt([&] { imaging::WriteBmp(stem + L".bmp", shot); })) {
        // A BMP of the capture as it came from the screen.
        saved.picture = saved.bmp = true;
        saved.pictureFile = stem + L".bmp";
    }
    saved.jpeg = jpeg.valid() ? jpeg.get() : writeJpeg();
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

CaptureSaver::~CaptureSaver() {
    {
        std::lock_guard lock(m_);
        stop_ = true;
    }
    cv_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void CaptureSaver::save(std::shared_ptr<const Picture> shot, std::wstring stem, bool onClipboard) {
    {
        std::lock_guard lock(m_);
        queue_.push_back(Job{std::move(shot), std::move(stem), onClipboard});
        if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
    }
    cv_.notify_all();
}

void CaptureSaver::run() {
    std::unique_lock lock(m_);
    for (;;) {
        cv_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping, and everything is written
        Job job = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        SavedFiles saved = SaveCaptureFiles(*job.shot, job.stem);
        saved.onClipboard = job.onClipboard;
        job.shot.reset();
        lock.lock();
        done_.push_back(std::move(saved));
        busy_ = false;
        cv_.notify_all();
    }
}

std::vector<SavedFiles> CaptureSaver::takeDone() {
    std::lock_guard lock(m_);
    return std::exchange(done_, {});
}

std::vector<SavedFiles> CaptureSaver::finish() {
    std::unique_lock lock(m_);
    cv_.wait(lock, [this] { return queue_.empty() && !busy_; });
    return std::exchange(done_, {});
}

}  // namespace gs

// The recording panel, its countdown, and the two recorders (12 fps video and slow motion).
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "data/DataFolders.h"
#include "imaging/ImageFiles.h"
#include "jobs/VideoRender.h"
#include "platform/Pump.h"
#include "recording/ClipForm.h"
#include "recording/FrameTiming.h"
#include "ui/ErrorReport.h"

namespace gs {

namespace {
// Ends a recorder with the reason the user is told.
struct RecordingStopped {
    std::wstring why;
};
}  // namespace

void TClipForm::ShowRecording(bool aIsSlowMotion) {
    positionshapes();
    const int w = Width(), h = Height();
    const int minW = minRecordingWidth(), minH = minRecordingHeight();
    if (w < minW || h < minH) {
        platform_.messageBox(handle(),
                             L"If you want to record video then you have to define larger "
                             L"rectangle.Resolution width x height must be higher than " +
                                 std::to_wstring(minW) + L" x " + std::to_wstring(minH) + L".",
                             ui::ApplicationTitle(platform_), kMbOk);
        return;
    }
    const Rect panel = Image1->bounds();
    setRing(&panel);
    setVisible(true);
    isShowingRecording = true;
    isSlowMotion = aIsSlowMotion;
}

void TClipForm::CancelbtnClick() {
    isShowingRecording = false;
    HideClipForm();
}

void TClipForm::gosleep(int miliseconds) {
    if (miliseconds > 0) SleepPumping(platform_, static_cast<uint32_t>(miliseconds));
}

void TClipForm::countdownStep(const wchar_t* text, int ms) {
    lbl4->setCaption(text);
    const Rect r = Image1->bounds();
    lbl4->setBounds(r.Left, r.Top, r.width(), r.height());
    lbl4->setVisible(true);
    platform_.processMessages();
    gosleep(ms);
}

void TClipForm::RecordingbtnClick() {
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{lbl1, lbl2, lbl3, Recordingbtn, Cancelbtn})
        c->setVisible(false);
    countdownStep(L"Wait", 500);
    if (!abandoned_) {
        DeleteFolderFiles(platform_, AppDir + SlowMotionFolder + L"\\*.*");
        DeleteFolderFiles(platform_, AppDir + TempVideoFolder + L"\\*.*");
    }
    for (const wchar_t* count : {L"3", L"2", L"1"})
        if (!abandoned_) countdownStep(count, 1000);
    if (abandoned_) {
        isShowingRecording = false;
        HideClipForm();
        return;
    }
    Rect panel = Image1->bounds();
    panel =
        Rect{Left() + panel.Left, Top() + panel.Top, Left() + panel.Right, Top() + panel.Bottom};
    Picture covered;
    const bool seen = platform_.copyScreen(panel, covered);
    lbl4->setVisible(false);
    ShowClipForm();
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{lbl1, lbl2, lbl3, Recordingbtn, Cancelbtn})
        c->setVisible(true);
    if (seen) waitUntilUncovered(panel, covered);
    if (isSlowMotion)
        RecordSlowMotion();
    else
        RecordVideo();
}

// Taking the panel out of the window's region leaves the screen under it to the windows below,
// which repaint it at their own pace (another process's thread, the compositor's next frame):
// a read before that would put the panel into the first frame. So the screen is read once what
// it covered has changed and holds still, or after a bounded wait (a screen that keeps moving).
void TClipForm::waitUntilUncovered(const Rect& panel, const Picture& covered) {
    const uint32_t start = platform_.tickCount();
    Picture last = covered, now;
    while (platform_.tickCount() - start < kUncoverWaitMs && !abandoned_) {
        platform_.flushComposition();
        platform_.processMessages();
        if (!platform_.copyScreen(panel, now)) return;
        if (now.pixels != covered.pixels && now.pixels == last.pixels) return;
        std::swap(last, now);
        platform_.sleep(10);
    }
}

void TClipForm::startRecorder() {
    hotkey = platform_.globalAddAtom(L"HotkeyF10");
    platform_.registerHotKey(handle(), hotkey, 0, kVkF10);
    isRecording = true;
}

void TClipForm::endRecorder() {
    isRecording = false;
    isShowingRecording = false;
    platform_.unregisterHotKey(handle(), hotkey);
    platform_.globalDeleteAtom(static_cast<uint16_t>(hotkey));
}

void TClipForm::WMHotKey(int id) {
    if (id == hotkey) StopRecording();
}

std::unique_ptr<Platform::ScreenGrabber> TClipForm::grabberForClipRect() {
    NormalizeCliprect();
    auto grabber = platform_.screenGrabber(ClipRect.width(), ClipRect.height());
    if (!grabber) throw RecordingStopped{L"Recording stopped: the screen could not be read."};
    return grabber;
}

FrameWriter TClipForm::frameWriter() {
    Executor* pool = framePool;
    FrameWriter::WriteFrame write = writeFrameFile;
    if (!write)
        write = [pool](const std::wstring& file, const Picture& frame) {
            imaging::WritePng(file, frame, {1, 65535, false, pool});
        };
    return FrameWriter(
        pool, std::move(write),
        [this](const std::wstring& from, const std::wstring& to) { platform_.copyFile(from, to); },
        ClipRect.width(), ClipRect.height());
}

void TClipForm::writingFrames(const std::wstring& folder, const std::function<void()>& step) {
    try {
        step();
    } catch (const RecordingStopped&) {
        throw;
    } catch (...) {
        throw RecordingStopped{L"Recording stopped: a frame could not be saved in \"" + folder +
                               L"\"."};
    }
}

// A screen that cannot be read for a moment (the secure desktop, a display mode change) does
// not end a recording: the slot gets a copy of the last good frame (a blank one before the
// first) and the video keeps its length.
void TClipForm::recordVideoFrames() {
    auto grabber = grabberForClipRect();
    const std::wstring folder = AppDir + TempVideoFolder;
    FrameWriter writer = frameWriter();
    // While it waits for the writer, the recorder handles its messages (F10, the tray).
    const auto wait = [this] { platform_.processMessages(); };
    FrameClock clock(platform_);
    int index = 0;
    capturedFrames = 0;
    writingFrames(folder, [&] {
        while (isRecording && index < videoFrameLimit) {
            clock.frameStarts();
            writer.check();  // a frame that could not be written ends the recording
            Picture& frame = writer.picture(wait);
            const std::wstring file = FrameFileName(folder, index);
            if (grabber->grab(Point{ClipRect.Left, ClipRect.Top}, frame)) {
                ++capturedFrames;
                const Point cursor = platform_.cursorPos();
                const bool down =
                    platform_.asyncKeyState(kVkLButton) || platform_.asyncKeyState(kVkRButton);
                const ui::Image* marker = down ? CursorMouseDownImage : CursorImage;
                const Rect m = CursorImage->bounds();
                DrawCursor(frame, marker->picture(), cursor.x - ClipRect.Left - m.width() / 2,
                           cursor.y - ClipRect.Top - m.height() / 2);
                writer.write(file);
            } else if (writer.anyWritten()) {
                writer.copyLast(file);
            } else {
                writer.write(file);  // still blank
            }
            // Slots the capture overran get copies of this frame, so real time is kept.
            bool behind = clock.behind();
            while (behind && index + 1 < videoFrameLimit) {
                ++index;
                writer.copyLast(FrameFileName(folder, index));
                clock.slotFilled();
                behind = clock.behind();
            }
            if (behind) break;  // the index limit: the recording ends here
            platform_.sleep(clock.pause());
            ++index;
            platform_.processMessages();
        }
        writer.finish(wait);
    });
}

void TClipForm::runRecorder(const std::function<void()>& body) {
    stoppedBecause.clear();
    try {
        body();
    } catch (const RecordingStopped& stop) {
        stoppedBecause = stop.why;
    } catch (...) {
        stoppedBecause = L"Recording stopped: it failed unexpectedly.";
    }
}

void TClipForm::RecordVideo() {
    startRecorder();
    VideoRenderState.store(rsRecording, std::memory_order_release);
    bool queued = false;
    runRecorder([&] {
        recordVideoFrames();
        if (abandoned_) return;  // Exit: the frames stay on disk, no render after the program
        try {
            if (!StartRenderVideo) throw std::logic_error("no render queue");
            StartRenderVideo();
            queued = true;
        } catch (...) {
            throw RecordingStopped{kRenderNotStarted};
        }
    });
    // A recording that ended without its job must not leave the state at rsRecording, which
    // would refuse every later recording; a state some job has moved on since stays its own.
    if (!queued) {
        int32_t recording = rsRecording;
        VideoRenderState.compare_exchange_strong(recording, rsIdle, std::memory_order_acq_rel);
    }
    endRecorder();
}

void TClipForm::RecordSlowMotion() {
    startRecorder();
    runRecorder([&] {
        auto grabber = grabberForClipRect();
        const std::wstring folder = AppDir + SlowMotionFolder;
        FrameWriter writer = frameWriter();
        // While it waits for the writer, the recorder handles its messages (F10, the tray).
        const auto wait = [this] { platform_.processMessages(); };
        writingFrames(folder, [&] {
            for (int index = 0; isRecording && index < kMaxSlowMotionFrames; ++index) {
                writer.check();
                Picture& frame = writer.picture(wait);
                const std::wstring file = FrameFileName(folder, index);
                // A failed read keeps the last frame.
                if (grabber->grab(Point{ClipRect.Left, ClipRect.Top}, frame) ||
                    !writer.anyWritten())
                    writer.write(file);
                else
                    writer.copyLast(file);
                platform_.sleep(5);
                platform_.processMessages();
            }
            writer.finish(wait);
        });
        if (!abandoned_)
            platform_.shellExecute(handle(), L"open", AppDir + SlowMotionFolder + L"\\", L"", L"",
                                   kSwShow);
    });
    endRecorder();
}

}  // namespace gs

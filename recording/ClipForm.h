#pragma once
// The selection-frame window: a blinking two-pixel frame around a screen rectangle, with a
// small control panel in its corner while a recording is set up.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/Types.h"
#include "recording/FrameTiming.h"
#include "recording/FrameWriter.h"
#include "ui/Form.h"

namespace gs {

class TClipForm : public ui::Form {
  public:
    TClipForm(Platform& platform, ui::Backend& backend);

    ui::Timer* Timer1 = nullptr;
    ui::SpeedButton* Recordingbtn = nullptr;
    ui::SpeedButton* Cancelbtn = nullptr;
    ui::Image* Image1 = nullptr;
    ui::Label* lbl1 = nullptr;
    ui::Label* lbl2 = nullptr;
    ui::Label* lbl3 = nullptr;
    ui::Label* lbl4 = nullptr;
    ui::Shape* shape1 = nullptr;
    ui::Shape* Shape2 = nullptr;
    ui::Shape* Shape3 = nullptr;
    ui::Shape* Shape4 = nullptr;
    ui::Image* CursorImage = nullptr;
    ui::Image* CursorMouseDownImage = nullptr;

    Rect ClipRect{};
    std::uintptr_t ClipRgn = 0;
    bool isShowingRecording = false;
    bool isRecording = false;
    bool isSlowMotion = false;
    int hotkey = 0;
    // Frames the last video recording captured (the rest of its files are copies).
    int capturedFrames = 0;
    // The highest frame index is one below this (tests lower it).
    int videoFrameLimit = kMaxVideoFrames;
    // Why the last recording ended early; the main window's tick tells the user and clears it.
    std::wstring stoppedBecause;
    // Queues the recorded frames' render job; throws when it cannot be started.
    std::function<void()> StartRenderVideo;
    // Where frames are compressed and written while the next ones are read (the program's
    // pool); without one, each frame is written before the next is read.
    Executor* framePool = nullptr;
    // How a frame becomes its file: a PNG at level 1 (speed before size: one is written every
    // 83 ms), its deflate shared out on the frame pool. Throws when it cannot be written.
    FrameWriter::WriteFrame writeFrameFile;

    void NormalizeCliprect();
    void positionshapes();
    void ShowClipForm();
    void HideClipForm();
    void Timer1Timer();
    // Clears the recorder's running flag, which ends a recording under way.
    void StopRecording() { isRecording = false; }
    // The program is ending: a recording, its countdown or its first-frame wait stops as F10
    // stops it (the frames on disk stay), and nothing starts after it (no render, no folder).
    void Abandon() {
        abandoned_ = true;
        StopRecording();
    }

    // The recording panel and the recorders; they run inside the button's click and pump
    // messages between their steps.
    void ShowRecording(bool aIsSlowMotion);
    void CancelbtnClick();
    void RecordingbtnClick();
    void gosleep(int miliseconds);
    void RecordVideo();
    void RecordSlowMotion();
    void WMHotKey(int id);

    // The smallest frame window a recording takes: its control panel must fit inside.
    int minRecordingWidth() const { return Scaled(160); }
    int minRecordingHeight() const { return Scaled(120); }

  protected:
    void applyDpi() override;

  private:
    static constexpr int kRing = 2;  // the frame's width in physical pixels
    static constexpr uint32_t kUncoverWaitMs = 500;
    void buildLayout();
    // The window's region: the frame's ring, and the control panel when given.
    void setRing(const Rect* panel);
    void countdownStep(const wchar_t* text, int ms);
    void waitUntilUncovered(const Rect& panel, const Picture& covered);
    void startRecorder();
    void endRecorder();
    void recordVideoFrames();
    std::unique_ptr<Platform::ScreenGrabber> grabberForClipRect();
    FrameWriter frameWriter();
    // Runs `step` of a recorder, telling a frame that could not be written as the reason.
    void writingFrames(const std::wstring& folder, const std::function<void()>& step);
    void runRecorder(const std::function<void()>& body);
    Platform& platform_;
    bool abandoned_ = false;
};

}  // namespace gs

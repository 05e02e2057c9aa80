#pragma once
// The selection-frame window: a blinking two-pixel frame around a screen rectangle, with a
// small control panel in its corner while a recording is set up.
#include <cstdint>

#include "platform/Platform.h"
#include "platform/Types.h"
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

    void NormalizeCliprect();
    void positionshapes();
    void ShowClipForm();
    void HideClipForm();
    void Timer1Timer();
    // Clears the recorder's running flag, which ends a recording under way.
    void StopRecording() { isRecording = false; }

private:
    void buildLayout();
    Platform& platform_;
};

}  // namespace gs

#pragma once
// The selection-frame window: outlines a screen rectangle; the recorders use it too.
#include "platform/Platform.h"
#include "platform/Types.h"
#include "ui/Form.h"

namespace gs {

class TClipForm : public ui::Form {
public:
    TClipForm(Platform& platform, ui::Backend& backend);

    Rect ClipRect{};
    bool isShowingRecording = false;
    bool isRecording = false;
    bool isSlowMotion = false;
    int hotkey = 0;

    // Clears the recorder's running flag, which ends a recording under way.
    void StopRecording() { isRecording = false; }

private:
    Platform& platform_;
};

}  // namespace gs

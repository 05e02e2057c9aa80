// The ALT selection and the screen capture it ends in.
#include <algorithm>

#include "capture/Form1.h"
#include "capture/PreviewModel.h"
#include "data/DataFolders.h"
#include "recording/ClipForm.h"

namespace gs {

void TForm1::selectionStep() {
    if (platform_.asyncKeyState(kVkMenu)) {
        if (StartPoint.x == -1) {
            StartPoint = platform_.cursorPos();
            StopPoint = StartPoint;
            HoldingPositionSince = timecounter;
            altMasked_ = false;
        }
        NewCursorPoint = platform_.cursorPos();
        ClipForm->ClipRect = Rect{StartPoint.x, StartPoint.y, NewCursorPoint.x, NewCursorPoint.y};
        // A move restarts the rest only until the frame is due; after that it follows the cursor.
        if (NewCursorPoint != OldCursorPoint && timecounter - HoldingPositionSince <= 0.4)
            HoldingPositionSince = timecounter;
        OldCursorPoint = NewCursorPoint;
        if (timecounter - HoldingPositionSince > 0.4) {
            // From here ALT is our gesture, not the user's: its release alone would open the
            // menu of the program that has the keyboard, and the next key typed would go there.
            // A failed send leaves the capture as it is.
            if (!altMasked_) {
                altMasked_ = true;
                platform_.maskAltRelease();
            }
            ClipForm->ShowClipForm();
        }
        return;
    }
    if (StartPoint.x != -1 && ClipForm->Visible()) {
        ClipForm->HideClipForm();
        StopPoint = platform_.cursorPos();
        if (getscreen()) counter = kCounterShow;
    }
    StartPoint = Point{-1, -1};
    ClipForm->HideClipForm();
}

bool TForm1::getscreen() {
    const Rect area{std::min(StartPoint.x, StopPoint.x), std::min(StartPoint.y, StopPoint.y),
                    std::max(StartPoint.x, StopPoint.x), std::max(StartPoint.y, StopPoint.y)};
    if (area.width() < 5 || area.height() < 5) return false;
    try {
        Picture copy;
        if (!platform_.copyScreen(area, copy)) return false;
        const auto shot = std::make_shared<const Picture>(std::move(copy));
        const std::wstring stem = AppDir + ImagesFolder + L"\\" + GetUniqueFileName(platform_);
        // The preview first, the files next (their worker starts on them at once), the clipboard
        // last: it is the slowest of the three on the GUI thread. A clipboard held by another
        // program must not cost the user the capture: it still goes to its files and the
        // preview, and the user is told where it did not go.
        Image1->setPicture(fitPreview(*shot));
        BringControlToFront(*Image1);
        LastCapturedScreen = shot;
        SaveLastCapturedScreen(shot, stem);
        if (!platform_.setClipboardBitmap(*shot, saver_.pngOf(stem))) saver_.missedClipboard(stem);
        return true;
    } catch (...) {
        // What was done before the failure stays done; the capture is abandoned quietly.
        return false;
    }
}

Picture TForm1::fitBitmapToRectangle(const Picture& source, int aWidth, int aHeight) {
    Picture result(aWidth, aHeight, 0xFF000000u);
    if (source.empty()) return result;
    platform_.stretchHalftone(source, result,
                              PreviewPlacement(source.width, source.height, aWidth, aHeight));
    return result;
}

}  // namespace gs

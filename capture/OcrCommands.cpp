// "Convert to text": enlarge the last capture, write it for the OCR program, start it; the
// tick then picks up its text file once it is complete.
#include <memory>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "jobs/OcrJob.h"
#include "platform/Pump.h"

namespace gs {

void TForm1::ConvertToTextClick() {
    // A click while the picture is being made (handled inside its pumping) is not lost: one
    // more conversion follows, of the capture and language as they are then.
    if (ocrRunning_) {
        ocrAgain_ = true;
        return;
    }
    ocrRunning_ = true;
    do {
        ocrAgain_ = false;
        convertToTextOnce();
    } while (ocrAgain_ && !exiting_);
    ocrRunning_ = false;
}

void TForm1::convertToTextOnce() {
    try {
        TrayIcon1->balloon(L"Starting optical character recognition.", L"Info", 3);
        counter = kCounterClose;
        Hide();
        platform_.processMessages();
        SleepPumping(platform_, 100);  // the pause after hiding

        const std::shared_ptr<const Picture> capture = LastCapturedScreen;
        const std::wstring image = AppDir + OCRFolder + L"\\img1.png";
        // Exit may be chosen while the picture is made: no engine after the window is gone.
        // The result is named before the picture is written, so its stem tells the click's
        // time; a capture too large to enlarge leaves the awaited result as it was.
        if (!WriteOcrPicture(
                platform_, pool_, *capture, image, [this] { return !exiting_; },
                [this] { AwaitOcrResult(platform_); }))
            return;
        std::wstring language;
        for (int i = 0; i < 8 && i < static_cast<int>(ConvertToTextpp->Items().size()); ++i)
            if (ConvertToTextpp->Items()[static_cast<size_t>(i)]->Checked())
                language = OcrLanguageCode(i);
        StartOcr(platform_, handle(), language, image);
    } catch (...) {
        // Abandoned quietly; the balloon and the hidden panel stay as they are.
    }
}

void TForm1::LoadOCRText() {
    try {
        const std::optional<std::wstring> text = FinishedOcrText(platform_);
        if (!text || !platform_.setClipboardText(handle(), *text)) return;
        OCRResultBase.clear();
        TrayIcon1->balloon(
            L"Optical character recognition is finished. Open your favourite text editor and "
            L"paste clipboard content into it (using Ctrl+v).",
            L"Info", 3);
    } catch (...) {
        // Tried again on the next tick.
    }
}

}  // namespace gs

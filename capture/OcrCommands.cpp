// "Convert to text": enlarge the last capture, write it for the OCR program, start it; the
// tick then picks up its text file once it is complete.
#include <memory>
#include <stdexcept>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "imaging/ImageFiles.h"
#include "imaging/QuickBitmap.h"
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
        imaging::RgbRows enlarged;
        RunWhilePumping(platform_, pool_, [&] {
            TQuickBitmap source(capture.get());
            const int factor = OcrFactor(source.width, source.height);
            if (factor < 1) throw std::runtime_error("Too large to enlarge");
            // The enlargement's rows are made as the PNG writer takes them: a 16000 x 9000
            // picture never sits whole in memory.
            enlarged = source.EnlargedRows(factor, factor, &pool_);
        });
        if (exiting_) return;  // Exit was chosen meanwhile: no engine after the window is gone
        const std::wstring image = AppDir + OCRFolder + L"\\img1.png";
        OCRResultBase = AppDir + OCRFolder + L"\\" + GetUniqueFileName(platform_);
        RunWhilePumping(platform_, pool_, [&] {
            // Run-length matches only: on an enlargement's smooth rows they are three times as
            // fast, and only our OCR tool reads the file.
            imaging::WritePng(image, enlarged, {7, 65535, /*runLength=*/true, &pool_});
            enlarged = {};
        });
        if (exiting_) return;
        std::wstring language;
        for (int i = 0; i < 8 && i < static_cast<int>(ConvertToTextpp->Items().size()); ++i)
            if (ConvertToTextpp->Items()[static_cast<size_t>(i)]->Checked())
                language = OcrLanguageCode(i);
        const std::wstring tools = AppDir + ToolsFolder;
        platform_.shellExecute(handle(), L"open", tools + L"\\tesseract.exe",
                               OcrParameters(language, image, OCRResultBase), tools, kSwHide);
    } catch (...) {
        // Abandoned quietly; the balloon and the hidden panel stay as they are.
    }
}

void TForm1::LoadOCRText() {
    if (OCRResultBase.size() < 2) return;
    try {
        // Our tesseract.exe makes the file appear whole, so it is taken at once, empty or not.
        // Another OCR program may create it as it starts and fill it at the end: while that
        // program still has it open for writing, it is not taken.
        const std::optional<std::string> bytes =
            platform_.readFinishedFile(OCRResultBase + L".txt");
        if (!bytes) return;
        if (!platform_.setClipboardText(handle(), OcrText(*bytes))) return;
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

// "Convert to text": enlarge the last capture, write it for the OCR program, start it; the
// tick then picks up its text file once it is complete.
#include <atomic>
#include <memory>
#include <thread>

#include "capture/CaptureFiles.h"
#include "capture/Form1.h"
#include "imaging/ImageFiles.h"
#include "imaging/QuickBitmap.h"
#include "jobs/OcrJob.h"

namespace gs {

void TForm1::runWhilePumping(const std::function<void()>& work) {
    // The heavy steps run on a worker; the GUI thread keeps handling its messages meanwhile.
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true, std::memory_order_release);
    });
    while (!done.load(std::memory_order_acquire)) {
        platform_.processMessages();
        platform_.sleep(10);
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

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
    } while (ocrAgain_);
    ocrRunning_ = false;
}

void TForm1::convertToTextOnce() {
    try {
        TrayIcon1->balloon(L"Starting optical character recognition.", L"Info", 3);
        counter = 0.0;
        Hide();
        platform_.processMessages();
        // The 100 ms pause after hiding, taken in steps that keep the GUI answering.
        for (int i = 0; i < 5; ++i) {
            platform_.sleep(20);
            platform_.processMessages();
        }

        const Picture capture = LastCapturedScreen;
        std::unique_ptr<TQuickBitmap> enlarged;
        runWhilePumping([&] {
            TQuickBitmap source(&capture);
            const int factor = OcrFactor(source.width, source.height);
            enlarged = source.QuickBicubicResize(factor, factor);
        });
        const std::wstring image = AppDir + OCRFolder + L"\\img1.png";
        OCRResultBase = AppDir + OCRFolder + L"\\" + GetUniqueFileName(platform_);
        runWhilePumping([&] {
            // Straight from the bitmap's rows: a second copy of a 16000 x 9000 picture would
            // double the memory the job needs.
            imaging::WritePng(image, enlarged->Rows(), {7, 65535});
            enlarged.reset();
        });
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

// "Convert to text": enlarge the last capture, write it for the OCR program, start it; the
// tick then picks up its text file once it is complete.
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "capture/CaptureFiles.h"
#include "capture/Form1.h"
#include "imaging/ImageFiles.h"
#include "imaging/QuickBitmap.h"
#include "jobs/OcrJob.h"
#include "platform/FileIo.h"

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
    if (ocrRunning_) return;  // a nested click while the picture is being made
    ocrRunning_ = true;
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
            const Picture picture = enlarged->GetBitmap();
            enlarged.reset();
            imaging::WritePng(image, picture, {7, 65535});
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
    ocrRunning_ = false;
}

void TForm1::LoadOCRText() {
    if (OCRResultBase.size() < 2) return;
    try {
        const std::wstring file = OCRResultBase + L".txt";
        // Taken once the OCR program is done with it: the same size on two ticks in a row. The
        // program creates the file as it starts and fills it at the end, so an empty file is
        // only taken once it has stayed empty for ten seconds.
        const int64_t size = platform_.fileSize(file);
        if (size < 0 || size != ocrSeenSize_) {
            ocrSeenSize_ = size;
            ocrStableTicks_ = 0;
            return;
        }
        if (size == 0 && ++ocrStableTicks_ < kEmptyResultTicks) return;
        File f = OpenFile(file, L"rb");
        if (!f) return;
        std::string bytes;
        char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, n);
        if (std::ferror(f.get())) return;
        f.reset();
        if (!platform_.setClipboardText(handle(), OcrText(bytes))) return;
        OCRResultBase.clear();
        ocrSeenSize_ = -1;
        ocrStableTicks_ = 0;
        TrayIcon1->balloon(
            L"Optical character recognition is finished. Open your favourite text editor and "
            L"paste clipboard content into it (using Ctrl+v).",
            L"Info", 3);
    } catch (...) {
        // Tried again on the next tick.
    }
}

}  // namespace gs

// The record command, the video options, and the tick's watch over the render job.
#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "jobs/VideoRender.h"
#include "recording/ClipForm.h"

namespace gs {

void TForm1::RecordVideoClick() {
    counter = kCounterClose;
    Hide();
    platform_.processMessages();
    platform_.sleep(100);
    if (VideoRenderState.load(std::memory_order_acquire) != rsIdle) {
        platform_.messageBox(
            handle(), L"Previous video was not rendered. Please wait until rendering is finished.",
            L"Info", kMbOk | kMbIconInformation);
        return;
    }
    SetupVideoOptions();
    ClipForm->ShowRecording(optRecordSlowMotion->Checked());
}

void TForm1::SetupVideoOptions() {
    const std::pair<ui::MenuItem*, const wchar_t*> formats[] = {{optAVCodecwmv, L"wmv"},
                                                                {optAVCodecmp4, L"mp4"},
                                                                {optAVCodecflv, L"flv"},
                                                                {optAVCodecmov, L"mov"},
                                                                {optAVCodecvp8, L"webm"}};
    for (auto [item, ext] : formats)
        if (item->Checked()) {
            VideoExtension = ext;
            break;
        }
    const std::pair<ui::MenuItem*, int32_t> qualities[] = {{optAVQualityveryhigh, 5},
                                                           {optAVQualityhigh, 15},
                                                           {optAVQualitymedium, 17},
                                                           {optAVQualitymediumlow, 21},
                                                           {optAVQualitylow, 35}};
    for (auto [item, q] : qualities)
        if (item->Checked()) {
            VideoQScale = q;
            break;
        }
}

void TForm1::DetectCreatedVideo() {
    // The job's command line, put on the clipboard here: its owner window lives on this thread
    // (set from a worker, emptying the clipboard would wait for this thread).
    if (const std::optional<std::wstring> line = renders_.takeClipboardText())
        platform_.setClipboardText(handle(), *line);
    // A compare-exchange: a job that finished in between keeps its rsRendered.
    int32_t expected = rsRenderStarted;
    if (VideoRenderState.compare_exchange_strong(expected, rsRendering, std::memory_order_acq_rel))
        TrayIcon1->balloon(L"Rendering video. Please wait.", L"Info", 3);
    expected = rsRendered;
    if (VideoRenderState.load(std::memory_order_acquire) != rsRendered) return;
    const std::wstring file = LastVideoFile;  // taken before the next job may begin
    const auto outcome =
        static_cast<RenderOutcome>(LastRenderOutcome.load(std::memory_order_relaxed));
    if (!VideoRenderState.compare_exchange_strong(expected, rsIdle, std::memory_order_acq_rel))
        return;
    renders_.shown();
    switch (outcome) {
        case RenderOutcome::Created:
            TrayIcon1->balloon(L"Video \"" + file + L"\" was created.", L"Video Rendered", 3);
            break;
        case RenderOutcome::NotStarted:
            TrayIcon1->balloon(L"Video was not rendered. The encoder could not be started.",
                               L"Info", 3);
            break;
        case RenderOutcome::EncoderFailed:
            TrayIcon1->balloon(L"Video was not rendered. The encoder failed.", L"Info", 3);
            break;
    }
}

void TForm1::Exit1Click() {
    exiting_ = true;  // work that ends after this starts nothing new
    // Chosen while a recording runs (its loop pumps this menu's messages): it stops as F10
    // stops it, and queues no render.
    if (ClipForm) ClipForm->Abandon();
    Close();
}

void TForm1::TrayIcon1BalloonClick() {
    if (TrayIcon1->BalloonTitle == L"Video Rendered")
        platform_.shellExecute(handle(), L"open", AppDir + VideoFolder + L"\\", L"", L"", kSwShow);
}

void TForm1::optRenderVideoUsingRecentConfigurationClick() {
    SetupVideoOptions();
    try {
        renders_.start(ChosenRenderJob());
    } catch (...) {
        TrayIcon1->balloon(kRenderNotStarted, L"Info", 3);
    }
}

}  // namespace gs

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "data/DataFolders.h"
#include "jobs/VideoRender.h"
#include "recording/FrameTiming.h"
#include "support/AppFixture.h"

namespace gs {
namespace {

TEST(FrameClock, CatchUpKeepsEverySlotFilled) {
    test::FakePlatform p;
    FrameClock clock(p);
    struct Case {
        uint32_t start, took;
        int copies;
        uint32_t pause;
    };
    // 30 ms: no copy, 53 ms pause; 83 ms: one copy, a full pause; 200 ms: two copies, 49 ms;
    // and the same across the wrap of the tick counter.
    for (const Case& c : {Case{1000, 30, 0, 53}, Case{1000, 83, 1, 83}, Case{1000, 200, 2, 49},
                          Case{0xFFFFFFF0u, 30, 0, 53}, Case{0xFFFFFFC0u, 200, 2, 49}}) {
        p.ticks = c.start;
        clock.frameStarts();
        p.ticks += c.took;
        int copies = 0;
        while (clock.behind()) {
            ++copies;
            clock.slotFilled();
        }
        EXPECT_EQ(copies, c.copies) << c.took;
        EXPECT_EQ(clock.pause(), c.pause) << c.took;
    }
    EXPECT_EQ(FrameFileName(L"D:\\v", 0), L"D:\\v\\000000.png");
    EXPECT_EQ(FrameFileName(L"D:\\v", 1234), L"D:\\v\\001234.png");
}

TEST(DrawCursor, BlendsByAlphaAndClips) {
    Picture frame(100, 60, 0xFF0000FFu);
    Picture mark(50, 50, 0);
    mark.at(25, 25) = 0xFF000000u;  // opaque black
    mark.at(10, 10) = 0x7FD3D300u;  // the disc's half-transparent yellow
    DrawCursor(frame, mark, 40 - 25, 30 - 25);
    EXPECT_EQ(frame.at(40, 30), 0xFF000000u);
    EXPECT_EQ(frame.at(25, 15), 0xFF696980u) << "127/255 yellow over blue";
    EXPECT_EQ(frame.at(0, 0), 0xFF0000FFu);
    Picture edge(100, 60, 0xFF0000FFu);
    DrawCursor(edge, Picture(50, 50, 0xFFFFFFFFu), -25 - 25, -25 - 25);  // cursor 25 px left, above
    DrawCursor(edge, Picture(50, 50, 0xFFFFFFFFu), 125 - 25, 85 - 25);   // 25 px past right, bottom
    for (uint32_t px : edge.pixels) ASSERT_EQ(px, 0xFF0000FFu);
    DrawCursor(edge, Picture(50, 50, 0xFFFFFFFFu), -49, -49);
    EXPECT_EQ(edge.at(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(edge.at(1, 0), 0xFF0000FFu);
}

TEST(RenderCommand, ExactTextForEveryFormatAndQuality) {
    EXPECT_EQ(
        BuildRenderCommand(L"D:\\Capture", L"2013-05-01-10-20-30-0007", L"wmv", 5).commandLine,
        L"D:\\Capture\\Data\\TesseractOCR\\ff.exe -r 12 -f image2 -i "
        L"\"D:\\Capture\\Data\\Temp\\Video\\"
        L"%06d.png\" -y -vcodec wmv2 -qscale 5 -r 12 \"D:\\Capture\\Data\\Published\\video\\"
        L"2013-05-01-10-20-30-0007.wmv\"");
    const std::pair<const wchar_t*, const wchar_t*> formats[] = {
        {L"wmv", L" -vcodec wmv2 "},
        {L"mp4", L" -vcodec mpeg4 "},
        {L"flv", L" -vcodec flv "},
        {L"mov", L" -y  -qscale "},
        {L"webm", L" -f webm -vcodec libvpx "}};
    for (auto [ext, codec] : formats)
        for (int q : {5, 15, 17, 21, 35}) {
            const RenderCommand c = BuildRenderCommand(L"C:\\A b", L"s", ext, q);
            EXPECT_NE(c.commandLine.find(codec), std::wstring::npos) << ext;
            EXPECT_NE(c.commandLine.find(L" -qscale " + std::to_wstring(q) + L" -r 12 \""),
                      std::wstring::npos);
            EXPECT_EQ(c.output, L"C:\\A b\\Data\\Published\\video\\s." + std::wstring(ext));
            EXPECT_EQ(c.commandLine.rfind(L"\"" + c.output + L"\""),
                      c.commandLine.size() - c.output.size() - 2);
            EXPECT_EQ(c.commandLine.find(L"C:\\A b\\Data\\TesseractOCR\\ff.exe -r"), 0u)
                << "unquoted encoder";
        }
    EXPECT_EQ(ClampQScale(0), 5);
    EXPECT_EQ(ClampQScale(3), 5);
    EXPECT_EQ(ClampQScale(17), 17);
    EXPECT_EQ(ClampQScale(40), 40);
    EXPECT_EQ(ClampQScale(41), 40);
    EXPECT_EQ(ClampQScale(1000), 40);
}

class RecorderTest : public test::AppFixture {
  protected:
    void SetUp() override {
        platform.screen = Picture(640, 480, 0xFF336699u);
        start();
        VideoRenderState = rsIdle;
        form->CreateDirectories();
        select(Rect{100, 100, 260, 220});  // 160 x 120
    }
    void select(Rect r) { clip->ClipRect = r; }
    std::vector<std::string> files(const std::wstring& folder) {
        std::vector<std::string> out;
        for (auto& e : std::filesystem::directory_iterator(HostPath(AppDir + folder)))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    // Starts a recording whose grabs take `grabTicks` and stops it after `frames` grabs.
    void record(int frames, uint32_t grabTicks = 10) {
        platform.grabTicks = grabTicks;
        platform.onGrab = [this, frames] {
            if (platform.grabs >= frames) clip->StopRecording();
        };
        clip->ShowRecording(false);
        clip->RecordingbtnClick();
    }
    void pollUntilIdle() {
        for (int i = 0; i < 2000 && VideoRenderState.load() != rsIdle; ++i) {
            form->DetectCreatedVideo();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
};

TEST_F(RecorderTest, TooSmallRectanglesAreRefused) {
    select(Rect{100, 100, 253, 300});  // 153 wide
    clip->ShowRecording(false);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(
        platform.boxes[0].text,
        L"If you want to record video then you have to define larger rectangle.Resolution width x "
        L"height must be higher than 160 x 120.");
    EXPECT_EQ(platform.boxes[0].title, L"Glimmershot");
    EXPECT_EQ(platform.boxes[0].style, 0u);
    EXPECT_FALSE(clip->isShowingRecording);
    EXPECT_TRUE(platform.rings.empty());

    select(Rect{254, 214, 100, 100});  // 154 x 114, dragged up and left
    clip->ShowRecording(true);
    EXPECT_TRUE(clip->isShowingRecording);
    EXPECT_TRUE(clip->isSlowMotion);
    ASSERT_EQ(platform.rings.size(), 1u);
    EXPECT_EQ(platform.rings[0].outer, (Rect{0, 0, 160, 120}));
    EXPECT_TRUE(platform.rings[0].hasExtra);
    EXPECT_EQ(platform.rings[0].extra, (Rect{2, 2, 152, 102}));
    clip->CancelbtnClick();
    EXPECT_FALSE(clip->isShowingRecording);
    EXPECT_FALSE(clip->Visible());
    EXPECT_TRUE(clip->isSlowMotion);
}

TEST_F(RecorderTest, CountdownThenContiguousFramesThenTheRenderJob) {
    std::vector<std::wstring> shown;
    platform.onPump = [&] {
        if (clip->lbl4->Visible() && (shown.empty() || shown.back() != clip->lbl4->Caption()))
            shown.push_back(clip->lbl4->Caption());
    };
    std::filesystem::create_directories(HostPath(AppDir + TempVideoFolder));
    std::ofstream(HostPath(AppDir + TempVideoFolder + L"\\old.png")) << "x";
    VideoExtension = L"mov";
    VideoQScale = 17;
    platform.encoder = [&](const std::wstring&) -> std::optional<uint32_t> {
        std::ofstream(HostPath(AppDir + VideoFolder + L"\\" + FileStem(platform.now, 0) + L".mov"))
            << "video";
        return 0;
    };
    FileCounter = 0;
    record(5, 200);  // each frame takes 200 ms: two copies follow it
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Wait", L"3", L"2", L"1"}));
    EXPECT_EQ(platform.hotKeys, (std::vector<std::pair<int, unsigned>>{{0xC123, 121u}}));
    EXPECT_EQ(platform.unregistered, 1);
    EXPECT_FALSE(clip->isRecording);
    EXPECT_FALSE(clip->isShowingRecording);
    const auto frames = files(TempVideoFolder);
    ASSERT_EQ(frames.size(), 15u) << "5 captures and 2 copies after each";
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(FromUtf8(frames[i]), FrameFileName(L"", static_cast<int>(i)).substr(1));
    EXPECT_EQ(platform.copies.size(), 10u);

    services->renders.waitIdle();
    ASSERT_EQ(platform.processes.size(), 1u);
    EXPECT_EQ(platform.processes[0].first, AppDir + L"\\Data\\TesseractOCR\\ff.exe");
    EXPECT_NE(platform.processes[0].second.find(L" -y  -qscale 17 -r 12 \""), std::wstring::npos);
    EXPECT_TRUE(platform.clipboardText.empty()) << "the GUI thread, which owns it, sets it";
    pollUntilIdle();
    ASSERT_EQ(platform.clipboardText.size(), 1u);
    EXPECT_EQ(platform.clipboardText[0], platform.processes[0].second);
    ASSERT_FALSE(backend.balloons.empty());
    EXPECT_EQ(backend.balloons.back().title, L"Video Rendered");
    EXPECT_EQ(backend.balloons.back().text, L"Video \"" + LastVideoFile + L"\" was created.");
}

// Frames are written behind the recorder while it reads the next: in slot order, each with
// the screen of its own slot, and copies only where the writer could not keep up.
TEST_F(RecorderTest, FramesAreWrittenBehindTheRecorderInSlotOrder) {
    auto fill = [&] {  // each grab sees a screen of its own: the grab's number in every pixel
        platform.screen =
            Picture(640, 480, 0xFF000000u | static_cast<uint32_t>(platform.grabs + 1));
    };
    fill();
    platform.onGrab = [&] {
        fill();
        if (platform.grabs >= 20) clip->StopRecording();
    };
    platform.grabTicks = 60;
    std::mutex m;
    std::vector<std::pair<std::wstring, uint32_t>> written;  // file, the frame's corner pixel
    clip->writeFrameFile = [&](const std::wstring& file, const Picture& frame) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::lock_guard lock(m);
        written.push_back({file, frame.at(0, 0) & 0xFFFFFFu});
    };
    clip->ShowRecording(false);
    clip->RecordingbtnClick();
    ASSERT_EQ(written.size(), 20u);
    for (size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(written[i].first, FrameFileName(AppDir + TempVideoFolder, static_cast<int>(i)));
        EXPECT_EQ(written[i].second, i + 1) << "the screen of its own slot";
    }
    services->renders.waitIdle();
    pollUntilIdle();

    // A writer slower than the slots: the recorder waits for it, and the slots it missed are
    // copies of the frame before them; it never falls behind by more than its few pictures.
    written.clear();
    platform.copies.clear();
    platform.grabs = 0;
    fill();
    platform.grabTicks = 10;
    clip->writeFrameFile = [&](const std::wstring& file, const Picture& frame) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        platform.ticks += 200;  // the time the recorder then waits for it
        std::lock_guard lock(m);
        written.push_back({file, frame.at(0, 0) & 0xFFFFFFu});
    };
    clip->ShowRecording(false);
    clip->RecordingbtnClick();
    ASSERT_EQ(written.size(), 20u);
    const size_t slots = written.size() + platform.copies.size();
    EXPECT_GE(platform.copies.size(), 20u) << "about two slots missed for each frame";
    EXPECT_LE(platform.copies.size(), 80u);
    for (const auto& [from, to] : platform.copies)
        EXPECT_LT(from, to) << "a copy of an earlier frame";
    EXPECT_EQ(platform.copies.back().second,
              FrameFileName(AppDir + TempVideoFolder, static_cast<int>(slots) - 1));
    services->renders.waitIdle();
    pollUntilIdle();

    // A frame that cannot be written ends the recording; those before it are all written.
    written.clear();
    platform.grabs = 0;
    fill();
    platform.grabTicks = 10;
    clip->writeFrameFile = [&](const std::wstring& file, const Picture& frame) {
        std::lock_guard lock(m);
        if (written.size() == 5) throw std::runtime_error("disk full");
        written.push_back({file, frame.at(0, 0) & 0xFFFFFFu});
    };
    clip->ShowRecording(false);
    clip->RecordingbtnClick();
    EXPECT_FALSE(clip->isRecording);
    ASSERT_EQ(written.size(), 5u);
    for (size_t i = 0; i < written.size(); ++i) EXPECT_EQ(written[i].second, i + 1);
    EXPECT_EQ(clip->stoppedBecause, L"Recording stopped: a frame could not be saved in \"" +
                                        AppDir + TempVideoFolder + L"\".");
    EXPECT_EQ(VideoRenderState.load(), rsIdle);
}

TEST_F(RecorderTest, TheIndexLimitEndsTheRecording) {
    clip->videoFrameLimit = 7;
    record(1000, 200);
    EXPECT_EQ(files(TempVideoFolder).size(), 7u);
    EXPECT_EQ(files(TempVideoFolder).back(), "000006.png");
    services->renders.waitIdle();
}

TEST_F(RecorderTest, AnUnreadableScreenKeepsTheSlotWithTheLastGoodFrame) {
    auto bytes = [](int index) {
        return test::ReadBytes(HostPath(FrameFileName(AppDir + TempVideoFolder, index)));
    };
    platform.failingGrabs = {1, 3};  // before the first good frame, and after it
    record(4);
    ASSERT_EQ(files(TempVideoFolder).size(), 4u);
    EXPECT_EQ(clip->capturedFrames, 2);
    EXPECT_EQ(bytes(2), bytes(1)) << "a copy of the last good frame";
    EXPECT_NE(bytes(0), bytes(1)) << "a blank frame before the first good one";
    services->renders.waitIdle();
    EXPECT_EQ(platform.processes.size(), 1u) << "the recording is rendered";
    pollUntilIdle();
}

TEST_F(RecorderTest, AFrameThatCannotBeWrittenEndsTheRecordingAndSaysWhy) {
    std::filesystem::remove_all(HostPath(AppDir + TempVideoFolder));
    std::ofstream(HostPath(AppDir + TempVideoFolder)) << "a file where the folder belongs";
    record(3);
    EXPECT_EQ(VideoRenderState.load(), rsIdle);
    EXPECT_FALSE(clip->isRecording);
    EXPECT_FALSE(clip->isShowingRecording);
    EXPECT_EQ(platform.unregistered, 1);
    services->renders.waitIdle();
    EXPECT_TRUE(platform.processes.empty());
    tick();
    ASSERT_FALSE(backend.balloons.empty());
    EXPECT_EQ(backend.balloons.back().text, L"Recording stopped: a frame could not be saved in \"" +
                                                AppDir + TempVideoFolder + L"\".");
    const size_t shown = backend.balloons.size();
    tick();
    EXPECT_EQ(backend.balloons.size(), shown) << "told once";

    platform.noGrabber = true;  // slow motion with no way to read the screen
    clip->ShowRecording(true);
    clip->RecordingbtnClick();
    EXPECT_TRUE(platform.shell.empty()) << "no folder opened";
    tick();
    EXPECT_EQ(backend.balloons.back().text, L"Recording stopped: the screen could not be read.");
}

TEST_F(RecorderTest, ExitStopsARecordingOrItsCountdownAndQueuesNothing) {
    platform.grabTicks = 10;
    platform.onGrab = [this] {
        if (platform.grabs == 3) form->Exit1Click();  // from the tray menu, inside the loop
    };
    clip->ShowRecording(false);
    clip->RecordingbtnClick();
    EXPECT_FALSE(clip->isRecording);
    EXPECT_EQ(platform.unregistered, 1) << "F10 is given back";
    EXPECT_EQ(files(TempVideoFolder).size(), 3u) << "the frames taken stay";
    EXPECT_EQ(VideoRenderState.load(), rsIdle);
    services->renders.waitIdle();
    EXPECT_TRUE(platform.processes.empty()) << "no render after Exit";

    start();  // again, and Exit during the countdown's "2"
    form->CreateDirectories();
    select(Rect{100, 100, 260, 220});
    const int grabs = platform.grabs;
    platform.onPump = [this] {
        if (clip->lbl4->Caption() == L"2") form->Exit1Click();
    };
    clip->ShowRecording(false);
    clip->RecordingbtnClick();
    platform.onPump = nullptr;
    EXPECT_EQ(platform.grabs, grabs) << "no frame is taken";
    EXPECT_FALSE(clip->isShowingRecording);
    EXPECT_EQ(platform.hotKeys.size(), 1u) << "F10 was never taken";
}

TEST_F(RecorderTest, AFailedRecordingKeepsTheStateAJobMovedOnTo) {
    std::filesystem::remove_all(HostPath(AppDir + TempVideoFolder));
    std::ofstream(HostPath(AppDir + TempVideoFolder)) << "a file where the folder belongs";
    // "Render Latest Video" chosen while the recording runs: its job has begun.
    platform.onGrab = [] { VideoRenderState = rsRenderStarted; };
    clip->ShowRecording(false);
    clip->RecordingbtnClick();
    EXPECT_EQ(VideoRenderState.load(), rsRenderStarted) << "not reset to idle under the job";
    VideoRenderState = rsIdle;
}

TEST_F(RecorderTest, ANegativePauseAndARenderJobThatCannotStartEndCleanly) {
    const uint32_t before = platform.ticks;
    clip->gosleep(-20);
    EXPECT_EQ(platform.ticks.load(), before) << "a pause of zero or less does nothing";

    pool.setMaxThreads(0);  // as when the system has no thread to give
    record(3);
    EXPECT_FALSE(clip->isRecording);
    EXPECT_FALSE(clip->isShowingRecording);
    EXPECT_EQ(platform.unregistered, 1) << "F10 is given back";
    EXPECT_EQ(VideoRenderState.load(), rsIdle);
    tick();
    ASSERT_FALSE(backend.balloons.empty());
    EXPECT_EQ(backend.balloons.back().text, kRenderNotStarted);

    pool.setMaxThreads(8);
    record(3);
    services->renders.waitIdle();
    EXPECT_EQ(platform.processes.size(), 1u) << "the next recording's job starts";
    pollUntilIdle();
}

TEST_F(RecorderTest, AtExitTheSaveIsWrittenTheRenderLeftToItsEncoderAndNoOcrStarted) {
    platform.encoderRuns = std::chrono::seconds(60);  // a long render
    form->optRenderVideoUsingRecentConfigurationClick();
    form->StartPoint = Point{10, 10};
    form->StopPoint = Point{210, 110};
    ASSERT_TRUE(form->getscreen());                 // its files are written behind the user's back
    platform.onPump = [&] { form->Exit1Click(); };  // Exit while the OCR picture is made
    form->ConvertToTextClick();
    platform.onPump = nullptr;
    while (VideoRenderState.load() != rsRenderStarted)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto exited = std::chrono::steady_clock::now();
    clip.reset();  // as wWinMain ends: the windows, then the services
    form.reset();
    services.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - exited, std::chrono::milliseconds(500))
        << "the render under way is not waited for: its encoder finishes the video alone";
    EXPECT_EQ(files(ImagesFolder).size(), 2u) << "the capture's PNG and JPG were written";
    for (const auto& s : platform.shell)
        EXPECT_EQ(s.file.find(L"tesseract.exe"), std::wstring::npos) << "no OCR after Exit";
}

TEST_F(RecorderTest, EncoderFailuresAreReportedAsSuch) {
    const std::pair<std::optional<uint32_t>, const wchar_t*> cases[] = {
        {std::nullopt, L"Video was not rendered. The encoder could not be started."},
        {127u,
         L"Video was not rendered. The encoder could not be started."},  // ff.exe found no engine
        {124u, L"Video was not rendered. The encoder failed."},          // ended as hung
        {1u, L"Video was not rendered. The encoder failed."},
        {0u, L"Video was not rendered. The encoder failed."}};  // exit 0 but no file
    for (auto [result, text] : cases) {
        platform.encoder = [result](const std::wstring&) { return result; };
        form->optRenderVideoUsingRecentConfigurationClick();
        services->renders.waitIdle();
        pollUntilIdle();
        EXPECT_EQ(backend.balloons.back().text, text);
        EXPECT_EQ(backend.balloons.back().title, L"Info");
    }
}

TEST_F(RecorderTest, AnEmptyExtensionRendersWmvAndQualityIsClamped) {
    services->renders.start(RenderJob{L"", 1000});
    services->renders.waitIdle();
    ASSERT_EQ(platform.processes.size(), 1u);
    const std::wstring& line = platform.processes[0].second;
    EXPECT_NE(line.find(L" -vcodec wmv2 -qscale 40 -r 12 \""), std::wstring::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 5), L".wmv\"");
}

TEST_F(RecorderTest, RecordCommandRefusesWhileAVideoIsPending) {
    VideoRenderState = rsRendering;
    form->optRecordSlowMotion->setChecked(true);
    form->RecordVideoClick();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              L"Previous video was not rendered. Please wait until rendering is finished.");
    EXPECT_FALSE(clip->isShowingRecording);
    VideoRenderState = rsIdle;
    form->optAVCodecflv->setChecked(true);
    form->optAVQualitylow->setChecked(true);
    form->RecordVideoClick();
    EXPECT_TRUE(clip->isShowingRecording);
    EXPECT_TRUE(clip->isSlowMotion);
    EXPECT_EQ(VideoExtension, L"flv");
    EXPECT_EQ(VideoQScale, 35);
}

TEST_F(RecorderTest, PollStepsNeverLoseAFinishedJob) {
    VideoRenderState = rsRenderStarted;
    form->DetectCreatedVideo();
    EXPECT_EQ(VideoRenderState.load(), rsRendering);
    EXPECT_EQ(backend.balloons.back().text, L"Rendering video. Please wait.");
    // The job finished between the poll's read and its write: the compare-exchange keeps it.
    VideoRenderState = rsRendered;
    LastRenderOutcome = static_cast<int32_t>(RenderOutcome::Created);
    LastVideoFile = L"C:\\v.wmv";
    const size_t before = backend.balloons.size();
    form->DetectCreatedVideo();
    EXPECT_EQ(VideoRenderState.load(), rsIdle);
    EXPECT_EQ(backend.balloons.size(), before + 1) << "only the completion balloon";
    EXPECT_EQ(backend.balloons.back().title, L"Video Rendered");

    // Its click opens the video folder; the click on an "Info" balloon does nothing.
    form->TrayIcon1BalloonClick();
    ASSERT_EQ(platform.shell.size(), 1u);
    EXPECT_EQ(platform.shell[0].file, AppDir + VideoFolder + L"\\");
    form->TrayIcon1->balloon(L"x", L"Info", 3);
    form->TrayIcon1BalloonClick();
    EXPECT_EQ(platform.shell.size(), 1u);
}

TEST_F(RecorderTest, OverlappingRendersRunOneAfterAnotherWithTheirOwnFiles) {
    std::vector<std::wstring> lines;
    platform.encoder = [&](const std::wstring& line) -> std::optional<uint32_t> {
        lines.push_back(line);
        return 1;
    };
    form->optRenderVideoUsingRecentConfigurationClick();
    form->optAVCodecmp4->setChecked(true);
    form->optRenderVideoUsingRecentConfigurationClick();
    for (int i = 0; i < 3000 && lines.size() < 2; ++i) {
        form->DetectCreatedVideo();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    services->renders.waitIdle();
    pollUntilIdle();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(L".wmv\""), std::wstring::npos);
    EXPECT_NE(lines[1].find(L".mp4\""), std::wstring::npos);
    int failures = 0;
    for (const auto& b : backend.balloons)
        failures += b.text == L"Video was not rendered. The encoder failed.";
    EXPECT_EQ(failures, 2) << "each job's end is shown";
}

TEST_F(RecorderTest, SlowMotionWritesAtMostAThousandFramesAndOpensTheFolder) {
    platform.onGrab = nullptr;
    clip->ShowRecording(true);
    clip->RecordingbtnClick();
    const auto frames = files(SlowMotionFolder);
    ASSERT_EQ(frames.size(), 1000u);
    EXPECT_EQ(frames.front(), "000000.png");
    EXPECT_EQ(frames.back(), "000999.png");
    ASSERT_EQ(platform.shell.size(), 1u);
    EXPECT_EQ(platform.shell[0].file, AppDir + SlowMotionFolder + L"\\");
    EXPECT_EQ(VideoRenderState.load(), rsIdle) << "slow motion leaves the state alone";
}

}  // namespace
}  // namespace gs

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "recording/ClipForm.h"
#include "support/AppFixture.h"

namespace gs {
namespace {

// Drives the tick with ALT and the cursor as a user would, against a patterned fake screen.
class SelectionTest : public test::AppFixture {
  protected:
    void SetUp() override {
        platform.screen = Picture(640, 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                platform.screen.at(x, y) = 0xFF000000u | (x << 12) | (y * 31);
        start();
    }
    void alt(bool down) { platform.keys[kVkMenu] = down; }
    void moveTo(int x, int y) { platform.cursor = Point{x, y}; }
    // Press at `from`, rest, move to `to`, release.
    void drag(Point from, Point to, int restTicks = 10) {
        moveTo(from.x, from.y);
        alt(true);
        tick(restTicks);
        moveTo(to.x, to.y);
        tick();
        alt(false);
        tick();
    }
    Picture screenArea(Rect r) {
        Picture p;
        platform.copyScreen(r, p);
        return p;
    }
    std::filesystem::path imgDir() { return dir.path / "Data" / "Published" / "img"; }
};

TEST_F(SelectionTest, FrameAppearsOnlyAfterARestLongerThanFourTenths) {
    moveTo(100, 100);
    alt(true);
    tick(8);  // 0.35 s of rest
    EXPECT_FALSE(clip->Visible());
    tick(2);
    EXPECT_TRUE(clip->Visible()) << "shown as a zero-size rectangle at the cursor";
    EXPECT_EQ(clip->ClipRect, (Rect{100, 100, 100, 100}));
    // From now on it follows the cursor.
    moveTo(150, 130);
    tick();
    EXPECT_TRUE(clip->Visible());
    EXPECT_EQ(clip->ClipRect, (Rect{100, 100, 150, 130}));
}

// ALT that became a selection must not reach the focused program as a lone ALT (its menu
// would open on the release); a quick tap is the user's own ALT and passes untouched.
TEST_F(SelectionTest, AltReleaseIsMaskedOnceWhenTheFrameFirstShowsAndNeverForATap) {
    moveTo(100, 100);
    alt(true);
    tick(5);
    alt(false);
    tick();
    EXPECT_EQ(platform.altMasks, 0) << "a quick tap is the user's own ALT";
    alt(true);
    tick(8);
    EXPECT_EQ(platform.altMasks, 0) << "not before the frame is due";
    tick(2);
    EXPECT_TRUE(clip->Visible());
    EXPECT_EQ(platform.altMasks, 1) << "sent in the tick that first shows the frame";
    moveTo(160, 150);
    tick(10);
    alt(false);
    tick();
    EXPECT_EQ(platform.altMasks, 1) << "once per selection";
    drag({10, 10}, {60, 60});
    EXPECT_EQ(platform.altMasks, 2) << "and again for the next one";
}

TEST_F(SelectionTest, RestBoundIsInclusiveForRestartingAndExclusiveForShowing) {
    form->StartPoint = Point{10, 10};
    form->OldCursorPoint = Point{10, 10};
    moveTo(10, 10);
    alt(true);
    form->HoldingPositionSince = 0.0;
    form->timecounter = 0.4;
    form->selectionStep();
    EXPECT_FALSE(clip->Visible()) << "exactly 0.4 s is not more than 0.4 s";
    moveTo(11, 10);
    form->selectionStep();
    EXPECT_EQ(form->HoldingPositionSince, 0.4) << "a move at exactly 0.4 s restarts the rest";

    form->HoldingPositionSince = 0.0;
    form->timecounter = 0.45;
    moveTo(12, 10);
    form->selectionStep();
    EXPECT_TRUE(clip->Visible()) << "past 0.4 s a move no longer restarts";
    EXPECT_EQ(form->HoldingPositionSince, 0.0);
}

TEST_F(SelectionTest, QuickAltOrACursorThatNeverRestsCapturesNothing) {
    moveTo(100, 100);
    alt(true);
    tick(5);
    alt(false);
    tick();
    for (int i = 0; i < 40; ++i) {  // held, but moving on every tick
        alt(true);
        moveTo(100 + i * 3, 100 + i);
        tick();
    }
    alt(false);
    tick();
    EXPECT_EQ(platform.screenCopies, 0);
    EXPECT_TRUE(platform.clipboard.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path / "Data"));
    EXPECT_EQ(form->StartPoint, (Point{-1, -1}));
}

TEST_F(SelectionTest, EveryDragDirectionCapturesTheSameArea) {
    const Rect area{120, 80, 220, 130};
    const Point corners[4][2] = {{{120, 80}, {220, 130}},
                                 {{220, 130}, {120, 80}},
                                 {{220, 80}, {120, 130}},
                                 {{120, 130}, {220, 80}}};
    for (const auto& c : corners) {
        drag(c[0], c[1]);
        ASSERT_FALSE(platform.clipboard.empty());
        EXPECT_EQ(platform.clipboard.back().pixels, screenArea(area).pixels);
        EXPECT_EQ(form->LastCapturedScreen->width, 100);
        EXPECT_EQ(form->LastCapturedScreen->height, 50);
        EXPECT_EQ(form->counter, 4.0);
        EXPECT_FALSE(clip->Visible());
        form->counter = -1;
    }
    EXPECT_EQ(platform.clipboard.size(), 4u);
}

TEST_F(SelectionTest, BothSidesMustBeAtLeastFivePixels) {
    drag({100, 100}, {104, 200});
    drag({100, 100}, {300, 104});
    EXPECT_TRUE(platform.clipboard.empty());
    EXPECT_EQ(form->counter, -1.0 - 0.05 * 24) << "no capture, no panel";
    drag({100, 100}, {105, 105});
    ASSERT_EQ(platform.clipboard.size(), 1u);
    EXPECT_EQ(platform.clipboard[0].width, 5);
    EXPECT_EQ(platform.clipboard[0].height, 5);
}

TEST_F(SelectionTest, StartAtXMinusOneIsNoSelection) {
    platform.screenOrigin = Point{-640, 0};
    moveTo(-1, 50);
    alt(true);
    tick(30);
    EXPECT_FALSE(clip->Visible()) << "the start is taken again on every tick";
    moveTo(-100, 100);
    tick();
    alt(false);
    tick();
    EXPECT_TRUE(platform.clipboard.empty());
}

TEST_F(SelectionTest, CaptureLeftOfThePrimaryMonitorWorks) {
    platform.screenOrigin = Point{-640, 0};
    drag({-300, 20}, {-200, 70});
    ASSERT_EQ(platform.clipboard.size(), 1u);
    EXPECT_EQ(platform.clipboard[0].pixels, screenArea(Rect{-300, 20, -200, 70}).pixels);
}

TEST_F(SelectionTest, ACaptureWritesBothFilesAndShowsTheLetterboxedPreview) {
    drag({10, 10}, {410, 110});  // 400 x 100
    // The clipboard's "PNG" format, asked for at once, waits for the save.
    ASSERT_TRUE(platform.clipboardPng);
    const std::optional<std::string> clipboardPng = platform.clipboardPng();
    form->FinishSaves();
    EXPECT_EQ(platform.createdDirs.size(), 5u);
    EXPECT_EQ(platform.createdDirs.front(), AppDir + L"\\Data\\Published\\img");
    EXPECT_EQ(platform.createdDirs.back(), AppDir + L"\\Data\\Temp\\Video");
    const std::string stem = "2013-05-17-14-03-59-";
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(imgDir()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].substr(0, stem.size()), stem);
    EXPECT_EQ(names[0].substr(names[0].size() - 4), ".jpg");
    EXPECT_EQ(names[1], names[0].substr(0, names[0].size() - 4) + ".png");
    EXPECT_EQ(LastImageFile, AppDir + ImagesFolder + L"\\" + FromUtf8(names[1]));
    EXPECT_EQ(clipboardPng, test::ReadBytes(imgDir() / names[1]));
    form->optClearAllFoldersClick();
    EXPECT_FALSE(std::filesystem::exists(imgDir() / names[1]));
    EXPECT_EQ(platform.clipboardPng(), clipboardPng) << "still pasteable as PNG";

    ASSERT_FALSE(platform.stretches.empty());
    EXPECT_EQ(platform.stretches.back(), (Rect{0, 41, 210, 93}));
    EXPECT_EQ(form->Image1->picture().width, 210);
    EXPECT_EQ(form->Image1->picture().at(100, 10), 0xFF000000u) << "black bars";
    EXPECT_EQ(form->controls().back(), form->Image1) << "the preview covers the instructions";
}

TEST_F(SelectionTest, PngFailureFallsBackToBmpAndStillWritesTheJpg) {
    std::filesystem::create_directories(imgDir() / "2013-05-17-14-03-59-0000.png");
    drag({10, 10}, {60, 60});
    EXPECT_EQ(form->counter, 4.0);
    // The edit icon right after the release waits for the save, so the editor gets the file
    // that was really written (the BMP only the save could tell).
    form->EditImageClick();
    ASSERT_EQ(platform.shell.size(), 1u);
    EXPECT_EQ(platform.shell[0].parameters,
              L"\"" + AppDir + ImagesFolder + L"\\2013-05-17-14-03-59-0000.bmp\"");
    EXPECT_TRUE(std::filesystem::exists(imgDir() / "2013-05-17-14-03-59-0000.bmp"));
    EXPECT_TRUE(std::filesystem::exists(imgDir() / "2013-05-17-14-03-59-0000.jpg"));
}

TEST_F(SelectionTest, BusyClipboardStillSavesTheCaptureAndSaysSo) {
    platform.now.second = 0;
    drag({100, 100}, {150, 140});  // on the clipboard, as PNG too
    form->FinishSaves();
    const std::optional<std::string> held = platform.clipboardPng();
    FileCounter = 0;
    platform.now.second = 59;
    platform.clipboardBusy = true;
    drag({10, 10}, {60, 60});
    form->FinishSaves();
    EXPECT_TRUE(std::filesystem::exists(imgDir() / "2013-05-17-14-03-59-0000.png"));
    EXPECT_TRUE(std::filesystem::exists(imgDir() / "2013-05-17-14-03-59-0000.jpg"));
    EXPECT_FALSE(form->LastCapturedScreen->empty());
    EXPECT_EQ(form->counter, 4.0) << "the preview is shown";
    ASSERT_FALSE(backend.balloons.empty());
    EXPECT_EQ(backend.balloons.back().text,
              L"The capture was saved, but another program held the clipboard.");
    form->optClearAllFoldersClick();
    EXPECT_TRUE(held && platform.clipboardPng() == held)
        << "the capture the clipboard still holds stays pasteable as PNG";
}

TEST_F(SelectionTest, UnwritableImagesFolderIsReportedAndTheNextCaptureWorks) {
    // A folder where the PNG, BMP and JPG of the first two stems should go makes every write fail.
    for (const char* stem : {"2013-05-17-14-03-59-0000", "2013-05-17-14-03-59-0001"})
        for (const char* ext : {".png", ".bmp", ".jpg"})
            std::filesystem::create_directories(imgDir() / (std::string(stem) + ext));
    const std::wstring notSaved =
        L"The capture could not be saved in \"" + AppDir + ImagesFolder + L"\"";
    drag({10, 10}, {60, 60});
    EXPECT_EQ(form->counter, 4.0) << "the preview comes before the files";
    form->FinishSaves();
    ASSERT_FALSE(backend.balloons.empty());
    EXPECT_EQ(backend.balloons.back().text, notSaved + L". It is on the clipboard.");
    platform.clipboardBusy = true;
    drag({10, 10}, {60, 60});
    form->FinishSaves();
    EXPECT_EQ(backend.balloons.back().text, notSaved + L" nor put on the clipboard.");
    // The third stem's JPG alone cannot be written: the PNG is kept and the user told so.
    std::filesystem::create_directories(imgDir() / "2013-05-17-14-03-59-0002.jpg");
    drag({10, 10}, {60, 60});
    form->FinishSaves();
    EXPECT_EQ(backend.balloons.back().text,
              L"The capture was saved as PNG but could not be saved as JPG in \"" + AppDir +
                  ImagesFolder + L"\". Another program held the clipboard.");
    EXPECT_TRUE(std::filesystem::exists(imgDir() / "2013-05-17-14-03-59-0002.png"));
}

TEST_F(SelectionTest, UncreatableFolderShowsItsMessageAndTheCaptureStaysOnTheClipboard) {
    const std::wstring img = AppDir + ImagesFolder;
    platform.failingDirs.insert(img);
    drag({10, 10}, {60, 60});
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              L"Cannot create directory \"" + img + L"\". Please create it manually.");
    EXPECT_EQ(platform.boxes[0].title, L"Info");
    EXPECT_EQ(platform.boxes[0].style, unsigned{kMbOk | kMbIconInformation});
    EXPECT_FALSE(platform.clipboard.empty()) << "the clipboard was already set";
    form->FinishSaves();
    EXPECT_EQ(backend.balloons.back().text,
              L"The capture could not be saved in \"" + img + L"\". It is on the clipboard.");
}

}  // namespace
}  // namespace gs

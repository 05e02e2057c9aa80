#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <thread>

#include "capture/Form1.h"
#include "capture/PreviewModel.h"
#include "data/DataFolders.h"
#include "recording/ClipForm.h"
#include "support/AppFixture.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace gs {
namespace {

TEST(CaptureFiles, AppDirAndFolders) {
    EXPECT_EQ(AppDirOf(L"D:\\Tools\\app.exe"), L"D:\\Tools");
    EXPECT_EQ(AppDirOf(L"D:\\app.exe"), L"D:");
    EXPECT_EQ(AppDirOf(L"C:\\Glimmer shot Jiří\\Glimmershot.exe"), L"C:\\Glimmer shot Jiří");
    EXPECT_EQ(AppDirOf(L"D:\\Tools\\app.exe") + ImagesFolder, L"D:\\Tools\\Data\\Published\\img");
}

TEST(CaptureFiles, StemsCountAndWrap) {
    const LocalTime t{2013, 5, 17, 14, 3, 59};
    EXPECT_EQ(FileStem(t, 0), L"2013-05-17-14-03-59-0000");
    EXPECT_EQ(FileStem(t, 1), L"2013-05-17-14-03-59-0001");
    EXPECT_EQ(FileStem(t, 9999), L"2013-05-17-14-03-59-9999");
    EXPECT_EQ(FileStem(t, 10000), L"2013-05-17-14-03-59-0000");
    EXPECT_EQ(FileStem(LocalTime{2024, 12, 1, 0, 0, 7}, 42), L"2024-12-01-00-00-07-0042");
}

TEST(CaptureFiles, TwoThreadsNeverShareACounterValue) {
    test::FakePlatform platform;
    FileCounter = 0;
    std::vector<std::wstring> a, b;
    auto draw = [&](std::vector<std::wstring>& out) {
        for (int i = 0; i < 5000; ++i) out.push_back(GetUniqueFileName(platform));
    };
    std::thread ta(draw, std::ref(a)), tb(draw, std::ref(b));
    ta.join();
    tb.join();
    std::set<std::wstring> all(a.begin(), a.end());
    all.insert(b.begin(), b.end());
    EXPECT_EQ(all.size(), 10000u);
    EXPECT_EQ(GetUniqueFileName(platform).substr(20), L"0000") << "the 10 001st wraps";
}

TEST(PreviewPlacement, LetterboxesIntoTheBox) {
    EXPECT_EQ(PreviewPlacement(400, 100, 210, 135), (Rect{0, 41, 210, 93}));
    EXPECT_EQ(PreviewPlacement(100, 400, 210, 135), (Rect{89, 0, 122, 135}));
    EXPECT_EQ(PreviewPlacement(5, 5, 210, 135), (Rect{38, 0, 173, 135}));
    EXPECT_EQ(PreviewPlacement(210, 135, 210, 135), (Rect{0, 0, 210, 135}));
}

class ClearAllFolders : public test::AppFixture {};

TEST_F(ClearAllFolders, DeletesFilesInEveryDataFolderAndSaysSo) {
    start();
    form->CreateDirectories();
    std::filesystem::create_directories(dir.path / "Data" / "TesseractOCR");
    for (const char* f : {"Data/Published/img/a.png", "Data/Published/video/b.wmv",
                          "Data/Temp/Video/000000.png", "Data/TesseractOCR/ff.exe"})
        std::ofstream(dir.path / f) << "x";

    // Reached through the folder icon's arrow and its menu, as a user would.
    backend.nextChoice = L"optClearAllFolders";
    auto* arrow = dynamic_cast<ui::Control*>(form->FindComponent(L"OpenFolderPopupBtn"));
    form->mouseClicked({arrow->bounds().Left + 2, arrow->bounds().Top + 2},
                       {arrow->bounds().Left + 2, arrow->bounds().Top + 2});
    EXPECT_EQ(backend.popupsAt.back(), (Point{0, 210}));

    EXPECT_EQ(platform.deletes.size(), 5u);
    EXPECT_EQ(platform.deletes[0], AppDir + L"\\Data\\Published\\img\\*.*");
    EXPECT_FALSE(std::filesystem::exists(dir.path / "Data/Published/img/a.png"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "Data/Temp/Video/000000.png"));
    EXPECT_TRUE(std::filesystem::exists(dir.path / "Data/TesseractOCR/ff.exe"));
    EXPECT_TRUE(std::filesystem::exists(dir.path / "Data/Published/img"));
    ASSERT_FALSE(backend.balloons.empty());
    EXPECT_EQ(backend.balloons.back().text, L"Folders were cleared.");
    EXPECT_EQ(backend.balloons.back().title, L"Info");
    EXPECT_EQ(backend.balloons.back().timeout, 3);
}

}  // namespace
}  // namespace gs

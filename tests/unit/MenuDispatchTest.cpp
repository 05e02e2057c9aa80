#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "recording/ClipForm.h"
#include "support/AppFixture.h"

namespace gs {
namespace {

class MenuDispatchTest : public test::AppFixture {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path / "Glimmer shot");
        start("Glimmer shot\\Glimmershot.exe");
        LastImageFile.clear();
    }
    void clickControl(const wchar_t* name) {
        auto* c = dynamic_cast<ui::Control*>(form->FindComponent(name));
        ASSERT_NE(c, nullptr);
        const Point p{c->bounds().Left + 1, c->bounds().Top + 1};
        form->mouseClicked(p, p);
    }
    // Opens an arrow's menu and picks an entry, as a user would.
    void pick(const wchar_t* arrow, const wchar_t* entry) {
        backend.nextChoice = entry;
        clickControl(arrow);
    }
    std::string setup() {
        const std::string all = test::ReadBytes(dir.path / "Glimmer shot" / "setup.csv");
        return all.substr(all.find('\n') + 1);
    }
};

TEST_F(MenuDispatchTest, EachArrowOpensItsMenuBelowThePanel) {
    const std::pair<const wchar_t*, Point> arrows[] = {{L"OpenFolderPopupBtn", {0, 210}},
                                                       {L"EditImagePopupBtn", {60, 210}},
                                                       {L"ConvertToTextPopupBtn", {120, 210}},
                                                       {L"RecordVideoPopupBtn", {180, 210}}};
    for (auto [arrow, at] : arrows) {
        backend.nextChoice.clear();
        clickControl(arrow);
        EXPECT_EQ(backend.popupsAt.back(), at);
    }
    EXPECT_EQ(backend.popupsAt.size(), 4u);
}

TEST_F(MenuDispatchTest, MenusHoldTheirEntriesWithGroupsAndDefaults) {
    auto captions = [](ui::MenuItem& parent) {
        std::vector<std::wstring> out;
        for (ui::MenuItem* i : parent.Items()) out.push_back(i->Caption);
        return out;
    };
    EXPECT_EQ(captions(form->EditImagepp->root()),
              (std::vector<std::wstring>{L"Edit in MS Paint", L"Edit in Default Editor"}));
    EXPECT_EQ(form->ConvertToTextpp->Items().size(), 8u);
    EXPECT_FALSE(form->ConvertToTextpp->Items()[2]->Enabled) << "French";
    EXPECT_TRUE(form->ConvertToTextpp->Items()[1]->Checked()) << "English";
    EXPECT_EQ(form->ConvertToTextpp->Items()[0]->Name(), L"Englis1");
    EXPECT_EQ(form->optVideoFormat->Count(), 5);
    EXPECT_EQ(form->optAVCodecwmv->Name(), L"optAVCodecwmv1");
    EXPECT_EQ(form->optAVCodecvp8->Name(), L"optAVCodecwebm");
    EXPECT_EQ(form->optAVCodecvp8->Caption, L"WebM (VP8)");
    EXPECT_EQ(form->optAVQualitylow->Break, ui::MenuBreak::Bar);
    EXPECT_EQ(form->optAVQualitymedium->Break, ui::MenuBreak::None);
    EXPECT_EQ(form->optAVQualityhigh->GroupIndex, 20);
    EXPECT_TRUE(form->optAVQualityveryhigh->Checked());
    EXPECT_EQ(form->optAVCodecmp4->Owner(), form->optVideoFormat) << "owned by its parent item";
    EXPECT_EQ(form->RecordVideopp->Items()[4]->Caption,
              L"Render Latest Video Using Recent Configuration");
}

TEST_F(MenuDispatchTest, AChoiceChecksSavesAndRunsTheIconAtOnce) {
    pick(L"OpenFolderPopupBtn", L"optOCRFolder");
    ASSERT_EQ(platform.shell.size(), 1u);
    EXPECT_EQ(platform.shell[0].verb, L"open");
    EXPECT_EQ(platform.shell[0].file, AppDir + L"\\Data\\Published\\ocr");
    EXPECT_EQ(platform.shell[0].directory, AppDir);
    EXPECT_EQ(platform.shell[0].show, 5);
    EXPECT_EQ(platform.shell[0].owner, 0u);
    EXPECT_EQ(setup(), "1;0;1;1;0;4\r\n");
    EXPECT_EQ(form->counter, 0.0);

    // The same choice again still saves and runs.
    std::filesystem::remove(dir.path / "Glimmer shot" / "setup.csv");
    pick(L"OpenFolderPopupBtn", L"optOCRFolder");
    EXPECT_EQ(platform.shell.size(), 2u);
    EXPECT_EQ(setup(), "1;0;1;1;0;4\r\n");

    // A later plain click on the icon keeps the mode.
    clickControl(L"OpenFolder");
    EXPECT_EQ(platform.shell.back().file, AppDir + L"\\Data\\Published\\ocr");
}

TEST_F(MenuDispatchTest, FormatAndQualityOnlyCheckAndSave) {
    form->counter = 2.0;
    form->optImagesFolderClick(*form->optAVCodecflv);
    form->optImagesFolderClick(*form->optAVQualitylow);
    EXPECT_TRUE(platform.shell.empty());
    EXPECT_EQ(form->counter, 2.0);
    EXPECT_EQ(setup(), "0;0;1;1;2;0\r\n");
    EXPECT_FALSE(form->optAVCodecwmv->Checked());
}

TEST_F(MenuDispatchTest, ClearAllFoldersNeitherChecksNorSaves) {
    const std::string before = setup();
    pick(L"OpenFolderPopupBtn", L"optClearAllFolders");
    EXPECT_FALSE(
        dynamic_cast<ui::MenuItem*>(form->FindComponent(L"optClearAllFolders"))->Checked());
    EXPECT_EQ(setup(), before);
    EXPECT_EQ(backend.balloons.back().text, L"Folders were cleared.");
}

TEST_F(MenuDispatchTest, DisabledLanguagesCannotBeChosenFromTheMenu) {
    pick(L"ConvertToTextPopupBtn", L"French1");
    EXPECT_FALSE(form->ConvertToTextpp->Items()[2]->Checked());
    EXPECT_EQ(setup(), "0;0;1;1;0;4\r\n");
}

TEST_F(MenuDispatchTest, EditImageNeedsACaptureThenUsesTheChosenEditor) {
    form->counter = 2.0;
    clickControl(L"EditImage");
    EXPECT_TRUE(platform.shell.empty());
    EXPECT_EQ(form->counter, 2.0) << "before any capture the countdown goes on";

    LastImageFile = L"C:\\Glimmer shot\\Data\\Published\\img\\a b.png";
    clickControl(L"EditImage");
    ASSERT_EQ(platform.shell.size(), 1u);
    EXPECT_EQ(platform.shell[0].file, L"mspaint");
    EXPECT_EQ(platform.shell[0].parameters, L"\"" + LastImageFile + L"\"")
        << "quoted for the spaces";
    EXPECT_EQ(platform.shell[0].directory, L".");
    EXPECT_EQ(form->counter, 0.0);

    pick(L"EditImagePopupBtn", L"optEditWithDefaultEditor");
    ASSERT_EQ(platform.shell.size(), 2u);
    EXPECT_EQ(platform.shell[1].file, LastImageFile);
    EXPECT_EQ(platform.shell[1].parameters, L"");
    EXPECT_EQ(setup(), "0;1;1;1;0;4\r\n");
}

TEST_F(MenuDispatchTest, AutostartWritesAQuotedPathAndConfirms) {
    const std::wstring key = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    for (int i = 0; i < 2; ++i) form->S1Click();
    EXPECT_EQ(platform.registry[key].size(), 1u);
    EXPECT_EQ(platform.registry[key][L"Glimmershot"], L"\"" + platform.exe + L"\"");
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].text,
              L"Application will be automatically started after Windows Startup.");
    EXPECT_EQ(platform.boxes[0].title, L"Info");
    EXPECT_EQ(platform.boxes[0].style, 0x40u);

    form->Donotstartonwindowsstartup1Click();
    form->Donotstartonwindowsstartup1Click();  // nothing there any more: still confirmed
    EXPECT_TRUE(platform.registry[key].empty());
    EXPECT_EQ(platform.boxes.back().text,
              L"Application will not be automatically started after Windows Startup.");
    EXPECT_EQ(platform.boxes.size(), 4u);

    platform.keyWontOpen = true;  // created, but it will not open: no value, still confirmed
    form->S1Click();
    EXPECT_TRUE(platform.registry[key].empty());
    EXPECT_EQ(platform.boxes.size(), 5u);
}

TEST_F(MenuDispatchTest, AutostartFailuresReachTheErrorReport) {
    platform.failCreateKey = true;
    try {
        form->S1Click();
        FAIL() << "expected an error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(),
                     "Failed to create key \\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    }
    platform.failCreateKey = false;
    platform.failSetValue = true;
    try {
        form->S1Click();
        FAIL() << "expected an error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Glimmershot'");
    }
    EXPECT_TRUE(platform.boxes.empty()) << "no confirmation after an error";
}

TEST_F(MenuDispatchTest, HelpFromTheLabelAndTheTrayMenuOpensThePage) {
    clickControl(L"lblHelp");
    backend.nextChoice = L"Help";
    backend.trays.at(0)->contextMenu({1, 1});
    ASSERT_EQ(platform.shell.size(), 2u);
    for (const auto& call : platform.shell) {
        EXPECT_EQ(call.file, AppDir + L"\\help\\index.html");
        EXPECT_EQ(call.verb, L"open");
        EXPECT_EQ(call.owner, form->handle());
        EXPECT_EQ(call.directory, L"");
    }
}

}  // namespace
}  // namespace gs

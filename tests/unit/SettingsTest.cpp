#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "recording/ClipForm.h"
#include "settings/SetupCsv.h"
#include "support/AppFixture.h"

namespace gs {
namespace {

// The program started in a temporary folder, optionally with a setup.csv already there.
class SettingsTest : public test::AppFixture {
  protected:
    std::filesystem::path setupPath() const { return dir.path / "setup.csv"; }
    void writeSetup(const std::string& text) {
        std::ofstream(setupPath(), std::ios::binary) << text;
    }
    std::string readSetup() const { return test::ReadBytes(setupPath()); }
    // The checked indices as the file would store them.
    std::vector<int> checked() {
        std::vector<int> out;
        for (ui::MenuItem* column : {&form->OpenFolderpp->root(), &form->EditImagepp->root(),
                                     &form->ConvertToTextpp->root(), &form->RecordVideopp->root(),
                                     form->optVideoFormat, form->optVideoQuality})
            out.push_back(TForm1::FirstCheckedIndex(*column));
        return out;
    }
    void choose(const wchar_t* name) {
        ui::MenuItem* item = findItem(name);
        ASSERT_NE(item, nullptr) << "no entry named " << std::string(name, name + wcslen(name));
        item->Click();
    }
    ui::MenuItem* findItem(const wchar_t* name) {
        if (auto* i = dynamic_cast<ui::MenuItem*>(form->FindComponent(name))) return i;
        for (ui::MenuItem* parent : {form->optVideoFormat, form->optVideoQuality})
            if (auto* i = dynamic_cast<ui::MenuItem*>(parent->FindComponent(name))) return i;
        return nullptr;
    }
    static std::string header() {
        return "OpenFolderCheckedItem;EditImageCheckedItem;OCRCheckedItem;VideoCheckedItem;"
               "VideoFormat;VideoQuality\r\n";
    }
};

TEST_F(SettingsTest, FirstStartWritesTheDefaultsAndSaysSoOnce) {
    start();
    EXPECT_EQ(readSetup(), header() + "0;0;1;1;0;4\r\n");
    EXPECT_EQ(readSetup().size(), 114u);
    ASSERT_EQ(backend.balloons.size(), 1u);
    EXPECT_EQ(backend.balloons[0].text, L"Glimmershot has been started.");
    EXPECT_EQ(backend.balloons[0].title, L"Info");
    EXPECT_EQ(backend.balloons[0].timeout, 3);
    EXPECT_TRUE(backend.balloons[0].unasked) << "it waits for the user's quiet time to end";
    start();
    EXPECT_TRUE(backend.balloons.empty()) << "the second start is quiet";
    EXPECT_EQ(checked(), (std::vector<int>{0, 0, 1, 1, 0, 4}));
}

TEST_F(SettingsTest, AFolderNamedSetupCsvCountsAsNoFile) {
    std::filesystem::create_directories(setupPath());
    start();
    EXPECT_EQ(backend.balloons.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(setupPath())) << "the failed save leaves it alone";
}

TEST_F(SettingsTest, StoredIndicesCheckTheirItems) {
    writeSetup(header() + "2;1;0;0;3;2\r\n");
    start();
    EXPECT_TRUE(findItem(L"optSlowMotionFolder")->Checked());
    EXPECT_FALSE(findItem(L"optImagesFolder")->Checked());
    EXPECT_TRUE(findItem(L"optEditWithDefaultEditor")->Checked());
    EXPECT_TRUE(findItem(L"Englis1")->Checked()) << "index 0 is Czech";
    EXPECT_TRUE(form->optRecordSlowMotion->Checked());
    EXPECT_TRUE(form->optAVCodecmov->Checked());
    EXPECT_FALSE(form->optAVCodecwmv->Checked());
    EXPECT_TRUE(form->optAVQualitymedium->Checked());
    EXPECT_FALSE(form->optAVQualityveryhigh->Checked());
    EXPECT_TRUE(backend.balloons.empty());
}

TEST_F(SettingsTest, MalformedLinesApplyTheirValidPrefix) {
    struct Case {
        std::string text;
        std::vector<int> expect;
    };
    const Case cases[] = {
        {header() + "0;1;9;1;0;4\r\n", {0, 1, 1, 1, 0, 4}},  // 9 is past the languages
        {header() + "0;0;1\r\n", {0, 0, 1, 1, 0, 4}},
        {header() + "3;1;0;0;1;0;7;7\r\n", {3, 1, 0, 0, 1, 0}},  // extra fields ignored
        {header() + "0; 0;1;1;0;4\r\n", {0, 0, 1, 1, 0, 4}},
        {header() + "2;1;0;0;3;2\r\n\r\n", {0, 0, 1, 1, 0, 4}},  // a trailing blank line
        {header(), {0, 0, 1, 1, 0, 4}},                          // only the header
        {header() + "1;;1\r\n", {1, 0, 1, 1, 0, 4}},
        {header() + "-1;1\r\n", {0, 0, 1, 1, 0, 4}},
        {header() + "\"3\";\"1\"\n", {3, 1, 1, 1, 0, 4}},
        {"", {0, 0, 1, 1, 0, 4}},
        {header() + "1;1;5;0;2;0", {1, 1, 5, 0, 2, 0}},  // a disabled language, no final CR LF
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeSetup(c.text);
        start();
        EXPECT_EQ(checked(), c.expect);
        EXPECT_EQ(readSetup(), c.text) << "loading never rewrites the file";
    }
}

// Whatever the last line holds, loading applies the columns it can read in order and then
// stops: the result is always the defaults with some prefix of the line's values.
TEST_F(SettingsTest, RandomLinesApplyAPrefixOfTheirColumns) {
    std::mt19937 rng(11);
    const std::string alphabet = "0123456789;;; \"-+x\t";
    const std::vector<int> defaults{0, 0, 1, 1, 0, 4};
    const int counts[] = {5, 2, 8, 5, 5, 5};
    for (int n = 0; n < 300; ++n) {
        std::string line(rng() % 24, ' ');
        for (char& ch : line) ch = alphabet[rng() % alphabet.size()];
        writeSetup(header() + line + "\r\n");
        start();
        const std::vector<int> got = checked();
        const auto fields = settings::SplitSetupLine(line);
        size_t applied = 0;
        while (applied < 6 && applied < fields.size()) {
            auto v = settings::ParseSetupInt(fields[applied]);
            if (!v || *v < 0 || *v >= counts[applied]) break;
            ++applied;
        }
        for (size_t i = 0; i < 6; ++i) {
            // A non-radio entry checked by index leaves the radio entry first in line.
            const int fromLine = i < applied ? *settings::ParseSetupInt(fields[i]) : -1;
            const bool nonRadio = (i == 0 && fromLine == 4) || (i == 3 && fromLine >= 2);
            const int want = i < applied && !nonRadio ? fromLine : defaults[i];
            ASSERT_EQ(got[i], want) << "line '" << line << "' column " << i;
        }
    }
}

TEST_F(SettingsTest, NonRadioItemsCheckedByIndexClearNothing) {
    writeSetup(header() + "4;0;1;3;0;4\r\n");
    start();
    EXPECT_TRUE(findItem(L"optClearAllFolders")->Checked());
    EXPECT_TRUE(findItem(L"optImagesFolder")->Checked());
    EXPECT_TRUE(form->optVideoQuality->Checked());
    EXPECT_TRUE(findItem(L"optRecordVideo")->Checked());
    form->SaveSetup();
    EXPECT_EQ(readSetup(), header() + "0;0;1;1;0;4\r\n") << "the first checked index is written";
}

TEST_F(SettingsTest, EveryCombinationSurvivesARestart) {
    const std::vector<std::vector<const wchar_t*>> columns = {
        {L"optImagesFolder", L"optOCRFolder", L"optSlowMotionFolder", L"optVideoFolder"},
        {L"optEditWithMSPaint", L"optEditWithDefaultEditor"},
        {L"Englis1", L"English1"},
        {L"optRecordSlowMotion", L"optRecordVideo"},
        {L"optAVCodecwmv1", L"optAVCodecmp4", L"optAVCodecflv", L"optAVCodecmov",
         L"optAVCodecwebm"},
        {L"optAVQualitylow", L"optAVQualitymediumlow", L"optAVQualitymedium", L"optAVQualityhigh",
         L"optAVQualityveryhigh"}};
    start();
    std::vector<int> pick(6, 0);
    int combinations = 0;
    for (;;) {
        for (size_t c = 0; c < 6; ++c)
            findItem(columns[c][static_cast<size_t>(pick[c])])->setChecked(true);
        form->SaveSetup();
        start();
        ASSERT_EQ(checked(), pick);
        ++combinations;
        size_t c = 0;  // the next combination, like an odometer
        while (c < 6 && ++pick[c] == static_cast<int>(columns[c].size())) pick[c++] = 0;
        if (c == 6) break;
    }
    EXPECT_EQ(combinations, 4 * 2 * 2 * 2 * 5 * 5);
}

TEST_F(SettingsTest, AFailedSaveLeavesTheOldFileAndTheChoiceStands) {
    start();
    const std::string before = readSetup();
    platform.failReplace = true;
    form->optImagesFolderClick(*findItem(L"optEditWithDefaultEditor"));
    EXPECT_EQ(readSetup(), before);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "setup.csv.tmp"))
        << "no temporary file is left";
    EXPECT_TRUE(findItem(L"optEditWithDefaultEditor")->Checked());

    // No temporary file can be made: the choice is written in place rather than lost.
    platform.failReplace = false;
    std::filesystem::create_directory(dir.path / "setup.csv.tmp");
    findItem(L"optAVCodecmp4")->setChecked(true);
    form->SaveSetup();
    start();
    EXPECT_TRUE(findItem(L"optAVCodecmp4")->Checked());
    EXPECT_TRUE(findItem(L"optEditWithDefaultEditor")->Checked());
}

}  // namespace
}  // namespace gs

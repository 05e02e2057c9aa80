#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/DataFolders.h"
#include "imaging/QuickBitmap.h"
#include "jobs/OcrJob.h"
#include "support/AppFixture.h"

namespace gs {
namespace {

TEST(Ocr, FactorTable) {
    EXPECT_EQ(OcrFactor(2, 2), 10);
    EXPECT_EQ(OcrFactor(1600, 1600), 10);
    EXPECT_EQ(OcrFactor(1601, 100), 9);
    EXPECT_EQ(OcrFactor(100, 1777), 9);
    EXPECT_EQ(OcrFactor(1920, 1080), 8);
    EXPECT_EQ(OcrFactor(2560, 1440), 6);
    EXPECT_EQ(OcrFactor(16000, 10), 1);
    EXPECT_EQ(OcrFactor(16001, 10), 0);
}

TEST(Ocr, ParametersWithAndWithoutALanguage) {
    const std::wstring ocr = L"D:\\Capture\\Data\\Published\\ocr";
    EXPECT_EQ(OcrParameters(L"eng", ocr + L"\\img1.png", ocr + L"\\2013-05-01-10-20-30-0007"),
              L"-l eng -psm 1 \"D:\\Capture\\Data\\Published\\ocr\\img1.png\" "
              L"\"D:\\Capture\\Data\\Published\\ocr\\2013-05-01-10-20-30-0007\"");
    EXPECT_EQ(OcrParameters(L"", L"i", L"b"), L"-l  -psm 1 \"i\" \"b\"");
    EXPECT_EQ(OcrLanguageCode(0), L"ces");
    EXPECT_EQ(OcrLanguageCode(7), L"spa");
}

TEST(Ocr, TextFilesBecomeCrLfLinesDecodedFromUtf8) {
    EXPECT_EQ(OcrText("abc\ndef"), L"abc\r\ndef\r\n");
    EXPECT_EQ(OcrText("abc\r\ndef\r\n"), L"abc\r\ndef\r\n");
    EXPECT_EQ(OcrText(""), L"");
    EXPECT_EQ(OcrText("\n"), L"\r\n");
    EXPECT_EQ(OcrText("Ji\xC5\x99\xC3\xAD \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD\n"),
              L"Jiří žluťoučký\r\n");
    EXPECT_EQ(OcrText("a\xC3(b\xFF\n"), L"a\uFFFD(b\uFFFD\r\n");
    EXPECT_EQ(OcrText("\xE2\x82"), L"\uFFFD\r\n") << "a cut-off sequence";
}

class OcrJobTest : public test::AppFixture {
  protected:
    void SetUp() override {
        start();
        form->CreateDirectories();
        form->LastCapturedScreen = std::make_shared<const Picture>(Picture(40, 20, 0xFF808080u));
    }
    static void writeText(const std::wstring& path, const std::string& bytes) {
        std::ofstream(HostPath(path), std::ios::binary) << bytes;
    }
    static std::pair<uint32_t, uint32_t> pngSize(const std::wstring& path) {
        std::ifstream f(HostPath(path), std::ios::binary);
        unsigned char h[24] = {};
        f.read(reinterpret_cast<char*>(h), 24);
        auto be = [&](int o) {
            return (uint32_t{h[o]} << 24) | (h[o + 1] << 16) | (h[o + 2] << 8) | h[o + 3];
        };
        return {be(16), be(20)};
    }
};

TEST_F(OcrJobTest, ChoosingCzechEnlargesWritesAndStartsTheProgramHidden) {
    form->optImagesFolderClick(*form->ConvertToTextpp->Items()[0]);
    EXPECT_EQ(backend.balloons.back().text, L"Starting optical character recognition.");
    EXPECT_FALSE(form->Visible());
    const std::wstring image = AppDir + OCRFolder + L"\\img1.png";
    EXPECT_EQ(pngSize(image), (std::pair<uint32_t, uint32_t>{400, 200}));
    ASSERT_EQ(platform.shell.size(), 1u);
    const auto& call = platform.shell[0];
    EXPECT_EQ(call.file, AppDir + L"\\Data\\TesseractOCR\\tesseract.exe");
    EXPECT_EQ(call.directory, AppDir + L"\\Data\\TesseractOCR");
    EXPECT_EQ(call.show, 0);
    EXPECT_EQ(call.owner, form->handle());
    EXPECT_EQ(call.parameters, OcrParameters(L"ces", image, OCRResultBase));
    EXPECT_EQ(OCRResultBase.substr(0, (AppDir + OCRFolder).size()), AppDir + OCRFolder);
    EXPECT_GT(platform.pumps, 0) << "the GUI kept pumping while the picture was made";
}

TEST_F(OcrJobTest, SeveralCheckedLanguagesUseTheHighestAndABareCaptureIsWhite) {
    form->LastCapturedScreen = std::make_shared<const Picture>(Picture());
    form->ConvertToTextpp->Items()[6]->setChecked(true);  // Russian, as the settings file may do
    form->ConvertToTextClick();
    EXPECT_NE(platform.shell.back().parameters.find(L"-l rus -psm 1"), std::wstring::npos);
    EXPECT_EQ(pngSize(AppDir + OCRFolder + L"\\img1.png"),
              (std::pair<uint32_t, uint32_t>{1000, 1000}));
}

TEST_F(OcrJobTest, TheTextIsTakenOnceCompleteAndOnlyTheLatestConversionCounts) {
    form->ConvertToTextClick();
    const std::wstring first = OCRResultBase;
    form->ConvertToTextClick();
    const std::wstring second = OCRResultBase;
    ASSERT_NE(first, second);
    writeText(first + L".txt", "old\n");
    form->LoadOCRText();
    form->LoadOCRText();
    EXPECT_TRUE(platform.clipboardText.empty());

    writeText(second + L".txt", "Hello Jiří\nworld");
    platform.heldForWriting.insert(second + L".txt");  // its program is still writing it
    form->LoadOCRText();
    EXPECT_TRUE(platform.clipboardText.empty());
    platform.heldForWriting.clear();
    form->LoadOCRText();
    ASSERT_EQ(platform.clipboardText.size(), 1u);
    EXPECT_EQ(platform.clipboardText[0], L"Hello Jiří\r\nworld\r\n");
    EXPECT_TRUE(OCRResultBase.empty());
    EXPECT_EQ(
        backend.balloons.back().text,
        L"Optical character recognition is finished. Open your favourite text editor and paste "
        L"clipboard content into it (using Ctrl+v).");
    form->LoadOCRText();
    EXPECT_EQ(platform.clipboardText.size(), 1u);
}

TEST_F(OcrJobTest, AnEmptyFileIsTakenOnceNoProgramWritesItAndAClickDuringTheWorkIsKept) {
    form->ConvertToTextClick();
    writeText(OCRResultBase + L".txt", "");  // created by an OCR program as it starts
    platform.heldForWriting.insert(OCRResultBase + L".txt");
    for (int i = 0; i < 300; ++i) form->LoadOCRText();
    EXPECT_TRUE(platform.clipboardText.empty()) << "never a premature empty text";
    platform.heldForWriting.clear();
    form->LoadOCRText();
    ASSERT_EQ(platform.clipboardText.size(), 1u) << "finished with no text found";
    EXPECT_EQ(platform.clipboardText[0], L"");

    // A click while the picture is made (inside its message pumping) starts one more conversion.
    const size_t started = platform.shell.size();
    int clicks = 0;
    platform.onPump = [&] {
        if (clicks++ < 3) form->ConvertToTextClick();
    };
    form->ConvertToTextClick();
    platform.onPump = nullptr;
    EXPECT_EQ(platform.shell.size(), started + 2) << "the first conversion and one queued after it";
}

TEST_F(OcrJobTest, ABusyClipboardIsTriedAgainAndTooLargeCapturesAreNotConverted) {
    form->ConvertToTextClick();
    writeText(OCRResultBase + L".txt", "x\n");
    platform.clipboardBusy = true;
    form->LoadOCRText();
    form->LoadOCRText();
    EXPECT_FALSE(OCRResultBase.empty());
    platform.clipboardBusy = false;
    form->LoadOCRText();
    EXPECT_TRUE(OCRResultBase.empty());

    OCRResultBase = L"C:\\earlier";
    form->LastCapturedScreen = std::make_shared<const Picture>(Picture(16001, 2));
    const size_t calls = platform.shell.size();
    form->ConvertToTextClick();
    EXPECT_EQ(OCRResultBase, L"C:\\earlier") << "a factor of 0 fails before the result is named";
    EXPECT_EQ(platform.shell.size(), calls);

    // The result is named before the picture is written (not seconds later, once it is): a
    // picture that cannot be written starts no engine, and its name is taken all the same.
    form->LastCapturedScreen = std::make_shared<const Picture>(Picture(40, 20));
    std::filesystem::remove_all(HostPath(AppDir + OCRFolder));
    writeText(AppDir + OCRFolder, "a file where the folder belongs");
    FileCounter = 7;
    form->ConvertToTextClick();
    EXPECT_EQ(OCRResultBase, AppDir + OCRFolder + L"\\2013-05-17-14-03-59-0007");
    EXPECT_EQ(FileCounter.load(), 8);
    EXPECT_EQ(platform.shell.size(), calls);
}

}  // namespace
}  // namespace gs

#include "jobs/OcrJob.h"

#include <stdexcept>

#include "data/DataFolders.h"
#include "imaging/ImageFiles.h"
#include "imaging/QuickBitmap.h"
#include "platform/Pump.h"
#include "platform/Text.h"

namespace gs {

std::wstring OCRResultBase;

std::wstring OcrLanguageCode(int index) {
    static const wchar_t* const kCodes[] = {L"ces", L"eng", L"fra", L"deu",
                                            L"ita", L"por", L"rus", L"spa"};
    return index >= 0 && index < 8 ? kCodes[index] : L"";
}

std::wstring OcrParameters(const std::wstring& language, const std::wstring& image,
                           const std::wstring& base) {
    return L"-l " + language + L" -psm 1 \"" + image + L"\" \"" + base + L"\"";
}

std::wstring OcrText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t lf = bytes.find('\n', start);
        const size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view line = bytes.substr(start, end - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        text.append(line).append("\r\n");
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    return FromUtf8(text);
}

bool WriteOcrPicture(Platform& platform, Executor& pool, const Picture& capture,
                     const std::wstring& image, const std::function<bool()>& stillWanted,
                     const std::function<void()>& beforeWriting) {
    imaging::RgbRows enlarged;
    RunWhilePumping(platform, pool, [&] {
        TQuickBitmap source(&capture);
        const int factor = OcrFactor(source.width, source.height);
        if (factor < 1) throw std::runtime_error("Too large to enlarge");
        // The enlargement's rows are made as the PNG writer takes them: a 16000 x 9000
        // picture never sits whole in memory.
        enlarged = source.EnlargedRows(factor, factor, &pool);
    });
    if (!stillWanted()) return false;
    beforeWriting();
    RunWhilePumping(platform, pool, [&] {
        // Run-length matches only: on an enlargement's smooth rows they are three times as
        // fast, and only our OCR tool reads the file.
        imaging::WritePng(image, enlarged, {7, 65535, /*runLength=*/true, &pool});
        enlarged = {};
    });
    return stillWanted();
}

void AwaitOcrResult(Platform& platform) {
    OCRResultBase = AppDir + OCRFolder + L"\\" + GetUniqueFileName(platform);
}

void StartOcr(Platform& platform, NativeWindow owner, const std::wstring& language,
              const std::wstring& image) {
    const std::wstring tools = AppDir + ToolsFolder;
    platform.shellExecute(owner, L"open", tools + L"\\tesseract.exe",
                          OcrParameters(language, image, OCRResultBase), tools, kSwHide);
}

std::optional<std::wstring> FinishedOcrText(Platform& platform) {
    if (OCRResultBase.size() < 2) return std::nullopt;
    // Our tesseract.exe makes the file appear whole, so it is taken at once, empty or not.
    // Another OCR program may create it as it starts and fill it at the end: while that
    // program still has it open for writing, it is not taken.
    const std::optional<std::string> bytes = platform.readFinishedFile(OCRResultBase + L".txt");
    if (!bytes) return std::nullopt;
    return OcrText(*bytes);
}

}  // namespace gs

#include "jobs/OcrJob.h"

#include <cmath>

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

}  // namespace gs

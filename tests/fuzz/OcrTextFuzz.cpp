// libFuzzer target for the reader of the OCR program's result: any bytes must turn into text
// whose every line ends with CR LF, with malformed UTF-8 replaced and nothing else changed.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "jobs/OcrJob.h"
#include "platform/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = gs::OcrText(bytes);

    size_t inLines = 0, outLines = 0;
    for (char c : bytes) inLines += c == '\n';
    if (!bytes.empty() && bytes.back() != '\n') ++inLines;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint32_t>(text[i]);
        if (c == L'\n') {
            if (i == 0 || text[i - 1] != L'\r') std::abort();  // a bare LF reached the clipboard
            ++outLines;
        }
        if (c > 0x10FFFF) std::abort();
        if constexpr (sizeof(wchar_t) == 4)
            if (c >= 0xD800 && c <= 0xDFFF) std::abort();  // a lone surrogate
    }
    if (outLines != inLines) std::abort();
    if (!bytes.empty() && text.substr(text.size() - 2) != L"\r\n") std::abort();
    if (gs::FromUtf8(gs::ToUtf8(text)) != text) std::abort();

    // Well-formed UTF-8 comes through unchanged apart from its line ends.
    if (gs::ToUtf8(gs::FromUtf8(bytes)) == bytes) {
        std::string expected;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n' && (expected.empty() || expected.back() != '\r')) expected += '\r';
            expected += bytes[i];
        }
        if (!expected.empty() && expected.back() != '\n') expected += "\r\n";
        if (gs::ToUtf8(text) != expected) std::abort();
    }
    return 0;
}

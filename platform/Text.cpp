#include "platform/Text.h"

#include <cstdint>

namespace gs {

static void appendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

std::wstring FromUtf8(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<uint8_t>(s[i]);
        if (b0 < 0x80) {
            out += static_cast<wchar_t>(b0);
            ++i;
            continue;
        }
        int len = b0 >= 0xC2 && b0 <= 0xDF   ? 2
                  : b0 >= 0xE0 && b0 <= 0xEF ? 3
                  : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                             : 0;
        char32_t cp = len == 2 ? b0 & 0x1F : len == 3 ? b0 & 0x0F : b0 & 0x07;
        int got = 1;
        for (; len && got < len && i + got < s.size(); ++got) {
            const auto b = static_cast<uint8_t>(s[i + got]);
            // The second byte's range excludes overlong forms and surrogates.
            uint8_t lo = 0x80, hi = 0xBF;
            if (got == 1) {
                if (b0 == 0xE0) lo = 0xA0;
                if (b0 == 0xED) hi = 0x9F;
                if (b0 == 0xF0) lo = 0x90;
                if (b0 == 0xF4) hi = 0x8F;
            }
            if (b < lo || b > hi) break;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (len && got == len) {
            appendCodePoint(out, cp);
            i += len;
        } else {
            out += L'\xFFFD';
            i += got;  // the maximal invalid prefix counts as one error
        }
    }
    return out;
}

std::string ToUtf8(std::wstring_view t) {
    std::string out;
    out.reserve(t.size());
    for (size_t i = 0; i < t.size(); ++i) {
        char32_t cp = static_cast<char32_t>(t[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 &&
                t[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(t[i + 1]) - 0xDC00);
                ++i;
            } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                cp = 0xFFFD;
            }
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string HostPath(std::wstring_view windowsPath) {
    std::string out = ToUtf8(windowsPath);
#ifndef _WIN32
    for (char& c : out)
        if (c == '\\') c = '/';
#endif
    return out;
}

}  // namespace gs

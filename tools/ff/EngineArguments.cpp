#include "tools/ff/EngineArguments.h"

#include <algorithm>
#include <cwctype>
#include <initializer_list>

namespace gs::tools {

namespace {

using Args = std::vector<std::wstring>;

uint32_t bigEndian(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// The value after the first of `names`, or nothing.
std::optional<std::wstring> valueOf(const Args& args, std::initializer_list<const wchar_t*> names) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        for (const wchar_t* n : names)
            if (args[i] == n) return args[i + 1];
    return std::nullopt;
}

bool has(const Args& args, std::initializer_list<const wchar_t*> names) {
    return std::any_of(args.begin(), args.end(), [&](const std::wstring& a) {
        return std::any_of(names.begin(), names.end(), [&](const wchar_t* n) { return a == n; });
    });
}

bool endsWithNoCase(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() &&
           std::equal(tail.rbegin(), tail.rend(), s.rbegin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

constexpr std::initializer_list<const wchar_t*> kCodecOptions = {L"-vcodec", L"-c:v", L"-codec:v"};

// Even sizes by repeating the last column and row: no pixel is lost, and the 4:2:0 colour of
// the last real column is not mixed with a padding colour.
void padToEven(const Args& program, std::optional<FrameSize> frame, Args& extra) {
    if (!frame || (frame->width % 2 == 0 && frame->height % 2 == 0)) return;
    if (has(program, {L"-vf", L"-filter:v", L"-filter_complex", L"-lavfi"})) return;
    const int right = frame->width % 2, bottom = frame->height % 2;
    std::wstring filter = L"pad=" + std::to_wstring(frame->width + right) + L":" +
                          std::to_wstring(frame->height + bottom) + L":0:0,fillborders=";
    if (right) filter += L"right=1:";
    if (bottom) filter += L"bottom=1:";
    extra.insert(extra.end(), {L"-vf", filter + L"mode=smear"});
}

// VP8 takes no -qscale: the same scale (lower is better) becomes its fixed quantizer, 4 to 63,
// so the five qualities differ in WebM as they do in the other formats. Its default speed is
// several times slower than real time on screen-sized frames.
void vp8Quality(const Args& program, Args& extra) {
    const auto codec = valueOf(program, kCodecOptions);
    if (!codec || codec->rfind(L"libvpx", 0) != 0) return;
    if (!has(program, {L"-qmin", L"-qmax", L"-crf", L"-b:v"})) {
        int q = 17;
        if (const auto s = valueOf(program, {L"-qscale", L"-q:v", L"-qscale:v"})) {
            try {
                q = std::stoi(*s);
            } catch (...) {
            }
        }
        const std::wstring quantizer = std::to_wstring(std::clamp((q * 8 + 2) / 5, 4, 63));
        extra.insert(extra.end(), {L"-qmin", quantizer, L"-qmax", quantizer, L"-b:v", L"100M"});
    }
    if (!has(program, {L"-deadline", L"-quality", L"-cpu-used"}))
        extra.insert(extra.end(), {L"-deadline", L"good", L"-cpu-used", L"4"});
}

void playableMov(const Args& program, Args& extra) {
    if (!endsWithNoCase(program.back(), L".mov") || has(program, kCodecOptions) ||
        has(program, {L"-pix_fmt"}))
        return;
    extra.insert(extra.end(), {L"-pix_fmt", L"yuv420p"});
}

}  // namespace

std::optional<FrameSize> PngFrameSize(const std::string& head) {
    static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
    if (head.size() < 24 || head.compare(0, 8, kSignature) != 0 || head.compare(12, 4, "IHDR") != 0)
        return std::nullopt;
    const uint32_t w = bigEndian(head, 16), h = bigEndian(head, 20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return std::nullopt;
    return FrameSize{static_cast<int>(w), static_cast<int>(h)};
}

std::wstring FirstFrameFile(const Args& args) {
    std::wstring input = valueOf(args, {L"-i"}).value_or(L"");
    // A printf-style frame number: "%d", "%6d" or "%06d".
    const size_t at = input.find(L'%');
    if (at == std::wstring::npos) return input;
    size_t end = at + 1;
    while (end < input.size() && std::iswdigit(input[end])) ++end;
    if (end >= input.size() || input[end] != L'd') return input;
    const std::wstring digits = input.substr(at + 1, end - at - 1);
    const size_t width = digits.empty() ? 1 : std::min<size_t>(std::stoul(digits), 32);
    return input.replace(at, end + 1 - at, std::wstring(std::max<size_t>(width, 1), L'0'));
}

std::vector<std::wstring> EngineArguments(const Args& program,
                                          std::optional<FrameSize> firstFrame) {
    Args out = {L"-hide_banner", L"-nostdin", L"-nostats"};
    // Output options go before the output file, the last argument; without one there is
    // nothing to add to.
    if (program.empty() || program.back().empty() || program.back()[0] == L'-') {
        out.insert(out.end(), program.begin(), program.end());
        return out;
    }
    Args extra;
    padToEven(program, firstFrame, extra);
    vp8Quality(program, extra);
    playableMov(program, extra);
    out.insert(out.end(), program.begin(), program.end() - 1);
    out.insert(out.end(), extra.begin(), extra.end());
    out.push_back(program.back());
    return out;
}

uint32_t RenderTimeLimitMs(int frames, FrameSize size) {
    // Many times what the slowest format takes a frame on a small machine, for a loaded one.
    const double megapixels = static_cast<double>(size.width) * size.height / 1e6;
    const double ms = 60000.0 + std::max(frames, 0) * (100.0 + 250.0 * megapixels);
    return static_cast<uint32_t>(std::min(ms, 4.0e9));
}

}  // namespace gs::tools

#include "tools/ff/EngineArguments.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cwctype>
#include <initializer_list>

namespace gs::tools {

namespace {

using Args = std::vector<std::wstring>;

// A whole number as a command line writes it ("17", "06"), within [least, most]; nothing for
// anything else (a fraction, letters, more digits than the range holds).
std::optional<int> number(const std::wstring& s, int least, int most) {
    std::string narrow;
    for (wchar_t c : s) {
        if (static_cast<uint32_t>(c) > 127) return std::nullopt;
        narrow += static_cast<char>(c);
    }
    const char* end = narrow.data() + narrow.size();
    int v = 0;
    const auto [stop, error] = std::from_chars(narrow.data(), end, v);
    if (error != std::errc() || stop != end || v < least || v > most) return std::nullopt;
    return v;
}

// Where the frame number ("%d", "%6d", "%06d") lies in an input's file name: the engine reads
// a "%" anywhere in the path as the start of one, but only the program's name for its frames
// holds it on purpose.
struct FrameNumber {
    size_t name, at, end;  // the file name's start; the frame number's start and end
    int width;             // digits, padded with zeros
};
std::optional<FrameNumber> frameNumber(const std::wstring& input) {
    const size_t slash = input.find_last_of(L"\\/");
    const size_t name = slash == std::wstring::npos ? 0 : slash + 1;
    const size_t at = input.find(L'%', name);
    if (at == std::wstring::npos) return std::nullopt;
    size_t end = at + 1;
    while (end < input.size() && input[end] >= L'0' && input[end] <= L'9') ++end;
    if (end >= input.size() || input[end] != L'd') return std::nullopt;
    // No file of ours is named by a number of more than a few dozen digits.
    const std::optional<int> width =
        end == at + 1 ? 1 : number(input.substr(at + 1, end - at - 1), 0, 32);
    if (!width) return std::nullopt;
    return FrameNumber{name, at, end + 1, std::max(*width, 1)};
}

// The input as the engine must be given it: a "%" in the folder's name doubled, or the engine
// would take it for a frame number and find no frames at all.
std::wstring engineInput(const std::wstring& input) {
    const std::optional<FrameNumber> frame = frameNumber(input);
    if (!frame) return input;
    std::wstring out;
    for (size_t i = 0; i < frame->name; ++i)
        out += input[i] == L'%' ? L"%%" : std::wstring(1, input[i]);
    return out + input.substr(frame->name);
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
    std::wstring filter = L"pad=" + std::to_wstring(int64_t{frame->width} + right) + L":" +
                          std::to_wstring(int64_t{frame->height} + bottom) + L":0:0,fillborders=";
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
        const auto scale = valueOf(program, {L"-qscale", L"-q:v", L"-qscale:v"});
        // Any scale from 40 on is the coarsest quantizer.
        const int q = std::min(scale ? number(*scale, 0, INT_MAX).value_or(17) : 17, 40);
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

std::wstring FirstFrameFile(const Args& args) {
    std::wstring input = valueOf(args, {L"-i"}).value_or(L"");
    const std::optional<FrameNumber> frame = frameNumber(input);
    if (!frame) return input;
    return input.replace(frame->at, frame->end - frame->at,
                         std::wstring(static_cast<size_t>(frame->width), L'0'));
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
    const size_t first = out.size();
    out.insert(out.end(), program.begin(), program.end() - 1);
    for (size_t i = first; i + 1 < out.size(); ++i)
        if (out[i] == L"-i") {
            out[i + 1] = engineInput(out[i + 1]);
            break;
        }
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

// The screen-text front end's preparation, timed: each capture (or enlarged img1.png) is read as
// tesseract.exe reads it and laid out for the engine; prints the milliseconds of each step and
// writes the picture the engine would get as OUT_DIR/<name>.pgm. With --whole, the capture is
// prepared as one picture, without the layout step; with --show, OUT_DIR/<name>-seen.ppm shows
// what the layout step saw: text glyphs blue, marks in the colour of the rule that took them
// (kRuleColours), rules and edges green, runs framed in orange.
// Portable: runs natively and under Wine.
//
//   screentext_bench [--whole | --show] OUT_DIR CAPTURE.png...
//   screentext_bench --read NAME.bands NAME.hocr  (the text tesseract.exe makes of them)
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/FileIo.h"
#include "platform/Text.h"
#include "tools/tesseract/ScreenLayout.h"

namespace {
using namespace gs::tools;

// The colour of the glyphs each mark rule took (ScreenRules.h's order), text blue.
constexpr std::array<std::array<uint8_t, 3>, rules::kMarkRules> kRuleColours = {{
    {0, 0, 230},      // text
    {230, 0, 0},      // colourful: red
    {230, 120, 0},    // icon-sized: orange
    {200, 0, 200},    // alone and taller: magenta
    {150, 0, 90},     // alone in another colour: purple
    {120, 60, 0},     // solid: brown
    {0, 170, 170},    // hollow square: teal
    {90, 90, 90},     // huge: grey
    {160, 160, 0},    // post: olive
    {0, 90, 0},       // caret or divider: dark green
    {90, 0, 200},     // a button's sign: violet
    {255, 0, 120},    // icon in pieces: pink
    {0, 120, 255},    // bullet: light blue
    {255, 200, 0},    // inside an icon: yellow
    {0, 200, 90},     // a dense picture: sea green
    {120, 120, 255},  // a size grip: lavender
    {200, 120, 60},   // dotted: copper
}};

std::string Seen(const RgbImage& capture, const Ink& ink, const Marks& marks,
                 const TextLayout& layout) {
    std::string out =
        "P6\n" + std::to_string(ink.width) + " " + std::to_string(ink.height) + "\n255\n";
    const size_t head = out.size();
    out.append(capture.pixels.begin(), capture.pixels.end());
    auto paint = [&](size_t p, uint8_t r, uint8_t g, uint8_t b) {
        out[head + 3 * p] = static_cast<char>(r);
        out[head + 3 * p + 1] = static_cast<char>(g);
        out[head + 3 * p + 2] = static_cast<char>(b);
    };
    for (size_t p = 0; p < ink.glyphOf.size(); ++p) {
        if (ink.erased[p]) paint(p, 0, 200, 0);
        if (const int32_t g = ink.glyphOf[p]) {
            const auto [r, gr, b] =
                kRuleColours[static_cast<size_t>(marks[static_cast<size_t>(g - 1)])];
            paint(p, r, gr, b);
        }
    }
    for (const Run& r : layout.runs)
        for (int x = r.box.x0; x < r.box.x1; ++x)
            for (int y : {r.box.y0, r.box.y1 - 1})
                paint(static_cast<size_t>(y) * ink.width + x, 255, 160, 0);
    return out;
}

double since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--read") {
        // The text tesseract.exe would make of the engine's word report for these bands.
        std::vector<Composed::Band> bands;
        gs::File b = gs::OpenFile(gs::FromUtf8(argv[2]), L"rb");
        for (Composed::Band band{}; b && std::fscanf(b.get(), "%d %d %d %d", &band.top,
                                                     &band.bottom, &band.row, &band.block) == 4;) {
            int n = 0, words = 0;
            if (std::fscanf(b.get(), "%d", &words) != 1) break;
            band.words.assign(static_cast<size_t>(std::max(0, words)), 0);
            for (int& w : band.words)
                if (std::fscanf(b.get(), "%d", &w) != 1) break;
            band.spacing.clear();
            if (std::fscanf(b.get(), "%d", &n) != 1) break;
            for (int x0, x1, underscore, digits;
                 n-- > 0 &&
                 std::fscanf(b.get(), "%d %d %d %d", &x0, &x1, &underscore, &digits) == 4;)
                band.spacing.push_back(Spacing{x0, x1, underscore != 0, digits != 0});
            // The text read here: its length, a blank, the text and a line's end.
            auto readText = [&](std::string& text) {
                int length = 0;
                if (std::fscanf(b.get(), "%d", &length) != 1) return false;
                text.assign(static_cast<size_t>(std::max(0, length)), ' ');
                return std::fgetc(b.get()) != EOF &&
                       std::fread(text.data(), 1, text.size(), b.get()) == text.size();
            };
            if (!readText(band.known) || !readText(band.tail)) break;
            bands.push_back(band);
        }
        const std::optional<std::string> hocr = gs::ReadWholeFile(gs::FromUtf8(argv[3]));
        const std::optional<std::string> text = hocr ? TextFromWords(*hocr, bands) : std::nullopt;
        std::fputs(text ? text->c_str() : "", stdout);
        return text ? 0 : 1;
    }
    int first = 1;
    const bool whole = argc > 1 && std::string(argv[1]) == "--whole";
    const bool show = argc > 1 && std::string(argv[1]) == "--show";
    if (whole || show) ++first;
    if (argc - first < 2) {
        std::fprintf(stderr, "usage: screentext_bench [--whole] OUT_DIR CAPTURE.png...\n");
        return 2;
    }
    const std::string out = argv[first];
    for (int i = first + 1; i < argc; ++i) {
        const std::string path = argv[i];
        auto t0 = std::chrono::steady_clock::now();
        gs::File in = gs::OpenFile(gs::FromUtf8(path), L"rb");
        const RgbImage capture = in ? CaptureFromPng(in.get()) : RgbImage{};
        in.reset();
        const double read = since(t0);
        if (capture.width < 1) {
            std::printf("%s: not readable\n", path.c_str());
            continue;
        }
        t0 = std::chrono::steady_clock::now();
        ScreenReading seen;
        const Ink& ink = seen.ink;
        const Marks& marks = seen.marks;
        const TextLayout& layout = seen.layout;
        GreyImage prepared;
        std::vector<Composed::Band> bands;
        double layoutMs = 0;
        if (whole) {
            prepared = PrepareForRecognition(capture);
        } else {
            seen = ReadScreen(capture);
            layoutMs = since(t0);
            if (ink.plain || layout.rows.empty()) {
                prepared = PrepareForRecognition(capture);
            } else {
                Composed composed = ComposeForRecognition(ink, layout);
                prepared = std::move(composed.image);
                bands = std::move(composed.bands);
            }
        }
        const double total = since(t0);
        size_t marked = 0;
        for (rules::MarkRule m : marks) marked += m != rules::MarkRule::Text;
        std::string name = path.substr(path.find_last_of("/\\") + 1);
        name = name.substr(0, name.rfind('.'));
        const std::string pgm = Pgm(prepared);
        gs::File f = gs::OpenFile(gs::FromUtf8(out + "/" + name + ".pgm"), L"wb");
        if (f) std::fwrite(pgm.data(), 1, pgm.size(), f.get());
        {
            std::string text;
            auto put = [&](long long v) { text.append(std::to_string(v)).append(" "); };
            for (const Composed::Band& b : bands) {
                for (int v : {b.top, b.bottom, b.row, b.block}) put(v);
                put(static_cast<long long>(b.words.size()));
                for (int w : b.words) put(w);
                put(static_cast<long long>(b.spacing.size()));
                for (const Spacing& s : b.spacing)
                    for (int v : {s.x0, s.x1, int{s.underscore}, int{s.betweenDigits}}) put(v);
                for (const std::string* known : {&b.known, &b.tail}) {
                    put(static_cast<long long>(known->size()));
                    text.append(*known).append("\n");
                }
            }
            gs::File t = gs::OpenFile(gs::FromUtf8(out + "/" + name + ".bands"), L"wb");
            if (t) std::fwrite(text.data(), 1, text.size(), t.get());
        }
        if (show && !ink.plain) {
            const std::string seen = Seen(capture, ink, marks, layout);
            gs::File s = gs::OpenFile(gs::FromUtf8(out + "/" + name + "-seen.ppm"), L"wb");
            if (s) std::fwrite(seen.data(), 1, seen.size(), s.get());
        }
        std::printf(
            "%s: %d x %d, read %.1f ms, layout %.1f ms%s, prepared %.1f ms in all; "
            "%zu glyphs, %zu marks, %zu runs, %zu rows; %d x %d for the engine\n",
            name.c_str(), capture.width, capture.height, read, layoutMs,
            seen.grid.found() ? " (a character grid)" : "", total, ink.glyphs.size(), marked,
            layout.runs.size(), layout.rows.size(), prepared.width, prepared.height);
    }
    return 0;
}

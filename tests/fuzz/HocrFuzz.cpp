// libFuzzer target for the reader of the engine's hOCR report: any bytes read in one pass into
// words whose every place lies within the range a picture of ours can have, and the text put
// together from them over a few bands (made from the input's first bytes) without a fault.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/tesseract/Hocr.h"
#include "tools/tesseract/ScreenLayout.h"

using namespace gs::tools;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view report(reinterpret_cast<const char*>(data), size);
    auto inRange = [](int v) { return v >= -kFarthestPlace && v <= kFarthestPlace; };
    for (const Word& w : ReadHocr(report)) {
        if (!inRange(w.left) || !inRange(w.top) || !inRange(w.right) || !inRange(w.bottom) ||
            !(w.confidence >= 0 && w.confidence <= 100) || w.letters.empty())
            std::abort();
        for (const Letter& l : w.letters)
            if (!inRange(l.x0) || !inRange(l.x1)) std::abort();
    }
    // Up to four bands of 40 rows, two of them one row read twice, each with a stretch that
    // parts words where the input's bytes say.
    std::vector<Composed::Band> bands;
    for (size_t i = 0; i < 4 && i < size; ++i) {
        const int x = data[i] * 4;
        bands.push_back(Composed::Band{static_cast<int>(i) * 50,
                                       static_cast<int>(i) * 50 + 40,
                                       static_cast<int>(i / 2),
                                       static_cast<int>(i / 3),
                                       {{x, x + 8, (data[i] & 1) != 0, (data[i] & 2) != 0}}});
    }
    const std::optional<std::string> text = TextFromWords(std::string(report), bands);
    if (text && text->size() > 4 * size + bands.size() * 2) std::abort();
    return 0;
}

// libFuzzer target for the settings file's reader: any bytes, split into pieces anywhere,
// must read without a crash, and what the writer writes must read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/SetupCsv.h"

using namespace gs::settings;

namespace {

std::string lastLine(std::string_view text) {
    LastLineReader whole;
    whole.feed(text);
    return whole.last();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Feed in pieces whose sizes come from the input itself: the same last line as in one piece.
    LastLineReader reader;
    size_t at = 0;
    while (at < text.size()) {
        const size_t piece = 1 + static_cast<uint8_t>(text[at]) % 97;
        reader.feed(text.substr(at, piece));
        at += piece;
    }
    if (reader.last() != lastLine(text)) std::abort();
    const std::string line = reader.last();
    if (line.size() > text.size()) std::abort();

    size_t chars = 0;
    for (const std::string& field : SplitSetupLine(line)) {
        chars += field.size();
        if (auto v = ParseSetupInt(field)) {
            // A number reads back from its own decimal text.
            if (ParseSetupInt(std::to_string(*v)) != v) std::abort();
        }
    }
    if (chars > line.size()) std::abort();

    if (size >= 6) {
        int idx[kSetupColumns];
        for (int i = 0; i < kSetupColumns; ++i) idx[i] = data[i] % 10;
        const auto fields = SplitSetupLine(lastLine(SetupFileText(idx)));
        if (fields.size() != kSetupColumns) std::abort();
        for (int i = 0; i < kSetupColumns; ++i)
            if (ParseSetupInt(fields[static_cast<size_t>(i)]) != idx[i]) std::abort();
    }
    return 0;
}

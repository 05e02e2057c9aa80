// libFuzzer target for ff.exe's rewriting of the program's command line: any arguments (the
// input split at NUL bytes, a character per byte) and any first bytes of a frame file give,
// without a throw, an engine command line that holds the program's arguments in their order,
// only the input's folder rewritten, with the same output file last.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/ff/EngineArguments.h"

using namespace gs::tools;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::wstring> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<wchar_t>(data[i]);
    }
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<FrameSize> frame = PngFrameSize(bytes.substr(0, 24));
    if (frame && (frame->width < 1 || frame->height < 1)) std::abort();
    (void)RenderTimeLimitMs(static_cast<int>(size), frame.value_or(FrameSize{1, 1}));

    // The first frame's name: the input's, with at most a frame number of zeros for "%d".
    size_t inputSize = 0;
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == L"-i") {
            inputSize = args[i + 1].size();
            break;
        }
    if (FirstFrameFile(args).size() > inputSize + 32) std::abort();

    const std::vector<std::wstring> out = EngineArguments(args, frame);
    const size_t n = args.size();
    if (out.size() < n + 3 || out.back() != args.back()) std::abort();
    const bool hasOutput = !args.back().empty() && args.back()[0] != L'-';
    size_t input = n;  // the argument that may be rewritten: the first input before the output
    for (size_t j = 0; hasOutput && j + 2 < n; ++j)
        if (args[j] == L"-i") {
            input = j + 1;
            break;
        }
    for (size_t j = 0; j + 1 < n; ++j)
        if (j != input && out[3 + j] != args[j]) std::abort();
    if (input < n && out[3 + input].size() < args[input].size()) std::abort();
    return 0;
}

#pragma once
// What ff.exe makes of the program's command line before the engine sees it. Portable, so the
// rules are tested natively.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/PngHeader.h"

namespace gs::tools {

// The file of the first frame named by the input pattern after "-i" ("...\%06d.png" gives
// "...\000000.png"); the input itself when its file name holds no frame number; empty without
// "-i". The folder is taken as it is written, a "%" in its name included.
std::wstring FirstFrameFile(const std::vector<std::wstring>& args);

// The engine's arguments: everything the program passed, in its order (a "%" in the input's
// folder written "%%", which the engine reads as a "%" of the name, not a frame number), with
// what the engine needs to render it well inserted before the output file:
// - odd frame sizes padded to even by repeating the last column and row (several encoders
//   refuse odd sizes, and 4:2:0 needs even ones), never cropped or scaled;
// - VP8 given a fixed quantizer that follows -qscale (it ignores -qscale) and a speed setting;
// - 4:2:0 for a MOV without codec options (otherwise a full build picks 4:4:4 H.264, which
//   many players refuse).
// A caller's own filter (-vf) or option of the same kind is never overridden. Nothing the
// command line holds makes it throw.
std::vector<std::wstring> EngineArguments(const std::vector<std::wstring>& program,
                                          std::optional<FrameSize> firstFrame);

// How long an engine may take for `frames` frames of `size` before it counts as hung:
// a minute for starting, plus a generous allowance per frame that grows with its area.
uint32_t RenderTimeLimitMs(int frames, FrameSize size);

}  // namespace gs::tools

#pragma once
// Exit codes of the forwarders in the tools folder that mean something other than the
// engine's own result. Shared with the program, which tells the user what they mean.
namespace gs::tools {

inline constexpr int kBadCommandLine = 2;  // no picture or no result named (tesseract.exe)
// The picture is not handed to the engine: larger than the program writes, or one that could
// not be prepared and whose size is not known to be within what the engine is given.
inline constexpr int kPictureRefused = 3;
inline constexpr int kTimedOut = 124;     // the engine overran its time and was ended
inline constexpr int kToolFailed = 125;   // the forwarder itself failed: out of memory, or
                                          // its result could not be written
inline constexpr int kCannotStart = 126;  // the engine was found but would not start
inline constexpr int kNotFound = 127;     // no engine was found

}  // namespace gs::tools

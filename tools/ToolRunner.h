#pragma once
// Shared by the forwarders in the tools folder: they find the real program and run it with
// the caller's arguments, returning its exit code.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/ExitCodes.h"

namespace gs::tools {

// The arguments this program was started with, without its own name.
std::vector<std::wstring> OwnArguments();

// Where an engine may be, in the order tried: the folder shipped beside this program
// (`shipped`, relative to it), then an installation under %ProgramFiles% or the user's own
// %LOCALAPPDATA%\Programs (`installed`, relative to them). Only folders that the user or an
// administrator made: never a drive's root, where any user may create a folder for another to
// run, nor the PATH, which may hold such folders (or this program's own name).
std::vector<std::wstring> EnginePlaces(const std::wstring& shipped, const std::wstring& installed);

// The first of `places` that is a file; empty if none.
std::wstring FindProgram(const std::vector<std::wstring>& places);

// Runs a tool's work and returns its exit code. Whatever the work throws (running out of
// memory included) ends it with kToolFailed, once the work's own objects have cleaned up:
// never with the runtime's abort, which would leave the caller a dialog nobody sees.
int Guarded(int (*work)());

struct RunOptions {
    uint32_t timeLimitMs = 0;  // 0: wait as long as it runs
    std::wstring logFile;      // its standard output and error go here when given
    std::wstring folder;       // its current folder; ours when empty
};
// Runs it with the arguments (quoted as Windows expects), without a console window, and
// returns its exit code, or kTimedOut after ending it when it overran its time. It also ends
// when this program is ended.
int RunProgram(const std::wstring& exe, const std::vector<std::wstring>& args,
               const RunOptions& options = {});

// An environment variable's value, empty when unset.
std::wstring Env(const wchar_t* name);

// The first `bytes` bytes of a file (fewer when it is shorter; none when it cannot be read).
std::string FileHead(const std::wstring& path, size_t bytes);

// The folder of this executable, with a trailing backslash.
std::wstring OwnFolder();
// The user's temporary folder, with a trailing backslash.
std::wstring TempFolder();

}  // namespace gs::tools

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

// The first of `candidates` that exists, else `exeName` (unless empty) on the PATH; empty if
// none.
std::wstring FindProgram(const std::vector<std::wstring>& candidates, const std::wstring& exeName);

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

// The folder of this executable, with a trailing backslash.
std::wstring OwnFolder();
// The user's temporary folder, with a trailing backslash.
std::wstring TempFolder();

}  // namespace gs::tools

#pragma once
// Shared by the forwarders in the tools folder: they find the real program and run it with
// the caller's arguments, returning its exit code.
#include <string>
#include <vector>

namespace gs::tools {

// The arguments this program was started with, without its own name.
std::vector<std::wstring> OwnArguments();

bool RunningUnderWine();

// Under Wine: runs a program of the host system through /bin/sh, waits for it, and returns
// its exit code (127 when the shell cannot find it). Arguments that are Windows paths are
// turned into host paths first.
int RunHostProgram(const std::string& program, const std::vector<std::wstring>& args);

// On Windows: the first of `candidates` that exists, else `exeName` (unless empty) on the
// PATH; empty if none.
std::wstring FindProgram(const std::vector<std::wstring>& candidates, const std::wstring& exeName);
// Runs it with the arguments (quoted as Windows expects) and returns its exit code.
int RunProgram(const std::wstring& exe, const std::vector<std::wstring>& args);

// An environment variable's value, empty when unset.
std::wstring Env(const wchar_t* name);

// The folder of this executable, with a trailing backslash.
std::wstring OwnFolder();

inline constexpr int kNotFound = 127;
inline constexpr int kCannotStart = 126;

}  // namespace gs::tools

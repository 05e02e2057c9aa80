#include "tools/ToolRunner.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/Handles.h"

namespace gs::tools {

namespace {

// Quotes one argument so that CommandLineToArgvW and the C runtime give it back unchanged.
std::wstring winQuote(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : a) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace

std::wstring TempFolder() {
    wchar_t buf[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    return std::wstring(buf, n <= MAX_PATH ? n : 0);
}

std::vector<std::wstring> OwnArguments() {
    // The program starts us with our full path unquoted at the front of the command line, so
    // a folder with blanks would split it. Where the line begins with that path, the
    // arguments are what follows it.
    std::wstring line = GetCommandLineW();
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n && line.size() >= n &&
        CompareStringOrdinal(line.c_str(), static_cast<int>(n), self, static_cast<int>(n), TRUE) ==
            CSTR_EQUAL &&
        (line.size() == n || line[n] == L' ' || line[n] == L'\t'))
        line = L"x" + line.substr(n);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

std::wstring Env(const wchar_t* name) {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(name, buf, MAX_PATH);
    return n && n < MAX_PATH ? std::wstring(buf, n) : L"";
}

std::wstring OwnFolder() {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring path(buf, n);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring FindProgram(const std::vector<std::wstring>& candidates, const std::wstring& exeName) {
    for (const std::wstring& c : candidates)
        if (GetFileAttributesW(c.c_str()) != INVALID_FILE_ATTRIBUTES) return c;
    wchar_t found[MAX_PATH];
    if (!exeName.empty() &&
        SearchPathW(nullptr, exeName.c_str(), nullptr, MAX_PATH, found, nullptr))
        return found;
    return L"";
}

int RunProgram(const std::wstring& exe, const std::vector<std::wstring>& args,
               const RunOptions& options) {
    std::wstring line = winQuote(exe);
    for (const std::wstring& a : args) line += L" " + winQuote(a);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    win32::FileHandle log;
    if (!options.logFile.empty())
        log.reset(CreateFileW(options.logFile.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_DELETE, &inheritable, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (log) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = log.get();
    }
    // A job that is killed when its last handle closes: should this forwarder be ended, the
    // engine does not go on writing the file on its own.
    win32::Handle job(CreateJobObjectW(nullptr, nullptr));
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
        info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &info,
                                     sizeof(info)))
            job.reset();
    }
    PROCESS_INFORMATION pi{};
    // A console engine would open a console window of its own on every run.
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, log ? TRUE : FALSE,
                        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr,
                        options.folder.empty() ? nullptr : options.folder.c_str(), &si, &pi))
        return kCannotStart;
    win32::Handle process(pi.hProcess), thread(pi.hThread);
    if (job) AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());
    log.reset();  // the engine holds its own copy
    const DWORD limit = options.timeLimitMs ? options.timeLimitMs : INFINITE;
    if (WaitForSingleObject(process.get(), limit) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), kTimedOut);
        WaitForSingleObject(process.get(), 10000);
        return kTimedOut;
    }
    DWORD code = kCannotStart;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

}  // namespace gs::tools

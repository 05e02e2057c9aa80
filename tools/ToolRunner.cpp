#include "tools/ToolRunner.h"

#include <windows.h>

#include <shellapi.h>

#include <cwctype>
#include <vector>

#include "platform/FileIo.h"
#include "platform/win32/Handles.h"
#include "platform/win32/OwnPath.h"

namespace gs::tools {

namespace {

// Quotes one argument so that CommandLineToArgvW and the C runtime give it back unchanged.
// Their rules: blanks split arguments outside quotes; 2n backslashes before a quote are n
// backslashes and the quote opens or closes; 2n+1 are n and a literal quote; backslashes
// elsewhere are literal. So:
//   C:\Temp\a.png        ->  C:\Temp\a.png           (nothing to protect)
//   C:\My Files\a.png    ->  "C:\My Files\a.png"
//   say "hi"              ->  "say \"hi\""
//   C:\My Files\         ->  "C:\My Files\\"          (the last backslash doubled before the
//                                                    closing quote)
//   (empty)               ->  ""
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
    const std::wstring self = gs::win32::OwnPath();
    const size_t n = self.size();
    if (n && line.size() >= n &&
        CompareStringOrdinal(line.c_str(), static_cast<int>(n), self.c_str(), static_cast<int>(n),
                             TRUE) == CSTR_EQUAL &&
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
    const std::wstring path = gs::win32::OwnPath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::vector<std::wstring> EnginePlaces(const std::wstring& shipped, const std::wstring& installed) {
    std::vector<std::wstring> places = {OwnFolder() + shipped};
    // Only a full path: an unset or relative variable would make "\ffmpeg\..." a folder at the
    // root of the current drive, or one below the current folder.
    auto absolute = [](const std::wstring& p) {
        return (p.size() >= 3 && std::iswalpha(p[0]) && p[1] == L':' && p[2] == L'\\') ||
               p.rfind(L"\\\\", 0) == 0;
    };
    const std::wstring programFiles = Env(L"ProgramFiles"), own = Env(L"LOCALAPPDATA");
    if (absolute(programFiles)) places.push_back(programFiles + L"\\" + installed);
    if (absolute(own)) places.push_back(own + L"\\Programs\\" + installed);
    return places;
}

std::wstring FindProgram(const std::vector<std::wstring>& places) {
    for (const std::wstring& p : places) {
        const DWORD attributes = GetFileAttributesW(p.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return p;
    }
    return L"";
}

int Guarded(int (*work)()) {
    try {
        return work();
    } catch (...) {
        return kToolFailed;
    }
}

std::string FileHead(const std::wstring& path, size_t bytes) {
    std::string head(bytes, '\0');
    const File f(_wfopen(path.c_str(), L"rb"));  // not OpenFile: ff.exe links no imaging library
    if (!f) return {};
    head.resize(std::fread(head.data(), 1, bytes, f.get()));
    return head;
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
    // The engine inherits the log handle and nothing else of ours (the forwarder's parent may
    // have handed it inheritable handles of its own).
    STARTUPINFOEXW six{};
    six.StartupInfo = si;
    six.StartupInfo.cb = sizeof(six);
    std::vector<char> attributes;
    HANDLE inherited = log.get();
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    attributes.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    const bool onlyLog = log && size && InitializeProcThreadAttributeList(list, 1, 0, &size) &&
                         UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                   &inherited, sizeof(inherited), nullptr, nullptr);
    if (onlyLog) six.lpAttributeList = list;
    PROCESS_INFORMATION pi{};
    // A console engine would open a console window of its own on every run.
    const DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED;
    const wchar_t* folder = options.folder.empty() ? nullptr : options.folder.c_str();
    BOOL made = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, log ? TRUE : FALSE,
                               flags | (onlyLog ? EXTENDED_STARTUPINFO_PRESENT : 0), nullptr,
                               folder, &six.StartupInfo, &pi);
    if (!made && onlyLog)  // a system without handle lists: plain inheritance then
        made = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                              folder, &si, &pi);
    if (onlyLog) DeleteProcThreadAttributeList(list);
    if (!made) return kCannotStart;
    win32::Handle process(pi.hProcess), thread(pi.hThread);
    if (job) AssignProcessToJobObject(job.get(), process.get());
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        TerminateProcess(process.get(), kCannotStart);  // suspended for good otherwise
        return kCannotStart;
    }
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

#include "tools/ToolRunner.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwctype>

#include "platform/win32/Handles.h"

namespace gs::tools {

namespace {

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

bool looksLikeWindowsPath(const std::wstring& a) {
    return a.size() >= 3 && std::iswalpha(a[0]) && a[1] == L':' && (a[2] == L'\\' || a[2] == L'/');
}

// Wine's own translation of a Windows path into a host path (works for files not yet made).
std::string hostPath(const std::wstring& windowsPath) {
    using Fn = char*(CDECL*)(const wchar_t*);
    static auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) return utf8(windowsPath);
    char* p = fn(windowsPath.c_str());
    if (!p) return utf8(windowsPath);
    std::string s(p);
    HeapFree(GetProcessHeap(), 0, p);
    return s;
}

std::string shQuote(const std::string& s) {
    std::string out(1, '\'');
    for (char c : s) {
        if (c == '\'')
            out.append("'\\''");
        else
            out.push_back(c);
    }
    out.push_back('\'');
    return out;
}

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

std::wstring baseName(const std::string& program) {
    const std::string b = program.substr(program.find_last_of('/') + 1);
    return std::wstring(b.begin(), b.end());
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

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
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

int RunHostProgram(const std::string& program, const std::vector<std::wstring>& args) {
    // A host program started from Wine gives no process handle to wait on, so the shell
    // leaves its exit code in a file, written under another name and renamed when complete.
    wchar_t name[MAX_PATH];
    GetTempFileNameW(TempFolder().c_str(), L"gsr", 0, name);
    const std::wstring marker(name);
    DeleteFileW(marker.c_str());
    const std::wstring rc = marker + L".rc", log = marker + L".log";
    std::string script("cd ");
    script.append(shQuote(hostPath(TempFolder()))).append(" && ").append(program);
    for (const std::wstring& a : args)
        script.append(" ").append(shQuote(looksLikeWindowsPath(a) ? hostPath(a) : utf8(a)));
    script.append(" > /dev/null 2> ")
        .append(shQuote(hostPath(log)))
        .append(" < /dev/null; echo $? > ");
    script.append(shQuote(hostPath(marker))).append("; mv ").append(shQuote(hostPath(marker)));
    script.append(" ").append(shQuote(hostPath(rc)));
    const int wlen = MultiByteToWideChar(CP_UTF8, 0, script.c_str(), -1, nullptr, 0);
    std::wstring wscript(static_cast<size_t>(wlen), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, script.c_str(), -1, wscript.data(), wlen);
    wscript.resize(static_cast<size_t>(wlen) - 1);
    std::wstring line = L"Z:\\bin\\sh -c " + winQuote(wscript);

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return kCannotStart;
    win32::Handle process(pi.hProcess), thread(pi.hThread);
    while (GetFileAttributesW(rc.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(20);
    int code = kCannotStart;
    if (FILE* f = _wfopen(rc.c_str(), L"rb")) {
        if (std::fscanf(f, "%d", &code) != 1) code = kCannotStart;
        std::fclose(f);
    }
    DeleteFileW(rc.c_str());
    // Keep the last error output beside the temporary files for whoever needs to look.
    MoveFileExW(log.c_str(), (TempFolder() + L"glimmershot-" + baseName(program) + L".log").c_str(),
                MOVEFILE_REPLACE_EXISTING);
    return code;
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
               const RunLimits& limits) {
    std::wstring line = winQuote(exe);
    for (const std::wstring& a : args) line += L" " + winQuote(a);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    win32::FileHandle log;
    if (!limits.logFile.empty())
        log.reset(CreateFileW(limits.logFile.c_str(), GENERIC_WRITE,
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
                        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
        return kCannotStart;
    win32::Handle process(pi.hProcess), thread(pi.hThread);
    if (job) AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());
    log.reset();  // the engine holds its own copy
    const DWORD limit = limits.timeLimitMs ? limits.timeLimitMs : INFINITE;
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

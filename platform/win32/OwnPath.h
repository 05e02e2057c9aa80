#pragma once
// The running program's full path, however long (no MAX_PATH cut: a long-path folder works).
#include <windows.h>

#include <string>

namespace gs::win32 {

inline std::wstring OwnPath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);  // cut short: the call filled the whole buffer
    }
}

}  // namespace gs::win32

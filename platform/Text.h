#pragma once
// Text conversions that must behave the same on every platform.
#include <string>
#include <string_view>

namespace gs {

// Decodes UTF-8; every malformed sequence becomes U+FFFD, nothing is dropped silently.
std::wstring FromUtf8(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);

// A Windows-style path as the host's file functions want it: on hosts other than Windows
// (native tests) backslashes become slashes, and the text is UTF-8.
std::string HostPath(std::wstring_view windowsPath);

}  // namespace gs

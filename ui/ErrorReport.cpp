#include "ui/ErrorReport.h"

namespace gs::ui {

std::wstring ErrorReportText(const std::wstring& message) {
    std::wstring text = message;
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}

std::wstring ApplicationTitle(Platform& platform) {
    const std::wstring exePath = platform.exePath();
    const size_t slash = exePath.find_last_of(L"\\/");
    std::wstring name = exePath.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    if (name.size() > 1) name.replace(1, std::wstring::npos, platform.lowerCase(name.substr(1)));
    return name;
}

}  // namespace gs::ui

#include "ui/ErrorReport.h"

#include <cwctype>

namespace gs::ui {

std::wstring ErrorReportText(const std::wstring& message) {
    std::wstring text = message;
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}

std::wstring ApplicationTitle(const std::wstring& exePath) {
    const size_t slash = exePath.find_last_of(L"\\/");
    std::wstring name = exePath.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    for (size_t i = 1; i < name.size(); ++i) name[i] = static_cast<wchar_t>(std::towlower(name[i]));
    return name;
}

}  // namespace gs::ui

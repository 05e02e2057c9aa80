// Starting with Windows (a value under the current user's Run key) and the help page.
#include <stdexcept>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "platform/Text.h"

namespace gs {

namespace {
const std::wstring kRunKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunValue = L"Glimmershot";
}  // namespace

void TForm1::S1Click() {
    if (!platform_.regCreateKey(kRunKey))
        throw std::runtime_error("Failed to create key " + ToUtf8(kRunKey));
    // Quoted: an unquoted path with spaces could start a planted program at logon.
    const auto written =
        platform_.regSetString(kRunKey, kRunValue, L"\"" + platform_.exePath() + L"\"");
    if (written == Platform::RegWrite::Failed)
        throw std::runtime_error("Failed to set data for '" + ToUtf8(kRunValue) + "'");
    platform_.messageBox(handle(),
                         L"Application will be automatically started after Windows Startup.",
                         L"Info", kMbOk | kMbIconInformation);
}

void TForm1::Donotstartonwindowsstartup1Click() {
    platform_.regDeleteValue(kRunKey, kRunValue);
    platform_.messageBox(handle(),
                         L"Application will not be automatically started after Windows Startup.",
                         L"Info", kMbOk | kMbIconInformation);
}

void TForm1::HelpClick() {
    platform_.shellExecute(handle(), L"open", AppDir + L"\\help\\index.html", L"", L"", kSwShow);
}

}  // namespace gs

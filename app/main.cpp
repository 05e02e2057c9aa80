// Program entry: one instance per session, the main window first, then the frame window,
// then the message loop until the main window closes.
#include <windows.h>

#include <commctrl.h>

#include <exception>

#include "capture/Form1.h"
#include "platform/Executor.h"
#include "platform/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "recording/ClipForm.h"
#include "ui/ErrorReport.h"
#include "ui/backend_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A second copy would add a second tray icon and fight over F10 and setup.csv.
    gs::win32::Handle running(CreateMutexW(nullptr, FALSE, L"Local\\Glimmershot.Running"));
    if (!running || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    gs::win32::Win32Platform platform;
    try {
        // The executor first and the services next, so that both outlive the windows: at the
        // end the windows go (the frame window first), then the render queue (waits for a
        // render under way), the saver (writes the captures still queued), and last the
        // executor (joins its idle workers).
        gs::Executor pool;
        gs::Services services(platform, pool);
        auto backend = gs::ui::MakeWin32Backend(platform);
        gs::TForm1 form1(platform, *backend, services);
        gs::TClipForm clipForm(platform, *backend);
        form1.attachClipForm(clipForm);
        return gs::ui::RunMessageLoop();
    } catch (const std::exception& e) {
        // Without its windows (no tray icon, no frame) the program could only sit unseen.
        MessageBoxW(nullptr, gs::ui::ErrorReportText(gs::FromUtf8(e.what())).c_str(),
                    gs::ui::ApplicationTitle(platform).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
}

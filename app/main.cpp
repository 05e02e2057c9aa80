// Program entry: one instance per session, the main window first, then the frame window,
// then the message loop until the main window closes.
#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <string>

#include "capture/Form1.h"
#include "platform/Executor.h"
#include "platform/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemDll.h"
#include "platform/win32/Win32Platform.h"
#include "recording/ClipForm.h"
#include "ui/ErrorReport.h"
#include "ui/backend_win32.h"

namespace {

// Workers named for whoever looks at the process (a debugger, a crash report).
void NameWorker(unsigned number) {
    using SetThreadDescription = HRESULT WINAPI(HANDLE, PCWSTR);
    static const auto describe =
        gs::win32::SystemFunctionAs<SetThreadDescription>(L"kernel32.dll", "SetThreadDescription");
    if (describe)
        describe(GetCurrentThread(), (L"Glimmershot worker " + std::to_wstring(number)).c_str());
}

void StartCommonControls() {
    using Init = BOOL WINAPI(const INITCOMMONCONTROLSEX*);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    if (const auto init =
            gs::win32::SystemFunctionAs<Init>(L"comctl32.dll", "InitCommonControlsEx"))
        init(&icc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gs::win32::SearchSystemFolderOnly();
    // A second copy would add a second tray icon and fight over F10 and setup.csv.
    gs::win32::Handle running(CreateMutexW(nullptr, FALSE, L"Local\\Glimmershot.Running"));
    if (!running || GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    StartCommonControls();

    gs::win32::Win32Platform platform;
    try {
        // The executor first and the services next, so that both outlive the windows.
        gs::Executor pool(8, NameWorker);
        gs::Services services(platform, pool);
        int exitCode = 0;
        {
            auto backend = gs::ui::MakeWin32Backend(platform);
            gs::TForm1 form1(platform, *backend, services);
            gs::TClipForm clipForm(platform, *backend);
            form1.attachClipForm(clipForm);
            exitCode = gs::ui::RunMessageLoop();
        }
        // The windows are gone. Before anything that may wait: what the clipboard was only
        // promised is made (the capture stays pasteable), and a new copy may start. Then the
        // render queue stops waiting for an encoder under way (it finishes the video on its
        // own), the saver writes the captures still queued, and the executor joins its workers.
        platform.releaseClipboard();
        running.reset();
        return exitCode;
    } catch (const std::exception& e) {
        // Without its windows (no tray icon, no frame) the program could only sit unseen.
        MessageBoxW(nullptr, gs::ui::ErrorReportText(gs::FromUtf8(e.what())).c_str(),
                    gs::ui::ApplicationTitle(platform).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
}

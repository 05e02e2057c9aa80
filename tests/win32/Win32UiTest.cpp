// The Win32 realisation of the form layer and platform, exercised for real.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <stdexcept>
#include <thread>

#include "platform/win32/Win32Platform.h"
#include "ui/Form.h"
#include "ui/Tray.h"
#include "ui/backend_win32.h"
#include "ui/peers_win32.h"

namespace gs {
namespace {

class Win32Ui : public testing::Test {
  protected:
    win32::Win32Platform platform;
    std::unique_ptr<ui::Backend> backend = ui::MakeWin32Backend(platform);

    template <class Pred>
    bool pumpUntil(Pred done, DWORD ms = 3000) {
        const DWORD end = GetTickCount() + ms;
        while (!done() && GetTickCount() < end) {
            platform.processMessages();
            Sleep(5);
        }
        return done();
    }
};

TEST_F(Win32Ui, ExePathNamesThisProgram) {
    const std::wstring path = platform.exePath();
    ASSERT_GT(path.size(), 4u);
    EXPECT_EQ(path.substr(path.size() - 4), L".exe");
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    // The error report's title is lowered by the system's rules, not only from A to Z.
    EXPECT_EQ(platform.lowerCase(L"\u017dLU\u0164OU\u010cK\u00dd"),
              L"\u017elu\u0165ou\u010dk\u00fd");
}

TEST_F(Win32Ui, ProcessMessagesLeavesQuitForTheMainLoop) {
    PostQuitMessage(7);
    platform.processMessages();
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Win32Ui, TimersFireThroughTheMessageQueueAndStopAtIntervalZero) {
    ui::Form form(*backend, L"TimerHost");
    ui::Timer& t = form.create<ui::Timer>(L"t");
    int fired = 0;
    t.OnTimer = [&](ui::Component&) { ++fired; };
    t.setInterval(10);
    form.realize();
    EXPECT_TRUE(pumpUntil([&] { return fired >= 3; }));
    t.setInterval(0);
    const int seen = fired;
    pumpUntil([] { return false; }, 150);
    EXPECT_EQ(fired, seen);
}

TEST_F(Win32Ui, LayeredTopMostFormFollowsItsModel) {
    ui::Form form(*backend, L"Panel");
    form.Caption = L"About";
    form.AlphaBlend = true;
    form.setStayOnTop(true);
    form.setBounds(10, 20, 240, 210);
    form.setAlphaBlendValue(0);
    form.realize();
    HWND h = reinterpret_cast<HWND>(form.handle());
    ASSERT_TRUE(IsWindow(h));
    wchar_t cls[64];
    GetClassNameW(h, cls, 64);
    EXPECT_STREQ(cls, L"TPanel");
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowVisible(h));

    form.setAlphaBlendValue(25);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 25);

    HWND before = GetForegroundWindow();
    form.Show();
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(GetForegroundWindow(), before) << "showing the panel must not take the focus";
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom - r.top, 210);

    form.setWindowState(ui::WindowState::Minimized);
    EXPECT_TRUE(IsIconic(h));
    form.Hide();
    EXPECT_FALSE(IsWindowVisible(h));
    form.setWindowState(ui::WindowState::Normal);
    form.Show();
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_FALSE(IsIconic(h)) << "a panel shown again after minimising is restored";
}

TEST_F(Win32Ui, TrayCallbacksReachTheModel) {
    ui::Form form(*backend, L"TrayHost");
    ui::TrayIcon& tray = form.create<ui::TrayIcon>(L"tray");
    int clicks = 0, balloons = 0;
    tray.OnClick = [&](ui::Component&) { ++clicks; };
    tray.OnBalloonClick = [&](ui::Component&) { ++balloons; };
    form.realize();
    tray.realize(*backend);
    tray.setVisible(true);
    HWND helper = FindWindowW(ui::kHelperClass, nullptr);
    ASSERT_TRUE(helper);
    PostMessageW(helper, ui::kTrayCallback, 0, MAKELPARAM(NIN_SELECT, ui::kTrayIconId));
    PostMessageW(helper, ui::kTrayCallback, 0, MAKELPARAM(NIN_BALLOONUSERCLICK, ui::kTrayIconId));
    PostMessageW(helper, ui::kTrayCallback, 0, MAKELPARAM(WM_MOUSEMOVE, ui::kTrayIconId));
    EXPECT_TRUE(pumpUntil([&] { return clicks == 1 && balloons == 1; }));
    EXPECT_EQ(clicks, 1);
}

TEST_F(Win32Ui, AnErrorEscapingAHandlerIsReportedAndTheProgramGoesOn) {
    ui::Form form(*backend, L"Thrower");
    form.realize();
    ui::Timer& t = form.create<ui::Timer>(L"t");
    t.setInterval(10);
    t.OnTimer = [&](ui::Component&) {
        t.setInterval(0);
        throw std::runtime_error("Failed to create key \\Software\\Run");
    };
    std::wstring caption, text;
    std::thread watcher([&] {
        for (int i = 0; i < 300 && caption.empty(); ++i, Sleep(10)) {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (!box) continue;
            wchar_t c[128] = L"", m[256] = L"";
            GetWindowTextW(box, c, 128);
            GetDlgItemTextW(box, 0xFFFF, m, 256);
            text = m;
            caption = c;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    pumpUntil([&] { return !caption.empty(); }, 4000);
    watcher.join();
    EXPECT_EQ(caption, L"win32_tests") << "the title: the file name up to its first dot";
    EXPECT_EQ(text, L"Failed to create key \\Software\\Run.");
    // Still alive: timers keep working.
    int fired = 0;
    t.OnTimer = [&](ui::Component&) { ++fired; };
    t.setInterval(10);
    EXPECT_TRUE(pumpUntil([&] { return fired > 0; }));
}

}  // namespace
}  // namespace gs

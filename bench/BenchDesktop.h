#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "capture/Form1.h"
#include "platform/win32/Win32Platform.h"
#include "recording/ClipForm.h"
#include "ui/backend_win32.h"

namespace gs::bench {

// Covers the screen with windows of text, a gradient and a photo-like patch.
void ShowDesktop();

// The program's two windows on the real Win32 services, with its data folder under %TEMP%.
struct BenchApp {
    win32::Win32Platform platform;
    std::unique_ptr<ui::Backend> backend = ui::MakeWin32Backend(platform);
    TForm1 form{platform, *backend};
    TClipForm clip{platform, *backend};
    BenchApp();
};
double NowMs();
double Median(std::vector<double> v);
// The median time of `runs` calls, in milliseconds.
double TimeIt(int runs, const std::function<void()>& f);

}  // namespace gs::bench

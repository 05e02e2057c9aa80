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

double NowMs();

// The real Win32 services, noting when the steps of a capture end.
struct TimedPlatform : win32::Win32Platform {
    double grabbed = 0, previewed = 0, onClipboard = 0;  // NowMs() at each step's end
    bool copyScreen(const Rect& area, Picture& out) override {
        const bool ok = Win32Platform::copyScreen(area, out);
        grabbed = NowMs();
        return ok;
    }
    void stretchHalftone(const Picture& source, Picture& target, const Rect& to) override {
        Win32Platform::stretchHalftone(source, target, to);
        previewed = NowMs();
    }
    bool setClipboardBitmap(const Picture& bitmap, PngSource png) override {
        const bool ok = Win32Platform::setClipboardBitmap(bitmap, std::move(png));
        onClipboard = NowMs();
        return ok;
    }
};

// The program's two windows on the real Win32 services, with its data folder under %TEMP%.
struct BenchApp {
    TimedPlatform platform;
    Executor pool;
    Services services{platform, pool};
    std::unique_ptr<ui::Backend> backend = ui::MakeWin32Backend(platform);
    TForm1 form{platform, *backend, services};
    TClipForm clip{platform, *backend};
    BenchApp();
};
double Median(std::vector<double> v);
// The median time of `runs` calls, in milliseconds.
double TimeIt(int runs, const std::function<void()>& f);

}  // namespace gs::bench

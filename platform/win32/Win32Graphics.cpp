// Screen copies, halftone stretching and window regions.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/win32/DibCanvas.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemDll.h"
#include "platform/win32/Win32Platform.h"

namespace gs::win32 {

namespace {

// Wine reads a large screen area covered by windows through a slow path; bands of a quarter
// megabyte stay on the fast one, and bands cost nothing measurable elsewhere.
constexpr int kBandBytes = 256 << 10;

bool ReadScreen(HDC target, HDC screen, Point from, int w, int h) {
    const int rows = std::max(1, kBandBytes / (w * 4));
    for (int y = 0; y < h; y += rows)
        if (!BitBlt(target, 0, y, w, std::min(rows, h - y), screen, from.x, from.y + y, SRCCOPY))
            return false;
    GdiFlush();
    return true;
}

// Up to this size the screen-read canvas is kept between captures: under Wine a fresh DIB
// section costs more than the read itself.
constexpr size_t kKeptCanvasBytes = 16u << 20;

}  // namespace

DibCanvas* Win32Platform::screenCanvas(HDC screen, int w, int h) {
    if (canvas_ && canvas_->width >= w && canvas_->height >= h) return canvas_.get();
    const int cw = std::max(w, canvas_ ? canvas_->width : 0);
    const int ch = std::max(h, canvas_ ? canvas_->height : 0);
    canvas_.reset();
    auto made = std::make_unique<DibCanvas>(screen, cw, ch);
    if (!made->ok()) made = std::make_unique<DibCanvas>(screen, w, h);  // without the margin
    if (!made->ok()) return nullptr;
    canvas_ = std::move(made);
    return canvas_.get();
}

void Win32Platform::trimScreenCanvas() {
    if (canvas_ && size_t(canvas_->width) * canvas_->height * 4 > kKeptCanvasBytes) canvas_.reset();
}

void Win32Platform::flushComposition() {
    // Fails when nothing composes the desktop: then there is nothing to wait for.
    static const auto flush = SystemFunctionAs<HRESULT WINAPI()>(L"dwmapi.dll", "DwmFlush");
    if (flush) flush();
}

bool Win32Platform::copyScreen(const Rect& area, Picture& out) {
    const int w = area.width(), h = area.height();
    if (w <= 0 || h <= 0) return false;
    WindowDc screen = GetWindowDc(nullptr);  // released on every path
    if (!screen) return false;
    DibCanvas* canvas = screenCanvas(screen.get(), w, h);
    const bool read =
        canvas && ReadScreen(canvas->dc.get(), screen.get(), Point{area.Left, area.Top}, w, h);
    if (read) {
        out = Picture(w, h);
        for (int y = 0; y < h; ++y) {
            const uint32_t* from = canvas->bits + size_t(y) * canvas->width;
            uint32_t* to = &out.at(0, y);
            for (int x = 0; x < w; ++x) to[x] = 0xFF000000u | from[x];
        }
    }
    trimScreenCanvas();
    return read;
}

void Win32Platform::stretchHalftone(const Picture& source, Picture& target, const Rect& to) {
    if (source.empty() || target.empty() || to.width() <= 0 || to.height() <= 0) return;
    WindowDc screen = GetWindowDc(nullptr);
    DibCanvas dst(screen.get(), target.width, target.height);
    if (!dst.ok()) return;
    for (size_t i = 0; i < target.pixels.size(); ++i) dst.bits[i] = target.pixels[i] & 0xFFFFFF;
    SetStretchBltMode(dst.dc.get(), HALFTONE);
    SetBrushOrgEx(dst.dc.get(), 0, 0, nullptr);
    // Straight from the picture's memory (its alpha byte is ignored): no copy of the capture.
    const BITMAPINFO bi = TopDown32(source.width, source.height);
    StretchDIBits(dst.dc.get(), to.Left, to.Top, to.width(), to.height(), 0, 0, source.width,
                  source.height, source.pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < target.pixels.size(); ++i)
        target.pixels[i] = 0xFF000000u | (dst.bits[i] & 0xFFFFFF);
}

namespace {
class Win32Grabber : public Platform::ScreenGrabber {
  public:
    Win32Grabber(int w, int h)
        : screen_(GetWindowDc(nullptr)), canvas_(screen_.get(), w, h), w_(w), h_(h) {}
    bool ready() const { return screen_ && canvas_.ok(); }
    bool grab(Point at, Picture& frame) override {
        if (frame.width != w_ || frame.height != h_) return false;
        if (!ReadScreen(canvas_.dc.get(), screen_.get(), at, w_, h_)) return false;
        for (size_t i = 0; i < frame.pixels.size(); ++i)
            frame.pixels[i] = 0xFF000000u | canvas_.bits[i];
        return true;
    }

  private:
    WindowDc screen_;
    DibCanvas canvas_;
    int w_, h_;
};
}  // namespace

std::unique_ptr<Platform::ScreenGrabber> Win32Platform::screenGrabber(int width, int height) {
    auto grabber = std::make_unique<Win32Grabber>(width, height);
    if (!grabber->ready()) return nullptr;  // e.g. no memory for a picture of that size
    return grabber;
}

std::uintptr_t Win32Platform::setWindowRing(NativeWindow window, const Rect& outer,
                                            const Rect& hole, const Rect* extra) {
    Region ring(CreateRectRgn(outer.Left, outer.Top, outer.Right, outer.Bottom));
    Region inner(CreateRectRgn(hole.Left, hole.Top, hole.Right, hole.Bottom));
    if (!ring || !inner) return 0;
    CombineRgn(ring.get(), ring.get(), inner.get(), RGN_DIFF);
    if (extra) {
        Region more(CreateRectRgn(extra->Left, extra->Top, extra->Right, extra->Bottom));
        if (more) CombineRgn(ring.get(), ring.get(), more.get(), RGN_OR);
    }
    const auto handle = reinterpret_cast<std::uintptr_t>(ring.get());
    if (!SetWindowRgn(reinterpret_cast<HWND>(window), ring.get(), TRUE)) return 0;
    ring.release();  // the window system owns it from here on
    return handle;
}

}  // namespace gs::win32

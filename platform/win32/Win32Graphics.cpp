// Screen copies, halftone stretching and window regions.
#include <windows.h>

#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"

namespace gs::win32 {

namespace {

BITMAPINFO topDown32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// A DIB section holding a copy of a picture, selected into its own memory DC.
struct DibCanvas {
    MemoryDc dc;
    Bitmap bitmap;
    uint32_t* bits = nullptr;
    HGDIOBJ old = nullptr;

    DibCanvas(HDC reference, int w, int h) : dc(CreateCompatibleDC(reference)) {
        BITMAPINFO bi = topDown32(w, h);
        void* raw = nullptr;
        bitmap.reset(CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
        bits = static_cast<uint32_t*>(raw);
        if (dc && bitmap) old = SelectObject(dc.get(), bitmap.get());
    }
    ~DibCanvas() {
        if (old) SelectObject(dc.get(), old);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    bool ok() const { return dc && bitmap && bits && old; }
};

}  // namespace

bool Win32Platform::copyScreen(const Rect& area, Picture& out) {
    const int w = area.width(), h = area.height();
    if (w <= 0 || h <= 0) return false;
    WindowDc screen = GetWindowDc(nullptr);  // released on every path
    if (!screen) return false;
    DibCanvas canvas(screen.get(), w, h);
    if (!canvas.ok()) return false;
    if (!BitBlt(canvas.dc.get(), 0, 0, w, h, screen.get(), area.Left, area.Top, SRCCOPY))
        return false;
    GdiFlush();
    out = Picture(w, h);
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = 0xFF000000u | (canvas.bits[i] & 0xFFFFFF);
    return true;
}

void Win32Platform::stretchHalftone(const Picture& source, Picture& target, const Rect& to) {
    if (source.empty() || target.empty() || to.width() <= 0 || to.height() <= 0) return;
    WindowDc screen = GetWindowDc(nullptr);
    DibCanvas src(screen.get(), source.width, source.height);
    DibCanvas dst(screen.get(), target.width, target.height);
    if (!src.ok() || !dst.ok()) return;
    for (size_t i = 0; i < source.pixels.size(); ++i) src.bits[i] = source.pixels[i] & 0xFFFFFF;
    for (size_t i = 0; i < target.pixels.size(); ++i) dst.bits[i] = target.pixels[i] & 0xFFFFFF;
    SetStretchBltMode(dst.dc.get(), HALFTONE);
    SetBrushOrgEx(dst.dc.get(), 0, 0, nullptr);
    StretchBlt(dst.dc.get(), to.Left, to.Top, to.width(), to.height(), src.dc.get(), 0, 0,
               source.width, source.height, SRCCOPY);
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
        if (!BitBlt(canvas_.dc.get(), 0, 0, w_, h_, screen_.get(), at.x, at.y, SRCCOPY))
            return false;
        GdiFlush();
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

#pragma once
// One move-only owner for every kind of handle the program holds. Each kind says how it is
// released; the owner releases exactly once, on every path.
#include <windows.h>

#include <utility>

namespace gs::win32 {

template <class Traits>
class Unique {
  public:
    using handle_type = typename Traits::handle_type;
    Unique() = default;
    explicit Unique(handle_type h) : h_(h) {}
    Unique(handle_type h, typename Traits::extra_type extra) : h_(h), extra_(extra) {}
    ~Unique() { reset(); }
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())), extra_(o.extra_) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Traits::invalid());
            extra_ = o.extra_;
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    handle_type get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    // For a call that hands the handle out through a pointer: what was held is released first.
    handle_type* put() {
        reset();
        return &h_;
    }
    // Gives the handle away, e.g. to the window system after a successful hand-over.
    handle_type release() { return std::exchange(h_, Traits::invalid()); }
    void reset(handle_type h = Traits::invalid()) {
        if (h_ != Traits::invalid()) Traits::close(h_, extra_);
        h_ = h;
    }

  private:
    handle_type h_ = Traits::invalid();
    typename Traits::extra_type extra_{};
};

struct NoExtra {};

template <class H, auto Close>
struct SimpleTraits {
    using handle_type = H;
    using extra_type = NoExtra;
    static H invalid() { return nullptr; }
    static void close(H h, NoExtra) { Close(h); }
};

struct KernelTraits {  // processes, threads, jobs, events, mutexes: null when there is none
    using handle_type = HANDLE;
    using extra_type = NoExtra;
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h, NoExtra) {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

struct FileTraits {  // CreateFileW and FindFirstFileW fail with INVALID_HANDLE_VALUE
    using handle_type = HANDLE;
    using extra_type = NoExtra;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h, NoExtra) { CloseHandle(h); }
};

struct FindTraits {
    using handle_type = HANDLE;
    using extra_type = NoExtra;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h, NoExtra) { FindClose(h); }
};

struct WindowDcTraits {  // GetDC / ReleaseDC need the window the DC came from
    using handle_type = HDC;
    using extra_type = HWND;
    static HDC invalid() { return nullptr; }
    static void close(HDC dc, HWND wnd) { ReleaseDC(wnd, dc); }
};

struct ClipboardTraits {  // OpenClipboard succeeded: true
    using handle_type = bool;
    using extra_type = NoExtra;
    static bool invalid() { return false; }
    static void close(bool, NoExtra) { CloseClipboard(); }
};

inline void deleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void deleteDc(HDC h) { DeleteDC(h); }
inline void destroyMenu(HMENU h) { DestroyMenu(h); }
inline void destroyIcon(HICON h) { DestroyIcon(h); }
inline void closeKey(HKEY h) { RegCloseKey(h); }
inline void destroyWindow(HWND h) { DestroyWindow(h); }
inline void freeGlobal(HGLOBAL h) { GlobalFree(h); }

using GdiObject = Unique<SimpleTraits<HGDIOBJ, deleteGdiObject>>;
using Brush = Unique<SimpleTraits<HBRUSH, deleteGdiObject>>;
using Region = Unique<SimpleTraits<HRGN, deleteGdiObject>>;
using Bitmap = Unique<SimpleTraits<HBITMAP, deleteGdiObject>>;
using Font = Unique<SimpleTraits<HFONT, deleteGdiObject>>;
using MemoryDc = Unique<SimpleTraits<HDC, deleteDc>>;
using WindowDc = Unique<WindowDcTraits>;
using Handle = Unique<KernelTraits>;
using FileHandle = Unique<FileTraits>;
using FindHandle = Unique<FindTraits>;
using Menu = Unique<SimpleTraits<HMENU, destroyMenu>>;
using Icon = Unique<SimpleTraits<HICON, destroyIcon>>;
using RegKey = Unique<SimpleTraits<HKEY, closeKey>>;
using Window = Unique<SimpleTraits<HWND, destroyWindow>>;
using Clipboard = Unique<ClipboardTraits>;
using GlobalMemory = Unique<SimpleTraits<HGLOBAL, freeGlobal>>;

// A window's DC (the screen's for null), released to that window.
inline WindowDc GetWindowDc(HWND window) { return WindowDc(GetDC(window), window); }

// The DC of one WM_PAINT: BeginPaint now, EndPaint at the end of the scope if it began.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    ~PaintDc() {
        if (dc_) EndPaint(window_, &ps_);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC for one scope and puts the old one back (when the selection
// took: a failed SelectObject returns null, or HGDI_ERROR for a region).
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(dc && obj ? SelectObject(dc, obj) : nullptr) {}
    ~Selected() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    bool ok() const { return old_ && old_ != HGDI_ERROR; }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace gs::win32

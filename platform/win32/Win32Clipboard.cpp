// The clipboard: text and bitmaps put on it at once, a capture's PNG promised and made when
// asked for (or when the program ends).
#include <windows.h>

#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WindowProc.h"

namespace gs::win32 {

namespace {

constexpr wchar_t kOwnerClass[] = L"GlimmershotClipboard";

UINT pngFormat() {
    static const UINT format = RegisterClipboardFormatW(L"PNG");
    return format;
}

// Another program may hold the clipboard for a moment: ten tries, 50 ms apart.
Clipboard openClipboard(HWND owner) {
    Clipboard clip;
    for (int attempt = 0; attempt < 10 && !clip; ++attempt) {
        if (attempt) Sleep(50);
        if (OpenClipboard(owner)) clip.reset(true);
    }
    return clip;
}

GlobalMemory globalCopy(const void* data, SIZE_T bytes) {
    GlobalMemory mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* p = mem ? GlobalLock(mem.get()) : nullptr;
    if (!p) return GlobalMemory();
    std::memcpy(p, data, bytes);
    GlobalUnlock(mem.get());
    return mem;
}

// A device-independent bitmap, 24 bits, bottom-up: what every reader takes.
GlobalMemory dibOf(const Picture& bitmap) {
    const DWORD stride = (static_cast<DWORD>(bitmap.width) * 3 + 3) & ~3u;
    const SIZE_T bytes = sizeof(BITMAPINFOHEADER) + static_cast<SIZE_T>(stride) * bitmap.height;
    GlobalMemory mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
    auto* head = mem ? static_cast<BITMAPINFOHEADER*>(GlobalLock(mem.get())) : nullptr;
    if (!head) return GlobalMemory();
    *head = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER),
                             bitmap.width,
                             bitmap.height,
                             1,
                             24,
                             BI_RGB,
                             stride * static_cast<DWORD>(bitmap.height),
                             kPixelsPerMetreAt96Dpi,
                             kPixelsPerMetreAt96Dpi,
                             0,
                             0};
    auto* rows = reinterpret_cast<uint8_t*>(head + 1);
    for (int y = 0; y < bitmap.height; ++y) {
        uint8_t* out = rows + static_cast<size_t>(bitmap.height - 1 - y) * stride;
        RowToBgr(bitmap, y, out);
        std::memset(out + static_cast<size_t>(bitmap.width) * 3, 0,
                    stride - static_cast<DWORD>(bitmap.width) * 3);
    }
    GlobalUnlock(mem.get());
    return mem;
}

// Hands the memory to the open clipboard; it owns it from then on.
bool give(UINT format, GlobalMemory mem) {
    if (!mem || !SetClipboardData(format, mem.get())) return false;
    mem.release();
    return true;
}

}  // namespace

Win32Platform::~Win32Platform() { releaseClipboard(); }

void Win32Platform::releaseClipboard() {
    // Destroying the owner asks it to make every format it only offered (WM_RENDERALLFORMATS).
    clipboardOwner_.reset();
    offeredPng_ = nullptr;
}

bool Win32Platform::setClipboardText(NativeWindow owner, const std::wstring& text) {
    GlobalMemory mem = globalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    if (!mem) return false;
    Clipboard clip = openClipboard(reinterpret_cast<HWND>(owner));
    return clip && EmptyClipboard() && give(CF_UNICODETEXT, std::move(mem));
}

bool Win32Platform::setClipboardBitmap(const Picture& bitmap, PngSource png) {
    if (bitmap.empty()) return false;
    // The bitmap goes on at once, built before the clipboard is opened so that it is held for
    // as short a time as possible. (Promised and made on request it would cost less here, but
    // under Wine a promised bitmap that its X bridge then asks for leaves about its own size
    // of memory behind, capture after capture.)
    GlobalMemory dib = dibOf(bitmap);
    if (!dib) return false;
    if (!clipboardOwner_) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc<Win32Platform, &Win32Platform::clipboardMessage>;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kOwnerClass;
        RegisterClassExW(&wc);  // a class already registered by this process is fine
        clipboardOwner_.reset(CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, wc.hInstance, this));
        if (!clipboardOwner_) return false;
    }
    Clipboard clip = openClipboard(clipboardOwner_.get());
    // Emptying tells the previous owner (perhaps this one) to drop what it promised.
    if (!clip || !EmptyClipboard()) return false;
    offeredPng_ = std::move(png);
    if (!give(CF_DIB, std::move(dib))) return false;
    // Null data: the PNG is promised, and made at WM_RENDERFORMAT once its file is written.
    if (offeredPng_ && pngFormat()) SetClipboardData(pngFormat(), nullptr);
    return true;
}

void Win32Platform::renderPng() {
    if (!offeredPng_) return;
    if (const std::optional<std::string> bytes = offeredPng_())
        give(pngFormat(), globalCopy(bytes->data(), bytes->size()));
}

LRESULT Win32Platform::clipboardMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_RENDERFORMAT:  // the clipboard is open for us
            if (static_cast<UINT>(wp) == pngFormat()) renderPng();
            return 0;
        case WM_RENDERALLFORMATS: {
            Clipboard clip(OpenClipboard(hwnd) != FALSE);
            if (clip && GetClipboardOwner() == hwnd) renderPng();
            return 0;
        }
        case WM_DESTROYCLIPBOARD:  // another program took the clipboard
            offeredPng_ = nullptr;
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

}  // namespace gs::win32

#pragma once
// A top-down 32-bit DIB section selected into its own memory DC: what we draw into, and what
// screen reads land in.
#include <windows.h>

#include <cstdint>

#include "platform/win32/Handles.h"

namespace gs::win32 {

inline BITMAPINFO TopDown32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

struct DibCanvas {
    MemoryDc dc;
    Bitmap bitmap;
    uint32_t* bits = nullptr;
    HGDIOBJ old = nullptr;
    int width = 0, height = 0;

    DibCanvas(HDC reference, int w, int h) : dc(CreateCompatibleDC(reference)) {
        BITMAPINFO bi = TopDown32(w, h);
        void* raw = nullptr;
        bitmap.reset(CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
        bits = static_cast<uint32_t*>(raw);
        if (dc && bitmap) old = SelectObject(dc.get(), bitmap.get());
        if (ok()) width = w, height = h;
    }
    ~DibCanvas() {
        if (old) SelectObject(dc.get(), old);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    bool ok() const { return dc && bitmap && bits && old; }
};

}  // namespace gs::win32

#pragma once
#include <windows.h>

#include <exception>

namespace gs::win32 {

// The one window procedure of every class: binds the object handed to CreateWindowExW at
// WM_NCCREATE (earlier messages get the default handling), forwards to `Handler` with the
// window's own handle (valid even before CreateWindowExW returns), unbinds at WM_NCDESTROY,
// and lets no exception cross into the system: `Owner::reportUncaught` shows it.
template <class Owner, LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    try {
        return (self->*Handler)(hwnd, msg, wp, lp);
    } catch (...) {
        self->reportUncaught(std::current_exception());
        return 0;
    }
}

}  // namespace gs::win32

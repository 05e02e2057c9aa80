#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "platform/win32/DibCanvas.h"
#include "ui/peers_win32.h"

namespace gs::ui {

namespace {

using FontKey = std::tuple<std::wstring, int, bool, int>;

class Win32FormPeer : public FormPeer {
  public:
    Win32FormPeer(Win32Backend& backend, Form& form);
    ~Win32FormPeer() override;

    NativeWindow handle() const override { return reinterpret_cast<NativeWindow>(hwnd_.get()); }
    void visibilityChanged() override;
    void boundsChanged() override;
    void alphaChanged() override;
    void windowStateChanged() override;
    void stayOnTopChanged() override;
    void bringToFront() override;
    void invalidate(const Rect& r) override;
    void close() override;
    void layoutChanged() override;

    // For the window procedure.
    void reportUncaught(std::exception_ptr error) noexcept { backend_.reportUncaught(error); }
    LRESULT message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  private:
    void paint(HDC target);
    void drawControl(HDC dc, uint32_t* bits, int w, int h, Control& c);
    HFONT fontFor(const Font& f);
    void addTooltips();
    // Calls `each(tool id, control)` for the controls that have a tooltip.
    template <class F>
    void forEachTool(F each);

    Win32Backend& backend_;
    Form& form_;
    // The window and its tooltip window, owned from the first message on (the tooltip is
    // destroyed first, then the window).
    win32::Window hwnd_;
    win32::Window tooltip_;
    bool isMain_ = false;
    bool tracking_ = false;
    Point down_{};
    std::map<FontKey, win32::Font> fonts_;
};

std::wstring classNameOf(const Form& f) { return L"T" + f.Name(); }

Win32FormPeer::Win32FormPeer(Win32Backend& backend, Form& form) : backend_(backend), form_(form) {
    const std::wstring cls = classNameOf(form);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = win32::WindowProc<Win32FormPeer, &Win32FormPeer::message>;
    wc.hInstance = backend.instance();
    wc.lpszClassName = cls.c_str();
    wc.hIcon = LoadIconW(backend.instance(), MAKEINTRESOURCEW(1));
    RegisterWindowClass(wc);  // a second form of the same type finds the class registered

    isMain_ = backend.claimMainForm();
    // The main window carries its own taskbar button while visible; the others none.
    DWORD ex = isMain_ ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    if (form.AlphaBlend) ex |= WS_EX_LAYERED;
    if (form.StayOnTop()) ex |= WS_EX_TOPMOST;
    const Rect b = form.bounds();
    const HWND made =
        CreateWindowExW(ex, cls.c_str(), form.Caption.c_str(), WS_POPUP | WS_MINIMIZEBOX, b.Left,
                        b.Top, b.width(), b.height(), nullptr, nullptr, backend.instance(), this);
    if (!made) ThrowWindowError(L"Cannot create the window " + cls);
    if (hwnd_.get() != made) hwnd_.reset(made);
    if (isMain_) backend.setMainWindow(hwnd_.get());
    if (form.AlphaBlend) alphaChanged();
    addTooltips();
}

Win32FormPeer::~Win32FormPeer() {
    // No message reaches this peer once it is going; the owners then destroy both windows.
    if (hwnd_) SetWindowLongPtrW(hwnd_.get(), GWLP_USERDATA, 0);
}

template <class F>
void Win32FormPeer::forEachTool(F each) {
    UINT id = 1;
    for (Control* c : form_.controls())
        if (c->ShowHint && !c->Hint.empty()) each(id++, *c);
}

static TTTOOLINFOW toolInfo(HWND owner, UINT id, const Control& c) {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = id;
    const Rect r = c.bounds();
    ti.rect = RECT{r.Left, r.Top, r.Right, r.Bottom};
    return ti;
}

void Win32FormPeer::addTooltips() {
    bool any = false;
    forEachTool([&](UINT, Control&) { any = true; });
    if (!any) return;
    tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_.get(),
                                   nullptr, backend_.instance(), nullptr));
    forEachTool([&](UINT id, Control& c) {
        TTTOOLINFOW ti = toolInfo(hwnd_.get(), id, c);
        std::wstring hint = c.Hint;
        ti.lpszText = hint.data();
        SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    });
}

void Win32FormPeer::layoutChanged() {
    if (tooltip_) {
        forEachTool([&](UINT id, Control& c) {
            TTTOOLINFOW ti = toolInfo(hwnd_.get(), id, c);
            SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        });
    }
    InvalidateRect(hwnd_.get(), nullptr, FALSE);
}

void Win32FormPeer::visibilityChanged() {
    if (!form_.Visible()) {
        ShowWindow(hwnd_.get(), SW_HIDE);
        return;
    }
    // Never take the focus from the program the user is working in.
    if (form_.windowState() == WindowState::Minimized) {
        ShowWindow(hwnd_.get(), SW_SHOWMINNOACTIVE);
        return;
    }
    // Restored if it was minimised, and on top of its band at once: a frame that appeared under
    // the panel or the taskbar would stay hidden until its next blink raises it.
    ShowWindow(hwnd_.get(), SW_SHOWNOACTIVATE);
    SetWindowPos(hwnd_.get(), form_.StayOnTop() ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32FormPeer::windowStateChanged() {
    if (!IsWindowVisible(hwnd_.get())) return;  // applied when next shown
    ShowWindow(hwnd_.get(), form_.windowState() == WindowState::Minimized ? SW_SHOWMINNOACTIVE
                                                                          : SW_SHOWNOACTIVATE);
}

void Win32FormPeer::boundsChanged() {
    const Rect b = form_.bounds();
    SetWindowPos(hwnd_.get(), nullptr, b.Left, b.Top, b.width(), b.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FormPeer::alphaChanged() {
    if (form_.AlphaBlend)
        SetLayeredWindowAttributes(hwnd_.get(), 0, form_.AlphaBlendValue(), LWA_ALPHA);
}

void Win32FormPeer::stayOnTopChanged() {
    SetWindowPos(hwnd_.get(), form_.StayOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32FormPeer::bringToFront() {
    SetWindowPos(hwnd_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32FormPeer::invalidate(const Rect& r) {
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    InvalidateRect(hwnd_.get(), &rc, FALSE);
}

void Win32FormPeer::close() { PostMessageW(hwnd_.get(), WM_CLOSE, 0, 0); }

HFONT Win32FormPeer::fontFor(const Font& f) {
    FontKey key{f.name, f.height, f.bold, f.charset};
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return static_cast<HFONT>(it->second.get());
    HFONT h = CreateFontW(f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                          static_cast<BYTE>(f.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH, f.name.c_str());
    return static_cast<HFONT>(fonts_.emplace(key, win32::Font(h)).first->second.get());
}

void Win32FormPeer::drawControl(HDC dc, uint32_t* bits, int w, int h, Control& c) {
    const Rect b = c.bounds();
    RECT rc{b.Left, b.Top, b.Right, b.Bottom};
    auto text = [&](const std::wstring& s, const Font& f, UINT align) {
        win32::Selected font(dc, fontFor(f));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColor(f.color));
        DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &rc,
                  align | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    };
    if (auto* img = dynamic_cast<Image*>(&c)) {
        GdiFlush();
        const Picture& p = img->picture();
        const int left = b.Left + (img->Center ? (b.width() - p.width) / 2 : 0);
        const int top = b.Top + (img->Center ? (b.height() - p.height) / 2 : 0);
        BlendPicture(bits, w, h, p, left, top, BlendClip{b.Left, b.Top, b.Right, b.Bottom},
                     p.hasAlpha);
    } else if (auto* lbl = dynamic_cast<Label*>(&c)) {
        text(lbl->Caption(), lbl->font,
             lbl->CenterText ? DT_CENTER | DT_VCENTER : DT_LEFT | DT_TOP);
    } else if (auto* btn = dynamic_cast<SpeedButton*>(&c)) {
        if (!btn->Flat) DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        text(btn->Caption, btn->font, DT_CENTER | DT_VCENTER);
    } else if (auto* shape = dynamic_cast<Shape*>(&c)) {
        // The outline is drawn as nested one-pixel frames, so it is a brush too.
        win32::Brush outline(CreateSolidBrush(ResolveColor(shape->penColor())));
        if (b.width() <= shape->PenWidth || b.height() <= shape->PenWidth) {
            FillRect(dc, &rc, outline.get());
        } else {
            win32::Brush fill(CreateSolidBrush(ResolveColor(shape->BrushColor)));
            FillRect(dc, &rc, fill.get());
            for (int i = 0; i < shape->PenWidth / 2; ++i) {
                FrameRect(dc, &rc, outline.get());
                InflateRect(&rc, -1, -1);
            }
        }
    }
}

void Win32FormPeer::paint(HDC target) {
    RECT client;
    GetClientRect(hwnd_.get(), &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    win32::DibCanvas canvas(target, w, h);
    if (!canvas.ok()) return;
    HDC mem = canvas.dc.get();
    uint32_t* bits = canvas.bits;
    const COLORREF face = ResolveColor(form_.Color);
    std::fill(bits, bits + static_cast<size_t>(w) * h,
              (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face));
    for (Control* c : form_.controls())
        if (c->Visible()) drawControl(mem, bits, w, h, *c);
    GdiFlush();
    BitBlt(target, 0, 0, w, h, mem, 0, 0, SRCCOPY);
}

LRESULT Win32FormPeer::message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!hwnd_) hwnd_.reset(hwnd);  // from the first message on, before CreateWindowExW returns
    switch (msg) {
        case WM_PAINT: {
            win32::PaintDc dc(hwnd_.get());
            paint(dc.get());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_MOUSEMOVE: {
            if (!tracking_) {
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_.get(), 0};
                tracking_ = TrackMouseEvent(&tme) != FALSE;
            }
            form_.mouseMovedTo(Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            form_.mouseLeft();
            return 0;
        case WM_LBUTTONDOWN:
            down_ = Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            SetCapture(hwnd_.get());
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd_.get()) {
                ReleaseCapture();
                form_.mouseClicked(down_, Point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            }
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) {
                POINT p;
                GetCursorPos(&p);
                ScreenToClient(hwnd_.get(), &p);
                Control* c = form_.controlAt(Point{p.x, p.y});
                const bool hand = c && c->cursor == Cursor::HandPoint;
                SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_DPICHANGED:
            // Each form places and sizes itself (the panel at its corner, the frame on the
            // physical pixels it frames), so the suggested rectangle is not taken.
            form_.setDpi(HIWORD(wp));
            return 0;
        case WM_HOTKEY:
            if (form_.OnHotKey) form_.OnHotKey(static_cast<int>(wp));
            return 0;
        case WM_DESTROY:
            if (isMain_) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            tooltip_.release();  // owned by the window: gone with it
            hwnd_.release();     // being destroyed already
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

std::unique_ptr<FormPeer> Win32Backend::createFormPeer(Form& form) {
    return std::make_unique<Win32FormPeer>(*this, form);
}

}  // namespace gs::ui

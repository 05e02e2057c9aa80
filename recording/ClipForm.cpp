#include "recording/ClipForm.h"

#include <algorithm>
#include <utility>

#include "resources/Artwork.h"

namespace gs {

TClipForm::TClipForm(Platform& platform, ui::Backend& backend)
    : ui::Form(backend, L"ClipForm"), platform_(platform) {
    Caption = L"ClipForm";
    setStayOnTop(true);
    setBounds(0, 0, 651, 375);
    buildLayout();
    realize();
}

void TClipForm::buildLayout() {
    auto label = [this](const wchar_t* name, const wchar_t* text) {
        auto& lbl = create<ui::Label>(name);
        lbl.setCaption(text);
        return &lbl;
    };
    auto button = [this](const wchar_t* name, const wchar_t* text) {
        auto& b = create<ui::SpeedButton>(name);
        b.Caption = text;
        return &b;
    };
    auto shape = [this](const wchar_t* name, int l, int t, int w, int h) {
        auto& s = create<ui::Shape>(name);
        s.setBounds(l, t, w, h);
        s.setPenColor(ui::clLime);
        s.PenWidth = 4;
        return &s;
    };

    Image1 = &create<ui::Image>(L"Image1");
    Recordingbtn = button(L"Recordingbtn", L"Start Recording");
    Cancelbtn = button(L"Cancelbtn", L"Cancel");
    lbl1 = label(L"lbl1", L"Press F10");
    lbl2 = label(L"lbl2", L"to stop recording, or click");
    lbl3 = label(L"lbl3", L"on the application icon.");
    lbl4 = label(L"lbl4", L"3");
    lbl4->CenterText = true;
    lbl4->setVisible(false);
    // The ring is in physical pixels at every scale; positionshapes places it.
    shape1 = shape(L"shape1", 0, 0, 2, 375);
    Shape2 = shape(L"Shape2", 0, 0, 373, 2);
    Shape2->BrushColor = ui::clLime;
    Shape3 = shape(L"Shape3", 641, 8, 2, 651);
    Shape4 = shape(L"Shape4", 8, 365, 373, 2);
    CursorImage = &create<ui::Image>(L"CursorImage");
    CursorImage->setVisible(false);
    CursorMouseDownImage = &create<ui::Image>(L"CursorMouseDownImage");
    CursorMouseDownImage->setVisible(false);
    applyDpi();

    Recordingbtn->OnClick = [this](ui::Component&) { RecordingbtnClick(); };
    Cancelbtn->OnClick = [this](ui::Component&) { CancelbtnClick(); };
    OnHotKey = [this](int id) { WMHotKey(id); };

    Timer1 = &create<ui::Timer>(L"Timer1");
    Timer1->setInterval(500);
    Timer1->OnTimer = [this](ui::Component&) { Timer1Timer(); };
}

void TClipForm::applyDpi() {
    const int dpi = Dpi();
    // The control panel starts right inside the ring, which stays two physical pixels wide;
    // what is inside the panel scales from there.
    auto place = [&](ui::Control* c, int l, int t, int w, int h) {
        const Rect r = ui::ScaleRect(l - kRing, t - kRing, w, h, dpi);
        c->setBounds(kRing + r.Left, kRing + r.Top, r.width(), r.height());
        return c->bounds();
    };
    auto font = [dpi](ui::Font f) { return ui::ScaleFont(std::move(f), dpi); };

    const Rect panel = place(Image1, 2, 2, 150, 100);
    Image1->setPicture(art::ControlPanelBackground(panel.width(), panel.height()));
    place(Recordingbtn, 4, 76, 99, 22);
    Recordingbtn->font = font(ui::Font{L"Tahoma", -11, true, ui::clMaroon});
    place(Cancelbtn, 103, 76, 46, 22);
    Cancelbtn->font = font(ui::Font{L"Tahoma", -11, true, ui::clWindowText});
    place(lbl1, 24, 6, 92, 23);
    lbl1->font = font(ui::Font{L"Tahoma", -19, true});
    place(lbl2, 16, 35, 121, 13);
    lbl2->font = font(ui::Font{});
    place(lbl3, 16, 54, 111, 13);
    lbl3->font = font(ui::Font{});
    place(lbl4, 8, 16, 36, 75);
    lbl4->font = font(ui::Font{L"Arial", -64, true, ui::clBlack, 238});
    const int marker = place(CursorImage, 248, 35, art::kCursorDisc, art::kCursorDisc).width();
    CursorImage->setPicture(art::CursorDisc(211, 211, 0, marker));
    place(CursorMouseDownImage, 304, 35, art::kCursorDisc, art::kCursorDisc);
    CursorMouseDownImage->setPicture(art::CursorDisc(211, 0, 0, marker));
}

void TClipForm::NormalizeCliprect() {
    const Rect r = ClipRect;
    ClipRect = Rect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                    std::max(r.Top, r.Bottom)};
}

void TClipForm::positionshapes() {
    NormalizeCliprect();
    // The panel and the cursor marker take the scale of the monitor the area is on.
    setDpi(backend().dpiAt(ClipRect));
    const int left = ClipRect.Left - 2;
    const int top = ClipRect.Top - 2;
    setBounds(left, top, ClipRect.Right - left + 4, ClipRect.Bottom - top + 4);
    const int w = Width(), h = Height();
    shape1->setBounds(0, -2, 2, h + 4);
    Shape2->setBounds(0, 0, w, 2);
    Shape3->setBounds(w - 2, -2, 2, h + 4);
    Shape4->setBounds(0, h - 2, w, 2);
}

void TClipForm::setRing(const Rect* panel) {
    const int w = Width(), h = Height();
    ClipRgn = platform_.setWindowRing(handle(), Rect{0, 0, w, h},
                                      Rect{kRing, kRing, w - kRing, h - kRing}, panel);
}

void TClipForm::ShowClipForm() {
    positionshapes();
    setRing(nullptr);
    setVisible(true);
}

void TClipForm::HideClipForm() { setVisible(false); }

void TClipForm::Timer1Timer() {
    const ui::TColor next = shape1->penColor() == ui::clRed ? ui::clLime : ui::clRed;
    for (ui::Shape* s : {shape1, Shape2, Shape3, Shape4}) s->setPenColor(next);
    if (!Visible()) return;
    setStayOnTop(true);
    BringToFront();
    ReassertStayOnTop();
    positionshapes();
}

}  // namespace gs

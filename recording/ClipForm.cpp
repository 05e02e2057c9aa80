#include "recording/ClipForm.h"

#include <algorithm>

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
    auto label = [this](const wchar_t* name, int l, int t, int w, int h, const wchar_t* text,
                        ui::Font f) {
        auto& lbl = create<ui::Label>(name);
        lbl.setBounds(l, t, w, h);
        lbl.setCaption(text);
        lbl.font = f;
        return &lbl;
    };
    auto button = [this](const wchar_t* name, int l, int t, int w, int h, const wchar_t* text,
                         ui::TColor color) {
        auto& b = create<ui::SpeedButton>(name);
        b.setBounds(l, t, w, h);
        b.Caption = text;
        b.font = ui::Font{L"Tahoma", -11, true, color};
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
    Image1->setBounds(2, 2, 150, 100);
    Image1->setPicture(art::ControlPanelBackground());
    Recordingbtn = button(L"Recordingbtn", 4, 76, 99, 22, L"Start Recording", ui::clMaroon);
    Cancelbtn = button(L"Cancelbtn", 103, 76, 46, 22, L"Cancel", ui::clWindowText);
    lbl1 = label(L"lbl1", 24, 6, 92, 23, L"Press F10", ui::Font{L"Tahoma", -19, true});
    lbl2 = label(L"lbl2", 16, 35, 121, 13, L"to stop recording, or click", ui::Font{});
    lbl3 = label(L"lbl3", 16, 54, 111, 13, L"on the application icon.", ui::Font{});
    lbl4 = label(L"lbl4", 8, 16, 36, 75, L"3", ui::Font{L"Arial", -64, true, ui::clBlack, 238});
    lbl4->CenterText = true;
    lbl4->setVisible(false);
    shape1 = shape(L"shape1", 0, 0, 2, 375);
    Shape2 = shape(L"Shape2", 0, 0, 373, 2);
    Shape2->BrushColor = ui::clLime;
    Shape3 = shape(L"Shape3", 641, 8, 2, 651);
    Shape4 = shape(L"Shape4", 8, 365, 373, 2);
    CursorImage = &create<ui::Image>(L"CursorImage");
    CursorImage->setBounds(248, 35, 50, 50);
    CursorImage->setPicture(art::CursorDisc(211, 211, 0));
    CursorImage->setVisible(false);
    CursorMouseDownImage = &create<ui::Image>(L"CursorMouseDownImage");
    CursorMouseDownImage->setBounds(304, 35, 50, 50);
    CursorMouseDownImage->setPicture(art::CursorDisc(211, 0, 0));
    CursorMouseDownImage->setVisible(false);

    Recordingbtn->OnClick = [this](ui::Component&) { RecordingbtnClick(); };
    Cancelbtn->OnClick = [this](ui::Component&) { CancelbtnClick(); };
    OnHotKey = [this](int id) { WMHotKey(id); };

    Timer1 = &create<ui::Timer>(L"Timer1");
    Timer1->setInterval(500);
    Timer1->OnTimer = [this](ui::Component&) { Timer1Timer(); };
}

void TClipForm::NormalizeCliprect() {
    const Rect r = ClipRect;
    ClipRect = Rect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                    std::max(r.Top, r.Bottom)};
}

void TClipForm::positionshapes() {
    NormalizeCliprect();
    const int left = ClipRect.Left - 2;
    const int top = ClipRect.Top - 2;
    setBounds(left, top, ClipRect.Right - left + 4, ClipRect.Bottom - top + 4);
    const int w = Width(), h = Height();
    shape1->setBounds(0, -2, 2, h + 4);
    Shape2->setBounds(0, 0, w, 2);
    Shape3->setBounds(w - 2, -2, 2, h + 4);
    Shape4->setBounds(0, h - 2, w, 2);
}

void TClipForm::ShowClipForm() {
    positionshapes();
    const int w = Width(), h = Height();
    ClipRgn =
        platform_.setWindowRing(handle(), Rect{0, 0, w, h}, Rect{2, 2, w - 2, h - 2}, nullptr);
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

#include "capture/Form1.h"

#include <functional>
#include <map>
#include <utility>

#include "capture/PreviewModel.h"
#include "data/DataFolders.h"
#include "jobs/OcrJob.h"
#include "jobs/VideoRender.h"
#include "recording/ClipForm.h"
#include "resources/Artwork.h"
#include "resources/Form1Layout.h"

namespace gs {

TForm1::TForm1(Platform& platform, ui::Backend& backend, Services& services)
    : ui::Form(backend, L"Form1"),
      pool_(services.pool),
      saver_(services.saver),
      renders_(services.renders),
      platform_(platform) {
    Caption = L"About";
    setBounds(0, 0, layout::kPanelWidth, layout::kPanelHeight);
    Color = ui::clBtnFace;
    font = ui::Font{};
    setStayOnTop(true);
    // Created fully transparent so that nothing shows before the first tick hides it.
    AlphaBlend = true;
    setAlphaBlendValue(0);

    buildLayout();
    Timer1 = &create<ui::Timer>(L"Timer1");
    Timer1->setInterval(50);
    Timer1->OnTimer = [this](ui::Component&) { Timer1Timer(); };
    buildTray();
    buildOptionMenus();

    realize();
    TrayIcon1->realize(backend);
    TrayIcon1->setVisible(true);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::attachClipForm(TClipForm& clip) {
    ClipForm = &clip;
    clip.StartRenderVideo = [this] { renders_.start(ChosenRenderJob()); };
    clip.framePool = &pool_;
}

void TForm1::buildLayout() {
    using layout::Kind;
    for (const layout::ControlSpec& s : layout::Form1Controls()) {
        ui::Control* c = nullptr;
        switch (s.kind) {
            case Kind::Image: {
                auto& img = create<ui::Image>(s.name);
                if (s.text) img.Hint = s.text, img.ShowHint = true;
                c = &img;
                break;
            }
            case Kind::Label: {
                auto& lbl = create<ui::Label>(s.name);
                lbl.setCaption(s.text);
                c = &lbl;
                break;
            }
            case Kind::FlatButton: {
                auto& btn = create<ui::SpeedButton>(s.name);
                btn.Caption = s.text;
                btn.Flat = true;
                c = &btn;
                break;
            }
        }
        if (s.handCursor) c->cursor = ui::Cursor::HandPoint;
    }
    applyDpi();

    auto find = [this](const wchar_t* name) {
        return dynamic_cast<ui::Control*>(FindComponent(name));
    };
    bg = dynamic_cast<ui::Image*>(find(L"bg"));
    Image1 = dynamic_cast<ui::Image*>(find(L"Image1"));
    Image1->Center = true;
    lblHelp = dynamic_cast<ui::Label*>(find(L"lblHelp"));
    lblInfo = dynamic_cast<ui::Label*>(find(L"lblInfo"));
    lblInfo2 = dynamic_cast<ui::Label*>(find(L"lblInfo2"));
    SpeedButton1 = dynamic_cast<ui::SpeedButton*>(find(L"SpeedButton1"));

    auto on = [](ui::Handler& slot, std::function<void()> f) {
        slot = [f = std::move(f)](ui::Component&) { f(); };
    };
    for (const wchar_t* n : {L"bg", L"Image1", L"lbl1", L"lbl2", L"lbl3", L"lbl4", L"lbl5"})
        on(find(n)->OnMouseEnter, [this] { bgMouseEnter(); });
    on(SpeedButton1->OnClick, [this] { SpeedButton1Click(); });
    on(lblHelp->OnClick, [this] { HelpClick(); });
    on(find(L"OpenFolder")->OnClick, [this] { OpenFolderClick(); });
    on(find(L"EditImage")->OnClick, [this] { EditImageClick(); });
    on(find(L"ConvertToText")->OnClick, [this] { ConvertToTextClick(); });
    on(find(L"RecordVideo")->OnClick, [this] { RecordVideoClick(); });
    for (const wchar_t* n : {L"OpenFolderPopupBtn", L"EditImagePopupBtn", L"ConvertToTextPopupBtn",
                             L"RecordVideoPopupBtn"})
        find(n)->OnClick = [this](ui::Component& sender) { OpenFolderPopupBtnClick(sender); };
}

void TForm1::applyDpi() {
    setBounds(Left(), Top(), Scaled(layout::kPanelWidth), Scaled(layout::kPanelHeight));
    for (const layout::ControlSpec& s : layout::Form1Controls()) {
        auto* c = dynamic_cast<ui::Control*>(FindComponent(s.name));
        const Rect r = ui::ScaleRect(s.left, s.top, s.width, s.height, Dpi());
        c->setBounds(r.Left, r.Top, r.width(), r.height());
        const ui::Font design =
            s.fontHeight ? ui::Font{L"Tahoma", s.fontHeight, s.bold, s.color} : ui::Font{};
        const ui::Font f = ui::ScaleFont(design, Dpi());
        if (auto* lbl = dynamic_cast<ui::Label*>(c)) lbl->font = f;
        if (auto* btn = dynamic_cast<ui::SpeedButton*>(c)) btn->font = f;
        if (auto* img = dynamic_cast<ui::Image*>(c); img && s.art != layout::Art::None)
            img->setPicture(art::Make(s.art, r.width(), r.height()));
    }
    // A preview on show is fitted again to its new box.
    if (Image1 && !Image1->picture().empty() && !LastCapturedScreen->empty())
        Image1->setPicture(fitPreview(*LastCapturedScreen));
}

Picture TForm1::fitPreview(const Picture& shot) {
    return fitBitmapToRectangle(shot, Image1->bounds().width(), Image1->bounds().height());
}

void TForm1::buildTray() {
    PopupMenu1 = &create<ui::PopupMenu>(L"PopupMenu1");
    const std::pair<const wchar_t*, const wchar_t*> items[] = {
        {L"Open1", L"Open"},
        {L"S1", L"Start on Windows startup"},
        {L"Donotstartonwindowsstartup1", L"Do not start on Windows startup"},
        {L"Help", L"Help"},
        {L"Exit1", L"Exit"},
    };
    std::map<std::wstring, std::function<void()>> handlers = {
        {L"Open1", [this] { TrayIcon1Click(); }},
        {L"S1", [this] { S1Click(); }},
        {L"Donotstartonwindowsstartup1", [this] { Donotstartonwindowsstartup1Click(); }},
        {L"Help", [this] { HelpClick(); }},
        {L"Exit1", [this] { Exit1Click(); }},
    };
    for (auto [name, caption] : items) {
        ui::MenuItem& item = PopupMenu1->addItem(*this, name, caption);
        item.OnClick = [f = handlers.at(name)](ui::Component&) { f(); };
    }

    TrayIcon1 = &create<ui::TrayIcon>(L"TrayIcon1");
    TrayIcon1->Hint = L"Glimmershot";
    TrayIcon1->popupMenu = PopupMenu1;
    TrayIcon1->OnClick = [this](ui::Component&) { TrayIcon1Click(); };
    TrayIcon1->OnBalloonClick = [this](ui::Component&) { TrayIcon1BalloonClick(); };
}

void TForm1::FormCreate() {
    Hide();
    counter = -1.0;
    timecounter = 1.0;
    StartPoint = Point{-1, -1};
    AppDir = AppDirOf(platform_.exePath());
    LastCapturedScreen = std::make_shared<const Picture>();
    VideoRenderState.store(rsIdle, std::memory_order_release);
    CreateAVSubmenu();
    LoadSetup();
}

void TForm1::Timer1Timer() {
    // While the recording panel owns the frame window the whole tick stands still.
    if (ClipForm && ClipForm->isShowingRecording) return;
    LoadOCRText();
    DetectCreatedVideo();
    reportSaves(saver_.takeDone());
    if (ClipForm && !ClipForm->stoppedBecause.empty())
        TrayIcon1->balloon(std::exchange(ClipForm->stoppedBecause, std::wstring()), L"Info", 3);
    const double step = Timer1->Interval() / 1000.0;
    counter = counter - step;
    timecounter = timecounter + step;

    const PanelLook look = PanelLookFor(counter);
    if (look.opacity) setAlphaBlendValue(*look.opacity);
    setWindowState(look.minimized ? ui::WindowState::Minimized : ui::WindowState::Normal);
    lblInfo->setCaption(look.caption);
    if (look.action == PanelAction::Show) Show();
    if (look.action == PanelAction::Hide) Hide();

    selectionStep();
}

void TForm1::TrayIcon1Click() {
    if (ClipForm) ClipForm->StopRecording();
    counter = kCounterShow;
}

}  // namespace gs

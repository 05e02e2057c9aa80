#include <gtest/gtest.h>

#include "capture/Form1.h"
#include "recording/ClipForm.h"
#include "support/AppFixture.h"

namespace gs {
namespace {

class Form1Test : public test::AppFixture {
  protected:
    void SetUp() override { start(); }
    ui::Control& control(const wchar_t* name) {
        return *dynamic_cast<ui::Control*>(form->FindComponent(name));
    }
    void hover(const wchar_t* name) {
        form->mouseLeft();
        Rect r = control(name).bounds();
        form->mouseMovedTo({r.Left + 1, r.Top + 1});
    }
};

TEST_F(Form1Test, StartsHiddenAndTransparentAndTheFirstTickKeepsItSo) {
    EXPECT_EQ(form->Caption, L"About");
    EXPECT_EQ(form->bounds(), (Rect{0, 0, 240, 210}));
    EXPECT_TRUE(form->StayOnTop());
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->AlphaBlendValue(), 0);
    EXPECT_EQ(form->counter, -1.0);
    EXPECT_EQ(form->timecounter, 1.0);
    EXPECT_EQ(form->StartPoint, (Point{-1, -1}));
    EXPECT_EQ(form->Timer1->Interval(), 50u);
    EXPECT_TRUE(backend.trays.at(0)->Visible());

    tick();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->windowState(), ui::WindowState::Minimized);
    EXPECT_EQ(form->AlphaBlendValue(), 0);
    EXPECT_EQ(form->lblInfo->Caption(), L"");
    EXPECT_DOUBLE_EQ(form->counter, -1.05);
    EXPECT_DOUBLE_EQ(form->timecounter, 1.05);
}

TEST_F(Form1Test, TrayClickRunsTheFourSecondCycle) {
    tick(3);
    backend.trays.at(0)->clicked();
    EXPECT_EQ(form->counter, 4.0);

    tick();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->windowState(), ui::WindowState::Normal);
    EXPECT_EQ(form->AlphaBlendValue(), 25);
    EXPECT_EQ(form->lblInfo->Caption(), L"4");

    std::vector<std::wstring> captions{L"4"};
    int ticks = 1, lastVisible = 1, previousAlpha = 25, peak = 0;
    bool rising = true;
    while (ticks < 100) {
        tick();
        ++ticks;
        if (!form->Visible()) break;
        lastVisible = ticks;
        int a = form->AlphaBlendValue();
        if (rising && a < previousAlpha) rising = false;
        if (!rising) {
            EXPECT_LE(a, previousAlpha) << "tick " << ticks;
        }
        peak = std::max(peak, a);
        previousAlpha = a;
        if (captions.back() != form->lblInfo->Caption())
            captions.push_back(form->lblInfo->Caption());
    }
    EXPECT_EQ(peak, 255);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"4", L"3", L"2", L"1"}));
    // Hidden about 80 ticks (4 s) after the click.
    EXPECT_GE(lastVisible, 79);
    EXPECT_LE(lastVisible, 80);
    EXPECT_EQ(form->windowState(), ui::WindowState::Minimized);
    EXPECT_EQ(form->lblInfo->Caption(), L"");
}

TEST_F(Form1Test, ARestartedCycleFadesInAgain) {
    form->TrayIcon1Click();
    tick(30);
    EXPECT_EQ(form->AlphaBlendValue(), 255);
    form->TrayIcon1Click();
    tick();
    EXPECT_EQ(form->AlphaBlendValue(), 25);
    EXPECT_EQ(form->lblInfo->Caption(), L"4");
}

TEST_F(Form1Test, TickStandsStillWhileTheRecordingPanelIsUp) {
    form->TrayIcon1Click();
    tick(5);
    const double c = form->counter, t = form->timecounter;
    const int alpha = form->AlphaBlendValue();
    const std::wstring caption = form->lblInfo->Caption();
    clip->isShowingRecording = true;
    tick(200);
    EXPECT_EQ(form->counter, c);
    EXPECT_EQ(form->timecounter, t);
    EXPECT_EQ(form->AlphaBlendValue(), alpha);
    EXPECT_EQ(form->lblInfo->Caption(), caption);
    EXPECT_TRUE(form->Visible());
    clip->isShowingRecording = false;
    tick();
    EXPECT_DOUBLE_EQ(form->counter, c - 0.05);
}

TEST_F(Form1Test, HoveringTheBackgroundPreviewOrInstructionsPinsThePanel) {
    for (const wchar_t* name : {L"bg", L"Image1", L"lbl1", L"lbl2", L"lbl3", L"lbl4", L"lbl5"}) {
        SCOPED_TRACE(testing::Message() << "hover " << name);
        form->counter = 2.0;
        hover(name);
        EXPECT_EQ(form->counter, 1000000000.0);
        tick();
        EXPECT_EQ(form->AlphaBlendValue(), 255);
        EXPECT_EQ(form->lblInfo->Caption(), L"");
        EXPECT_TRUE(form->Visible());
    }
    // Leaving does not end the pin.
    form->mouseLeft();
    tick(100);
    EXPECT_TRUE(form->Visible());
}

TEST_F(Form1Test, HeaderButtonAndIconsDoNotPin) {
    for (const wchar_t* name : {L"lblInfo2", L"lblInfo", L"SpeedButton1", L"lblHelp", L"OpenFolder",
                                L"RecordVideoPopupBtn"}) {
        SCOPED_TRACE(testing::Message() << "hover " << name);
        form->counter = 2.0;
        hover(name);
        EXPECT_EQ(form->counter, 2.0);
    }
}

TEST_F(Form1Test, CloseButtonHidesAtTheNextTick) {
    form->counter = 1000000000.0;
    tick();
    ASSERT_TRUE(form->Visible());
    Rect x = control(L"SpeedButton1").bounds();
    form->mouseClicked({x.Left + 5, x.Top + 5}, {x.Left + 6, x.Top + 6});
    EXPECT_EQ(form->counter, 0.0);
    tick();
    EXPECT_FALSE(form->Visible());
}

TEST_F(Form1Test, TrayClickStopsARecording) {
    clip->isRecording = true;
    backend.trays.at(0)->clicked();
    EXPECT_FALSE(clip->isRecording);
    EXPECT_EQ(form->counter, 4.0);
}

TEST_F(Form1Test, TrayMenuHasItsEntriesAndOpenAndExitWork) {
    std::vector<std::wstring> captions;
    for (ui::MenuItem* item : form->PopupMenu1->Items()) captions.push_back(item->Caption);
    EXPECT_EQ(captions,
              (std::vector<std::wstring>{L"Open", L"Start on Windows startup",
                                         L"Do not start on Windows startup", L"Help", L"Exit"}));
    backend.nextChoice = L"Open1";
    backend.trays.at(0)->contextMenu({1268, 1014});
    EXPECT_EQ(form->counter, 4.0);
    EXPECT_EQ(backend.popupsAt.back(), (Point{1268, 1014}));

    backend.nextChoice = L"Exit1";
    backend.trays.at(0)->contextMenu({1268, 1014});
    EXPECT_TRUE(static_cast<test::FakeFormPeer*>(form->peer())->closed);
}

TEST_F(Form1Test, LayoutHasEveryComponentWithItsTextAndPlace) {
    struct Row {
        const wchar_t* name;
        Rect r;
        const wchar_t* text;
    };
    const Row rows[] = {
        {L"lblHelp", {155, 120, 202, 133}, L"help doc"},
        {L"lbl1", {15, 40, 169, 53}, L"1. Press ALT key and hold it"},
        {L"lblInfo2", {10, 4, 150, 17}, L"Window will disappear in:"},
        {L"lblInfo", {153, 4, 160, 17}, L"3"},
        {L"EditImage", {65, 170, 97, 202}, L"Edit with MS Paint"},
        {L"RecordVideoPopupBtn", {220, 192, 230, 202}, L"Open videos and screen shots folder"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "component " << row.name);
        ui::Control& c = control(row.name);
        EXPECT_EQ(c.bounds(), row.r);
        auto* l = dynamic_cast<ui::Label*>(&c);
        EXPECT_EQ(l ? l->Caption() : c.Hint, row.text);
    }
    EXPECT_EQ(form->controls().size(), 19u);
    EXPECT_EQ(form->controls().front()->Name(), L"bg");
    EXPECT_EQ(form->SpeedButton1->Caption, L"X");
    EXPECT_EQ(form->SpeedButton1->font.height, -13);
    EXPECT_TRUE(form->lblInfo->font.bold);
}

TEST_F(Form1Test, PreviewBroughtToFrontCoversTheInstructions) {
    Rect l1 = control(L"lbl1").bounds();
    EXPECT_EQ(form->controlAt({l1.Left + 1, l1.Top + 1})->Name(), L"lbl1");
    form->BringControlToFront(*form->Image1);
    EXPECT_EQ(form->controlAt({l1.Left + 1, l1.Top + 1})->Name(), L"Image1");
}

}  // namespace
}  // namespace gs

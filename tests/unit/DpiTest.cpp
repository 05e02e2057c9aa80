// The program at other display scales: what scales, how it rounds, and what stays physical.
#include <gtest/gtest.h>

#include "capture/Form1.h"
#include "recording/ClipForm.h"
#include "resources/Artwork.h"
#include "support/AppFixture.h"
#include "ui/Dpi.h"

namespace gs {
namespace {

TEST(Dpi, LengthsRoundHalvesAwayFromZeroAndRectanglesByTheirEdges) {
    EXPECT_EQ(ui::Scale(11, 144), 17);  // 16.5
    EXPECT_EQ(ui::Scale(-11, 144), -17);
    EXPECT_EQ(ui::Scale(13, 120), 16);  // 16.25
    EXPECT_EQ(ui::Scale(-64, 168), -112);
    EXPECT_EQ(ui::Scale(-3, 96), -3);
    // Two arrows of 10 at 40 and at 50 touch at 96 DPI and still touch at 125 %.
    const Rect a = ui::ScaleRect(40, 190, 10, 10, 120), b = ui::ScaleRect(50, 190, 10, 10, 120);
    EXPECT_EQ(a, (Rect{50, 238, 63, 250}));
    EXPECT_EQ(b.Left, a.Right);
    EXPECT_EQ(ui::ScaleFont(ui::Font{L"Arial", -64, true}, 144).height, -96);
}

class DpiTest : public test::AppFixture {
  protected:
    void SetUp() override {
        platform.screen = Picture(1600, 1000, 0xFF204060u);
        startDpi = 144;
        start();
    }
    ui::Control& control(const wchar_t* name) {
        return *dynamic_cast<ui::Control*>(form->FindComponent(name));
    }
    void capture(Rect r) {
        platform.cursor = Point{r.Left, r.Top};
        platform.keys[kVkMenu] = true;
        tick(10);
        platform.cursor = Point{r.Right, r.Bottom};
        tick();
        platform.keys[kVkMenu] = false;
        tick();
    }
};

TEST_F(DpiTest, ThePanelScalesItsControlsFontsPicturesAndMenuPoints) {
    EXPECT_EQ(form->bounds(), (Rect{0, 0, 360, 315}));
    EXPECT_EQ(control(L"Image1").bounds(), (Rect{23, 45, 338, 248}));
    EXPECT_EQ(control(L"RecordVideoPopupBtn").bounds(), (Rect{330, 288, 345, 303}));
    EXPECT_EQ(form->lblInfo->font.height, -17);
    EXPECT_EQ(form->SpeedButton1->font.height, -20);  // -19.5
    // Pictures are drawn for their box, not stretched afterwards.
    for (const wchar_t* name : {L"bg", L"OpenFolder", L"ConvertToTextPopupBtn"}) {
        auto& img = dynamic_cast<ui::Image&>(control(name));
        EXPECT_EQ(img.picture().width, img.bounds().width()) << name;
        EXPECT_EQ(img.picture().height, img.bounds().height()) << name;
    }
    // The menus open below the panel, 40 design pixels left of the arrow.
    control(L"OpenFolderPopupBtn").OnClick(control(L"OpenFolderPopupBtn"));
    EXPECT_EQ(backend.popupsAt.back(), (Point{0, 315}));
    control(L"RecordVideoPopupBtn").OnClick(control(L"RecordVideoPopupBtn"));
    EXPECT_EQ(backend.popupsAt.back(), (Point{270, 315}));

    // The capture stays in physical pixels; the preview fills the scaled box.
    capture(Rect{100, 100, 501, 301});
    EXPECT_EQ(form->LastCapturedScreen->width, 401);
    EXPECT_EQ(form->LastCapturedScreen->height, 201);
    EXPECT_EQ(form->Image1->picture().width, 315);
    EXPECT_EQ(form->Image1->picture().height, 203);

    // Moved to a 100 % monitor: the design layout exactly, the preview fitted again.
    auto* peer = static_cast<test::FakeFormPeer*>(form->peer());
    const int layouts = peer->layouts;
    form->setDpi(96);
    EXPECT_EQ(peer->layouts, layouts + 1);
    EXPECT_EQ(form->bounds(), (Rect{0, 0, 240, 210}));
    EXPECT_EQ(control(L"Image1").bounds(), (Rect{15, 30, 225, 165}));
    EXPECT_EQ(form->Image1->picture().width, 210);
    EXPECT_EQ(form->lblInfo->font.height, -11);
}

TEST_F(DpiTest, TheRecordingPanelScalesInsideTheTwoPixelRingAndSetsTheMinimum) {
    clip->ClipRect = Rect{100, 100, 330, 270};  // 236 x 176: enough at 100 %, not at 150 %
    clip->ShowRecording(false);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_NE(platform.boxes[0].text.find(L"must be higher than 240 x 180."), std::wstring::npos);

    clip->ClipRect = Rect{100, 100, 334, 274};
    clip->ShowRecording(false);
    ASSERT_EQ(platform.rings.size(), 1u);
    EXPECT_EQ(platform.rings[0].outer, (Rect{0, 0, 240, 180}));
    EXPECT_EQ(platform.rings[0].hole, (Rect{2, 2, 238, 178})) << "the ring stays 2 pixels";
    EXPECT_EQ(platform.rings[0].extra, (Rect{2, 2, 227, 152}));
    EXPECT_EQ(clip->Recordingbtn->bounds(), (Rect{5, 113, 154, 146}));
    EXPECT_EQ(clip->lbl4->font.height, -96);
    EXPECT_EQ(clip->CursorImage->picture().width, 75) << "the marker drawn into video frames";
    clip->CancelbtnClick();

    // An area on a 100 % monitor takes the design panel again.
    backend.otherMonitor = Rect{1280, 0, 3200, 1080};
    clip->ClipRect = Rect{1300, 100, 1460, 220};
    clip->ShowRecording(false);
    EXPECT_EQ(platform.rings.back().extra, (Rect{2, 2, 152, 102}));
    EXPECT_EQ(clip->CursorImage->picture().width, 50);
}

TEST(Artwork, PicturesDrawnForTheirSize) {
    const ui::Picture bg = art::Make(layout::Art::Background, 360, 315);
    auto grey = [&](int y) { return static_cast<int>(bg.at(180, y) & 0xFF); };
    EXPECT_EQ(grey(0), 112);
    EXPECT_EQ(grey(314), 104);
    EXPECT_NE(bg.at(0, 29), 0xFF000000u);
    EXPECT_EQ(bg.at(0, 30), 0xFF000000u);
    EXPECT_EQ(bg.at(0, 31), 0xFF000000u) << "the header line is one design row: two rows";
    EXPECT_NE(bg.at(0, 32), 0xFF000000u);

    const ui::Picture disc = art::CursorDisc(211, 211, 0, 75);
    ASSERT_EQ(disc.width, 75);
    EXPECT_EQ(disc.at(37, 37), 0xFF000000u) << "the plus sign in the middle";
    EXPECT_EQ(disc.at(0, 0) >> 24, 0u);
    const ui::Picture arrow = art::Make(layout::Art::Arrow, 15, 15);
    EXPECT_EQ(arrow.width, 15);
    EXPECT_EQ(arrow.at(7, 7) & 0xFFFFFF, 0xFFFFFFu) << "the white inside at the new size";
}

}  // namespace
}  // namespace gs

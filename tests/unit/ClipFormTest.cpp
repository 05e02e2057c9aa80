#include <gtest/gtest.h>

#include "recording/ClipForm.h"
#include "support/FakePlatform.h"

namespace gs {
namespace {

class ClipFormTest : public testing::Test {
  protected:
    test::FakePlatform platform;
    test::FakeBackend backend;
    TClipForm clip{platform, backend};
    Rect bounds(ui::Control* c) { return c->bounds(); }
};

TEST_F(ClipFormTest, FrameGeometryOfTheWorkedExample) {
    clip.ClipRect = Rect{400, 250, 300, 200};  // dragged up and to the left
    clip.ShowClipForm();
    EXPECT_EQ(clip.ClipRect, (Rect{300, 200, 400, 250})) << "normalised in place";
    EXPECT_EQ(clip.bounds(), (Rect{298, 198, 298 + 106, 198 + 56}));
    EXPECT_EQ(bounds(clip.shape1), (Rect{0, -2, 2, 58}));
    EXPECT_EQ(bounds(clip.Shape2), (Rect{0, 0, 106, 2}));
    EXPECT_EQ(bounds(clip.Shape3), (Rect{104, -2, 106, 58}));
    EXPECT_EQ(bounds(clip.Shape4), (Rect{0, 54, 106, 56}));
    ASSERT_EQ(platform.rings.size(), 1u);
    EXPECT_EQ(platform.rings[0].outer, (Rect{0, 0, 106, 56}));
    EXPECT_EQ(platform.rings[0].hole, (Rect{2, 2, 104, 54}));
    EXPECT_FALSE(platform.rings[0].hasExtra);
    EXPECT_EQ(platform.rings[0].window, clip.handle());
    EXPECT_NE(clip.ClipRgn, 0u);
    EXPECT_TRUE(clip.Visible());

    clip.HideClipForm();
    EXPECT_FALSE(clip.Visible());
    EXPECT_EQ(platform.rings.size(), 1u) << "hiding leaves the region alone";
}

TEST_F(ClipFormTest, EmptyAndNegativeRectangles) {
    clip.ClipRect = Rect{50, 60, 50, 60};
    clip.ShowClipForm();
    EXPECT_EQ(clip.bounds(), (Rect{48, 58, 54, 64}));
    EXPECT_EQ(platform.rings.back().hole, (Rect{2, 2, 4, 4})) << "a 2 x 2 opening";

    clip.ClipRect = Rect{-1280, -3, -1000, 20};  // a monitor left of and above the primary one
    clip.ShowClipForm();
    EXPECT_EQ(clip.bounds(), (Rect{-1282, -5, -1282 + 286, -5 + 29}));

    const Rect normal = clip.ClipRect;
    clip.NormalizeCliprect();
    clip.NormalizeCliprect();
    EXPECT_EQ(clip.ClipRect, normal);
}

TEST_F(ClipFormTest, BlinksRedAndLimeAndOnlyMovesWhileVisible) {
    EXPECT_EQ(clip.Timer1->Interval(), 500u);
    EXPECT_EQ(clip.shape1->penColor(), ui::clLime);
    clip.Timer1->fire();
    for (ui::Shape* s : {clip.shape1, clip.Shape2, clip.Shape3, clip.Shape4})
        EXPECT_EQ(s->penColor(), ui::clRed);
    clip.Timer1->fire();
    EXPECT_EQ(clip.Shape4->penColor(), ui::clLime);

    // Hidden: colour only, no move, no coming to the front.
    auto* peer = static_cast<test::FakeFormPeer*>(clip.peer());
    clip.ClipRect = Rect{10, 10, 20, 20};
    const Rect before = clip.bounds();
    clip.Timer1->fire();
    EXPECT_EQ(clip.bounds(), before);
    EXPECT_EQ(peer->toFront, 0);

    clip.ShowClipForm();
    clip.ClipRect = Rect{100, 100, 50, 40};
    clip.Timer1->fire();
    EXPECT_EQ(clip.bounds(), (Rect{48, 38, 48 + 56, 38 + 66})) << "re-placed from ClipRect";
    EXPECT_EQ(peer->toFront, 1);

    // Any colour but exact red turns red.
    clip.shape1->setPenColor(0x0000FE);
    clip.Timer1->fire();
    EXPECT_EQ(clip.Shape3->penColor(), ui::clRed);
}

TEST_F(ClipFormTest, ControlPanelLayout) {
    EXPECT_EQ(clip.Caption, L"ClipForm");
    EXPECT_EQ(clip.Recordingbtn->Caption, L"Start Recording");
    EXPECT_EQ(clip.Recordingbtn->font.color, ui::clMaroon);
    EXPECT_EQ(bounds(clip.Cancelbtn), (Rect{103, 76, 149, 98}));
    EXPECT_FALSE(clip.lbl4->Visible());
    EXPECT_EQ(clip.lbl4->font.height, -64);
    EXPECT_FALSE(clip.CursorImage->Visible());
    EXPECT_EQ(clip.CursorImage->picture().at(25, 25), 0xFF000000u) << "the plus sign";
    EXPECT_EQ(clip.CursorMouseDownImage->picture().at(10, 25) & 0xFFFFFF, 0xD30000u);
    EXPECT_EQ(clip.CursorImage->picture().at(10, 25) >> 24, 127u);
}

}  // namespace
}  // namespace gs

#include <gtest/gtest.h>

#include "capture/PreviewModel.h"

namespace gs {
namespace {

struct Expect {
    double counter;
    int opacity;  // -1: left unchanged
    bool minimized;
    const wchar_t* caption;
    PanelAction action;
};

constexpr double kTiny = 1e-9;

TEST(PreviewModel, BandsAtAndAroundEveryBound) {
    const Expect cases[] = {
        {kCounterPinned, 255, false, L"", PanelAction::Show},
        {4 + kTiny, 255, false, L"", PanelAction::Show},
        {4.0, 0, false, L"5", PanelAction::Show},
        {4 - kTiny, 0, false, L"4", PanelAction::Show},
        {3.95, 25, false, L"4", PanelAction::Show},
        {3.5 + kTiny, 254, false, L"4", PanelAction::Show},
        {3.5, 255, false, L"4", PanelAction::None},
        {3.0, 255, false, L"4", PanelAction::None},
        {3 - kTiny, 255, false, L"3", PanelAction::None},
        {0.5 + kTiny, 255, false, L"1", PanelAction::None},
        {0.5, 255, false, L"1", PanelAction::None},
        {0.5 - kTiny, 254, false, L"1", PanelAction::None},
        {0.05, 25, false, L"1", PanelAction::None},
        {kTiny, 0, false, L"1", PanelAction::None},
        {0.0, -1, true, L"", PanelAction::Hide},
        {-kTiny, -1, true, L"", PanelAction::Hide},
        {-1.05, -1, true, L"", PanelAction::Hide},
    };
    for (const Expect& e : cases) {
        SCOPED_TRACE(testing::Message() << "counter " << e.counter);
        PanelLook look = PanelLookFor(e.counter);
        if (e.opacity < 0) {
            EXPECT_FALSE(look.opacity.has_value());
        } else {
            ASSERT_TRUE(look.opacity.has_value());
            EXPECT_EQ(*look.opacity, e.opacity);
        }
        EXPECT_EQ(look.minimized, e.minimized);
        EXPECT_EQ(look.caption, e.caption);
        EXPECT_EQ(look.action, e.action);
    }
}

}  // namespace
}  // namespace gs

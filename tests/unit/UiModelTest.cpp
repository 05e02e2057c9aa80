#include <gtest/gtest.h>

#include "support/FakePlatform.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace gs::ui {
namespace {

TEST(MenuItem, RadioRuleClearsOnlyRadioSiblingsOfTheSameGroup) {
    test::FakeBackend backend;
    Form owner(backend, L"F");
    PopupMenu& menu = owner.create<PopupMenu>(L"pp");
    MenuItem& a = menu.addItem(owner, L"a", L"A");
    MenuItem& b = menu.addItem(owner, L"b", L"B");
    MenuItem& other = menu.addItem(owner, L"c", L"C");
    MenuItem& plain = menu.addItem(owner, L"d", L"D");
    for (MenuItem* m : {&a, &b, &other}) m->RadioItem = true;
    a.GroupIndex = b.GroupIndex = 1;
    other.GroupIndex = 2;

    a.setChecked(true);
    other.setChecked(true);
    plain.setChecked(true);
    b.setChecked(true);
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(b.Checked());
    EXPECT_TRUE(other.Checked()) << "another group keeps its check";
    EXPECT_TRUE(plain.Checked()) << "a non-radio item keeps its check";

    // Unchecking never checks anything else; a non-radio item changes only itself.
    b.setChecked(false);
    EXPECT_FALSE(a.Checked());
    plain.setChecked(false);
    EXPECT_TRUE(other.Checked());
}

TEST(MenuItem, RadioRuleStaysWithinOneParent) {
    test::FakeBackend backend;
    Form owner(backend, L"F");
    PopupMenu& menu = owner.create<PopupMenu>(L"pp");
    MenuItem& sub1 = menu.addItem(owner, L"s1", L"S1");
    MenuItem& sub2 = menu.addItem(owner, L"s2", L"S2");
    MenuItem& x = sub1.create<MenuItem>(L"x");
    MenuItem& y = sub2.create<MenuItem>(L"x");  // same name, other owner: allowed
    sub1.Add(x);
    sub2.Add(y);
    x.RadioItem = y.RadioItem = true;
    x.GroupIndex = y.GroupIndex = 10;
    x.setChecked(true);
    y.setChecked(true);
    EXPECT_TRUE(x.Checked());
    EXPECT_EQ(sub1.FindComponent(L"x"), &x);
    EXPECT_EQ(sub2.FindComponent(L"x"), &y);
}

TEST(MenuItem, DisabledItemsIgnoreClicksButCanBeChecked) {
    test::FakeBackend backend;
    Form owner(backend, L"F");
    PopupMenu& menu = owner.create<PopupMenu>(L"pp");
    MenuItem& item = menu.addItem(owner, L"i", L"I");
    int clicks = 0;
    item.OnClick = [&](Component&) { ++clicks; };
    item.Enabled = false;
    backend.nextChoice = L"i";
    menu.Popup(10, 20);
    EXPECT_EQ(clicks, 0);
    item.setChecked(true);
    EXPECT_TRUE(item.Checked());
    item.Enabled = true;
    menu.Popup(10, 20);
    EXPECT_EQ(clicks, 1);
    backend.nextChoice.clear();
    menu.Popup(10, 20);
    EXPECT_EQ(clicks, 1) << "a dismissed menu runs nothing";
}

TEST(Form, MouseEnterFiresOncePerEntryAndSkipsHiddenControls) {
    test::FakeBackend backend;
    Form form(backend, L"F");
    form.setBounds(0, 0, 100, 100);
    Image& back = form.create<Image>(L"back");
    back.setBounds(0, 0, 100, 100);
    Label& top = form.create<Label>(L"top");
    top.setBounds(10, 10, 20, 20);
    int backEnters = 0, topEnters = 0;
    back.OnMouseEnter = [&](Component&) { ++backEnters; };
    top.OnMouseEnter = [&](Component&) { ++topEnters; };

    form.mouseMovedTo({50, 50});
    form.mouseMovedTo({51, 52});
    EXPECT_EQ(backEnters, 1);
    form.mouseMovedTo({15, 15});
    EXPECT_EQ(topEnters, 1);
    form.mouseMovedTo({60, 60});
    EXPECT_EQ(backEnters, 2);

    top.setVisible(false);
    form.mouseMovedTo({15, 15});
    EXPECT_EQ(topEnters, 1) << "a hidden control is passed over";

    // A click lands only when press and release hit the same control.
    int clicks = 0;
    back.OnClick = [&](Component&) { ++clicks; };
    form.mouseClicked({50, 50}, {150, 150});
    EXPECT_EQ(clicks, 0);
    form.mouseClicked({50, 50}, {55, 55});
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace gs::ui

#include "ui/ErrorReport.h"

namespace gs::ui {
namespace {

TEST(ErrorReport, FullStopRuleAndApplicationTitle) {
    EXPECT_EQ(ErrorReportText(L"Failed to set data for 'Glimmershot'"),
              L"Failed to set data for 'Glimmershot'")
        << "a quote sorts before the full stop";
    EXPECT_EQ(ErrorReportText(L"Failed to create key \\Software\\Run"),
              L"Failed to create key \\Software\\Run.");
    EXPECT_EQ(ErrorReportText(L"Done."), L"Done.");
    EXPECT_EQ(ErrorReportText(L"Oops!"), L"Oops!") << "'!' sorts before '.'";
    EXPECT_EQ(ErrorReportText(L"(1)"), L"(1)");
    EXPECT_EQ(ErrorReportText(L""), L"");
    test::FakePlatform platform;
    auto title = [&](const wchar_t* exe) {
        platform.exe = exe;
        return ApplicationTitle(platform);
    };
    EXPECT_EQ(title(L"C:\\Program Files\\Glimmershot.exe"), L"Glimmershot");
    EXPECT_EQ(title(L"C:\\x\\GLIMMERSHOT.EXE"), L"Glimmershot");
    EXPECT_EQ(title(L"C:\\x.y\\mY.app.exe"), L"my") << "up to the first dot of the name";
}

}  // namespace
}  // namespace gs::ui

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/main_window_description.h"

namespace {

using app::MainControls;
using app::MainMenu;
using app::MainWindowSpecForLayout;

TEST(MainWindowDescription, EveryControlHasAUniqueIdAndName) {
    std::set<int> ids;
    std::set<std::string_view> names;
    for (const ui::ControlSpec& control : MainControls()) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.name;
        EXPECT_TRUE(names.insert(control.name).second) << control.name;
    }
    for (const ui::MenuItemSpec& item : MainMenu()) {
        EXPECT_TRUE(ids.insert(item.id).second) << item.text;
    }
}

TEST(MainWindowDescription, GroupBoxChildrenLieInsideTheirBox) {
    const ui::WindowSpec description = MainWindowSpecForLayout();
    for (const ui::ControlSpec& control : MainControls()) {
        if (control.parent == ui::windowItself) continue;
        const ui::ControlSpec* box = ui::FindControl(description, control.parent);
        ASSERT_NE(box, nullptr) << control.name;
        EXPECT_EQ(box->kind, ui::Kind::GroupBox);
        const ui::Rect inner = ui::ClientRect(description, control);
        const ui::Rect outer = ui::ClientRect(description, *box);
        EXPECT_GE(inner.x, outer.x) << control.name;
        EXPECT_GE(inner.y, outer.y) << control.name;
        EXPECT_LE(inner.x + inner.width, outer.x + outer.width) << control.name;
        EXPECT_LE(inner.y + inner.height, outer.y + outer.height) << control.name;
    }
}

TEST(MainWindowDescription, PlacesControlsRelativeToTheirGroupBox) {
    const ui::WindowSpec description = MainWindowSpecForLayout();
    const auto at = [&](int id) { return ui::ClientRect(description, *ui::FindControl(description, id)); };
    EXPECT_EQ(at(app::pictureBox), (ui::Rect{16, 24, 360, 296}));
    EXPECT_EQ(at(app::editBox), (ui::Rect{400, 24, 360, 296}));
    EXPECT_EQ(at(app::printButton), (ui::Rect{456, 400, 96, 24}));
    EXPECT_EQ(at(app::pictureOption), (ui::Rect{232, 400, 96, 24}));
    EXPECT_EQ(at(app::statusBar), (ui::Rect{0, 436, 782, 20}));
}

TEST(MainWindowDescription, MenusHaveOneVisibleBarEntryAndTwoPopups) {
    int visible = 0;
    int hidden = 0;
    for (const ui::MenuItemSpec& item : MainMenu()) {
        if (item.depth != 0) continue;
        (item.hiddenTop ? hidden : visible)++;
    }
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(hidden, 2);
    const auto menu = MainMenu();
    const ui::MenuRange main = ui::SubtreeOf(menu, 0);
    EXPECT_EQ(menu[main.last].text, "子菜单");
    // 菜单, 升级, 检测升级, 更换背景图, 关于, and adding and removing Explorer's "用墨舟打印"
    EXPECT_EQ(main.last - main.first, 7u);
}

}  // namespace

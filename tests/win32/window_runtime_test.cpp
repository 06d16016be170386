// The window runtime builds real windows from descriptions and dispatches their events.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <new>
#include <vector>

#include "test_support.h"
#include "ui/dpi_scale.h"
#include "ui/window_win.h"

namespace {

using testing_win::ClassOf;
using testing_win::PumpUntil;
using testing_win::RectInParent;
using testing_win::WindowText;

enum Id : int { box = 10, check, button, edit, status, timer, list, menuTop = 50, menuItem, popupTop, popupItem };

std::vector<std::pair<int, ui::Event>> raised;
bool refuseClose = false;

void Record(ui::EventArgs& event) {
    ui::Event kind = ui::Event::Clicked;
    if (event.source == edit || event.source == list) kind = ui::Event::Changed;
    if (event.source == timer) kind = ui::Event::Tick;
    raised.emplace_back(event.source, kind);
}
void RecordRightButton(ui::EventArgs& event) {
    raised.emplace_back(event.source, ui::Event::RightButtonDown);
}
void RunOutOfMemory(ui::EventArgs&) { throw std::bad_alloc(); }
void RefuseIfAsked(ui::EventArgs& event) { event.refuse = refuseClose; }
void SetTitleOnCreate(ui::EventArgs& event) { event.window.SetTitle(L"已创建"); }

constexpr std::array statusParts{40, 200};
constexpr std::array controls{
    ui::ControlSpec{box, "分组框", ui::Kind::GroupBox, "组", {10, 10, 300, 200}},
    ui::ControlSpec{check, "选择框", ui::Kind::CheckBox, "勾选", {20, 30, 96, 24}, box, ui::tabStop},
    ui::ControlSpec{button, "按钮", ui::Kind::PushButton, "按下", {20, 60, 96, 24}, box, ui::disabled},
    ui::ControlSpec{edit, "编辑框", ui::Kind::EditBox, "", {130, 30, 150, 100}, box,
                    ui::multiLine | ui::verticalScroll | ui::thinBorder},
    ui::ControlSpec{status, "状态条", ui::Kind::StatusBar, "状态：", {0, 220, 400, 20},
                    ui::windowItself, ui::noFlags, statusParts},
    ui::ControlSpec{timer, "时钟", ui::Kind::Timer, "", {}},
    ui::ControlSpec{list, "组合框", ui::Kind::ComboBox, "", {20, 100, 96, 24}, box, ui::tabStop},
};
constexpr std::array menu{
    ui::MenuItemSpec{menuTop, 0, "菜单"},
    ui::MenuItemSpec{menuItem, 1, "项目"},
    ui::MenuItemSpec{popupTop, 0, "弹出", true},
    ui::MenuItemSpec{popupItem, 1, "弹出项"},
};
constexpr std::array events{
    ui::Binding{ui::windowItself, ui::Event::Created, SetTitleOnCreate},
    ui::Binding{ui::windowItself, ui::Event::CloseRequested, RefuseIfAsked},
    ui::Binding{check, ui::Event::Clicked, Record},
    ui::Binding{button, ui::Event::Clicked, Record},
    ui::Binding{edit, ui::Event::Changed, Record},
    ui::Binding{list, ui::Event::Changed, Record},
    ui::Binding{edit, ui::Event::RightButtonDown, RecordRightButton},
    ui::Binding{popupItem, ui::Event::Clicked, RunOutOfMemory},
    ui::Binding{timer, ui::Event::Tick, Record},
    ui::Binding{menuItem, ui::Event::Clicked, Record},
};
const ui::WindowSpec description{"MozhouTestWindow", "测试", 420, 300, ui::fixedBorder | ui::centered,
                          controls, menu, events};

class WindowRuntime : public ::testing::Test {
protected:
    void SetUp() override {
        raised.clear();
        refuseClose = false;
        window = ui::Window::Create(description, SW_SHOWNOACTIVATE);
        ASSERT_NE(window, nullptr);
    }
    std::unique_ptr<ui::Window> window;
};

TEST_F(WindowRuntime, BuildsTheWindowAndRunsItsCreationHandler) {
    RECT outer;
    GetWindowRect(window->Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 420);
    EXPECT_EQ(outer.bottom - outer.top, 300);
    EXPECT_EQ(WindowText(window->Handle()), L"已创建");
    const LONG style = GetWindowLongW(window->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_NE(GetMenu(window->Handle()), nullptr);
}

TEST_F(WindowRuntime, PlacesGroupBoxChildrenRelativeToTheBox) {
    const RECT checkRect = RectInParent(window->Control(check));
    EXPECT_EQ(checkRect.left, 30);
    EXPECT_EQ(checkRect.top, 40);
    EXPECT_EQ(checkRect.right - checkRect.left, 96);
    const RECT editRect = RectInParent(window->Control(edit));
    EXPECT_EQ(editRect.left, 140);
    EXPECT_EQ(editRect.bottom - editRect.top, 100);
    const RECT statusRect = RectInParent(window->Control(status));
    EXPECT_EQ(statusRect.top, 220);
    EXPECT_EQ(statusRect.right - statusRect.left, 400);
}

TEST_F(WindowRuntime, GivesEachKindItsControlAndFlags) {
    EXPECT_EQ(ClassOf(window->Control(check)), L"Button");
    EXPECT_EQ(ClassOf(window->Control(edit)), L"Edit");
    EXPECT_EQ(ClassOf(window->Control(status)), STATUSCLASSNAMEW);
    EXPECT_EQ(window->Control(timer), nullptr);
    EXPECT_EQ(window->Text(check), L"勾选");
    EXPECT_FALSE(window->Enabled(button));
    EXPECT_TRUE(window->Enabled(check));
    const LONG editStyle = GetWindowLongW(window->Control(edit), GWL_STYLE);
    EXPECT_TRUE(editStyle & ES_MULTILINE);
    EXPECT_FALSE(editStyle & ES_AUTOHSCROLL);  // lines wrap
    EXPECT_EQ(window->StatusText(status, 0), L"状态：");
    EXPECT_EQ(window->StatusText(status, 1), L"");
}

TEST_F(WindowRuntime, DispatchesClicksChangesAndMenuCommandsToTheirHandlers) {
    SendMessageW(window->Control(check), BM_CLICK, 0, 0);
    EXPECT_TRUE(window->Checked(check));  // an automatic check box toggles before the handler
    window->SetText(edit, L"文字");
    SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(menuItem, 0), 0);
    const std::vector<std::pair<int, ui::Event>> expected{
        {check, ui::Event::Clicked}, {edit, ui::Event::Changed}, {menuItem, ui::Event::Clicked}};
    EXPECT_EQ(raised, expected);
}

// Only the user's choice is a change: the program's own is not reported back to it.
TEST_F(WindowRuntime, ADropDownListReportsTheUsersChoice) {
    EXPECT_EQ(ClassOf(window->Control(list)), L"ComboBox");
    window->SetListItems(list, {L"甲", L"乙", L"丙"});
    EXPECT_EQ(window->ListSelection(list), -1);
    window->SelectListItem(list, 1);
    EXPECT_EQ(window->ListSelection(list), 1);
    EXPECT_TRUE(raised.empty());
    SendMessageW(window->Control(list), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(window->ListSelection(list), 2);
    EXPECT_EQ(window->Text(list), L"丙");
    EXPECT_EQ(raised, (std::vector<std::pair<int, ui::Event>>{{list, ui::Event::Changed}}));
}

TEST_F(WindowRuntime, ADisabledButtonIgnoresClicks) {
    SendMessageW(window->Control(button), BM_CLICK, 0, 0);
    EXPECT_TRUE(raised.empty());
}

TEST_F(WindowRuntime, TimerTicksUntilItsIntervalIsZero) {
    window->SetTimerInterval(timer, 20);
    EXPECT_TRUE(PumpUntil([] { return raised.size() >= 2; }));
    window->SetTimerInterval(timer, 0);
    PumpUntil([] { return false; }, std::chrono::milliseconds(50));
    const std::size_t ticks = raised.size();
    PumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(raised.size(), ticks);
    EXPECT_EQ(window->TimerInterval(timer), 0u);
}

TEST_F(WindowRuntime, ACloseHandlerCanRefuse) {
    refuseClose = true;
    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window->Handle()));
    refuseClose = false;
    HWND handle = window->Handle();
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window->Handle(), nullptr);
}

TEST_F(WindowRuntime, ChangesOnlyTheBoldFlagOfAFont) {
    const ui::FontSpec before = window->ControlFont(check);
    window->SetBold(check, true);
    EXPECT_TRUE(window->Bold(check));
    const ui::FontSpec bold = window->ControlFont(check);
    EXPECT_EQ(bold.face, before.face);
    EXPECT_EQ(bold.pointSize, before.pointSize);
    window->SetBold(check, false);
    EXPECT_FALSE(window->Bold(check));
}

TEST_F(WindowRuntime, SetsAControlFontMemberByMember) {
    window->SetControlFont(edit, {L"宋体", 14, false, true, true, false});
    const ui::FontSpec font = window->ControlFont(edit);
    EXPECT_EQ(font.face, L"宋体");
    EXPECT_EQ(font.pointSize, 14);
    EXPECT_TRUE(font.italic);
    EXPECT_TRUE(font.underline);
    EXPECT_FALSE(font.bold);
}

TEST_F(WindowRuntime, KeepsPopupMenusForHiddenTopItemsOffTheMenuBar) {
    HMENU bar = GetMenu(window->Handle());
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    HMENU popup = window->PopupMenu(popupTop);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 1);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(popupItem));
}

TEST_F(WindowRuntime, AnEditBoxMadeAnewForItsAlignmentStillTakesItsRightButtonEvent) {
    for (const auto alignment : {ui::Alignment::center, ui::Alignment::right, ui::Alignment::left,
                                 ui::Alignment::center}) {
        HWND old = window->Control(edit);
        window->SetAlignment(edit, alignment);
        EXPECT_FALSE(IsWindow(old));
        raised.clear();
        SendMessageW(window->Control(edit), WM_RBUTTONDOWN, 0, 0);
        EXPECT_EQ(raised, (std::vector<std::pair<int, ui::Event>>{{edit, ui::Event::RightButtonDown}}));
    }
}

TEST_F(WindowRuntime, AHandlerThatFailsEndsThereAndTheWindowGoesOn) {
    EXPECT_NO_THROW(window->Raise(popupItem, ui::Event::Clicked));
    SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(check, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window->Control(check)));
    EXPECT_EQ(raised, (std::vector<std::pair<int, ui::Event>>{{check, ui::Event::Clicked}}));
}

}  // namespace

namespace {

LONG FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// Moved to a 144-dpi screen: the window takes the rectangle Windows suggests, its controls and
// status bar parts grow by half, and its fonts keep their size in points.
TEST_F(WindowRuntime, RescalesItselfOnAScreenOfAnotherResolution) {
    window->SetControlFont(edit, {L"宋体", 14});
    const LONG guiHeight = FontHeight(window->Control(check));
    const RECT suggested{10, 20, 640, 470};
    SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT outer;
    GetWindowRect(window->Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 630);
    const RECT checkRect = RectInParent(window->Control(check));
    EXPECT_EQ((std::array{checkRect.left, checkRect.right}), (std::array<LONG, 2>{45, 189}));
    std::array<int, 2> edges{};
    SendMessageW(window->Control(status), SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    EXPECT_EQ(edges, (std::array<int, 2>{60, 360}));
    EXPECT_EQ(FontHeight(window->Control(edit)), -28);
    EXPECT_EQ(FontHeight(window->Control(check)), ui::RescaleFontHeight(guiHeight, 96, 144));
}

}  // namespace

// The input box in integer mode, driven as a user would from inside its own message loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "test_support.h"
#include "ui/dialogs_win.h"

namespace {

using testing_win::WindowText;

constexpr UINT_PTR actTimer = 0x5A5A;
std::function<void(HWND)> userAction;
std::wstring seenTitle;
std::wstring seenSelection;

HWND FindChild(HWND dialog, const wchar_t* className, const wchar_t* text) {
    return FindWindowExW(dialog, nullptr, className, text);
}

void CALLBACK ActOnInputBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = GetForegroundWindow();
    HWND edit = dialog != nullptr ? FindChild(dialog, L"Edit", nullptr) : nullptr;
    if (edit == nullptr) return;  // not up yet
    KillTimer(nullptr, id);
    seenTitle = WindowText(dialog);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    seenSelection = WindowText(edit).substr(start, end - start);
    userAction(dialog);
}

bool RunInputBox(std::wstring_view caption, std::wstring_view initial, int& value,
                 std::function<void(HWND)> action) {
    userAction = std::move(action);
    seenTitle.clear();
    SetTimer(nullptr, actTimer, 20, ActOnInputBox);
    return ui::InputInteger(nullptr, L"每行打印多少个字节？", caption, initial, value);
}

void Type(HWND dialog, std::wstring_view keys) {
    HWND edit = FindChild(dialog, L"Edit", nullptr);
    SetWindowTextW(edit, L"");
    for (wchar_t key : keys) SendMessageW(edit, WM_CHAR, key, 0);
}

void Press(HWND dialog, const wchar_t* caption) {
    SendMessageW(FindChild(dialog, L"Button", caption), BM_CLICK, 0, 0);
}

TEST(InputBox, StoresTheLeadingIntegerOfWhatWasTyped) {
    int value = 7;
    const bool confirmed = RunInputBox(L"输入", L"80", value, [](HWND dialog) {
        Type(dialog, L"1a2.-3");  // letters and dots are ignored as typed
        Press(dialog, L"确认输入(&O)");
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(seenTitle, L"输入");
    EXPECT_EQ(seenSelection, L"80");
}

TEST(InputBox, CancelLeavesTheValueAlone) {
    int value = 7;
    const bool confirmed = RunInputBox(L"", L"80", value, [](HWND dialog) {
        Type(dialog, L"55");
        Press(dialog, L"取消(&C)");
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(seenTitle, L"请输入：");
}

TEST(InputBox, AnEmptyTextGivesZero) {
    int value = 7;
    RunInputBox(L"输入", L"", value, [](HWND dialog) { Press(dialog, L"确认输入(&O)"); });
    EXPECT_EQ(value, 0);
}

}  // namespace

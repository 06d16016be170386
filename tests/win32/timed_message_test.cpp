// The timed message box closes itself and leaves the program's other windows usable.
#include <gtest/gtest.h>

#include <chrono>

#include "ui/timed_message_win.h"
#include "test_support.h"

namespace {

constexpr UINT_PTR probeTimer = 0x7A7A;
HWND otherWindow = nullptr;
bool otherWasEnabled = false;
bool boxWasUp = false;

void CALLBACK LookWhileTheBoxIsUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    boxWasUp = FindWindowW(L"#32770", L"提示信息") != nullptr;
    otherWasEnabled = IsWindowEnabled(otherWindow) != FALSE;
}

TEST(TimedMessage, ClosesItselfAfterItsTimeoutWithoutBlockingOtherWindows) {
    otherWindow = CreateWindowExW(0, L"STATIC", L"另一个窗口", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100,
                                  100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(otherWindow, nullptr);
    SetTimer(nullptr, probeTimer, 100, LookWhileTheBoxIsUp);
    const auto start = std::chrono::steady_clock::now();
    ui::ShowTimedMessage(L"宽度不能为空", L"提示信息", MB_OK | MB_ICONINFORMATION, 600);
    const auto shown = std::chrono::steady_clock::now() - start;
    EXPECT_GE(shown, std::chrono::milliseconds(500));
    EXPECT_LT(shown, std::chrono::milliseconds(3000));
    EXPECT_TRUE(boxWasUp);
    EXPECT_TRUE(otherWasEnabled);
    EXPECT_EQ(FindWindowW(L"#32770", L"提示信息"), nullptr);
    DestroyWindow(otherWindow);
}

// The box is not modal, so a second can open while the first is up.
std::chrono::steady_clock::time_point innerClosed;

void CALLBACK OpenASecondBox(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ui::ShowTimedMessage(L"第二个", L"提示信息", MB_OK, 400);
    innerClosed = std::chrono::steady_clock::now();
}

TEST(TimedMessage, TwoBoxesUpAtOnceEachCloseOnTheirOwnTime) {
    SetTimer(nullptr, 0, 100, OpenASecondBox);
    const auto start = std::chrono::steady_clock::now();
    ui::ShowTimedMessage(L"第一个", L"提示信息", MB_OK, 1500);
    const auto outer = std::chrono::steady_clock::now() - start;
    const auto inner = innerClosed - start;
    EXPECT_GE(inner, std::chrono::milliseconds(450));
    EXPECT_LT(inner, std::chrono::milliseconds(1400));
    EXPECT_GE(outer, std::chrono::milliseconds(1400));
    EXPECT_LT(outer, std::chrono::milliseconds(3500));
    EXPECT_EQ(FindWindowW(L"#32770", L"提示信息"), nullptr);
}

}  // namespace

// The 32-bit program is large address aware. With the address space below 2 GB taken, what it
// allocates lands above, where a pointer read as a signed 32-bit number is negative: texts,
// window messages and pictures must work there as below.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "picture/picture_object_win.h"
#include "picture/render_win.h"
#include "picture_files.h"
#include "test_support.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace {

constexpr std::uintptr_t twoGigabytes = 0x80000000u;

bool High(const void* address) { return reinterpret_cast<std::uintptr_t>(address) >= twoGigabytes; }

class HighAddresses : public ::testing::Test {
protected:
    void SetUp() override {
        if (sizeof(void*) != 4) GTEST_SKIP() << "only a 32-bit build has a 2 GB line to cross";
        MEMORY_BASIC_INFORMATION region{};
        for (std::uintptr_t at = 0x10000; at < twoGigabytes; at += region.RegionSize) {
            if (VirtualQuery(reinterpret_cast<void*>(at), &region, sizeof region) == 0) break;
            if (region.State != MEM_FREE) continue;
            // Reservations start at multiples of 64 KB; the pieces before one cannot be had.
            const std::uintptr_t start = (at + 0xFFFF) & ~std::uintptr_t{0xFFFF};
            const std::uintptr_t end = std::min<std::uintptr_t>(at + region.RegionSize, twoGigabytes);
            if (start >= end) continue;
            void* taken = VirtualAlloc(reinterpret_cast<void*>(start), end - start, MEM_RESERVE, PAGE_NOACCESS);
            if (taken) taken_.push_back(taken);
        }
    }
    void TearDown() override {
        for (void* taken : taken_) VirtualFree(taken, 0, MEM_RELEASE);
    }
    std::vector<void*> taken_;
};

TEST_F(HighAddresses, TextsWindowMessagesAndPicturesWorkAbove2Gb) {
    std::wstring text;
    for (int line = 0; line < 20000; ++line) text += L"第" + std::to_wstring(line) + L"行：墨舟 😀\r\n";
    ASSERT_TRUE(High(text.data())) << "win32_tests.exe is not large address aware";
    const std::string utf8 = ui::Narrow(text);
    ASSERT_TRUE(High(utf8.data()));
    EXPECT_EQ(ui::Widen(utf8), text);

    // The text goes to an edit box and back through WM_SETTEXT and WM_GETTEXT, whose buffers
    // pass as an LPARAM.
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(testing_win::WindowText(edit), text);
    DestroyWindow(edit);

    const auto bytes = testing_win::SolidBmp(700, 500, RGB(10, 200, 30));
    ASSERT_TRUE(High(bytes.data()));
    const auto object = picture::PictureObject::FromBytes(bytes);
    ASSERT_TRUE(object);
    testing_win::Canvas canvas(700, 500, RGB(0, 0, 0));
    ASSERT_TRUE(canvas.Valid());
    picture::RenderPicture(canvas.dc(), *object, 0, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(10, 200, 30));
    EXPECT_EQ(canvas.Pixel(699, 499), RGB(10, 200, 30));
}

}  // namespace

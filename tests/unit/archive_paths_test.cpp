#include <gtest/gtest.h>

#include "update/archive_paths.h"

namespace {

using update::SafeArchivePath;

TEST(SafeArchivePath, GivesNestedPathsWithBackslashesKeepingAFolderEntrysTrailingOne) {
    EXPECT_EQ(SafeArchivePath(L"./资源/图片\\背景 1.jpg"), L"资源\\图片\\背景 1.jpg");
    EXPECT_EQ(SafeArchivePath(L".hidden/CONSOLE/COM10.a.b"), L".hidden\\CONSOLE\\COM10.a.b");
    EXPECT_EQ(SafeArchivePath(L"资源/图片/"), L"资源\\图片\\");
}

TEST(SafeArchivePath, RefusesNamesThatCouldLandOutsideTheFolderOnADeviceOrOnAnotherEntry) {
    for (const wchar_t* name :
         {L"", L".", L"./", L"/x", L"\\x", L"\\\\server\\share\\x", L"\\\\?\\C:\\x", L"\\\\.\\COM1",
          L"//server/x", L"C:x", L"x.txt:stream", L"..", L"../x", L"x\\..\\y", L"x//y", L"x//",
          L"CON", L"x/Nul.tar.gz", L"NUL .txt", L"prn", L"AUX", L"com1", L"COM9.log", L"lpt1",
          L"LPT9", L"COM¹", L"CONIN$", L"conout$.x", L"x.", L"x/y./z", L"x ", L"...", L"x\ty",
          L"x\x01", L"x<y", L"x>y", L"x\"y", L"x|y", L"x?y", L"x*y"}) {
        EXPECT_EQ(SafeArchivePath(name), std::nullopt) << name;
    }
}

}  // namespace

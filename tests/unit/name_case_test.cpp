#include <gtest/gtest.h>

#include "update/name_case.h"

TEST(FileNameKey, FoldsLettersOfEveryCoveredScriptAndLeavesTheRest) {
    EXPECT_EQ(update::FileNameKey(L"aé ÿ ž ǻ ё ж ѣ ӂ ω ς ά ώ ա ẁ ⅳ ⓩ ｚ"),
              L"AÉ Ÿ Ž Ǻ Ё Ж Ѣ Ӂ Ω Σ Ά Ώ Ա Ẁ Ⅳ Ⓩ Ｚ");
    EXPECT_EQ(update::FileNameKey(L"墨舟 ß ı 1_+ \xD83D\xDE00"), L"墨舟 ß ı 1_+ \xD83D\xDE00");
    EXPECT_EQ(update::FileNameKey(L"ÀÉ÷×Ж"), L"ÀÉ÷×Ж");
}

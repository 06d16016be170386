#include <gtest/gtest.h>

#include "text/delete_spaces.h"

namespace {

TEST(DeleteAllSpaces, DropsHalfWidthAndFullWidthSpacesOnly) {
    EXPECT_EQ(text::DeleteAllSpaces(u"a b\u3000c \u3000"), u"abc");
    EXPECT_EQ(text::DeleteAllSpaces(u"a\tb \r\nc\n中 文"), u"a\tb\r\nc\n中文");
}

}  // namespace

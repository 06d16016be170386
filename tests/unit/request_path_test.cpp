#include <gtest/gtest.h>

#include "update/request_path.h"

TEST(RequestPath, EncodesEveryByteOutsideTheSafeSetAndKeepsSlashes) {
    EXPECT_EQ(update::PercentEncodedPath("/墨舟.xml.sig"), "/%E5%A2%A8%E8%88%9F.xml.sig");
    EXPECT_EQ(update::PercentEncodedPath("/a b/%?#~_-"), "/a%20b/%25%3F%23~_-");
}

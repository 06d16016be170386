#include <gtest/gtest.h>

#include "text/print_messages.h"

namespace {

using text::PrintOutcome;
using text::ResultMessage;
using text::SpaceMode;

const PrintOutcome printed{"HP LaserJet", 3, 1, 14};

TEST(ResultMessage, NamesThePrinterCopiesAndFontSize) {
    EXPECT_EQ(ResultMessage(printed, SpaceMode::Keep),
              "HP LaserJet  打印份数：3  正在打印：1  ( 字体大小：14 )");
}

TEST(ResultMessage, ClosesWithAFullWidthParenthesisWhenSpacesWereDeleted) {
    EXPECT_EQ(ResultMessage(printed, SpaceMode::Delete),
              "HP LaserJet  打印份数：3  正在打印：1  ( 字体大小：14 ）");
}

TEST(ResultMessage, SaysCancelledWhenNoJobWasStarted) {
    PrintOutcome cancelled = printed;
    cancelled.printerName.clear();
    EXPECT_EQ(ResultMessage(cancelled, SpaceMode::Delete), "取消打印");
    EXPECT_EQ(ResultMessage(cancelled, SpaceMode::Keep), "取消打印");
}

TEST(ResultMessage, SaysFailedWhenThePrinterGaveUpOnAStartedJob) {
    PrintOutcome failed = printed;
    failed.failed = true;
    EXPECT_EQ(ResultMessage(failed, SpaceMode::Keep), "打印失败");
}

TEST(CharsPerLineProblem, AcceptsOneToNinetyEightBytesAndNamesTheProblemOtherwise) {
    EXPECT_EQ(text::CharsPerLineProblem(1), "");
    EXPECT_EQ(text::CharsPerLineProblem(98), "");
    EXPECT_EQ(text::CharsPerLineProblem(99), "打印每行的字数大于纸张，应小于99个字");
    EXPECT_EQ(text::CharsPerLineProblem(0), "打印每行的字数应为1到98个字");
    EXPECT_EQ(text::CharsPerLineProblem(-5), "打印每行的字数应为1到98个字");
}

}  // namespace

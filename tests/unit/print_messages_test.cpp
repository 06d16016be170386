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

TEST(ResultMessage, TellsAJobThatDidNotPrintWholeFromOneThatDid) {
    PrintOutcome outcome = printed;
    outcome.end = device::PrintEnd::cancelled;
    EXPECT_EQ(ResultMessage(outcome, SpaceMode::Delete), "取消打印");
    outcome.end = device::PrintEnd::failed;
    EXPECT_EQ(ResultMessage(outcome, SpaceMode::Keep), "打印失败");
    outcome.failureReason = "拒绝访问。";
    EXPECT_EQ(ResultMessage(outcome, SpaceMode::Keep), "打印失败：拒绝访问。");
    outcome.end = device::PrintEnd::aborted;
    outcome.pagesPrinted = 3;
    outcome.pageCount = 13;
    EXPECT_EQ(ResultMessage(outcome, SpaceMode::Keep), "已中止打印：打印了 3 页，共 13 页");
    outcome.end = device::PrintEnd::busy;
    EXPECT_EQ(ResultMessage(outcome, SpaceMode::Keep), "正在打印，请等这份打印完再打印");
}

TEST(CharsPerLineProblem, AcceptsOneToNinetyEightBytesAndNamesTheProblemOtherwise) {
    EXPECT_EQ(text::CharsPerLineProblem(1), "");
    EXPECT_EQ(text::CharsPerLineProblem(98), "");
    EXPECT_EQ(text::CharsPerLineProblem(99), "打印每行的字数大于纸张，应小于99个字");
    EXPECT_EQ(text::CharsPerLineProblem(0), "打印每行的字数应为1到98个字");
    EXPECT_EQ(text::CharsPerLineProblem(-5), "打印每行的字数应为1到98个字");
}

}  // namespace

#include <gtest/gtest.h>

#include "caption.h"
#include "json_writer.h"
#include "request.h"
#include "utf16.h"

namespace e2e {
namespace {

TEST(Utf16, RoundTripsChineseAndSupplementaryCharacters) {
  const std::string text = "墨舟 版本号：3.2 \xF0\x9F\x96\xA8";
  const std::wstring units = FromUtf8(text);
  ASSERT_EQ(units.size(), 13u);
  EXPECT_EQ(static_cast<unsigned>(units[11]), 0xD83Du);
  EXPECT_EQ(ToUtf8(units), text);
}

TEST(Utf16, ReplacesBrokenBytesInsteadOfFailing) {
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            std::wstring(L"a\xFFFD"
                         L"b"));
  EXPECT_EQ(FromUtf8("\xE5\xA2"), std::wstring(L"\xFFFD\xFFFD"));
  EXPECT_EQ(FromUtf8("\xC0\xAF"), std::wstring(L"\xFFFD\xFFFD"));
  EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00))), "\xEF\xBF\xBD");
}

TEST(JsonWriter, WritesNestedValuesWithCommasInPlace) {
  JsonWriter json;
  json.BeginObject().Key("ok").Bool(true).Key("rect").BeginArray().Int(1).Int(-2).EndArray();
  json.Key("items").BeginArray().BeginObject().Key("a").Null().EndObject().BeginObject().EndObject().EndArray();
  json.EndObject();
  EXPECT_EQ(json.Text(), R"({"ok":true,"rect":[1,-2],"items":[{"a":null},{}]})");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
  JsonWriter json;
  json.String(std::wstring(L"确定\"C:\\x\"\r\n\x01"));
  EXPECT_EQ(json.Text(), "\"确定\\\"C:\\\\x\\\"\\r\\n\\u0001\"");
}

TEST(ParseRequest, SplitsNamePositionalAndNamedArguments) {
  const Request request = ParseRequest(R"(  window 12 "a b" class=#32770 text="提示信息" timeout=500 )");
  EXPECT_EQ(request.name, "window");
  ASSERT_EQ(request.positional.size(), 2u);
  EXPECT_EQ(request.positional[1], "a b");
  ASSERT_EQ(request.named.size(), 3u);
  EXPECT_EQ(request.named[0].first, "class");
  EXPECT_EQ(request.named[0].second, "#32770");
  EXPECT_EQ(request.named[1].second, "提示信息");
}

TEST(ParseRequest, DecodesJsonEscapesIncludingSurrogatePairs) {
  const Request request = ParseRequest(R"(set_text 5 "Z:\\tmp\\\u58a8\ud83d\udda8\n")");
  EXPECT_EQ(request.positional[1], "Z:\\tmp\\墨\xF0\x9F\x96\xA8\n");
}

TEST(ParseRequest, TreatsOnlyBareKeyEqualsWordsAsNamed) {
  const Request request = ParseRequest(R"(type 5 "a=b" =c text==d)");
  ASSERT_EQ(request.positional.size(), 3u);
  EXPECT_EQ(request.positional[1], "a=b");
  EXPECT_EQ(request.positional[2], "=c");
  ASSERT_EQ(request.named.size(), 1u);
  EXPECT_EQ(request.named[0].second, "=d");
}

TEST(ParseRequest, RejectsMalformedInput) {
  EXPECT_THROW(ParseRequest(""), CommandError);
  EXPECT_THROW(ParseRequest("text \"open"), CommandError);
  EXPECT_THROW(ParseRequest("text \"a\"b"), CommandError);
  EXPECT_THROW(ParseRequest(R"(text "\q")"), CommandError);
  EXPECT_THROW(ParseRequest(R"(text "\ud800")"), CommandError);
  EXPECT_THROW(ParseRequest("window pid=1 pid=2"), CommandError);
}

TEST(ParseInteger, ReadsDecimalHexAndNegativeNumbers) {
  EXPECT_EQ(ParseInteger("65535"), 65535);
  EXPECT_EQ(ParseInteger("0xFFFF"), 0xFFFF);
  EXPECT_EQ(ParseInteger("-1"), -1);
  EXPECT_THROW(ParseInteger("12a"), CommandError);
  EXPECT_THROW(ParseInteger(""), CommandError);
  EXPECT_THROW(ParseInteger("0x"), CommandError);
}

TEST(Caption, MatchesWhatTheUserReads) {
  EXPECT_TRUE(CaptionMatches(L"是(&Y)", L"是"));
  EXPECT_TRUE(CaptionMatches(L"确认输入(&O)", L"确认输入(&O)"));
  EXPECT_TRUE(CaptionMatches(L"&Save", L"Save"));
  EXPECT_TRUE(CaptionMatches(L"打开(&O)...\tCtrl+O", L"打开..."));
  EXPECT_EQ(ReadableCaption(L"A && B"), L"A & B");
  EXPECT_FALSE(CaptionMatches(L"取消", L"确定"));
}

}  // namespace
}  // namespace e2e

// printf on UTF-16 texts and the UTF conversions.
#include <gtest/gtest.h>

#include <string>

#include "media/media.h"

namespace {

std::string Narrow(const std::u16string& text) { return Utf16ToUtf8(text.c_str(), static_cast<int>(text.size())); }

TEST(FormatText, Conversions) {
  EXPECT_EQ(Narrow(FormatTextV(u"%d", 42)), "42");
  EXPECT_EQ(Narrow(FormatTextV(u"%d", -7)), "-7");
  EXPECT_EQ(Narrow(FormatTextV(u"[%2d]", 5)), "[ 5]");
  EXPECT_EQ(Narrow(FormatTextV(u"[%2d]", 123)), "[123]");
  EXPECT_EQ(Narrow(FormatTextV(u"[%00d]", 7)), "[7]");
  EXPECT_EQ(Narrow(FormatTextV(u"[%02d]", 7)), "[07]");
  EXPECT_EQ(Narrow(FormatTextV(u"%.0f", 45.6)), "46");
  EXPECT_EQ(Narrow(FormatTextV(u"%.0f", 0.0)), "0");
  EXPECT_EQ(Narrow(FormatTextV(u"%.2fFPS", 59.999f)), "60.00FPS");
  EXPECT_EQ(Narrow(FormatTextV(u"%.2f", 12.345678)), "12.35");
  EXPECT_EQ(Narrow(FormatTextV(u"%s!", u"ステージ")), "ステージ!");
  EXPECT_EQ(Narrow(FormatTextV(u"[%5s]", u"ab")), "[   ab]");
  EXPECT_EQ(Narrow(FormatTextV(u"100%%")), "100%");
  EXPECT_EQ(Narrow(FormatTextV(u"%d/%d %s", 3, 30, u"x")), "3/30 x");
}

TEST(FormatText, FullWidthPercentIsText) {
  EXPECT_EQ(FormatTextV(u"読み込み中... %.0f％", 99.5), u"読み込み中... 100％");
  EXPECT_EQ(FormatTextV(u"％d"), u"％d");
}

TEST(FormatText, OddFormatsStayAsWritten) {
  EXPECT_EQ(FormatTextV(u"50%"), u"50%");
  EXPECT_EQ(FormatTextV(u"%q%d", 1), u"%q1");
  EXPECT_EQ(FormatTextV(nullptr), u"");
}

TEST(FormatText, CutAt2047Units) {
  std::u16string longText(3000, u'あ');
  EXPECT_EQ(FormatTextV(u"%s", longText.c_str()).size(), 2047u);
  EXPECT_EQ(FormatTextV(longText.c_str()).size(), 2047u);
  EXPECT_EQ(FormatTextV(u"%5000d", 1).size(), 2047u);
}

TEST(Utf, RoundTripsAndReplacesBrokenInput) {
  struct Case {
    const char* utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"テクスチャーの読み込みに失敗しました。", u"テクスチャーの読み込みに失敗しました。"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"Ａ％", u"Ａ％"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16.c_str()), c.utf8);
  }
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE3\x81"), u"\uFFFD");         // cut short at the end
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");         // overlong
  const char16_t lone[] = {u'x', 0xD800, u'y', 0};
  EXPECT_EQ(Utf16ToUtf8(lone), "x\xEF\xBF\xBDy");
  EXPECT_EQ(Utf16ToUtf8(u"abcdef", 3), "abc");
  EXPECT_EQ(Utf16ToUtf8(nullptr), "");
}

}  // namespace

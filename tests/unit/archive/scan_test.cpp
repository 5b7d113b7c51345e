// The formatted read of UTF-16 stage texts and the plain-disk side of the file access.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/media.h"
#include "temp_dir.h"

namespace {

std::string Utf16(const std::u16string& text, bool bom) {
  std::string bytes;
  if (bom) bytes += "\xFF\xFE";
  for (char16_t u : text) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

const char16_t SixteenFields[] = u"%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s";

struct ScanCase {
  const char* name;
  std::string bytes;
  int stored;
  std::vector<std::u16string> fields;  // the first fields; the rest must stay empty
};

TEST(ScanDataFile, ReadsStageTextFields) {
  std::u16string longField(300, u'x');
  const ScanCase cases[] = {
      {"bom", Utf16(u"one\r\ntwo\r\nthree\r\nfour\r\n", true), 4, {u"one", u"two", u"three", u"four"}},
      {"no bom", Utf16(u"one\r\ntwo\r\nthree\r\nfour\r\n", false), 4, {u"one", u"two", u"three", u"four"}},
      {"bom only at the start", Utf16(u"a\xFEFF\r\n\xFEFF" u"b", true), 2, {u"a\xFEFF", u"\xFEFF" u"b"}},
      {"commas stay in the field", Utf16(u"a,b,c", true), 1, {u"a,b,c"}},
      {"spaces split fields", Utf16(u"one two  three", false), 3, {u"one", u"two", u"three"}},
      {"blank lines skipped", Utf16(u"\r\n\r\n  first\r\n\r\n\r\nsecond", true), 2, {u"first", u"second"}},
      {"tab is ordinary", Utf16(u"a\tb c\t", true), 2, {u"a\tb", u"c\t"}},
      {"long field cut", Utf16(longField + u"\r\nnext", true), 2, {std::u16string(255, u'x'), u"next"}},
      {"japanese", Utf16(u"\x30B9\x30C6\x30FC\x30B8\n\x8B66\x544A", true), 2, {u"\x30B9\x30C6\x30FC\x30B8", u"\x8B66\x544A"}},
      {"empty file", "", 0, {}},
      {"only a bom", Utf16(u"", true), 0, {}},
      {"odd last byte ignored", Utf16(u"ab", true) + "c", 1, {u"ab"}},
  };
  TempWorkDir dir;
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes("data/map/stage.txt", c.bytes);
    int handle = OpenDataFile("data\\map\\stage.txt");
    ASSERT_NE(handle, 0);
    char16_t fields[16][ScanFieldUnits];
    for (auto& f : fields) std::fill(std::begin(f), std::end(f), u'?'), f[0] = 0;
    int stored = ScanDataFile(handle, SixteenFields, fields[0], fields[1], fields[2], fields[3], fields[4],
                              fields[5], fields[6], fields[7], fields[8], fields[9], fields[10], fields[11],
                              fields[12], fields[13], fields[14], fields[15]);
    CloseDataFile(handle);
    EXPECT_EQ(stored, c.stored);
    for (size_t k = 0; k < 16; ++k) {
      std::u16string expected = k < c.fields.size() ? c.fields[k] : u"";
      EXPECT_EQ(std::u16string(fields[k]), expected) << "field " << k + 1;
    }
    EXPECT_EQ(fields[0][ScanFieldUnits - 1], c.name == std::string("long field cut") ? u'\0' : u'?');
  }
}

struct LiteralCase {
  const char* name;
  std::u16string input;
  const char16_t* format;
  std::u16string first, second;
};

// A literal run consumes matching units, and the first differing unit too.
TEST(ScanDataFile, LiteralRunsAndFormatSpaces) {
  const LiteralCase cases[] = {
      {"comma eats the line break", u"ab\ncd", u"%s,%s", u"ab", u"cd"},
      {"comma eats only one space", u"ab  cd", u"%s,%s", u"ab", u"cd"},
      {"matching literal consumed", u"key=value", u"key=%s%s", u"value", u""},
      {"mismatch consumes one unit", u"xyab", u"q%s%s", u"yab", u""},
      {"mismatch ends the run", u"k1v", u"kz%s%s", u"v", u""},
      {"format space skips line breaks", u"a\r\n\r\n b", u"%s %s", u"a", u"b"},
      {"percent percent is a literal", u"%x y", u"%%%s%s", u"x", u"y"},
  };
  TempWorkDir dir;
  for (const LiteralCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes("t.txt", Utf16(c.input, false));
    int handle = OpenDataFile("t.txt");
    ASSERT_NE(handle, 0);
    char16_t a[ScanFieldUnits] = {}, b[ScanFieldUnits] = {};
    ScanDataFile(handle, c.format, a, b);
    CloseDataFile(handle);
    EXPECT_EQ(std::u16string(a), c.first);
    EXPECT_EQ(std::u16string(b), c.second);
  }
}

TEST(ScanDataFile, ContinuesWhereTheLastReadStopped) {
  TempWorkDir dir;
  WriteBytes("t.txt", Utf16(u"one two three", true));
  int handle = OpenDataFile("t.txt");
  char16_t a[ScanFieldUnits] = {}, b[ScanFieldUnits] = {};
  EXPECT_EQ(ScanDataFile(handle, u"%s", a), 1);
  EXPECT_EQ(ScanDataFile(handle, u"%s%s", a, b), 2);
  EXPECT_EQ(std::u16string(a), u"two");
  EXPECT_EQ(std::u16string(b), u"three");
  EXPECT_EQ(ScanDataFile(handle, u"%s", a), 0);
  // Away from position 0 a U+FEFF is text.
  SeekDataFile(handle, 0);
  EXPECT_EQ(ScanDataFile(handle, u"%s", a), 1);
  EXPECT_EQ(std::u16string(a), u"one");
  CloseDataFile(handle);
  EXPECT_EQ(ScanDataFile(handle, u"%s", a), -1);
  EXPECT_EQ(ScanDataFile(0, u"%s", a), -1);
}

TEST(DataFile, OpensDiskFilesByDataPath) {
  TempWorkDir dir;
  WriteBytes("data/texture/girl.png", "0123456789");
  int handle = OpenDataFile("data\\texture\\girl.png");
  ASSERT_NE(handle, 0);
  EXPECT_EQ(DataFileSize(handle), 10);
  char buffer[8] = {};
  EXPECT_EQ(SeekDataFile(handle, 6), 0);
  EXPECT_EQ(ReadDataFile(buffer, 3, handle), 0);
  EXPECT_EQ(std::string(buffer, 3), "678");
  // Past the end: the bytes that exist are read, and the read reports the shortfall.
  EXPECT_EQ(ReadDataFile(buffer, 4, handle), -1);
  EXPECT_EQ(buffer[0], '9');
  EXPECT_EQ(SeekDataFile(handle, 11), -1);
  EXPECT_EQ(SeekDataFile(handle, -1), -1);
  int second = OpenDataFile("data/texture/girl.png");
  EXPECT_NE(second, handle);
  EXPECT_EQ(CloseDataFile(second), 0);
  EXPECT_EQ(CloseDataFile(handle), 0);
  EXPECT_EQ(ReadDataFile(buffer, 1, handle), -1);

  EXPECT_EQ(OpenDataFile("data\\texture\\missing.png"), 0);
  EXPECT_EQ(OpenDataFile("data\\texture"), 0);  // a folder is no file
  std::string whole;
  EXPECT_TRUE(ReadWholeDataFile("data\\texture\\girl.png", &whole));
  EXPECT_EQ(whole, "0123456789");
  EXPECT_FALSE(ReadWholeDataFile("nothing", &whole));
}

}  // namespace

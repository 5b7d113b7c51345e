// Fonts: the face, cell sizes, measuring, and what edged text looks like on the surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media_fixture.h"

namespace {

class TextTest : public MediaTest {};

TEST_F(TextTest, SizesAreCellHeightsAndWidths) {
  struct Case {
    int size, type, edge;
  } cases[] = {{20, FontEdge, -1}, {48, FontEdgeAntialiased, 2}, {36, FontEdgeAntialiased, -1},
               {24, FontEdgeAntialiased, -1}, {14, FontEdge, -1}, {12, FontPlain, -1}};
  for (const Case& c : cases) {
    FontHandle font = MakeFont(c.size, -1, c.type, c.edge);
    ASSERT_NE(font, -1) << "a Japanese gothic face must be installed";
    EXPECT_EQ(MeasureText(u"あ", 1, font), c.size) << c.size;
    EXPECT_EQ(MeasureText(u"A", 1, font), c.size / 2) << c.size;
    EXPECT_EQ(MeasureText(u"ステージ1", 5, font), 4 * c.size + c.size / 2);
    EXPECT_EQ(MeasureText(u"ステージ1", 2, font), 2 * c.size) << "only the given units count";
    EXPECT_EQ(MeasureText(u"", 0, font), 0);
    EXPECT_EQ(MeasureText(u"  ab", 4, font), 2 * c.size) << "leading spaces count";
  }
  EXPECT_EQ(MeasureText(u"ab", 2, DefaultFont), 16);
  EXPECT_EQ(MeasureFormattedText(DefaultFont, u"%d%%", 50), 24);
}

TEST_F(TextTest, EmptyTextDrawsNothing) {
  FontHandle font = MakeFont(24, -1, FontEdgeAntialiased, -1);
  EXPECT_EQ(DrawTextWithFont(0, 0, u"", MakeColor(255, 255, 255), font, 0, 0), 0);
  std::vector<uint32_t> pixels(40 * 40);
  ReadSurfacePixels(pixels.data(), 0, 0, 40, 40);
  for (uint32_t p : pixels) EXPECT_EQ(p & 0xFFFFFF, 0u);
}

// The bounding box of pixels that differ from the background colour.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  int white = 0, black = 0;
};
Box Inspect(int x0, int y0, int w, int h, uint32_t background) {
  std::vector<uint32_t> pixels(w * h);
  EXPECT_EQ(ReadSurfacePixels(pixels.data(), x0, y0, w, h), 0);
  Box box;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t p = pixels[y * w + x] & 0xFFFFFF;
      if (p == background) continue;
      box.left = std::min(box.left, x0 + x);
      box.right = std::max(box.right, x0 + x);
      box.top = std::min(box.top, y0 + y);
      box.bottom = std::max(box.bottom, y0 + y);
      if (p == 0xFFFFFF) box.white++;
      if (p == 0) box.black++;
    }
  }
  return box;
}

TEST_F(TextTest, EdgedTextHasABlackEdgeAroundWhiteGlyphsInsideItsCell) {
  const uint32_t grey = 0x808080;
  DrawRect(0, 0, 800, 600, MakeColor(128, 128, 128), 1);
  FontHandle font = MakeFont(32, -1, FontEdge, -1);
  ASSERT_EQ(DrawTextWithFont(100, 100, u"■", MakeColor(255, 255, 255), font, 0, 0), 0);
  Box box = Inspect(90, 90, 60, 60, grey);
  EXPECT_GT(box.white, 200);
  EXPECT_GT(box.black, 40);
  // Everything lies in the 32 x 32 cell grown by the one-pixel edge.
  EXPECT_GE(box.left, 99);
  EXPECT_GE(box.top, 99);
  EXPECT_LE(box.right, 132);
  EXPECT_LE(box.bottom, 132);
  // The edge surrounds the glyph: the pixel left of the square's first white column is black.
  std::vector<uint32_t> row(60);
  ReadSurfacePixels(row.data(), 90, 116, 60, 1);
  int firstWhite = -1;
  for (int i = 0; i < 60; ++i) {
    if ((row[i] & 0xFFFFFF) == 0xFFFFFF) {
      firstWhite = i;
      break;
    }
  }
  ASSERT_GT(firstWhite, 0);
  EXPECT_EQ(row[firstWhite - 1] & 0xFFFFFF, 0u);
}

TEST_F(TextTest, FullBlockFillsTheCellHeight) {
  for (int size : {12, 20, 24, 36, 48}) {
    ClearSurface();
    FontHandle font = MakeFont(size, -1, FontPlain, -1);
    DrawTextWithFont(10, 10, u"█", MakeColor(255, 255, 255), font, 0, 0);
    Box box = Inspect(0, 0, 100, 100, 0);
    EXPECT_GE(box.top, 10) << size;
    EXPECT_LE(box.bottom, 10 + size - 1) << size;
    EXPECT_GE(box.bottom - box.top + 1, size - 2) << size;
  }
}

TEST_F(TextTest, FormattedTextAndScreenshot) {
  DrawRect(0, 0, 640, 480, MakeColor(40, 80, 160), 1);
  FontHandle f48 = MakeFont(48, -1, FontEdgeAntialiased, 2);
  FontHandle f36 = MakeFont(36, -1, FontEdgeAntialiased, -1);
  FontHandle f24 = MakeFont(24, -1, FontEdgeAntialiased, -1);
  FontHandle f20 = MakeFont(20, -1, FontEdge, -1);
  FontHandle f12 = MakeFont(12, 0, FontPlain, -1);
  Color white = MakeColor(255, 255, 255);
  const char16_t* start = u"Enterキーでスタート!!";
  int w = MeasureText(start, static_cast<int>(std::char_traits<char16_t>::length(start)), f48);
  EXPECT_EQ(DrawTextWithFont(320 - w / 2, 20, start, white, f48, 0, 0), 0);
  EXPECT_EQ(DrawTextWithFont(20, 90, u"ステージセレクト", white, f36, 0, 0), 0);
  EXPECT_EQ(DrawFormattedTextWithFont(20, 140, white, f24, u"読み込み中... %.0f％", 45.6), 0);
  EXPECT_EQ(DrawTextWithFont(20, 180, u"Zキーでジャンプ、Tabでポーズ", white, f20, 0, 0), 0);
  EXPECT_EQ(DrawTextWithFont(20, 210, u"トゲ：触れるとミス", white, f12, 0, 0), 0);
  EXPECT_EQ(DrawFormattedText(560, 0, white, u"%.2fFPS", 59.94), 0);
  EXPECT_EQ(DrawFormattedTextWithFont(20, 230, MakeColor(255, 255, 0), DefaultFont, u"%2d/%d", 7, 30), 0);
  EXPECT_EQ(DrawTextWithFont(0, 0, u"x", white, 12345, 0, 0), -1);
  EXPECT_TRUE(WriteSurfacePng(std::string(PELVORO_BINARY_DIR) + "/media-text-scene.png", 640, 260));
}

// Without any Japanese face the game still draws what another face has, leaves Japanese blank in its room,
// and says once which package is missing. Runs in a fresh process (the face is looked up once per run),
// with a fontconfig setup that knows only DejaVu.
TEST(FontFallback, WithoutAJapaneseFaceLatinStillDrawsAndOneLineNamesThePackage) {
  const std::filesystem::path latin = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
  if (!std::filesystem::exists(latin)) GTEST_SKIP() << "no DejaVu face to fall back to";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto run = [&latin]() {
    std::string folder = (std::filesystem::temp_directory_path() / "pelvoro-fonts-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) std::_Exit(10);
    {
      std::ofstream conf(folder + "/fonts.conf");
      conf << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << latin.parent_path().string() << "</dir><cachedir>"
           << folder << "/cache</cachedir></fontconfig>\n";
    }
    setenv("FONTCONFIG_FILE", (folder + "/fonts.conf").c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    int code = 0;
    if (SetDrawingSurface(800, 600, 32, 60) != 0 || InitMedia() != 0) code = 11;
    FontHandle font = code == 0 ? MakeFont(20, -1, FontEdge, -1) : -1;
    if (code == 0 && font == -1) code = 12;
    if (code == 0 && MeasureText(u"あい", 2, font) != 40) code = 13;  // Japanese keeps its full-width room
    if (code == 0) {
      SetDrawingEnabled(1);
      ClearSurface();
      DrawTextWithFont(100, 100, u"E", MakeColor(255, 255, 255), font, 0, 0);
      DrawTextWithFont(300, 100, u"あ", MakeColor(255, 255, 255), font, 0, 0);
      if (Inspect(90, 90, 40, 40, 0).white < 20) code = 14;  // Latin shows
      if (Inspect(290, 90, 40, 40, 0).right != -1) code = 15;  // no box for a missing glyph
      EndMedia();
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::fflush(stderr);
    std::_Exit(code);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "fonts-ipafont-gothic");
}

}  // namespace

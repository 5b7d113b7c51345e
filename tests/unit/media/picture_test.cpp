// Pictures: loading (at once and on the loading thread), whole and region drawing, mirroring, the centred
// region of the loading screen, and picture alpha.
#include <gtest/gtest.h>

#include "media_fixture.h"

namespace {

constexpr uint32_t Black = 0;

class PictureTest : public MediaTest {
 protected:
  // A 4 x 2 picture with a different colour in every pixel: 0xRRGGBB = (x + 1) * 0x10 red, (y + 1) * 0x20
  // green, opaque.
  static uint32_t Colour(int x, int y) { return static_cast<uint32_t>((x + 1) * 0x10) << 16 | (y + 1) * 0x20 << 8; }
  GraphHandle LoadGrid() {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 4; ++x) pixels.push_back(0xFF000000u | Colour(x, y));
    }
    return LoadPicture(WritePng("grid.png", 4, 2, pixels).c_str());
  }
};

TEST_F(PictureTest, WholePictureAndSize) {
  GraphHandle grid = LoadGrid();
  ASSERT_NE(grid, -1);
  int w = 0, h = 0;
  EXPECT_EQ(GetPictureSize(grid, &w, &h), 0);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(HandleLoadState(grid), 0);
  EXPECT_EQ(DrawPicture(10, 20, grid, 0), 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(10 + x, 20 + y), Colour(x, y));
  }
  EXPECT_EQ(Pixel(14, 20), Black);
  EXPECT_EQ(Pixel(10, 22), Black);
}

TEST_F(PictureTest, RegionPlainAndMirroredInPlace) {
  GraphHandle grid = LoadGrid();
  ASSERT_NE(grid, -1);
  EXPECT_EQ(DrawPictureRegion(0, 0, 1, 0, 3, 2, grid, 1, 0), 0);
  EXPECT_EQ(DrawPictureRegion(0, 10, 1, 0, 3, 2, grid, 1, 1), 0);
  for (int y = 0; y < 2; ++y) {
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(Pixel(i, y), Colour(1 + i, y));
      EXPECT_EQ(Pixel(i, 10 + y), Colour(3 - i, y)) << "column sx + w - 1 lands on dx";
    }
    EXPECT_EQ(Pixel(3, 10 + y), Black);
  }
}

TEST_F(PictureTest, RegionHangingOverThePictureEdgeIsCutNotStretched) {
  GraphHandle grid = LoadGrid();
  ASSERT_NE(grid, -1);
  DrawPictureRegion(0, 0, 2, 0, 4, 1, grid, 1, 0);  // columns 2, 3 exist; 4, 5 do not
  EXPECT_EQ(Pixel(0, 0), Colour(2, 0));
  EXPECT_EQ(Pixel(1, 0), Colour(3, 0));
  EXPECT_EQ(Pixel(2, 0), Black);
  DrawPictureRegion(0, 5, 2, 0, 4, 1, grid, 1, 1);  // mirrored: the missing columns are on the left
  EXPECT_EQ(Pixel(0, 5), Black);
  EXPECT_EQ(Pixel(1, 5), Black);
  EXPECT_EQ(Pixel(2, 5), Colour(3, 0));
  EXPECT_EQ(Pixel(3, 5), Colour(2, 0));
}

TEST_F(PictureTest, ZeroSizedRegionDrawsNothing) {
  GraphHandle grid = LoadGrid();
  ASSERT_NE(grid, -1);
  EXPECT_EQ(DrawPictureRegion(0, 0, 0, 0, 0, 2, grid, 1, 0), -1);
  EXPECT_EQ(DrawPictureRegion(0, 0, 0, 0, 2, 0, grid, 1, 1), -1);
  EXPECT_EQ(DrawPictureRegionCentered(2, 2, 0, 0, 2, 0, 1.0, 0.0, grid), -1);
  EXPECT_EQ(Pixel(0, 0), Black);
  EXPECT_EQ(Pixel(1, 1), Black);
}

TEST_F(PictureTest, ClippedRegion) {
  GraphHandle grid = LoadGrid();
  ASSERT_NE(grid, -1);
  SetClipRect(1, 0, 3, 1);
  DrawPicture(0, 0, grid, 0);
  ResetClipRect();
  EXPECT_EQ(Pixel(0, 0), Black);
  EXPECT_EQ(Pixel(1, 0), Colour(1, 0));
  EXPECT_EQ(Pixel(2, 0), Colour(2, 0));
  EXPECT_EQ(Pixel(3, 0), Black);
  EXPECT_EQ(Pixel(1, 1), Black);
}

TEST_F(PictureTest, CenteredRegionTakesRowZeroWhateverTheFourthArgument) {
  // Two 40 x 80 frames side by side: red, then green; a third row band below row 80 in blue.
  std::vector<uint32_t> pixels(80 * 100);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 80; ++x) pixels[y * 80 + x] = y >= 80 ? 0xFF0000FFu : x < 40 ? 0xFFFF0000u : 0xFF00FF00u;
  }
  GraphHandle sheet = LoadPicture(WritePng("sheet.png", 80, 100, pixels).c_str());
  ASSERT_NE(sheet, -1);
  EXPECT_EQ(DrawPictureRegionCentered(100.0f, 100.0f, 40, 55, 40, 80, 1.0, 0.0, sheet), 0);
  EXPECT_EQ(Pixel(80, 60), 0x00FF00u);   // top-left at (100 - 20, 100 - 40)
  EXPECT_EQ(Pixel(119, 139), 0x00FF00u);
  EXPECT_EQ(Pixel(79, 60), Black);
  EXPECT_EQ(Pixel(120, 139), Black);
  EXPECT_EQ(Pixel(100, 140), Black);
}

TEST_F(PictureTest, TransparentUsesPictureAlpha) {
  std::vector<uint32_t> pixels = {0x00FF0000u, 0xFF00FF00u, 0x800000FFu, 0xFFFFFFFFu};
  GraphHandle p = LoadPicture(WritePng("alpha.png", 4, 1, pixels).c_str());
  ASSERT_NE(p, -1);
  DrawPicture(0, 0, p, 1);
  DrawPicture(0, 1, p, 0);
  EXPECT_EQ(Pixel(0, 0), Black);
  EXPECT_EQ(Pixel(1, 0), 0x00FF00u);
  EXPECT_NEAR(static_cast<int>(Pixel(2, 0) & 0xFF), 128, 2);
  EXPECT_EQ(Pixel(0, 1), 0xFF0000u) << "drawn opaque: the alpha is not applied";
}

TEST_F(PictureTest, BlendModeAppliesToPictures) {
  std::vector<uint32_t> pixels = {0xFFFF0000u};
  GraphHandle p = LoadPicture(WritePng("red.png", 1, 1, pixels).c_str());
  ASSERT_NE(p, -1);
  DrawRect(0, 0, 2, 2, MakeColor(0, 0, 255), 1);
  SetBlendMode(BlendAlpha, 128);
  DrawPicture(0, 0, p, 0);
  SetBlendMode(BlendNone, 0);
  uint32_t mixed = Pixel(0, 0);
  EXPECT_NEAR(static_cast<int>(mixed >> 16), 128, 2);
  EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 127, 2);
}

TEST_F(PictureTest, FailuresGiveMinusOne) {
  EXPECT_EQ(LoadPicture((folder_ + "/missing.png").c_str()), -1);
  std::string junk = folder_ + "/junk.png";
  FILE* f = std::fopen(junk.c_str(), "wb");
  std::fputs("not a png", f);
  std::fclose(f);
  EXPECT_EQ(LoadPicture(junk.c_str()), -1);
  // Pictures are at most 4096 pixels on a side; a larger one fails to load.
  EXPECT_EQ(LoadPicture(WritePng("wide.png", 4097, 1, std::vector<uint32_t>(4097, 0xFF000000u)).c_str()), -1);
  EXPECT_EQ(LoadPicture(WritePng("tall.png", 1, 4097, std::vector<uint32_t>(4097, 0xFF000000u)).c_str()), -1);
  EXPECT_NE(LoadPicture(WritePng("edge.png", 4096, 2, std::vector<uint32_t>(8192, 0xFF000000u)).c_str()), -1);
  EXPECT_EQ(DrawPicture(0, 0, 12345, 0), -1);
  EXPECT_EQ(DrawPicture(0, 0, -1, 0), -1);
  EXPECT_EQ(HandleLoadState(-1), -1);
  EXPECT_EQ(GetPictureSize(-1, nullptr, nullptr), -1);
}

TEST_F(PictureTest, AsynchronousLoadsFinishOrFailLater) {
  GraphHandle good = -1, bad = -1;
  std::vector<uint32_t> pixels(64 * 64, 0xFF336699u);
  std::string path = WritePng("async.png", 64, 64, pixels);
  SetAsyncLoading(1);
  good = LoadPicture(path.c_str());
  bad = LoadPicture((folder_ + "/missing.png").c_str());
  SetAsyncLoading(0);
  ASSERT_NE(good, -1);
  ASSERT_NE(bad, -1) << "an asynchronous load reports its failure later";
  while (PendingLoadCount() > 0) SleepMs(1);
  EXPECT_EQ(HandleLoadState(good), 0);
  EXPECT_EQ(HandleLoadState(bad), -1);
  EXPECT_EQ(DrawPicture(0, 0, good, 0), 0);
  EXPECT_EQ(Pixel(63, 63), 0x336699u);
  EXPECT_EQ(DrawPicture(0, 0, bad, 0), -1);
}

TEST_F(PictureTest, DrawingAStillLoadingPictureWaitsForIt) {
  std::vector<uint32_t> pixels(512 * 512, 0xFF123456u);
  std::string path = WritePng("big.png", 512, 512, pixels);
  SetAsyncLoading(1);
  GraphHandle big = LoadPicture(path.c_str());
  SetAsyncLoading(0);
  EXPECT_EQ(DrawPicture(0, 0, big, 0), 0);
  EXPECT_EQ(Pixel(511, 511), 0x123456u);
  EXPECT_EQ(PendingLoadCount(), 0);
}

}  // namespace

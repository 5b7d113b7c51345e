// The palette: scrolling with the arrows and the track, picking with both buttons, and what the panel draws.
#include <string>

#include "../media/media_fixture.h"
#include "editor_fixture.h"
#include "shell/assets.h"
#include "stage/catalogue.h"

namespace {

TEST_F(EditorTest, PicksTheCellUnderThePointer) {
  struct Case {
    int scroll, x, y, buttons;
    int wantLeft, wantRight;
  };
  const Case cases[] = {
      {0, 37, 63, LeftButton, 0, 0},      {0, 38, 63, LeftButton, 1, 0},     {0, 38, 64, LeftButton, 5, 0},
      {3, 37, 63, LeftButton, 48, 0},     {14, 6, 32, LeftButton, 224, 0},   {14, 133, 287, LeftButton, 255, 0},
      {2, 100, 200, RightButton, 3, 54},  {1, 70, 40, BothButtons, 18, 18},  {0, 5, 40, LeftButton, 3, 0},
      {0, 134, 40, LeftButton, 3, 0},     {0, 40, 288, LeftButton, 3, 0},
  };
  for (const Case& c : cases) {
    ResetEditor();
    Editor.PaletteScroll = c.scroll;
    Frame({}, c.x, c.y, c.buttons);
    EXPECT_EQ(Editor.LeftPart, c.wantLeft) << c.x << "," << c.y << " at scroll " << c.scroll;
    EXPECT_EQ(Editor.RightPart, c.wantRight) << c.x << "," << c.y << " at scroll " << c.scroll;
    EXPECT_EQ(Editor.PaletteScroll, c.scroll) << "picking does not scroll";
  }
}

TEST_F(EditorTest, ScrollBarStepsOncePerSixFrames) {
  struct Case {
    const char* what;
    int scroll, x, y, buttons, frames;
    int wantScroll, wantHighlight;
  };
  const Case cases[] = {
      {"down arrow once", 0, 140, 270, LeftButton, 1, 1, 2},
      {"down arrow held 6 frames", 0, 140, 270, LeftButton, 6, 1, 2},
      {"down arrow held 7 frames", 0, 140, 270, LeftButton, 7, 2, 2},
      {"down arrow at 14", 14, 140, 280, LeftButton, 1, 14, 2},
      {"up arrow", 5, 154, 32, LeftButton, 1, 4, 1},
      {"up arrow at 0", 0, 134, 52, LeftButton, 1, 0, 1},
      {"track below the thumb", 0, 140, 200, LeftButton, 1, 1, 0},
      {"track above the thumb", 10, 140, 100, LeftButton, 1, 9, 0},
      {"the thumb itself", 5, 140, 130, LeftButton, 1, 5, 0},
      {"right button on the arrow", 5, 140, 270, RightButton, 1, 5, 0},
      {"right button on the track", 5, 140, 200, RightButton, 1, 5, 0},
      {"left of the bar", 5, 133, 270, LeftButton, 1, 5, 0},
  };
  for (const Case& c : cases) {
    ResetEditor();
    Editor.PaletteScroll = c.scroll;
    Editor.RepeatCounter = 31;
    for (int f = 0; f < c.frames; ++f) {
      SetMouseOverride(1, c.x, c.y, c.buttons);
      std::memset(KeyState, 0, sizeof KeyState);
      EditorInput();
      CopyKeyState();
    }
    EXPECT_EQ(Editor.PaletteScroll, c.wantScroll) << c.what;
    EXPECT_EQ(Editor.PaletteArrowHighlight, c.wantHighlight) << c.what;
  }
}

// The panel on the dummy driver with the real icon sheet and scroll-bar picture.
class PalettePixelTest : public MediaTest, protected EditorFixture {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    ResetEditor();
    ImgParts = LoadPicture(PELVORO_SOURCE_DIR "/assets/texture/parts.png");
    ImgScrollbar = LoadPicture(PELVORO_SOURCE_DIR "/assets/texture/scrollbar.png");
    ASSERT_NE(ImgParts, -1);
    ASSERT_NE(ImgScrollbar, -1);
    EditorFont12 = MakeFont(12, 0, FontPlain, -1);
    EditorFont20 = MakeFont(20, -1, FontEdgeAntialiased, -1);
    EditorFont14Edge = MakeFont(14, -1, FontEdge, -1);
  }
  void TearDown() override {
    RestoreEditor();
    FreeAllPictures();
    FreeAllFonts();
    ImgParts = ImgScrollbar = EditorFont12 = EditorFont20 = EditorFont14Edge = -1;
    MediaTest::TearDown();
  }
  // The pixel of the icon sheet at (x, y).
  static uint32_t SheetPixel(int x, int y) {
    uint32_t value = 0;
    DrawPictureRegion(0, 0, x, y, 1, 1, ImgParts, 0, 0);
    ReadSurfacePixels(&value, 0, 0, 1, 1);
    return value & 0xFFFFFF;
  }
  void Draw() {
    ClearSurface();
    DrawPalettePanel();
    if (const char* dir = std::getenv("PELVORO_SHOTS")) {
      const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
      WriteSurfacePng(std::string(dir) + "/" + test->name() + std::to_string(Editor.PaletteScroll) + ".png", 800,
                      600);
    }
  }
};

TEST_F(PalettePixelTest, PageAndThumbFollowTheScroll) {
  for (int scroll : {0, 14}) {
    Editor.PaletteScroll = scroll;
    Editor.LeftPart = 16 * scroll + 5;  // marks away from the first and the last cell
    Editor.RightPart = 16 * scroll + 6;
    // The icon sheet's pixels, read before the panel covers the corner.
    uint32_t first = SheetPixel(PartIconX(16 * scroll) + 16, PartIconY(16 * scroll) + 16);
    uint32_t last = SheetPixel(PartIconX(16 * scroll + 31) + 16, PartIconY(16 * scroll + 31) + 16);
    uint32_t thumb[2] = {};
    DrawPictureRegion(0, 0, 40, 0, 1, 1, ImgScrollbar, 0, 0);
    ReadSurfacePixels(thumb, 0, 0, 1, 1);
    Draw();
    EXPECT_EQ(Pixel(6 + 16, 32 + 16), first) << "scroll " << scroll;
    EXPECT_EQ(Pixel(6 + 96 + 16, 32 + 224 + 16), last) << "scroll " << scroll;
    int thumbTop = 52 + 14 * scroll;
    EXPECT_EQ(Pixel(134, thumbTop), thumb[0] & 0xFFFFFF) << "thumb at " << thumbTop;
    EXPECT_EQ(Pixel(144, scroll == 0 ? thumbTop + 25 : thumbTop - 5), 0x999999u) << "the track beside the thumb";
    if (scroll == 14) {
      EXPECT_EQ(thumbTop, 248);
    }
  }
}

TEST_F(PalettePixelTest, SelectionMarksAreTranslucentAndClippedToThePage) {
  Editor.LeftPart = 1;   // column 1, row 0
  Editor.RightPart = 6;  // column 2, row 1
  Draw();
  uint32_t red = Pixel(38 + 1, 32 + 1), blue = Pixel(70 + 1, 64 + 1);
  EXPECT_GE(red >> 16, 0x7Fu) << std::hex << red;
  EXPECT_LE(red & 0xFF, 0x80u) << std::hex << red;
  EXPECT_GE(blue & 0xFF, 0x7Fu) << std::hex << blue;
  EXPECT_LE(blue >> 16, 0x80u) << std::hex << blue;
  // At scroll 1 the left part 3 (Block) lies above the page: no red anywhere in the palette's cells.
  Editor.LeftPart = 3;
  Editor.RightPart = 255;
  Editor.PaletteScroll = 1;
  Draw();
  uint32_t withMarks[128 * 256];
  ReadSurfacePixels(withMarks, 6, 32, 128, 256);
  Editor.LeftPart = 200;
  Editor.RightPart = 201;
  Draw();
  uint32_t without[128 * 256];
  ReadSurfacePixels(without, 6, 32, 128, 256);
  EXPECT_EQ(std::memcmp(withMarks, without, sizeof without), 0) << "marks of other pages are not seen";
}

}  // namespace

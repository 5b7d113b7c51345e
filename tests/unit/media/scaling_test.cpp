// The picture in a window bigger than itself: the largest whole factor that fits, centred on black,
// nearest-neighbour, and mouse points mapped back to picture pixels. Checked on SDL's dummy driver, whose
// window surface can be read back.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>

#include "media/internal.h"
#include "media/media.h"

namespace {

TEST(FitPicture, LargestWholeFactorCentred) {
  struct Case {
    int windowWidth, windowHeight, pictureWidth, pictureHeight;
    int factor, x, y;
  } cases[] = {
      {640, 480, 640, 480, 1, 0, 0},       // the plain window: 1:1, as always
      {1280, 960, 640, 480, 2, 0, 0},      // --scale 2
      {1279, 960, 640, 480, 1, 319, 240},  // one pixel short of 2
      {1920, 1080, 640, 480, 2, 320, 60},  // a full HD screen
      {3840, 2160, 640, 480, 4, 640, 120},
      {1920, 1080, 800, 600, 1, 560, 240}, // the editor on the same screen
      {1600, 1200, 800, 600, 2, 0, 0},
      {500, 400, 640, 480, 1, 0, 0},       // smaller than the picture: its top-left part
  };
  for (const Case& c : cases) {
    media::PictureFit fit = media::FitPicture(c.windowWidth, c.windowHeight, c.pictureWidth, c.pictureHeight);
    EXPECT_EQ(fit.factor, c.factor) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(fit.x, c.x) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(fit.y, c.y) << c.windowWidth << "x" << c.windowHeight;
  }
}

class ScaledWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SetDrawingSurface(800, 600, 32, 60);
    SetWindowClientSize(640, 480);
  }
  void TearDown() override {
    EndMedia();
    SetWindowScale(1);
    SetWindowClientSize(640, 480);
  }
  // Draws a pattern whose every pixel differs from its neighbours' and presents it.
  static void PresentPattern() {
    SetDrawingEnabled(1);
    SetBlendMode(BlendNone, 0);
    ResetClipRect();
    ClearSurface();
    for (int y = 0; y < 600; y += 3) {
      for (int x = 0; x < 800; x += 5) DrawRect(x, y, x + 1, y + 2, MakeColor(x & 0xFF, y & 0xFF, 0x80), 1);
    }
    ASSERT_EQ(PresentFrame(), 0);
  }
  // A pixel of the window as 0xRRGGBB.
  static uint32_t WindowPixel(int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(media::Window);
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0xDEAD;
    SDL_LockSurface(surface);
    const uint8_t* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    uint32_t value = 0;
    SDL_memcpy(&value, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
    SDL_UnlockSurface(surface);
    uint8_t r = 0, g = 0, b = 0;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return static_cast<uint32_t>(r) << 16 | g << 8 | b;
  }
  static uint32_t SurfacePixel(int x, int y) {
    uint32_t value = 0;
    EXPECT_EQ(ReadSurfacePixels(&value, x, y, 1, 1), 0);
    return value & 0xFFFFFF;
  }
};

TEST_F(ScaledWindowTest, ScaleTwoShowsEveryPictureAsATwoByTwoBlock) {
  ASSERT_EQ(SetWindowScale(2), 0);
  ASSERT_EQ(InitMedia(), 0);
  int width = 0, height = 0;
  SDL_GetWindowSize(media::Window, &width, &height);
  ASSERT_EQ(width, 1280);
  ASSERT_EQ(height, 960);
  PresentPattern();
  for (int y = 0; y < 480; y += 7) {
    for (int x = 0; x < 640; x += 3) {
      uint32_t expected = SurfacePixel(x, y);
      for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
          ASSERT_EQ(WindowPixel(2 * x + dx, 2 * y + dy), expected) << x << "," << y;
        }
      }
    }
  }
  // Mouse points map back to the picture's pixels.
  int cases[][4] = {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 3, 1, 1}, {1279, 959, 639, 479}, {700, 10, 350, 5}};
  for (auto& c : cases) {
    int x = c[0], y = c[1];
    media::WindowPointToPicture(&x, &y);
    EXPECT_EQ(x, c[2]);
    EXPECT_EQ(y, c[3]);
  }
}

TEST_F(ScaledWindowTest, ResizedWindowCentresThePictureOnBlackAndTheEditorFollows) {
  ASSERT_EQ(InitMedia(), 0);
  SDL_SetWindowSize(media::Window, 1400, 1000);
  PumpMessages();
  PresentPattern();
  // 1400 x 1000 holds the 640 x 480 picture twice: it starts at (60, 20).
  EXPECT_EQ(WindowPixel(59, 500), 0u);
  EXPECT_EQ(WindowPixel(60 + 2 * 5, 20 + 2 * 3), SurfacePixel(5, 3));
  EXPECT_EQ(WindowPixel(60 + 2 * 639 + 1, 20 + 2 * 479 + 1), SurfacePixel(639, 479));
  EXPECT_EQ(WindowPixel(60 + 1280, 500), 0u);
  int x = 59, y = 19;
  media::WindowPointToPicture(&x, &y);
  EXPECT_EQ(x, -1) << "left of the picture stays outside it";
  EXPECT_EQ(y, -1);
  // The input method's candidate window goes where the text is drawn: a cursor at (10, 20) is at (80, 60).
  SDL_Rect ime = media::PictureRectToWindow(10, 20, 2, 16);
  EXPECT_EQ(ime.x, 80);
  EXPECT_EQ(ime.y, 60);
  EXPECT_EQ(ime.w, 4);
  EXPECT_EQ(ime.h, 32);

  // The editor's 800 x 600 picture fits once: centred, and the window the user chose keeps its size.
  SetWindowClientSize(800, 600);
  PresentPattern();
  int width = 0, height = 0;
  SDL_GetWindowSize(media::Window, &width, &height);
  EXPECT_EQ(width, 1400);
  EXPECT_EQ(height, 1000);
  EXPECT_EQ(WindowPixel(300 + 799, 200 + 599), SurfacePixel(799, 599));
  EXPECT_EQ(WindowPixel(299, 200), 0u);
  x = 300 + 32 * 3 + 5;
  y = 200 + 32 * 2 + 1;
  media::WindowPointToPicture(&x, &y);
  EXPECT_EQ(x, 32 * 3 + 5);
  EXPECT_EQ(y, 32 * 2 + 1);
  ime = media::PictureRectToWindow(204, 224, 2, 16);
  EXPECT_EQ(ime.x, 504);
  EXPECT_EQ(ime.y, 424);
  EXPECT_EQ(ime.w, 2);
}

TEST_F(ScaledWindowTest, ScaledWindowFollowsThePictureSize) {
  ASSERT_EQ(SetWindowScale(2), 0);
  ASSERT_EQ(InitMedia(), 0);
  EXPECT_EQ(SetWindowScale(3), -1) << "only before the window exists";
  SetWindowClientSize(800, 600);
  int width = 0, height = 0;
  SDL_GetWindowSize(media::Window, &width, &height);
  EXPECT_EQ(width, 1600);
  EXPECT_EQ(height, 1200);
  SetWindowClientSize(640, 480);
  SDL_GetWindowSize(media::Window, &width, &height);
  EXPECT_EQ(width, 1280);
  EXPECT_EQ(height, 960);
}

}  // namespace

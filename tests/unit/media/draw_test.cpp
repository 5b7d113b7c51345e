// What the drawing operations put on the surface, read back from the software renderer.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstring>

#include "media_fixture.h"

namespace {

constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, Black = 0;

class DrawTest : public MediaTest {};

TEST_F(DrawTest, FilledRectCoversHalfOpenRange) {
  DrawRect(10, 20, 14, 23, MakeColor(255, 0, 0), 1);
  for (int y = 18; y < 26; ++y) {
    for (int x = 8; x < 17; ++x) {
      bool inside = x >= 10 && x < 14 && y >= 20 && y < 23;
      EXPECT_EQ(Pixel(x, y), inside ? Red : Black) << x << "," << y;
    }
  }
}

TEST_F(DrawTest, OutlinedRectIsOnePixelBorder) {
  DrawRect(10, 10, 15, 14, MakeColor(0, 255, 0), 0);
  for (int y = 9; y < 15; ++y) {
    for (int x = 9; x < 16; ++x) {
      bool border = (x == 10 || x == 14) && y >= 10 && y <= 13;
      border = border || ((y == 10 || y == 13) && x >= 10 && x <= 14);
      EXPECT_EQ(Pixel(x, y), border ? Green : Black) << x << "," << y;
    }
  }
}

TEST_F(DrawTest, EmptyRectsDrawNothing) {
  struct Case {
    int x1, y1, x2, y2, filled;
  } cases[] = {{0, 448, 0, 480, 1}, {5, 5, 5, 9, 0}, {5, 9, 9, 9, 1}, {9, 5, 5, 9, 1}};
  for (const Case& c : cases) DrawRect(c.x1, c.y1, c.x2, c.y2, MakeColor(255, 255, 255), c.filled);
  std::vector<uint32_t> all(20 * 20);
  ASSERT_EQ(ReadSurfacePixels(all.data(), 0, 460, 20, 20), 0);
  for (uint32_t p : all) EXPECT_EQ(p & 0xFFFFFF, Black);
  EXPECT_EQ(Pixel(5, 5), Black);
  EXPECT_EQ(Pixel(7, 7), Black);
}

TEST_F(DrawTest, AlphaBlendAndClampedParameter) {
  struct Case {
    int param;
    int red, blue;  // expected channels over a blue background
  } cases[] = {{128, 128, 127}, {255, 255, 0}, {300, 255, 0}, {0, 0, 255}, {-40, 0, 255}};
  int x = 0;
  for (const Case& c : cases) {
    SetBlendMode(BlendNone, 0);
    DrawRect(x, 0, x + 4, 4, MakeColor(0, 0, 255), 1);
    SetBlendMode(BlendAlpha, c.param);
    DrawRect(x, 0, x + 4, 4, MakeColor(255, 0, 0), 1);
    SetBlendMode(BlendNone, 0);
    uint32_t p = Pixel(x + 1, 1);
    EXPECT_NEAR(static_cast<int>(p >> 16), c.red, 2) << "param " << c.param;
    EXPECT_EQ((p >> 8) & 0xFF, 0u);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), c.blue, 2) << "param " << c.param;
    x += 10;
  }
}

TEST_F(DrawTest, BlendedOutlineCornersAreBlendedOnce) {
  DrawRect(0, 0, 10, 10, MakeColor(0, 0, 255), 1);
  SetBlendMode(BlendAlpha, 128);
  DrawRect(0, 0, 10, 10, MakeColor(255, 0, 0), 0);
  SetBlendMode(BlendNone, 0);
  EXPECT_EQ(Pixel(0, 0), Pixel(5, 0));
  EXPECT_EQ(Pixel(9, 9), Pixel(9, 5));
}

TEST_F(DrawTest, ClipRectLimitsDrawingAndResets) {
  SetClipRect(5, 6, 10, 12);
  DrawRect(0, 0, 20, 20, MakeColor(255, 0, 0), 1);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 5 && x < 10 && y >= 6 && y < 12;
      ASSERT_EQ(Pixel(x, y), inside ? Red : Black) << x << "," << y;
    }
  }
  SetClipRect(30, 30, 30, 40);  // empty: nothing at all
  DrawRect(25, 25, 50, 50, MakeColor(0, 255, 0), 1);
  EXPECT_EQ(Pixel(30, 35), Black);
  ResetClipRect();
  DrawRect(25, 25, 50, 50, MakeColor(0, 255, 0), 1);
  EXPECT_EQ(Pixel(30, 35), Green);
}

TEST_F(DrawTest, ClipSurvivesPresent) {
  SetClipRect(0, 0, 10, 10);
  PresentFrame();
  DrawRect(0, 0, 20, 20, MakeColor(255, 0, 0), 1);
  EXPECT_EQ(Pixel(5, 5), Red);
  EXPECT_EQ(Pixel(15, 15), Black);
  ResetClipRect();
}

TEST_F(DrawTest, LineStopsBeforeItsEndPoint) {
  DrawLine(2, 3, 7, 3, MakeColor(255, 0, 0));
  for (int x = 0; x < 10; ++x) EXPECT_EQ(Pixel(x, 3), x >= 2 && x < 7 ? Red : Black) << x;
  DrawLine(20, 20, 24, 24, MakeColor(0, 255, 0));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Pixel(20 + i, 20 + i), Green);
  EXPECT_EQ(Pixel(24, 24), Black);
}

TEST_F(DrawTest, DrawingSwitchedOffDrawsNothing) {
  SetDrawingEnabled(0);
  EXPECT_EQ(DrawingEnabled(), 0);
  DrawRect(0, 0, 10, 10, MakeColor(255, 0, 0), 1);
  DrawLine(0, 0, 10, 10, MakeColor(255, 0, 0));
  SetDrawingEnabled(1);
  EXPECT_EQ(Pixel(5, 5), Black);
}

TEST_F(DrawTest, ClearSurfaceIgnoresClip) {
  DrawRect(0, 0, 20, 20, MakeColor(255, 0, 0), 1);
  SetClipRect(0, 0, 5, 5);
  ClearSurface();
  ResetClipRect();
  EXPECT_EQ(Pixel(10, 10), Black);
}

TEST_F(DrawTest, ReadBackRejectsRectsOutsideTheSurface) {
  uint32_t p[4];
  EXPECT_EQ(ReadSurfacePixels(p, 799, 0, 2, 1), -1);
  EXPECT_EQ(ReadSurfacePixels(p, -1, 0, 1, 1), -1);
  EXPECT_EQ(ReadSurfacePixels(p, 799, 599, 1, 1), 0);
}

}  // namespace

namespace {

// The window shows the surface's top-left part one to one, at whatever client size is set.
uint32_t WindowPixel(int x, int y) {
  SDL_Surface* shown = SDL_GetWindowSurface(static_cast<SDL_Window*>(MainWindow()));
  if (shown == nullptr || x >= shown->w || y >= shown->h) return 0xDEADBEEF;
  Uint32 raw = 0;
  SDL_LockSurface(shown);
  std::memcpy(&raw, static_cast<uint8_t*>(shown->pixels) + y * shown->pitch + x * shown->format->BytesPerPixel,
              shown->format->BytesPerPixel);
  SDL_UnlockSurface(shown);
  Uint8 r, g, b;
  SDL_GetRGB(raw, shown->format, &r, &g, &b);
  return static_cast<uint32_t>(r) << 16 | g << 8 | b;
}

TEST_F(DrawTest, ClientSizeChangesShowMoreOfTheSurfaceUnscaled) {
  auto* window = static_cast<SDL_Window*>(MainWindow());
  ASSERT_NE(window, nullptr);
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  DrawRect(10, 10, 11, 11, MakeColor(0, 255, 0), 1);
  DrawRect(700, 500, 701, 501, MakeColor(255, 0, 0), 1);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(WindowPixel(10, 10), 0x00FF00u);
  EXPECT_EQ(WindowPixel(11, 10), 0u);
  SetWindowClientSize(800, 600);
  PumpMessages();
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(WindowPixel(700, 500), 0xFF0000u);
  EXPECT_EQ(WindowPixel(10, 10), 0x00FF00u);
  SetWindowClientSize(640, 480);
  PumpMessages();
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(WindowPixel(10, 10), 0x00FF00u);
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 640);
}

}  // namespace

// A media layer opened on SDL's dummy video driver (software renderer) for pixel tests, and small helpers to
// write pictures and sounds into a temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/media.h"

class MediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SetDrawingSurface(800, 600, 32, 60), 0);
    SetWindowClientSize(640, 480);
    ASSERT_EQ(InitMedia(), 0);
    SetDrawingEnabled(1);
    SetBlendMode(BlendNone, 0);
    ResetClipRect();
    ClearSurface();
    std::string pattern = (std::filesystem::temp_directory_path() / "pelvoro-media-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    EndMedia();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // The surface pixel at (x, y) as 0xRRGGBB.
  static uint32_t Pixel(int x, int y) {
    uint32_t value = 0;
    EXPECT_EQ(ReadSurfacePixels(&value, x, y, 1, 1), 0);
    return value & 0xFFFFFF;
  }

  // Writes ARGB pixels (0xAARRGGBB) as a PNG file in the test's folder and returns its path.
  std::string WritePng(const std::string& name, int width, int height, const std::vector<uint32_t>& argb) {
    std::string path = folder_ + "/" + name;
    std::vector<uint8_t> rgba;
    for (uint32_t p : argb) {
      rgba.push_back((p >> 16) & 0xFF);
      rgba.push_back((p >> 8) & 0xFF);
      rgba.push_back(p & 0xFF);
      rgba.push_back(p >> 24);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    EXPECT_NE(png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr), 0);
    return path;
  }

  // A 16-bit stereo WAV of the given length with a tone, quiet unless told.
  std::string WriteWav(const std::string& name, double seconds, int amplitude = 1000) {
    std::string path = folder_ + "/" + name;
    int frames = static_cast<int>(44100 * seconds);
    uint32_t dataBytes = frames * 4;
    FILE* f = std::fopen(path.c_str(), "wb");
    auto u32 = [f](uint32_t v) { std::fwrite(&v, 4, 1, f); };
    auto u16 = [f](uint16_t v) { std::fwrite(&v, 2, 1, f); };
    std::fwrite("RIFF", 1, 4, f);
    u32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1);
    u16(2);
    u32(44100);
    u32(44100 * 4);
    u16(4);
    u16(16);
    std::fwrite("data", 1, 4, f);
    u32(dataBytes);
    for (int i = 0; i < frames; ++i) {
      int16_t s = static_cast<int16_t>(amplitude * std::sin(i * 0.06));
      std::fwrite(&s, 2, 1, f);
      std::fwrite(&s, 2, 1, f);
    }
    std::fclose(f);
    return path;
  }

  std::string folder_;
};

// Writes the surface's top-left w x h pixels as a PNG (to look at what a test drew).
inline bool WriteSurfacePng(const std::string& path, int w, int h) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  if (ReadSurfacePixels(pixels.data(), 0, 0, w, h) != 0) return false;
  std::vector<uint8_t> rgb;
  for (uint32_t p : pixels) {
    rgb.push_back((p >> 16) & 0xFF);
    rgb.push_back((p >> 8) & 0xFF);
    rgb.push_back(p & 0xFF);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = w;
  image.height = h;
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

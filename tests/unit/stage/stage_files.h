// Small helpers of the stage tests: FMF and text files in a scratch folder, fatal exits as exceptions.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/media.h"
#include "play/playstate.h"
#include "stage/builtin_loader.h"
#include "stage/stagedata.h"

struct FatalExit : std::runtime_error {
  using std::runtime_error::runtime_error;
};
inline void ThrowFatal(const char* text) { throw FatalExit(text); }

// A map given row by row as PartIds; written as an FMF file with a header that matches it.
struct FmfMap {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Cells;  // row-major, as the file holds them
  FmfMap(int width, int height) : Width(width), Height(height), Cells(width * height, 0) {}
  uint8_t& At(int c, int r) { return Cells[r * Width + c]; }
};

constexpr int64_t FromMap = INT64_MIN;  // header field as the map gives it
inline std::string FmfBytes(const FmfMap& map, const char* magic = "FMF_", int64_t size = FromMap,
                            int64_t width = FromMap, int64_t height = FromMap) {
  std::string bytes(magic, 4);
  auto put32 = [&bytes](int32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
  };
  put32(static_cast<int32_t>(size != FromMap ? size : static_cast<int64_t>(map.Cells.size())));
  put32(static_cast<int32_t>(width != FromMap ? width : map.Width));
  put32(static_cast<int32_t>(height != FromMap ? height : map.Height));
  bytes += std::string("\x20\x20\x01\x08", 4);
  bytes.append(reinterpret_cast<const char*>(map.Cells.data()), map.Cells.size());
  return bytes;
}

inline std::string Utf16Text(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t u : text) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return bytes;
}

// Each test gets its own scratch folder and clean stage state; fatal exits throw FatalExit.
class StageFilesTest : public ::testing::Test {
 protected:
  std::filesystem::path Dir;
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("pelvoro-stage-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
    SetFatalHandler(ThrowFatal);
    Play = PlayState{};
    StageFmfOverride = nullptr;
    StageTextOverride = nullptr;
    std::memset(StageMap, 0, sizeof StageMap);
    ObjectCount = 0;
  }
  void TearDown() override {
    SetFatalHandler(nullptr);
    StageFmfOverride = nullptr;
    StageTextOverride = nullptr;
    std::filesystem::remove_all(Dir);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = Dir / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  // Loads the files through the loader's override, as the headless runner does.
  void Load(const std::string& fmfPath, const char* textPath = nullptr) {
    static std::string fmf, text;
    fmf = fmfPath;
    text = textPath ? textPath : "";
    StageFmfOverride = fmf.c_str();
    StageTextOverride = textPath ? text.c_str() : nullptr;
    LoadBuiltinStage(1);
  }
  std::string LoadFailure(const std::string& fmfPath) {
    try {
      Load(fmfPath);
    } catch (const FatalExit& e) {
      return e.what();
    }
    return "";
  }
};

// A playable 20 x 15 map: start at (2, 13), goal at (18, 13), floor in row 14.
inline FmfMap PlayableMap(int width = 20, int height = 15) {
  FmfMap map(width, height);
  for (int c = 0; c < width; ++c) map.At(c, height - 1) = 3;
  map.At(2, height - 2) = 1;
  map.At(width - 2, height - 2) = 2;
  return map;
}

// Editor stages for the tests, written as stage sources (tests/unit/editor/stages/*.stage) and read with the
// stage compiler's own parser into the top-left corner of an empty 60 x 45 editor stage.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../../tools/stagec/stagesource.h"
#include "stage/stagedata.h"

inline std::vector<uint8_t> EditorStageFromSource(const std::string& name) {
  std::ifstream in(std::string(PELVORO_SOURCE_DIR) + "/tests/unit/editor/stages/" + name + ".stage");
  std::stringstream text;
  text << in.rdbuf();
  stagec::StageSource source = stagec::ParseStage(text.str());
  EXPECT_TRUE(source.Errors.empty()) << name << ": " << (source.Errors.empty() ? "" : source.Errors[0]);
  std::vector<uint8_t> cells(CustomCells, 0);
  for (int r = 0; r < source.Height && r < CustomRows; r++)
    for (int c = 0; c < source.Width && c < CustomColumns; c++) cells[c * CustomRows + r] = stagec::CellAt(source, c, r);
  return cells;
}

// A map written as rows of characters (the stage sources' default legend plus the ids given), top-left.
inline std::vector<uint8_t> EditorStageFromRows(const std::vector<std::string>& rows,
                                                const std::map<char, int>& extra = {}) {
  std::map<char, int> legend = stagec::DefaultLegend();
  for (auto& [k, v] : extra) legend[k] = v;
  std::vector<uint8_t> cells(CustomCells, 0);
  for (int r = 0; r < static_cast<int>(rows.size()); r++)
    for (int c = 0; c < static_cast<int>(rows[r].size()); c++) cells[c * CustomRows + r] = legend.at(rows[r][c]);
  return cells;
}

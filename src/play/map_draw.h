// Background and map drawing of the play screen.
#pragma once

// The cells drawn for the current scroll: columns c0 <= c < c1, rows r0 <= r < r1, clipped to the map.
struct CellRange {
  int C0, C1, R0, R1;
};
CellRange VisibleCells(int scrollX, int scrollY, int mapColumns, int mapRows);

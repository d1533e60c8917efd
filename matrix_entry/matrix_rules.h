// The matrix entry's rules as plain data, shared by the desktop window and
// the browser's dialog: the matrix it edits, the text a cell shows, what
// Continue checks and what Clear Data asks. No windowing toolkit.
#pragma once

#include <string>
#include <vector>

#include "platform/services.h"

// Largest number of columns and of rows.
constexpr int EntryMatrixCapacity = 50;

// 50 x 50 double-precision reals, indexed from 1. The window addresses
// element (c, r) -- matrix[c][r] -- for the cell in column c and row r.
struct EntryMatrix {
  double cell[EntryMatrixCapacity + 1][EntryMatrixCapacity + 1]{};  // row 0 and column 0 unused

  double* operator[](int i) { return cell[i]; }
  const double* operator[](int i) const { return cell[i]; }
};

// The window's caption as the summary-data program opens it (with no
// row or column titles).
inline constexpr const char* MatrixEntryCaption = "Matrix Entry";

// What a cell shows of an element, and what Clear Data writes.
inline constexpr const char* ZeroCellText = "0.000";
std::string MatrixCellText(double value);
inline constexpr const char* ClearMatrixQuestion = "Clear data from matrix ?";

// One editable or diagonal cell as Continue reads it. zeroMarker records
// that the user accepted the value 0.000 in it (asked once per window).
struct tMatrixCellState {
  int column = 0;
  int row = 0;
  std::string text;
  int zeroMarker = 0;
};

// Continue: visits the cells in the order given (column by column, and
// within a column row by row). Each must read as a number; an
// off-diagonal value must lie strictly between -1 and +1 and a diagonal
// value be greater than -1; an off-diagonal cell showing exactly "0.000"
// is confirmed once (its marker is then set). Each cell that passes is
// stored in matrix (and its mirror in lower-triangle mode) before the next
// is read. Returns the index of the first cell that fails (its box has
// been shown), or -1 when every cell passed.
int CheckMatrixCells(std::vector<tMatrixCellState>& cells, EntryMatrix& matrix, bool lowerTriangleOnly,
                     tPlatformServices& services);

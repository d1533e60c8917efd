// The raw data table: one row per person, one column per variable,
// indexed from 1. Storage is sized: it holds at least 500 persons and
// 20 variables and grows for larger samples. Its transpose, one row per
// variable and one column per person, is tData_matrix_transposed.
#pragma once

#include <vector>

#include "matrix/extended.h"

constexpr int DataMatrixMinRows = 500;
constexpr int DataMatrixMinColumns = 20;

class tData_matrix {
 public:
  tData_matrix() : tData_matrix(DataMatrixMinRows, DataMatrixMinColumns) {}
  tData_matrix(int rows, int columns) { Resize(rows, columns); }

  // Makes room for at least the given rows and columns (never fewer than
  // 500 x 20); the contents are cleared to 0.
  void Resize(int rows, int columns) {
    rows_ = rows < DataMatrixMinRows ? DataMatrixMinRows : rows;
    columns_ = columns < DataMatrixMinColumns ? DataMatrixMinColumns : columns;
    cells_.assign(static_cast<std::size_t>(rows_ + 1) * static_cast<std::size_t>(columns_ + 1), 0.0L);
  }

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }

  extended* operator[](int row) { return &cells_[static_cast<std::size_t>(row) * (columns_ + 1)]; }
  const extended* operator[](int row) const {
    return &cells_[static_cast<std::size_t>(row) * (columns_ + 1)];
  }

 private:
  int rows_ = 0;
  int columns_ = 0;
  std::vector<extended> cells_;  // row 0 and column 0 unused
};

constexpr int DataMatrixTransposedMinRows = DataMatrixMinColumns;
constexpr int DataMatrixTransposedMinColumns = DataMatrixMinRows;

// The transposed raw data table: one row per variable, one column per
// person, indexed from 1; at least 20 x 500 and grown as needed.
class tData_matrix_transposed {
 public:
  tData_matrix_transposed()
      : tData_matrix_transposed(DataMatrixTransposedMinRows, DataMatrixTransposedMinColumns) {}
  tData_matrix_transposed(int rows, int columns) { Resize(rows, columns); }

  // Makes room for at least the given rows and columns (never fewer than
  // 20 x 500); the contents are cleared to 0.
  void Resize(int rows, int columns) {
    rows_ = rows < DataMatrixTransposedMinRows ? DataMatrixTransposedMinRows : rows;
    columns_ = columns < DataMatrixTransposedMinColumns ? DataMatrixTransposedMinColumns : columns;
    cells_.assign(static_cast<std::size_t>(rows_ + 1) * static_cast<std::size_t>(columns_ + 1), 0.0L);
  }

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }

  extended* operator[](int row) { return &cells_[static_cast<std::size_t>(row) * (columns_ + 1)]; }
  const extended* operator[](int row) const {
    return &cells_[static_cast<std::size_t>(row) * (columns_ + 1)];
  }

 private:
  int rows_ = 0;
  int columns_ = 0;
  std::vector<extended> cells_;  // row 0 and column 0 unused
};

// The raw data table: one row per person, one column per variable,
// indexed from 1. Storage is sized: it holds at least 500 persons and
// 20 variables and grows for larger samples. Its transpose, one row per
// variable and one column per person, is tData_matrix_transposed.
#pragma once

#include <vector>

#include "core/extended.h"

constexpr int DataMatrixMinRows = 500;
constexpr int DataMatrixMinColumns = 20;

// A table of extended values indexed from 1 that always holds at least
// MinRows x MinColumns cells and grows for larger requests.
template <int MinRows, int MinColumns>
class tSizedTable {
 public:
  tSizedTable() : tSizedTable(MinRows, MinColumns) {}
  tSizedTable(int rows, int columns) { Resize(rows, columns); }

  // Makes room for at least the given rows and columns (never fewer than
  // the minimum); the contents are cleared to 0.
  void Resize(int rows, int columns) {
    rows_ = rows < MinRows ? MinRows : rows;
    columns_ = columns < MinColumns ? MinColumns : columns;
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

// Persons x variables: at least 500 x 20.
using tData_matrix = tSizedTable<DataMatrixMinRows, DataMatrixMinColumns>;

// Variables x persons: at least 20 x 500.
using tData_matrix_transposed = tSizedTable<DataMatrixMinColumns, DataMatrixMinRows>;

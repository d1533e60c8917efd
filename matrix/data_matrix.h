// The raw data table: one row per person, one column per variable,
// indexed from 1. Storage is sized: a table made without sizes holds 500
// persons and 20 variables; one made or resized for a sample holds exactly
// the rows and columns asked for, one extended value a cell and nothing
// more, so that a large sample costs what its values cost. Its transpose,
// one row per variable and one column per person, is
// tData_matrix_transposed.
#pragma once

#include <cstddef>
#include <vector>

#include "core/extended.h"

constexpr int DataMatrixMinRows = 500;
constexpr int DataMatrixMinColumns = 20;

// One row of a table: row[j] is the cell in column j (from 1).
template <typename Cell>
class tTableRow {
 public:
  explicit tTableRow(Cell* first) : first_(first) {}
  Cell& operator[](int column) const { return first_[column - 1]; }

 private:
  Cell* first_;
};

// A table of extended values indexed from 1, DefaultRows x DefaultColumns
// when made without sizes.
template <int DefaultRows, int DefaultColumns>
class tSizedTable {
 public:
  tSizedTable() : tSizedTable(DefaultRows, DefaultColumns) {}
  tSizedTable(int rows, int columns) { Resize(rows, columns); }

  // Makes the table rows x columns (a count below 1 counts as 1); the
  // contents are cleared to 0.
  void Resize(int rows, int columns) {
    rows_ = rows < 1 ? 1 : rows;
    columns_ = columns < 1 ? 1 : columns;
    cells_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_), 0.0L);
  }

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }

  tTableRow<extended> operator[](int row) { return tTableRow<extended>(&cells_[Offset(row)]); }
  tTableRow<const extended> operator[](int row) const { return tTableRow<const extended>(&cells_[Offset(row)]); }

 private:
  std::size_t Offset(int row) const { return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(columns_); }

  int rows_ = 0;
  int columns_ = 0;
  std::vector<extended> cells_;
};

// Persons x variables: 500 x 20 unless sized.
using tData_matrix = tSizedTable<DataMatrixMinRows, DataMatrixMinColumns>;

// Variables x persons: 20 x 500 unless sized.
using tData_matrix_transposed = tSizedTable<DataMatrixMinColumns, DataMatrixMinRows>;

// Summary statistics of the control sample from the raw data table.
#include "matrix/raw_data_statistics.h"

#include <cmath>
#include <stdexcept>

#include "matrix/matrix_operations.h"
#include "core/text_characters.h"
#include "core/text_format.h"

namespace {

// Guards the storage: a count beyond the table, or more variables than a
// tMatrix holds, would read or write outside it.
void RequireWithinTable(const tData_matrix& D, int rows, int cols) {
  if (rows > D.Rows() || cols > D.Columns() || cols > MatrixCapacity) {
    throw std::out_of_range(
        FormatC("Raw data of %d x %d exceed the table of %d x %d (at most %d variables)",
                rows, cols, D.Rows(), D.Columns(), MatrixCapacity));
  }
}

}  // namespace

void FillDataMatrixMissing(tData_matrix& D) {
  for (int i = 1; i <= D.Rows(); ++i) {
    const auto row = D[i];
    for (int j = 1; j <= D.Columns(); ++j) row[j] = MissingValueMarker;
  }
}

void DataRow(const tData_matrix& D, int row, int count, tVector& V) {
  if (row < 1) throw std::out_of_range(FormatC("Raw data row %d does not exist", row));
  RequireWithinTable(D, row, count);
  for (int j = 1; j <= count; ++j) V[j] = D[row][j];
}

// Column sums accumulated from 0 in order of the rows, divided by the
// number of rows.
void ColumnMeans(const tData_matrix& D, int rows, int cols, tVector& V) {
  RequireWithinTable(D, rows, cols);
  FillVector(cols, V, 0.0L);
  for (int j = 1; j <= cols; ++j) {
    extended sum = 0.0L;
    for (int i = 1; i <= rows; ++i) sum += D[i][j];
    V[j] = sum / rows;
  }
}

void CentreColumns(const tData_matrix& D, int rows, int cols, tData_matrix& E) {
  tVector means;
  ColumnMeans(D, rows, cols, means);
  // E is never D when it is too small (D holds rows x cols), so growing it
  // cannot discard the data being centred.
  if (E.Rows() < rows || E.Columns() < cols) E.Resize(rows, cols);
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= cols; ++j) E[i][j] = D[i][j] - means[j];
  }
}

void TransposeDataMatrix(const tData_matrix& D, int rows, int cols, tData_matrix_transposed& T) {
  RequireWithinTable(D, rows, cols);
  if (T.Rows() < cols || T.Columns() < rows) T.Resize(cols, rows);
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= cols; ++j) T[j][i] = D[i][j];
  }
}

void DataCrossProducts(const tData_matrix_transposed& T, const tData_matrix& D, int cols, int rows,
                       tMatrix& C) {
  RequireWithinTable(D, rows, cols);
  if (cols > T.Rows() || rows > T.Columns()) {
    throw std::out_of_range(
        FormatC("Transposed raw data of %d rows and %d columns exceed the table (%d x %d)", cols,
                rows, T.Rows(), T.Columns()));
  }
  for (int i = 1; i <= cols; ++i) {
    for (int j = 1; j <= cols; ++j) {
      extended sum = 0.0L;
      for (int r = 1; r <= rows; ++r) sum += T[i][r] * D[r][j];
      C[i][j] = sum;
    }
  }
}

// The cross products of the centred data, sum over r of (D[r][i] - mean i)
// x (D[r][j] - mean j), accumulated from 0 in order of r: the sums that
// CentreColumns, TransposeDataMatrix and DataCrossProducts give, value for
// value, but formed row by row without copying the table (a million
// controls would need two more tables of their size).
void CentredSscp(const tData_matrix& D, int rows, int cols, tMatrix& C) {
  tVector means;
  ColumnMeans(D, rows, cols, means);
  extended sums[MatrixCapacity + 1][MatrixCapacity + 1] = {};
  extended centred[MatrixCapacity + 1];
  for (int r = 1; r <= rows; ++r) {
    const auto row = D[r];
    for (int j = 1; j <= cols; ++j) centred[j] = row[j] - means[j];
    for (int i = 1; i <= cols; ++i)
      for (int j = 1; j <= cols; ++j) sums[i][j] += centred[i] * centred[j];
  }
  for (int i = 1; i <= cols; ++i)
    for (int j = 1; j <= cols; ++j) C[i][j] = sums[i][j];
}

void SscpToCovariance(tMatrix A, int n, int N, tMatrix& C) {
  const extended divisor = N - 1;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) C[i][j] = A[i][j] / divisor;
  }
}

void CovarianceToCorrelation(tMatrix C, int n, tMatrix& R, tVector& sd) {
  FillVector(MatrixCapacity, sd, 0.0L);
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) R[i][j] = C[i][j] / (std::sqrt(C[j][j]) * std::sqrt(C[i][i]));
    sd[i] = std::sqrt(C[i][i]);
  }
}

// The corrected sums of squares and products of the control rows, divided
// by N - 1, give the covariances; their diagonal gives the standard
// deviations and their scaled form the correlations. The means come last.
void SummaryFromRawData(const tData_matrix& D, int N, int cols, tVector& sds, tVector& means,
                        tMatrix& R) {
  tMatrix C;
  CentredSscp(D, N, cols, C);
  SscpToCovariance(C, cols, N, C);
  CovarianceToCorrelation(C, cols, R, sds);
  ColumnMeans(D, N, cols, means);
}

int FirstConstantColumn(const tData_matrix& D, int rows, int cols) {
  RequireWithinTable(D, rows, cols);
  for (int j = 1; j <= cols; ++j) {
    bool constant = true;
    for (int i = 2; i <= rows && constant; ++i) constant = D[i][j] == D[1][j];
    if (constant) return j;
  }
  return 0;
}

void PrintDataMatrix(const tData_matrix& D, int rows, int cols, const std::string& title,
                     tReportLines& sink, const std::vector<std::string>& columnNames) {
  // Widths of the row label "   [%4d]:  ", of a number "%12.5f" and of
  // the blanks after it.
  constexpr std::size_t RowLabelWidth = 11;
  constexpr int NumberWidth = 12;
  const std::string gap(3, ' ');
  RequireWithinTable(D, rows, cols);
  sink.Add(title);
  if (!columnNames.empty()) {
    std::string heading(RowLabelWidth, ' ');
    for (int j = 1; j <= cols; ++j) {
      const std::string name =
          j <= static_cast<int>(columnNames.size()) ? ShownTextClipped(columnNames[j - 1], NumberWidth) : "";
      heading += std::string(static_cast<std::size_t>(NumberWidth - CharacterCount(name)), ' ') + name + gap;
    }
    sink.Add(heading);
  }
  for (int i = 1; i <= rows; ++i) {
    const auto row = D[i];
    std::string line = FormatC("   [%4d]:  ", i);
    for (int j = 1; j <= cols; ++j) line += FormatC("%12.5Lf   ", row[j]);
    sink.Add(line);
  }
  sink.Add("");
}

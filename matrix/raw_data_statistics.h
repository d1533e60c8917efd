// Summary statistics of the control sample from the raw data table: the
// control means, standard deviations (divisor N - 1) and the correlation
// matrix of the task and the covariates, plus the case score vectors and
// the table written as report lines.
//
// Row i of the table is person i (rows 1..N the controls, then Case A and
// Case B), column j variable j (column 1 the task of interest, then the
// covariates). The big tables are taken by const reference and outputs by
// reference; tMatrix and tVector inputs by value. A count beyond the
// table's storage, or more than MatrixCapacity variables, throws
// std::out_of_range instead of reading or writing outside the storage.
#pragma once

#include <string>
#include <vector>

#include "matrix/data_matrix.h"
#include "core/extended.h"
#include "core/report_lines.h"
#include "matrix/tmatrix.h"

// The value the data reader puts in every cell before reading a file.
constexpr extended MissingValueMarker = -99999.999L;

// Sets every cell of the table, over its whole sized storage, to
// MissingValueMarker.
void FillDataMatrixMissing(tData_matrix& D);

// V[j] = D[row][j] for j = 1..count.
void DataRow(const tData_matrix& D, int row, int count, tVector& V);

// V[1..cols] cleared, then V[j] = (sum of D[i][j], i = 1..rows) / rows.
void ColumnMeans(const tData_matrix& D, int rows, int cols, tVector& V);

// E[i][j] = D[i][j] - mean of column j over rows 1..rows, for i = 1..rows,
// j = 1..cols. E grows if it is too small; it may be D itself.
void CentreColumns(const tData_matrix& D, int rows, int cols, tData_matrix& E);

// T[j][i] = D[i][j] for i = 1..rows, j = 1..cols. T grows if it is too
// small.
void TransposeDataMatrix(const tData_matrix& D, int rows, int cols, tData_matrix_transposed& T);

// C[i][j] = sum of T[i][r] * D[r][j] over r = 1..rows, accumulated from 0
// in order of r, for i, j = 1..cols.
void DataCrossProducts(const tData_matrix_transposed& T, const tData_matrix& D, int cols, int rows,
                       tMatrix& C);

// Corrected sums of squares and products of columns 1..cols over rows
// 1..rows: the cross products of the centred data with itself.
void CentredSscp(const tData_matrix& D, int rows, int cols, tMatrix& C);

// C[i][j] = A[i][j] / (N - 1) on the n x n block.
void SscpToCovariance(tMatrix A, int n, int N, tMatrix& C);

// sd cleared over all its entries, then sd[i] = sqrt(C[i][i]) and
// R[i][j] = C[i][j] / (sqrt(C[j][j]) * sqrt(C[i][i])) for i, j = 1..n.
void CovarianceToCorrelation(tMatrix C, int n, tMatrix& R, tVector& sd);

// Standard deviations, means and correlation matrix of columns 1..cols
// over the control rows 1..N only; the rows below them are ignored.
void SummaryFromRawData(const tData_matrix& D, int N, int cols, tVector& sds, tVector& means,
                        tMatrix& R);

// The first of columns 1..cols whose rows 1..rows all hold the same value,
// or 0 if there is none. Such a variable has no variance, and its
// correlations are 0/0 (or, where rounding leaves its mean slightly off
// the common value, meaningless): callers refuse the data instead.
int FirstConstantColumn(const tData_matrix& D, int rows, int cols);

// Appends title, then for each row i = 1..rows a line of three spaces,
// "[", i as "%4d", "]:  " and D[i][j] as "%12.5f   " for j = 1..cols, then
// an empty line. With columnNames, a line after the title puts each
// column's name over its numbers: right-aligned with them, clipped to
// their width of 12 characters (names are shown as text, never as
// control characters).
void PrintDataMatrix(const tData_matrix& D, int rows, int cols, const std::string& title,
                     tReportLines& sink, const std::vector<std::string>& columnNames = {});

#include "matrix/raw_data_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <stdexcept>

namespace {

// A table filled with the missing-value marker, then the given rows.
tData_matrix TableOf(std::initializer_list<std::initializer_list<long double>> rows) {
  tData_matrix D;
  FillDataMatrixMissing(D);
  int i = 0;
  for (const auto& row : rows) {
    ++i;
    int j = 0;
    for (long double value : row) D[i][++j] = value;
  }
  return D;
}

}  // namespace

// Four controls, three variables, worked by hand: the centred columns are
// (-3,-1,1,3), (-2,0,-1,3) and (0,-1,1,0), so the corrected sums of squares
// and products are 20, 14, 2 on the diagonal and 14, 2, -1 off it.
TEST(SummaryFromRawData, HandWorkedControls) {
  tData_matrix D = TableOf({{10, 1, 5}, {12, 3, 4}, {14, 2, 6}, {16, 6, 5}, {40, 12, 3}});

  tMatrix C;
  CentredSscp(D, 4, 3, C);
  const long double sscp[4][4] = {{}, {0, 20, 14, 2}, {0, 14, 14, -1}, {0, 2, -1, 2}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(C[i][j], sscp[i][j], 1e-17L) << i << "," << j;
  }

  tVector sds, means;
  for (int i = 1; i <= MatrixCapacity; ++i) sds[i] = 7;
  tMatrix R;
  SummaryFromRawData(D, 4, 3, sds, means, R);

  EXPECT_EQ(means[1], 13.0L);
  EXPECT_EQ(means[2], 3.0L);
  EXPECT_EQ(means[3], 5.0L);
  EXPECT_NEAR(sds[1], std::sqrt(20.0L / 3), 1e-18L);
  EXPECT_NEAR(sds[2], std::sqrt(14.0L / 3), 1e-18L);
  EXPECT_NEAR(sds[3], std::sqrt(2.0L / 3), 1e-18L);
  for (int i = 4; i <= MatrixCapacity; ++i) EXPECT_EQ(sds[i], 0.0L);  // cleared beyond cols

  EXPECT_NEAR(R[1][2], 14 / std::sqrt(280.0L), 1e-18L);
  EXPECT_NEAR(R[1][3], 2 / std::sqrt(40.0L), 1e-18L);
  EXPECT_NEAR(R[2][3], -1 / std::sqrt(28.0L), 1e-18L);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_NEAR(R[i][i], 1.0L, 1e-18L);
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(R[i][j], R[j][i]);
  }

  // The case rows: Case A as read, Case B never read (still the marker).
  tVector caseA, caseB;
  DataRow(D, 5, 3, caseA);
  DataRow(D, 6, 3, caseB);
  EXPECT_EQ(caseA[2], 12.0L);
  for (int j = 1; j <= 3; ++j) EXPECT_EQ(caseB[j], MissingValueMarker);
}

// With two controls the covariance divisor N - 1 is 1, and the case rows
// below the controls, whatever they hold, leave the statistics alone.
TEST(SummaryFromRawData, TwoControlsAndIgnoredCaseRows) {
  tData_matrix D = TableOf({{1, 2}, {3, 8}, {1e6L, -1e6L}});
  tVector sds, means;
  tMatrix R;
  SummaryFromRawData(D, 2, 2, sds, means, R);
  EXPECT_EQ(means[1], 2.0L);
  EXPECT_EQ(means[2], 5.0L);
  EXPECT_NEAR(sds[1], std::sqrt(2.0L), 1e-18L);
  EXPECT_NEAR(sds[2], std::sqrt(18.0L), 1e-18L);
  EXPECT_NEAR(R[1][2], 1.0L, 1e-18L);

  tMatrix covariance;
  tMatrix sscp;
  CentredSscp(D, 2, 2, sscp);
  SscpToCovariance(sscp, 2, 2, covariance);
  EXPECT_EQ(covariance[1][2], 6.0L);
  EXPECT_EQ(covariance[2][2], 18.0L);
}

// Ten thousand controls against a single-pass (Welford) computation of
// the means and co-moments; the table grows past its 500 rows.
TEST(SummaryFromRawData, TenThousandControlsAgreeWithOnePassMoments) {
  constexpr int N = 10000;
  constexpr int cols = 3;
  tData_matrix D;
  D.Resize(N + 2, cols);
  FillDataMatrixMissing(D);
  EXPECT_EQ(D[N + 2][cols], MissingValueMarker);  // the whole sized table

  long double mean[cols + 1] = {};
  long double comoment[cols + 1][cols + 1] = {};
  for (int i = 1; i <= N; ++i) {
    const long double x = i;
    D[i][1] = 100 + 15 * std::sin(0.37L * x);
    D[i][2] = 12 + 3 * std::cos(0.11L * x) + 0.5L * D[i][1] / 15;
    D[i][3] = 0.001L * (i % 97) - D[i][2];
    long double delta[cols + 1];
    for (int j = 1; j <= cols; ++j) {
      delta[j] = D[i][j] - mean[j];
      mean[j] += delta[j] / i;
    }
    for (int a = 1; a <= cols; ++a) {
      for (int b = 1; b <= cols; ++b) comoment[a][b] += delta[a] * (D[i][b] - mean[b]);
    }
  }

  tVector sds, means;
  tMatrix R;
  SummaryFromRawData(D, N, cols, sds, means, R);
  for (int a = 1; a <= cols; ++a) {
    EXPECT_NEAR(means[a], mean[a], 1e-14L * std::fabs(mean[a]));
    EXPECT_NEAR(sds[a], std::sqrt(comoment[a][a] / (N - 1)), 1e-13L * sds[a]);
    for (int b = 1; b <= cols; ++b) {
      EXPECT_NEAR(R[a][b], comoment[a][b] / std::sqrt(comoment[a][a] * comoment[b][b]), 1e-13L);
    }
  }
}

// CentredSscp forms row by row, without copies, the very sums of the
// three routines it stands for.
TEST(RawDataRoutines, CentringAndTransposingGrowTheirOutputs) {
  constexpr int rows = 1200;
  tData_matrix D(rows, 2);
  for (int i = 1; i <= rows; ++i) {
    D[i][1] = i;
    D[i][2] = 2 * i + 1.0L / (i % 7 + 3);
  }
  tData_matrix centred;
  tData_matrix_transposed transposed;
  tMatrix viaCopies, direct;
  CentreColumns(D, rows, 2, centred);
  TransposeDataMatrix(centred, rows, 2, transposed);
  DataCrossProducts(transposed, centred, 2, rows, viaCopies);
  CentredSscp(D, rows, 2, direct);
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) EXPECT_EQ(direct[i][j], viaCopies[i][j]) << i << "," << j;
  for (int i = 1; i <= rows; ++i) D[i][2] = 2 * i;

  tData_matrix E;  // 500 rows: too few
  CentreColumns(D, rows, 2, E);
  EXPECT_EQ(E[1][1], 1 - 600.5L);
  EXPECT_EQ(E[rows][2], 2 * rows - 1201.0L);

  tData_matrix_transposed T;
  TransposeDataMatrix(D, rows, 2, T);
  EXPECT_EQ(T[2][rows], 2.0L * rows);

  CentreColumns(D, rows, 2, D);  // in place
  EXPECT_EQ(D[rows][1], rows - 600.5L);

  tVector V;
  V[3] = 9;
  ColumnMeans(D, rows, 2, V);
  EXPECT_EQ(V[1], 0.0L);
  EXPECT_EQ(V[3], 9.0L);
}

// Counts beyond the storage are refused instead of reading or writing
// outside it.
TEST(RawDataRoutines, CountsBeyondTheTableThrow) {
  tData_matrix D;
  tVector V;
  tMatrix R;
  EXPECT_THROW(DataRow(D, D.Rows() + 1, 2, V), std::out_of_range);
  EXPECT_THROW(DataRow(D, 0, 2, V), std::out_of_range);
  EXPECT_THROW(SummaryFromRawData(D, D.Rows() + 1, 2, V, V, R), std::out_of_range);
  EXPECT_THROW(SummaryFromRawData(D, 10, MatrixCapacity + 1, V, V, R), std::out_of_range);
  tLineList sink;
  EXPECT_THROW(PrintDataMatrix(D, D.Rows() + 1, 2, "t", sink), std::out_of_range);
  EXPECT_EQ(sink.Count(), 0);
}

// 3.1 is not exactly representable: its column mean can miss it by a
// rounding step, so a zero SD is no reliable sign of a constant variable.
TEST(RawDataRoutines, FirstConstantColumn) {
  tData_matrix D = TableOf({{1, 3.1L, 3}, {2, 3.1L, 3}, {3, 3.1L, 4}, {4, 3.1L, 3}});
  EXPECT_EQ(FirstConstantColumn(D, 4, 3), 2);
  EXPECT_EQ(FirstConstantColumn(D, 4, 1), 0);
  D[2][2] = 3.2L;
  EXPECT_EQ(FirstConstantColumn(D, 4, 3), 0);
  EXPECT_EQ(FirstConstantColumn(D, 2, 3), 3);  // only the rows given count
}

TEST(PrintDataMatrix, LineLayout) {
  tData_matrix D = TableOf({{1.5L, -99999.999L, 7}});
  tLineList sink;
  PrintDataMatrix(D, 1, 2, " Raw data:", sink);
  ASSERT_EQ(sink.Count(), 3);
  EXPECT_EQ(sink.lines[0], " Raw data:");
  EXPECT_EQ(sink.lines[1], "   [   1]:       1.50000   -99999.99900   ");
  EXPECT_EQ(sink.lines[2], "");

  tData_matrix big(10000, 1);
  big[10000][1] = 0.25L;
  tLineList all;
  PrintDataMatrix(big, 10000, 1, "t", all);
  ASSERT_EQ(all.Count(), 10002);
  EXPECT_EQ(all.lines[10000], "   [10000]:       0.25000   ");
}

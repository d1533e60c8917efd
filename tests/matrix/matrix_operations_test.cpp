#include "matrix/matrix_operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "matrix_test_support.h"

namespace {

// The leading block of a matrix from rows of values.
tMatrix MatrixOf(std::initializer_list<std::initializer_list<long double>> rows) {
  tMatrix M;
  int i = 0;
  for (const auto& row : rows) {
    ++i;
    int j = 0;
    for (long double value : row) M[i][++j] = value;
  }
  return M;
}

tVector VectorOf(std::initializer_list<long double> values) {
  tVector V;
  int i = 0;
  for (long double value : values) V[++i] = value;
  return V;
}

void ExpectBlock(const tMatrix& actual, const tMatrix& expected, int rows, int columns,
                 long double tolerance) {
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= columns; ++j) {
      EXPECT_NEAR(actual[i][j], expected[i][j], tolerance) << "entry [" << i << "][" << j << "]";
    }
  }
}

tMatrix Identity(int n) {
  tMatrix I;
  for (int i = 1; i <= n; ++i) I[i][i] = 1.0L;
  return I;
}

}  // namespace

TEST(VectorOperations, FillColumnDotDifferenceAndQuadraticForm) {
  tVector V = VectorOf({9, 9, 9, 9});
  FillVector(3, V, 2.5L);
  EXPECT_EQ(V[3], 2.5L);
  EXPECT_EQ(V[4], 9.0L);  // beyond n: untouched

  tMatrix M = Filled(0);
  for (int i = 1; i <= MatrixCapacity; ++i) M[i][3] = i;
  tVector column;
  MatrixColumn(M, 3, column);
  EXPECT_EQ(column[1], 1.0L);
  EXPECT_EQ(column[MatrixCapacity], static_cast<long double>(MatrixCapacity));

  EXPECT_EQ(DotProduct(3, VectorOf({1, 2, 3}), VectorOf({4, -5, 6})), 12.0L);
  EXPECT_EQ(DotProduct(2, VectorOf({1, 2, 3}), VectorOf({4, -5, 6})), -6.0L);

  tVector U = VectorOf({5, 7});
  VectorDifference(2, U, VectorOf({1, 10}), U);  // output aliases an input
  EXPECT_EQ(U[1], 4.0L);
  EXPECT_EQ(U[2], -3.0L);

  // Not symmetric: 1*1*1 + 1*2*2 + 2*3*1 + 2*4*2.
  EXPECT_EQ(QuadraticForm(MatrixOf({{1, 2}, {3, 4}}), 2, VectorOf({1, 2})), 27.0L);
}

TEST(MatrixArithmetic, SumsScalingDivisionProductsAndSscpOnTheBlock) {
  const tMatrix A = MatrixOf({{1, 2}, {3, 4}});
  const tMatrix B = MatrixOf({{10, 20}, {30, 40}});
  tMatrix C = Filled(7);
  AddMatrices(A, B, 2, C);
  ExpectBlock(C, MatrixOf({{11, 22}, {33, 44}}), 2, 2, 0);
  EXPECT_EQ(C[3][3], 7.0L);  // outside the block: untouched

  SubtractMatrices(B, A, 2, C);
  ExpectBlock(C, MatrixOf({{9, 18}, {27, 36}}), 2, 2, 0);

  tMatrix D = A;
  ScaleMatrix(2, D, -3.0L);
  ExpectBlock(D, MatrixOf({{-3, -6}, {-9, -12}}), 2, 2, 0);

  DivideMatrix(2, B, C, 8.0);
  ExpectBlock(C, MatrixOf({{1.25, 2.5}, {3.75, 5}}), 2, 2, 0);

  tMatrix P;
  MultiplyMatrices(MatrixOf({{1, 2, 3}, {4, 5, 6}}), MatrixOf({{7, 8}, {9, 10}, {11, 12}}), 2, 3, 2, P);
  ExpectBlock(P, MatrixOf({{58, 64}, {139, 154}}), 2, 2, 0);
  EXPECT_TRUE(ZeroOutside(P, 2, 2));

  CorrelationToSscp(MatrixOf({{1, 0.5}, {0.5, 1}}), 2, 5, VectorOf({2, 3}), C);
  ExpectBlock(C, MatrixOf({{16, 12}, {12, 36}}), 2, 2, 0);
}

// An output that is the same object as an input must get the result of
// the operation on the input as it was on entry.
TEST(MatrixArithmetic, OutputMayAliasAnInput) {
  tMatrix A = MatrixOf({{1, 2}, {3, 4}});
  MultiplyMatrices(A, A, 2, 2, 2, A);
  ExpectBlock(A, MatrixOf({{7, 10}, {15, 22}}), 2, 2, 0);

  A = MatrixOf({{1, 2}, {3, 4}});
  AddMatrices(A, A, 2, A);
  ExpectBlock(A, MatrixOf({{2, 4}, {6, 8}}), 2, 2, 0);

  A = MatrixOf({{1, 2, 3}, {4, 5, 6}});
  TransposeMatrix(A, 2, 3, A);
  ExpectBlock(A, MatrixOf({{1, 4}, {2, 5}, {3, 6}}), 3, 2, 0);
  EXPECT_TRUE(ZeroOutside(A, 3, 2));

  A = MatrixOf({{4, 7}, {2, 6}});
  InvertMatrix(A, 2, A);
  ExpectBlock(A, MatrixOf({{0.6L, -0.7L}, {-0.2L, 0.4L}}), 2, 2, 1e-18L);

  A = MatrixOf({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  tSelectionMask mask;
  mask[2] = mask[3] = true;
  SelectSubmatrix(A, 3, mask, A);
  ExpectBlock(A, MatrixOf({{5, 6}, {8, 9}}), 2, 2, 0);
}

TEST(MatrixRearrangement, TransposeAndSelectionLeaveZerosOutsideTheResult) {
  tMatrix C = Filled(7);
  TransposeMatrix(MatrixOf({{1, 2, 3}}), 1, 3, C);
  ExpectBlock(C, MatrixOf({{1}, {2}, {3}}), 3, 1, 0);
  EXPECT_TRUE(ZeroOutside(C, 3, 1));

  tMatrix A = Filled(5);  // entries beyond the order must not leak in
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) A[i][j] = 10 * i + j;
  }
  tSelectionMask mask;
  mask[1] = mask[3] = mask[4] = true;
  mask[5] = true;  // beyond n = 4: ignored
  C = Filled(7);
  SelectSubmatrix(A, 4, mask, C);
  ExpectBlock(C, MatrixOf({{11, 13, 14}, {31, 33, 34}, {41, 43, 44}}), 3, 3, 0);
  EXPECT_TRUE(ZeroOutside(C, 3, 3));
}

TEST(MatrixRearrangement, PartitionIntoTaskAndCovariateBlocks) {
  tMatrix A;
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) A[i][j] = 10 * i + j;
  }
  tMatrix Att = Filled(7), Atc = Filled(7), Act = Filled(7), Acc = Filled(7);
  PartitionMatrix(A, 4, 2, Att, Atc, Act, Acc);
  ExpectBlock(Att, MatrixOf({{11, 12}, {21, 22}}), 2, 2, 0);
  ExpectBlock(Atc, MatrixOf({{13, 14}, {23, 24}}), 2, 2, 0);
  ExpectBlock(Act, MatrixOf({{13, 23}, {14, 24}}), 2, 2, 0);
  ExpectBlock(Acc, MatrixOf({{33, 34}, {43, 44}}), 2, 2, 0);
  for (const tMatrix* block : {&Att, &Atc, &Act, &Acc}) EXPECT_TRUE(ZeroOutside(*block, 2, 2));

  PartitionMatrix(A, 3, 1, Att, Atc, Act, Acc);
  ExpectBlock(Att, MatrixOf({{11}}), 1, 1, 0);
  ExpectBlock(Atc, MatrixOf({{12, 13}}), 1, 2, 0);
  ExpectBlock(Act, MatrixOf({{12}, {13}}), 2, 1, 0);
  ExpectBlock(Acc, MatrixOf({{22, 23}, {32, 33}}), 2, 2, 0);
  EXPECT_TRUE(ZeroOutside(Atc, 1, 2));
  EXPECT_TRUE(ZeroOutside(Acc, 2, 2));
}

TEST(InvertMatrix, InverseTimesMatrixIsIdentity) {
  // A symmetric positive definite matrix of order 5 with unequal scales.
  tMatrix A;
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 5; ++j) A[i][j] = 1.0L / (i + j - 1) + (i == j ? i : 0);
  }
  tMatrix C = Filled(3);
  InvertMatrix(A, 5, C);
  tMatrix product;
  MultiplyMatrices(A, C, 5, 5, 5, product);
  ExpectBlock(product, Identity(5), 5, 5, 1e-17L);
  EXPECT_TRUE(ZeroOutside(C, 5, 5));
}

TEST(InvertMatrix, ZeroLeadingEntryExchangesRows) {
  tMatrix C;
  InvertMatrix(MatrixOf({{0, 2}, {3, 1}}), 2, C);
  ExpectBlock(C, MatrixOf({{-1.0L / 6, 1.0L / 3}, {0.5L, 0}}), 2, 2, 1e-18L);

  const tMatrix A = MatrixOf({{0, 1, 2}, {0, 3, 1}, {4, 1, 1}});
  InvertMatrix(A, 3, C);
  tMatrix product;
  MultiplyMatrices(A, C, 3, 3, 3, product);
  ExpectBlock(product, Identity(3), 3, 3, 1e-17L);
}

// At the first column without an acceptable pivot the elimination stops:
// after column 1 of [[1,2,0],[2,4,0],[0,0,5]] column 2 has only zeros from
// the diagonal down, so row 3 is never scaled by 1/5. The first pivot is
// the first acceptable row, not the largest (which would be row 2).
TEST(InvertMatrix, SingularMatrixLeavesThePartiallyReducedIdentity) {
  tMatrix C = Filled(3);
  InvertMatrix(MatrixOf({{1, 2, 0}, {2, 4, 0}, {0, 0, 5}}), 3, C);
  ExpectBlock(C, MatrixOf({{1, 0, 0}, {-2, 1, 0}, {0, 0, 1}}), 3, 3, 0);
  EXPECT_TRUE(ZeroOutside(C, 3, 3));
}

TEST(InvertMatrix, PivotToleranceIsInclusive) {
  tMatrix C;
  InvertMatrix(MatrixOf({{1e-10L}}), 1, C);
  EXPECT_NEAR(C[1][1], 1e10L, 1e-6L);

  InvertMatrix(MatrixOf({{std::nextafter(1e-10L, 0.0L)}}), 1, C);
  EXPECT_EQ(C[1][1], 1.0L);  // no pivot: the identity is left as it was

  InvertMatrix(MatrixOf({{-2e-10L}}), 1, C);  // the magnitude counts
  EXPECT_NEAR(C[1][1], -5e9L, 1e-6L);
}

// The threshold is on the Cholesky pivots; a correlation of 0/0 (a
// variable without variance) must not pass.
TEST(IsPositiveDefinite, ThresholdOnTheCholeskyPivots) {
  for (int n = 1; n <= MatrixCapacity; ++n) EXPECT_TRUE(IsPositiveDefinite(n, Identity(n))) << n;
  const long double below = std::nextafter(1e-12L, 0.0L);
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  struct tCase {
    const char* what;
    tMatrix A;
    int n;
    bool positiveDefinite;
  };
  const tCase cases[] = {
      {"pivot 1 - 0.9999995^2 = 9.9999975e-7", MatrixOf({{1, 0.9999995L}, {0.9999995L, 1}}), 2, true},
      {"correlation 1", MatrixOf({{1, 1}, {1, 1}}), 2, false},
      {"variables 2 and 3 correlate 1", MatrixOf({{1, 0.5, 0.5}, {0.5, 1, 1}, {0.5, 1, 1}}), 3, false},
      {"valid-looking correlations, indefinite", MatrixOf({{1, 0.9, 0.9}, {0.9, 1, -0.9}, {0.9, -0.9, 1}}), 3,
       false},
      {"pivot at the tolerance", MatrixOf({{1e-12L}}), 1, true},
      {"pivot just below it", MatrixOf({{below}}), 1, false},
      {"second pivot at the tolerance", MatrixOf({{1, 0}, {0, 1e-12L}}), 2, true},
      {"second pivot just below it", MatrixOf({{1, 0}, {0, below}}), 2, false},
      {"negative diagonal", MatrixOf({{-1, 0}, {0, 1}}), 2, false},
      {"all NaN", MatrixOf({{nan, nan}, {nan, nan}}), 2, false},
      {"NaN correlation", MatrixOf({{1, nan}, {nan, 1}}), 2, false},
      {"NaN after a good pivot", MatrixOf({{1, 0, nan}, {0, 1, 0}, {nan, 0, 1}}), 3, false},
  };
  for (const tCase& c : cases) EXPECT_EQ(IsPositiveDefinite(c.n, c.A), c.positiveDefinite) << c.what;
}

TEST(ReportPrinters, MatrixAndVectorLines) {
  tLineList sink;
  sink.Add("earlier");
  PrintMatrix(MatrixOf({{1, 0.5, 9}, {-0.25, 12.345678, 9}, {9, 9, 9}}), 2, " Title:", sink);
  PrintVector(VectorOf({1, -2.5, 123456.7, 9}), 3, "v", sink);
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"earlier", " Title:", "   1.00000   0.50000   ",
                                                  "   -0.25000   12.34568   ", "", "v",
                                                  "   1.00000   -2.50000   123456.70000   "}));
}

// Inverse of a square matrix by Gauss-Jordan elimination.
#include <cmath>

#include "matrix/matrix_operations.h"

namespace {

void ExchangeRows(tMatrix& M, int a, int b, int n) {
  for (int j = 1; j <= n; ++j) {
    const extended held = M[a][j];
    M[a][j] = M[b][j];
    M[b][j] = held;
  }
}

}  // namespace

// Gauss-Jordan elimination on a working copy W of A, carrying the identity
// C along. The pivot of each column is the first row, from the diagonal
// down, whose entry is not below InversionPivotTolerance in magnitude
// (first-acceptable pivoting, not the largest entry). Without such a row
// the elimination stops and C stays as reduced so far.
void InvertMatrix(tMatrix A, int n, tMatrix& C) {
  tMatrix W = A;
  ClearMatrix(C);
  for (int i = 1; i <= n; ++i) C[i][i] = 1.0L;

  for (int c = 1; c <= n; ++c) {
    int pivotRow = c;
    while (pivotRow <= n && std::fabs(W[pivotRow][c]) < InversionPivotTolerance) ++pivotRow;
    if (pivotRow > n) return;

    ExchangeRows(W, pivotRow, c, n);
    ExchangeRows(C, pivotRow, c, n);

    const extended scale = 1.0L / W[c][c];
    for (int j = 1; j <= n; ++j) {
      W[c][j] = scale * W[c][j];
      C[c][j] = scale * C[c][j];
    }

    for (int row = 1; row <= n; ++row) {
      if (row == c) continue;
      const extended f = -W[row][c];
      for (int j = 1; j <= n; ++j) {
        W[row][j] = W[row][j] + f * W[c][j];
        C[row][j] = C[row][j] + f * C[c][j];
      }
    }
  }
}

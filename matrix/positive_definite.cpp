// Positive-definiteness test by Cholesky factorisation.
#include <cmath>

#include "matrix/matrix_operations.h"

namespace {

// A Cholesky pivot passes when it is at least the tolerance. Written as a
// negated comparison so that a pivot that is not a number fails: a
// correlation matrix from a variable with zero variance holds 0/0 entries,
// and such a matrix must not pass as positive definite.
bool PivotFails(extended pivot) { return !(pivot >= PositiveDefinitePivotTolerance); }

}  // namespace

// Cholesky factorisation A = L L' of the lower triangle of the order-n
// block, column by column; false at the first pivot below the tolerance.
// The factor itself is discarded.
bool IsPositiveDefinite(int n, tMatrix A) {
  tMatrix L;
  if (PivotFails(A[1][1])) return false;
  L[1][1] = std::sqrt(A[1][1]);
  for (int i = 2; i <= n; ++i) L[i][1] = A[i][1] / L[1][1];

  for (int j = 2; j <= n; ++j) {
    extended squares = 0.0L;
    for (int m = 1; m <= j - 1; ++m) squares += L[j][m] * L[j][m];
    const extended pivot = A[j][j] - squares;
    if (PivotFails(pivot)) return false;
    L[j][j] = std::sqrt(pivot);
    for (int i = j + 1; i <= n; ++i) {
      extended products = 0.0L;
      for (int m = 1; m <= j - 1; ++m) products += L[j][m] * L[i][m];
      L[i][j] = (A[i][j] - products) / L[j][j];
    }
  }
  return true;
}

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

bool CholeskyFactor(const tMatrix& A, int n, tMatrix& L) {
  bool passed = true;
  for (int j = 1; j <= n; ++j) {
    extended pivot = A[j][j];
    for (int q = 1; q < j; ++q) pivot -= L[j][q] * L[j][q];
    if (PivotFails(pivot)) passed = false;
    L[j][j] = std::sqrt(pivot);
    for (int i = j + 1; i <= n; ++i) {
      extended entry = A[i][j];
      for (int q = 1; q < j; ++q) entry -= L[i][q] * L[j][q];
      L[i][j] = entry / L[j][j];
    }
  }
  return passed;
}

// The factor itself is discarded.
bool IsPositiveDefinite(int n, tMatrix A) {
  tMatrix L;
  return CholeskyFactor(A, n, L);
}

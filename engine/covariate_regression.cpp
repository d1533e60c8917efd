// Regression of task variables on covariates from summary statistics.
#include "engine/covariate_regression.h"

#include <cmath>

#include "matrix/matrix_operations.h"

namespace {

// The inverse of the order-n positive definite block of A by its Cholesky
// factor L (A = L L'): A^-1 = L^-T L^-1, column by column. On a correlation
// matrix every pivot is at most 1 and no scale can push one below a fixed
// threshold, as Gauss-Jordan's pivot test could.
void InvertPositiveDefinite(const tMatrix& A, int n, tMatrix& inverse) {
  tMatrix L;
  CholeskyFactor(A, n, L);  // the caller has tested A
  ClearMatrix(inverse);
  for (int column = 1; column <= n; ++column) {
    // L y = e_column, then L' x = y.
    extended y[MatrixCapacity + 1] = {};
    for (int i = column; i <= n; ++i) {
      extended entry = i == column ? 1 : 0;
      for (int q = column; q < i; ++q) entry -= L[i][q] * y[q];
      y[i] = entry / L[i][i];
    }
    for (int i = n; i >= 1; --i) {
      extended entry = y[i];
      for (int q = i + 1; q <= n; ++q) entry -= L[q][i] * inverse[q][column];
      inverse[i][column] = entry / L[i][i];
    }
  }
}

}  // namespace

// Everything is formed about the means and on the scale of the
// correlations, where nothing is lost: with D_c and D_t the diagonal
// matrices of the covariate and task SDs and W = Rcc^-1 Rct,
//   slopes      B_c = D_c^-1 W D_t,
//   intercepts  m_t - B_c' m_c,
//   residuals   S = (N - 1) D_t (Rtt - Rtc W) D_t / (N - k - 1),
//   X'X^-1      [[1/N + m_c' C m_c, -(C m_c)'], [-C m_c, C]] with
//               C = D_c^-1 Rcc^-1 D_c^-1 / (N - 1), the inverse of the
//               centred cross products.
// The same quantities as the normal equations of the raw cross products
// X'X = [[N, N m_c'], [N m_c, (N - 1) D_c Rcc D_c + N m_c m_c']], which lose
// the centred part beside N m_c m_c' once a covariate's mean is large
// against its SD (a mean/SD of 1e6 cost the t value its 8th digit).
void FitCovariateRegression(tMatrix R, tVector sds, tVector means, int p, int k, int N, tMatrix& B,
                            tMatrix& S, tMatrix& XtXinv) {
  ClearMatrix(B);
  ClearMatrix(S);
  ClearMatrix(XtXinv);
  const extended n = N;

  tMatrix Rtt, Rtc, Rct, Rcc, RccInverse;
  PartitionMatrix(R, p + k, p, Rtt, Rtc, Rct, Rcc);
  InvertPositiveDefinite(Rcc, k, RccInverse);

  // W = Rcc^-1 Rct (k x p), the slopes on the standardised scale.
  tMatrix W;
  MultiplyMatrices(RccInverse, Rct, k, k, p, W);

  for (int j = 1; j <= p; ++j) {
    const extended taskSd = sds[j];
    extended intercept = means[j];
    for (int i = 1; i <= k; ++i) {
      const extended slope = W[i][j] * taskSd / sds[p + i];
      B[i + 1][j] = slope;
      intercept -= slope * means[p + i];
    }
    B[1][j] = intercept;
  }

  // Residual covariances: (N - 1) s_a s_b (Rtt - Rtc W)[a][b] / (N - k - 1).
  for (int a = 1; a <= p; ++a) {
    for (int b = 1; b <= p; ++b) {
      extended partial = Rtt[a][b];
      for (int i = 1; i <= k; ++i) partial -= Rtc[a][i] * W[i][b];
      S[a][b] = (n - 1) * sds[a] * sds[b] * partial / (n - k - 1);
    }
  }

  // C = D_c^-1 Rcc^-1 D_c^-1 / (N - 1) and C m_c.
  extended Cm[MatrixCapacity + 1] = {};
  for (int i = 1; i <= k; ++i) {
    for (int j = 1; j <= k; ++j) {
      const extended c = RccInverse[i][j] / (sds[p + i] * sds[p + j] * (n - 1));
      XtXinv[i + 1][j + 1] = c;
      Cm[i] += c * means[p + j];
    }
  }
  extended corner = 1 / n;
  for (int i = 1; i <= k; ++i) {
    corner += means[p + i] * Cm[i];
    XtXinv[1][i + 1] = XtXinv[i + 1][1] = -Cm[i];
  }
  XtXinv[1][1] = corner;
}

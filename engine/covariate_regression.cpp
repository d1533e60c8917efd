// Regression of task variables on covariates from summary statistics.
#include "engine/covariate_regression.h"

#include "matrix/matrix_operations.h"

// Rebuilds the cross products raw data with an intercept column would
// give (X'X, X'Y, Y'Y) from means, SDs and correlations, solves the normal
// equations through the explicit inverse of X'X and forms the residual
// sums of squares and products as Y'Y - 2 B'X'Y + B'X'X B, in that order
// of operations (the results are reproducible only with this order).
void FitCovariateRegression(tMatrix R, tVector sds, tVector means, int p, int k, int N, tMatrix& B,
                            tMatrix& S, tMatrix& XtXinv) {
  const extended n = N;

  // Outputs and working storage start cleared; means and SDs are split
  // into the task part (1..p) and the covariate part (p + 1..p + k).
  ClearMatrix(B);
  ClearMatrix(S);
  ClearMatrix(XtXinv);
  tVector taskMeans, taskSds, covariateMeans, covariateSds;
  FillVector(MatrixCapacity, taskMeans, 0.0L);
  FillVector(MatrixCapacity, taskSds, 0.0L);
  FillVector(MatrixCapacity, covariateMeans, 0.0L);
  FillVector(MatrixCapacity, covariateSds, 0.0L);
  for (int i = 1; i <= p; ++i) {
    taskMeans[i] = means[i];
    taskSds[i] = sds[i];
  }
  for (int i = 1; i <= k; ++i) {
    covariateMeans[i] = means[p + i];
    covariateSds[i] = sds[p + i];
  }

  tMatrix Rtt, Rtc, Rct, Rcc;
  PartitionMatrix(R, p + k, p, Rtt, Rtc, Rct, Rcc);

  // Corrected sums of squares and products of the covariates and tasks.
  tMatrix Scc, Stt;
  CorrelationToSscp(Rcc, k, N, covariateSds, Scc);
  CorrelationToSscp(Rtt, p, N, taskSds, Stt);

  // Raw covariate cross products.
  tMatrix A;
  for (int i = 1; i <= k; ++i) {
    for (int j = 1; j <= k; ++j) A[i][j] = n * covariateMeans[i] * covariateMeans[j] + Scc[i][j];
  }

  // X'X with the intercept column first.
  tMatrix XtX;
  XtX[1][1] = n;
  for (int j = 2; j <= k + 1; ++j) XtX[1][j] = n * covariateMeans[j - 1];
  for (int i = 2; i <= k + 1; ++i) XtX[i][1] = n * covariateMeans[i - 1];
  for (int i = 2; i <= k + 1; ++i) {
    for (int j = 2; j <= k + 1; ++j) XtX[i][j] = A[i - 1][j - 1];
  }

  tMatrix YtY;
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) YtY[i][j] = n * taskMeans[i] * taskMeans[j] + Stt[i][j];
  }

  tMatrix XtY;
  for (int j = 1; j <= p; ++j) XtY[1][j] = n * taskMeans[j];
  for (int i = 2; i <= k + 1; ++i) {
    for (int j = 1; j <= p; ++j) {
      XtY[i][j] = (n - 1.0L) * covariateSds[i - 1] * Rct[i - 1][j] * taskSds[j] +
                  n * covariateMeans[i - 1] * taskMeans[j];
    }
  }

  InvertMatrix(XtX, k + 1, XtXinv);
  MultiplyMatrices(XtXinv, XtY, k + 1, k + 1, p, B);

  // Residual sums of squares and products: Y'Y - 2 B'X'Y + B'X'X B.
  tMatrix Bt, K, E1, M1, M2, SSE;
  TransposeMatrix(B, k + 1, p, Bt);
  MultiplyMatrices(Bt, XtY, p, k + 1, p, K);
  ScaleMatrix(p, K, 2.0L);
  SubtractMatrices(YtY, K, p, E1);
  MultiplyMatrices(Bt, XtX, p, k + 1, k + 1, M1);
  MultiplyMatrices(M1, B, p, k + 1, p, M2);
  AddMatrices(E1, M2, p, SSE);

  DivideMatrix(p, SSE, S, static_cast<double>(N - k - 1));
}

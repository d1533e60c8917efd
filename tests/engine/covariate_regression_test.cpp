#include "engine/covariate_regression.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/matrix/matrix_test_support.h"

namespace {

struct Fit {
  tMatrix B = Filled(7), S = Filled(7), XtXinv = Filled(7);  // stale contents must go
};

Fit FitOf(const tMatrix& R, const tVector& sds, const tVector& means, int p, int k, int N) {
  Fit fit;
  FitCovariateRegression(R, sds, means, p, k, N, fit.B, fit.S, fit.XtXinv);
  return fit;
}

// One task on one covariate with correlation r.
Fit OneCovariateFit(long double r, long double sdY, long double sdX, long double meanY, long double meanX, int N) {
  tMatrix R;
  R[1][1] = R[2][2] = 1;
  R[1][2] = R[2][1] = r;
  tVector sds, means;
  sds[1] = sdY, sds[2] = sdX;
  means[1] = meanY, means[2] = meanX;
  return FitOf(R, sds, means, 1, 1, N);
}

}  // namespace

// One covariate in closed form: slope r sdY / sdX, residual variance
// (1 - r^2) sdY^2 (N - 1) / (N - 2). The worked case (N = 10; task mean 50,
// SD 10; covariate mean 10, SD 2; r = 0.6) has X'X = [[10, 100], [100,
// 1036]], X'Y = (500, 5108), Y'Y = 25900: the fit 20 + 3 x, residual sum
// of squares 576 on 8 df.
TEST(FitCovariateRegression, OneCovariateClosedFormAndTheWorkedCase) {
  for (auto [r, N] : {std::pair{0.6L, 10}, {-0.35L, 30}}) {
    const Fit fit = OneCovariateFit(r, 10, 2, 50, 10, N);
    const long double slope = r * 10 / 2;
    EXPECT_NEAR(fit.B[2][1], slope, 1e-14L) << r;
    EXPECT_NEAR(fit.B[1][1], 50 - slope * 10, 1e-12L) << r;
    EXPECT_NEAR(fit.S[1][1], (1 - r * r) * 100 * (N - 1) / (N - 2), 1e-11L) << r;
    EXPECT_TRUE(ZeroOutside(fit.B, 2, 1));
    EXPECT_TRUE(ZeroOutside(fit.S, 1, 1));
    EXPECT_TRUE(ZeroOutside(fit.XtXinv, 2, 2));
  }
  const Fit fit = OneCovariateFit(0.6L, 10, 2, 50, 10, 10);
  EXPECT_NEAR(fit.B[1][1], 20.0L, 1e-12L);
  EXPECT_NEAR(fit.S[1][1], 72.0L, 1e-11L);
  EXPECT_NEAR(fit.XtXinv[1][1], 259.0L / 90, 1e-15L);
  EXPECT_NEAR(fit.XtXinv[1][2], -5.0L / 18, 1e-15L);
  EXPECT_NEAR(fit.XtXinv[2][1], -5.0L / 18, 1e-15L);
  EXPECT_NEAR(fit.XtXinv[2][2], 1.0L / 36, 1e-16L);
  // X'X times the returned inverse is the identity.
  const long double XtX[3][3] = {{}, {0, 10, 100}, {0, 100, 1036}};
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) {
      const long double entry = XtX[i][1] * fit.XtXinv[1][j] + XtX[i][2] * fit.XtXinv[2][j];
      EXPECT_NEAR(entry, i == j ? 1.0L : 0.0L, 1e-14L);
    }
  }
}

// Covariates uncorrelated with the task (though correlated among
// themselves): the intercept is the task mean, the slopes vanish and the
// residual variance is the task variance rescaled to N - k - 1 df.
TEST(FitCovariateRegression, CovariatesUncorrelatedWithTheTask) {
  const int k = 3, N = 25;
  tMatrix R;
  for (int i = 1; i <= k + 1; ++i) R[i][i] = 1;
  R[2][3] = R[3][2] = 0.3L;
  R[2][4] = R[4][2] = -0.2L;
  R[3][4] = R[4][3] = 0.1L;
  tVector sds, means;
  const long double sd[] = {0, 10, 2, 5, 3}, mean[] = {0, 50, 10, 20, 30};
  for (int i = 1; i <= k + 1; ++i) {
    sds[i] = sd[i];
    means[i] = mean[i];
  }
  const Fit fit = FitOf(R, sds, means, 1, k, N);

  EXPECT_NEAR(fit.B[1][1], 50.0L, 1e-12L);
  for (int i = 2; i <= k + 1; ++i) EXPECT_NEAR(fit.B[i][1], 0.0L, 1e-13L) << i;
  EXPECT_NEAR(fit.S[1][1], 100.0L * (N - 1) / (N - k - 1), 1e-11L);
  EXPECT_TRUE(ZeroOutside(fit.B, k + 1, 1));
  EXPECT_TRUE(ZeroOutside(fit.XtXinv, k + 1, k + 1));
}

// Two tasks on two covariates against ordinary least squares on the raw
// data behind the summary statistics: centred normal equations solved by
// Cramer's rule, residual cross products summed person by person.
TEST(FitCovariateRegression, TwoTasksAgreeWithLeastSquaresOnRawData) {
  constexpr int N = 9, p = 2, k = 2, v = p + k;
  // Columns: task 1, task 2, covariate 1, covariate 2.
  const long double data[N][v] = {{52, 31, 12, 101}, {47, 35, 9, 98},   {61, 30, 15, 110},
                                   {55, 41, 13, 95},  {40, 28, 8, 105},  {58, 36, 14, 99},
                                   {49, 33, 11, 104}, {63, 39, 16, 97},  {45, 29, 10, 108}};
  long double mean[v] = {}, cross[v][v] = {};
  for (const auto& row : data) {
    for (int a = 0; a < v; ++a) mean[a] += row[a] / N;
  }
  for (const auto& row : data) {
    for (int a = 0; a < v; ++a) {
      for (int b = 0; b < v; ++b) cross[a][b] += (row[a] - mean[a]) * (row[b] - mean[b]);
    }
  }
  tMatrix R;
  tVector sds, means;
  for (int a = 0; a < v; ++a) {
    sds[a + 1] = std::sqrt(cross[a][a] / (N - 1));
    means[a + 1] = mean[a];
    for (int b = 0; b < v; ++b) {
      R[a + 1][b + 1] = cross[a][b] / std::sqrt(cross[a][a] * cross[b][b]);
    }
  }
  const Fit fit = FitOf(R, sds, means, p, k, N);

  const long double det = cross[2][2] * cross[3][3] - cross[2][3] * cross[3][2];
  long double residual[p][p] = {};
  long double slope[p][k], intercept[p];
  for (int t = 0; t < p; ++t) {
    slope[t][0] = (cross[3][3] * cross[2][t] - cross[2][3] * cross[3][t]) / det;
    slope[t][1] = (cross[2][2] * cross[3][t] - cross[3][2] * cross[2][t]) / det;
    intercept[t] = mean[t] - slope[t][0] * mean[2] - slope[t][1] * mean[3];
    EXPECT_NEAR(fit.B[1][t + 1], intercept[t], 1e-11L) << "task " << t + 1;
    EXPECT_NEAR(fit.B[2][t + 1], slope[t][0], 1e-13L);
    EXPECT_NEAR(fit.B[3][t + 1], slope[t][1], 1e-13L);
  }
  for (const auto& row : data) {
    long double e[p];
    for (int t = 0; t < p; ++t) {
      e[t] = row[t] - intercept[t] - slope[t][0] * row[2] - slope[t][1] * row[3];
    }
    for (int a = 0; a < p; ++a) {
      for (int b = 0; b < p; ++b) residual[a][b] += e[a] * e[b];
    }
  }
  for (int a = 0; a < p; ++a) {
    for (int b = 0; b < p; ++b) {
      EXPECT_NEAR(fit.S[a + 1][b + 1], residual[a][b] / (N - k - 1), 1e-10L) << a << "," << b;
    }
  }

  // X'X of the design (ones, covariate 1, covariate 2) times the inverse.
  long double XtX[k + 1][k + 1] = {};
  for (const auto& row : data) {
    const long double x[k + 1] = {1, row[2], row[3]};
    for (int a = 0; a <= k; ++a) {
      for (int b = 0; b <= k; ++b) XtX[a][b] += x[a] * x[b];
    }
  }
  for (int a = 0; a <= k; ++a) {
    for (int b = 0; b <= k; ++b) {
      long double entry = 0;
      for (int c = 0; c <= k; ++c) entry += XtX[a][c] * fit.XtXinv[c + 1][b + 1];
      EXPECT_NEAR(entry, a == b ? 1.0L : 0.0L, 1e-12L);
    }
  }
  EXPECT_TRUE(ZeroOutside(fit.B, k + 1, p));
  EXPECT_TRUE(ZeroOutside(fit.S, p, p));
}

// Moving every covariate's scores by a constant changes only the
// intercepts: slopes, residual variance and the covariate block of the
// inverse cross products stay. With the covariate means 1e8 SDs from 0 the
// raw cross products N m m' + SSCP lost the SSCP below their rounding.
TEST(FitCovariateRegression, CovariateMeansFarFromZeroLoseNothing) {
  const int k = 2, N = 40;
  tMatrix R;
  R[1][1] = R[2][2] = R[3][3] = 1;
  R[1][2] = R[2][1] = 0.6L;
  R[1][3] = R[3][1] = 0.3L;
  R[2][3] = R[3][2] = -0.2L;
  tVector sds, near, far;
  sds[1] = 10, sds[2] = 5e-4L, sds[3] = 2;
  near[1] = far[1] = 50;
  near[2] = 0.01L, far[2] = 5e4L;  // 1e8 SDs
  near[3] = 3, far[3] = 2e6L;      // 1e6 SDs
  const Fit a = FitOf(R, sds, near, 1, k, N), b = FitOf(R, sds, far, 1, k, N);
  for (int i = 2; i <= k + 1; ++i) {
    EXPECT_NEAR(b.B[i][1], a.B[i][1], 1e-16L * std::fabs(a.B[i][1])) << i;
    for (int j = 2; j <= k + 1; ++j)
      EXPECT_NEAR(b.XtXinv[i][j], a.XtXinv[i][j], 1e-16L * std::fabs(a.XtXinv[i][j])) << i << j;
  }
  EXPECT_NEAR(b.S[1][1], a.S[1][1], 1e-16L * a.S[1][1]);
  EXPECT_NEAR(b.B[1][1], 50 - b.B[2][1] * far[2] - b.B[3][1] * far[3], 1e-9L);
}

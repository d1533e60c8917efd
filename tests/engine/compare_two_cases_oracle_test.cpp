// Independent check of CompareTwoCases on generated inputs. The second route
// fits the regression in centred form (covariate correlations solved by
// Cholesky), takes the probabilities from Boost.Math's Student t, normal and
// chi-square, and finds the noncentralities with Boost's noncentral t and a
// TOMS 748 root finder.
#include <gtest/gtest.h>

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>

#include "engine/compare_two_cases.h"
#include "oracle_noncentrality.h"

namespace {

using boost::math::cdf;
using boost::math::complement;
using boost::math::quantile;

constexpr int CaseCount = 300;
// Generated pairs whose observed value on the noncentral t scale would be
// beyond this are drawn again: the second route's noncentral t slows and
// loses digits there (the 50-digit reference test covers large values).
constexpr long double LargestObservedValue = 400;

struct tInputs {
  int k = 1, n = 3;
  tVector caseA, caseB, sds, means;
  tMatrix R;
  long double level = 95;
  bool twoSided = true;
};

// Cholesky factor L (lower) of the leading order-m block of A, in place.
void Cholesky(long double A[20][20], int m) {
  for (int j = 0; j < m; ++j) {
    long double s = A[j][j];
    for (int p = 0; p < j; ++p) s -= A[j][p] * A[j][p];
    A[j][j] = std::sqrt(s);
    for (int i = j + 1; i < m; ++i) {
      long double t = A[i][j];
      for (int p = 0; p < j; ++p) t -= A[i][p] * A[j][p];
      A[i][j] = t / A[j][j];
    }
  }
}

// Solves L L' x = b.
void CholeskySolve(long double L[20][20], int m, const long double* b, long double* x) {
  long double y[20];
  for (int i = 0; i < m; ++i) {
    long double s = b[i];
    for (int p = 0; p < i; ++p) s -= L[i][p] * y[p];
    y[i] = s / L[i][i];
  }
  for (int i = m - 1; i >= 0; --i) {
    long double s = y[i];
    for (int p = i + 1; p < m; ++p) s -= L[p][i] * x[p];
    x[i] = s / L[i][i];
  }
}

// The covariate part of the centred regression.
struct tCentredFit {
  long double slopes[20];  // per covariate, raw units
  long double s2;          // residual variance, divisor n - k - 1
  long double L[20][20];   // Cholesky factor of the covariate correlations
};

tCentredFit FitCentred(const tInputs& in) {
  tCentredFit fit{};
  int k = in.k;
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) fit.L[i][j] = in.R[i + 2][j + 2];
  Cholesky(fit.L, k);
  long double rct[20], w[20];
  for (int i = 0; i < k; ++i) rct[i] = in.R[i + 2][1];
  CholeskySolve(fit.L, k, rct, w);
  long double explained = 0;
  for (int i = 0; i < k; ++i) {
    explained += rct[i] * w[i];
    fit.slopes[i] = in.sds[1] * w[i] / in.sds[i + 2];
  }
  fit.s2 = in.sds[1] * in.sds[1] * (1 - explained) * (in.n - 1) / (in.n - k - 1);
  return fit;
}

struct tExpected {
  bool equal;
  long double df, tValue, zPccc, v, cStar, conditionalSd;
  double pOne, pTwo, pct, zLower, zUpper, pctLower, pctUpper;
};

tExpected Expect(const tInputs& in, const tCentredFit& fit) {
  tExpected e{};
  int k = in.k;
  int wholeDf = in.n - k - 1;
  e.df = wholeDf;
  e.conditionalSd = std::sqrt(fit.s2);
  long double diff = in.caseA[1] - in.caseB[1];
  long double rhs = 0, u[20], w[20];
  e.equal = true;
  for (int i = 0; i < k; ++i) {
    long double d = in.caseA[i + 2] - in.caseB[i + 2];
    if (d != 0) e.equal = false;
    rhs += fit.slopes[i] * d;
    u[i] = d / in.sds[i + 2];
  }
  boost::math::normal normal;
  double pHigh = in.twoSided ? (1 - in.level / 100) / 2 : 1 - in.level / 100;
  double pLow = in.twoSided ? pHigh + in.level / 100 : in.level / 100;

  long double num = e.equal ? diff : diff - rhs;
  long double s = std::sqrt(fit.s2);
  e.zPccc = num / (s * std::sqrt(2.0L));
  if (e.equal) {
    e.v = 0;
    e.tValue = e.zPccc;
  } else {
    // (X'X)^-1 restricted to covariate differences is the inverse of the
    // centred cross products (n - 1) D Rcc D.
    CholeskySolve(const_cast<long double(*)[20]>(fit.L), k, u, w);
    long double q = 0;
    for (int i = 0; i < k; ++i) q += u[i] * w[i];
    e.v = q / (in.n - 1);
    e.tValue = num / std::sqrt(fit.s2 * (2 + e.v));
    e.cStar = std::sqrt(2 / e.v) * e.zPccc;
  }
  double t = static_cast<double>(e.tValue);
  boost::math::students_t student(wholeDf);
  e.pOne = t >= 0 ? cdf(complement(student, t)) : cdf(student, t);
  e.pTwo = 2 * e.pOne;
  e.pct = 100 * e.pOne;

  if (e.equal) {
    double a = quantile(boost::math::chi_squared(wholeDf), pLow);
    double b = quantile(boost::math::chi_squared(wholeDf), pHigh);
    double scale = static_cast<double>(diff / std::sqrt(2 * e.df * fit.s2));
    double z1 = scale * std::sqrt(a), z2 = scale * std::sqrt(b);
    if (diff >= 0) {
      e.zUpper = z1; e.zLower = z2;
      e.pctLower = 100 * cdf(complement(normal, z1));
      e.pctUpper = 100 * cdf(complement(normal, z2));
    } else {
      e.zLower = z1; e.zUpper = z2;
      e.pctLower = 100 * cdf(normal, z1);
      e.pctUpper = 100 * cdf(normal, z2);
    }
  } else {
    double x = static_cast<double>(e.cStar);
    double half = static_cast<double>(std::sqrt(e.v / 2));
    e.zLower = half * OracleNoncentrality(wholeDf, x, pLow);
    e.zUpper = half * OracleNoncentrality(wholeDf, x, pHigh);
    if (e.zPccc >= 0) {
      e.pctLower = 100 * cdf(complement(normal, e.zUpper));
      e.pctUpper = 100 * cdf(complement(normal, e.zLower));
    } else {
      e.pctLower = 100 * cdf(normal, e.zLower);
      e.pctUpper = 100 * cdf(normal, e.zUpper);
    }
  }
  return e;
}

// A correlation matrix of order m from A A' + eps I, with A of m x rank
// normal entries: eps from 10 (weak correlations) down to 1e-5 with a rank
// below m (near-singular).
tMatrix RandomCorrelation(std::mt19937_64& rng, int m) {
  std::normal_distribution<double> gauss;
  std::uniform_int_distribution<int> rankDraw(1, m);
  std::uniform_real_distribution<double> logEps(-5, 1);
  int rank = rankDraw(rng);
  double A[20][20];
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < rank; ++j) A[i][j] = gauss(rng);
  long double eps = std::pow(10.0L, logEps(rng));
  long double sigma[20][20];
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < m; ++j) {
      long double s = i == j ? eps : 0;
      for (int p = 0; p < rank; ++p) s += static_cast<long double>(A[i][p]) * A[j][p];
      sigma[i][j] = s;
    }
  tMatrix R;
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < m; ++j)
      R[i + 1][j + 1] = i == j ? 1 : sigma[i][j] / std::sqrt(sigma[i][i] * sigma[j][j]);
  return R;
}

int RandomSampleSize(std::mt19937_64& rng, int k) {
  std::uniform_int_distribution<int> kind(0, 9);
  switch (kind(rng)) {
    case 0: return k + 2;  // df = 1
    case 1: return std::uniform_int_distribution<int>(1002 + k, 2000)(rng);  // df > 1000
    default: {
      std::uniform_real_distribution<double> logN(std::log(k + 3.0), std::log(2000.0));
      return static_cast<int>(std::lround(std::exp(logN(rng))));
    }
  }
}

TEST(CompareTwoCasesOracle, AgreesWithAnIndependentRouteOnGeneratedInputs) {
  std::mt19937_64 rng(0x5eed2024);
  std::normal_distribution<double> gauss;
  std::uniform_real_distribution<double> unit(0, 1);
  double worstT = 0, worstP = 0, worstPct = 0, worstZ = 0, worstLimitPct = 0, worstOwnPct = 0;
  int general = 0, equal = 0, large = 0, oneDf = 0;
  double largestV = 0;
  auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < CaseCount; ++i) {
    tInputs in;
    in.k = 1 + i % 5;
    in.n = RandomSampleSize(rng, in.k);
    in.R = RandomCorrelation(rng, in.k + 1);
    for (int j = 1; j <= in.k + 1; ++j) {
      in.sds[j] = 0.5 + 20 * unit(rng);
      in.means[j] = 100 * unit(rng);
    }
    in.twoSided = i % 2 == 0;
    in.level = unit(rng) < 0.1 ? (unit(rng) < 0.5 ? 90 : 99) : 95;
    bool wantEqual = unit(rng) < 0.25;
    // Now and then cases far apart on the covariates (large v).
    double separation = unit(rng) < 0.2 ? 4 : 1;
    tCentredFit fit = FitCentred(in);

    // Cases drawn around the regression; Case B is drawn again while the
    // observed value on the noncentral t scale is beyond the cap.
    tExpected e;
    for (int attempt = 0;; ++attempt) {
      ASSERT_LT(attempt, 1000);
      long double predictedA = in.means[1], predictedB = in.means[1];
      for (int j = 0; j < in.k; ++j) {
        in.caseA[j + 2] = in.means[j + 2] + in.sds[j + 2] * gauss(rng);
        in.caseB[j + 2] = wantEqual ? in.caseA[j + 2] : in.means[j + 2] + separation * in.sds[j + 2] * gauss(rng);
        predictedA += fit.slopes[j] * (in.caseA[j + 2] - in.means[j + 2]);
        predictedB += fit.slopes[j] * (in.caseB[j + 2] - in.means[j + 2]);
      }
      long double spread = 1 + 2 * unit(rng);
      in.caseA[1] = predictedA + std::sqrt(fit.s2) * spread * gauss(rng);
      in.caseB[1] = predictedB + std::sqrt(fit.s2) * spread * gauss(rng);
      e = Expect(in, fit);
      if (e.equal || std::fabs(e.cStar) <= LargestObservedValue) break;
    }

    AnalysisResults r;
    long double conditionalSd;
    tLineList report;
    CompareTwoCases(in.k, in.n, in.caseA, in.caseB, in.sds, in.means, in.R, in.level, in.twoSided, r,
                    conditionalSd, report, false);

    SCOPED_TRACE(testing::Message() << "case " << i << ": k " << in.k << ", n " << in.n << ", "
                                    << (e.equal ? "equal covariates" : "general") << ", "
                                    << (in.twoSided ? "two-sided " : "one-sided ") << (double)in.level
                                    << ", c* " << (double)e.cStar << ", v " << (double)e.v);
    (e.equal ? equal : general)++;
    if (e.df > 1000) large++;
    if (e.df == 1) oneDf++;
    largestV = std::max(largestV, (double)e.v);

    EXPECT_EQ(r.df, e.df);
    EXPECT_NEAR(conditionalSd, e.conditionalSd, 1e-9 * e.conditionalSd);
    // Some generated correlation matrices are nearly singular (condition
    // numbers to 1e7), which both routes' regressions feel.
    EXPECT_NEAR(r.tValue, e.tValue, 1e-9 * std::max(1.0, std::fabs((double)e.tValue)));
    EXPECT_NEAR(r.zPccc, e.zPccc, 1e-9 * std::max(1.0, std::fabs((double)e.zPccc)));
    worstT = std::max(worstT, (double)std::fabs(r.tValue - e.tValue));
    EXPECT_NEAR(r.pOneTailed, e.pOne, 1e-10);
    EXPECT_NEAR(r.pTwoTailed, e.pTwo, 2e-10);
    EXPECT_NEAR(r.pctEstimate, e.pct, 1e-8);
    worstP = std::max(worstP, std::fabs((double)r.pOneTailed - e.pOne));

    // The limits on the Z-PCCC scale within 1e-9 of their size (the
    // second route is itself good to about 1e-13); the percentages move
    // with them by at most 100 phi(0) = 40 per unit.
    double scale = std::max({1.0, std::fabs(e.zLower), std::fabs(e.zUpper)});
    EXPECT_NEAR(r.zPcccLower, e.zLower, 1e-9 * scale);
    EXPECT_NEAR(r.zPcccUpper, e.zUpper, 1e-9 * scale);
    EXPECT_NEAR(r.pctLower, e.pctLower, 40e-9 * scale);
    EXPECT_NEAR(r.pctUpper, e.pctUpper, 40e-9 * scale);
    worstZ = std::max({worstZ, std::fabs((double)r.zPcccLower - e.zLower) / scale,
                       std::fabs((double)r.zPcccUpper - e.zUpper) / scale});
    worstLimitPct = std::max({worstLimitPct, std::fabs((double)r.pctLower - e.pctLower),
                              std::fabs((double)r.pctUpper - e.pctUpper)});
    // The percentages against the engine's own limits: this isolates the
    // standard normal tail and the choice of tail (Boost's double normal
    // is good to a few units of the last place).
    boost::math::normal normal;
    double lower = (double)r.zPcccLower, upper = (double)r.zPcccUpper;
    bool positive = e.equal ? e.tValue >= 0 : e.zPccc >= 0;
    double ownLower = 100 * (positive ? cdf(complement(normal, upper)) : cdf(normal, lower));
    double ownUpper = 100 * (positive ? cdf(complement(normal, lower)) : cdf(normal, upper));
    EXPECT_NEAR(r.pctLower, ownLower, 1e-12);
    EXPECT_NEAR(r.pctUpper, ownUpper, 1e-12);
    worstOwnPct = std::max({worstOwnPct, std::fabs((double)r.pctLower - ownLower), std::fabs((double)r.pctUpper - ownUpper)});
    worstPct = std::max(worstPct, std::fabs((double)r.pctEstimate - e.pct));
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_GT(general, CaseCount / 2);
  EXPECT_GT(equal, CaseCount / 10);
  EXPECT_GT(large, 0);
  EXPECT_GT(oneDf, 0);
  std::printf("oracle: %d cases (%d general, %d equal covariates, %d with df > 1000, %d with df = 1, largest v %.3g) in %.1f s\n"
              "worst |t| %.3g, |p| %.3g, |pct| %.3g, Z-PCCC limits (relative) %.3g, pct limits %.3g, "
              "pct limits from own Z %.3g\n",
              CaseCount, general, equal, large, oneDf, largestV, seconds, worstT, worstP, worstPct, worstZ, worstLimitPct,
              worstOwnPct);
}

}  // namespace

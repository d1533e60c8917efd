// One CompareTwoCases call (two-sided, at the programs' confidence level)
// for one and five covariates, on the general branch and on the
// equal-covariates branch; and with 2,000 controls and covariate
// differences so small that the noncentrality of the limits is 1e3 to 1e6.
#include <benchmark/benchmark.h>

#include <cmath>

#include "engine/compare_two_cases.h"
#include "worksheet/logic/program_profile.h"

namespace {

struct tControls {
  int k;
  int n;
  tVector sds, means;
  tMatrix R;
};

// One covariate: n = 10, task mean 50 SD 10, covariate mean 10 SD 2, r = 0.6.
tControls OneCovariate() {
  tControls c{1, 10, {}, {}, {}};
  c.sds[1] = 10; c.sds[2] = 2;
  c.means[1] = 50; c.means[2] = 10;
  c.R[1][1] = c.R[2][2] = 1;
  c.R[1][2] = c.R[2][1] = 0.6L;
  return c;
}

// Five covariates: n = 60; the task correlates 0.5 with each covariate, the
// covariates 0.3 with each other.
tControls FiveCovariates() {
  tControls c{5, 60, {}, {}, {}};
  for (int i = 1; i <= 6; ++i) {
    c.sds[i] = i == 1 ? 10 : 2 + i;
    c.means[i] = i == 1 ? 50 : 10 * i;
    for (int j = 1; j <= 6; ++j) c.R[i][j] = i == j ? 1 : (i == 1 || j == 1 ? 0.5L : 0.3L);
  }
  return c;
}

void Compare(benchmark::State& state, const tControls& c, const tVector& caseA, const tVector& caseB) {
  AnalysisResults results;
  extended conditionalSd;
  const bool diagnosticLines = false;
  for (auto _ : state) {
    tLineList report;
    CompareTwoCases(c.k, c.n, caseA, caseB, c.sds, c.means, c.R, DefaultConfidenceLevel, true, results, conditionalSd, report,
                    diagnosticLines);
    benchmark::DoNotOptimize(results);
  }
}

void BM_CompareTwoCases_k1_General(benchmark::State& state) {
  tVector a, b;
  a[1] = 40; a[2] = 12;
  b[1] = 55; b[2] = 9;
  Compare(state, OneCovariate(), a, b);
}

void BM_CompareTwoCases_k1_EqualCovariates(benchmark::State& state) {
  tVector a, b;
  a[1] = 40; a[2] = 12;
  b[1] = 55; b[2] = 12;
  Compare(state, OneCovariate(), a, b);
}

void BM_CompareTwoCases_k5_General(benchmark::State& state) {
  tControls c = FiveCovariates();
  tVector a = c.means, b = c.means;
  a[1] = 38; b[1] = 57;
  for (int i = 2; i <= 6; ++i) {
    a[i] += 0.5L * c.sds[i];
    b[i] -= 0.3L * c.sds[i];
  }
  Compare(state, c, a, b);
}

void BM_CompareTwoCases_k5_EqualCovariates(benchmark::State& state) {
  tControls c = FiveCovariates();
  tVector a = c.means, b = c.means;
  a[1] = 38; b[1] = 57;
  Compare(state, c, a, b);
}

// Two thousand controls of the one-covariate sample; Case B's covariate
// differs from Case A's by dx = 1.326 sqrt(8 x 1999) / |delta| (c = -1.326,
// v = dx^2 / (1999 x 4)), so that the observed value, and with it the
// limits, are near -|delta| on the noncentral t scale.
void BM_CompareTwoCases_k1_LargeNoncentrality(benchmark::State& state) {
  tControls c = OneCovariate();
  c.n = 2000;
  const long double delta = static_cast<long double>(state.range(0));
  tVector a, b;
  a[1] = 40; a[2] = 12;
  b[1] = 55; b[2] = 12 - 1.326L * std::sqrt(8 * 1999.0L) / delta;
  Compare(state, c, a, b);
}

}  // namespace

BENCHMARK(BM_CompareTwoCases_k1_LargeNoncentrality)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k1_General)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k1_EqualCovariates)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k5_General)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k5_EqualCovariates)->Unit(benchmark::kMillisecond);

// One CompareTwoCases call (two-sided, at the programs' confidence level)
// for one and five covariates, on the general branch and on the
// equal-covariates branch; and with 2,000 controls and covariate
// differences so small that the noncentrality of the limits is 1e3 to 1e6.
#include <benchmark/benchmark.h>

#include "bench/engine_cases.h"
#include "engine/compare_two_cases.h"
#include "worksheet/logic/program_profile.h"

namespace {

void Compare(benchmark::State& state, const tControls& c, const tCasePair& cases) {
  AnalysisResults results;
  extended conditionalSd;
  const bool diagnosticLines = false;
  for (auto _ : state) {
    tLineList report;
    CompareTwoCases(c.k, c.n, cases.a, cases.b, c.sds, c.means, c.R, DefaultConfidenceLevel, true, results,
                    conditionalSd, report, diagnosticLines);
    benchmark::DoNotOptimize(results);
  }
}

void BM_CompareTwoCases_k1_General(benchmark::State& state) { Compare(state, OneCovariate(), OneCovariatePair(false)); }

void BM_CompareTwoCases_k1_EqualCovariates(benchmark::State& state) {
  Compare(state, OneCovariate(), OneCovariatePair(true));
}

void BM_CompareTwoCases_k5_General(benchmark::State& state) {
  const tControls c = FiveCovariates();
  Compare(state, c, FiveCovariatePair(c, false));
}

void BM_CompareTwoCases_k5_EqualCovariates(benchmark::State& state) {
  const tControls c = FiveCovariates();
  Compare(state, c, FiveCovariatePair(c, true));
}

void BM_CompareTwoCases_k1_LargeNoncentrality(benchmark::State& state) {
  Compare(state, TwoThousandControls(), LargeNoncentralityPair(static_cast<long double>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_CompareTwoCases_k1_LargeNoncentrality)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k1_General)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k1_EqualCovariates)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k5_General)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoCases_k5_EqualCovariates)->Unit(benchmark::kMillisecond);

// Speed of the distributions the analysis engine leans on: the noncentral t
// distribution function (its series below a noncentrality of 40, its
// integral from there on), its quantile, the noncentrality search, and the
// chi-square quantile of the equal-covariates branch.
#include <benchmark/benchmark.h>

#include "distrib/chi_square_distribution.h"
#include "distrib/non_central_t_distribution.h"
#include "engine/interval_estimates.h"

namespace {

// Arguments: degrees of freedom, noncentrality.
void NonCentralTCdf(benchmark::State& state) {
  const extended nu = static_cast<extended>(state.range(0));
  const extended delta = static_cast<extended>(state.range(1));
  tNon_central_t_distribution d(nu, delta);
  // At the noncentrality plus one: near the centre of the distribution.
  const extended x = delta + 1;
  for (auto _ : state) benchmark::DoNotOptimize(d.Cdf(x));
}

void NonCentralTQuantile(benchmark::State& state) {
  const extended nu = static_cast<extended>(state.range(0));
  const extended delta = static_cast<extended>(state.range(1));
  tNon_central_t_distribution d(nu, delta);
  for (auto _ : state) benchmark::DoNotOptimize(d.Quantile(0.975L));
}

// Arguments: degrees of freedom, probability in thousandths (the ends of a
// 95% interval, as the equal-covariates branch asks for them).
void ChiSquareQuantile(benchmark::State& state) {
  tChi_square_distribution c(static_cast<extended>(state.range(0)));
  const extended p = static_cast<extended>(state.range(1)) / 1000;
  for (auto _ : state) benchmark::DoNotOptimize(c.Quantile(p));
}

void NonCentralArguments(benchmark::internal::Benchmark* b) {
  for (int nu : {8, 200})
    for (int delta : {1, 5, 20, 100, 100000}) b->Args({nu, delta});
}

// Arguments: degrees of freedom, observed value x (the limit for
// p = 0.975 is a little below it).
void FindNoncentralityAt(benchmark::State& state) {
  const extended nu = static_cast<extended>(state.range(0));
  const extended x = static_cast<extended>(state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(FindNoncentrality(nu, x, 0.975L));
}

BENCHMARK(NonCentralTCdf)->Apply(NonCentralArguments)->Unit(benchmark::kMicrosecond);
BENCHMARK(NonCentralTQuantile)->Apply(NonCentralArguments)->Unit(benchmark::kMicrosecond);
BENCHMARK(FindNoncentralityAt)
    ->ArgsProduct({{8, 54, 1997}, {3, 30, 32000}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ChiSquareQuantile)
    ->ArgsProduct({{8, 200, 2000}, {25, 975}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

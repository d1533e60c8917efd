// The engine benchmark's calls in a plain timing loop, for the builds that
// have no Google Benchmark (WebAssembly under node) and natively beside
// them, so that the two are compared call for call. For each case: the
// median over 5 repetitions of the time per CompareTwoCases call, each
// repetition calling it until QUORV_BENCH_SECONDS (default 0.1) have
// passed on the steady clock.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/engine_cases.h"
#include "engine/compare_two_cases.h"
#include "worksheet/logic/program_profile.h"

namespace {

constexpr int Repetitions = 5;

double MicrosecondsPerCall(const tControls& c, const tCasePair& cases, double seconds) {
  using clock = std::chrono::steady_clock;
  std::vector<double> times;
  for (int r = 0; r < Repetitions; ++r) {
    long calls = 0;
    const clock::time_point start = clock::now();
    std::chrono::duration<double> elapsed{};
    do {
      AnalysisResults results;
      extended conditionalSd;
      tLineList report;
      CompareTwoCases(c.k, c.n, cases.a, cases.b, c.sds, c.means, c.R, DefaultConfidenceLevel, true, results,
                      conditionalSd, report, false);
      ++calls;
      elapsed = clock::now() - start;
    } while (elapsed.count() < seconds);
    times.push_back(elapsed.count() * 1e6 / static_cast<double>(calls));
  }
  std::sort(times.begin(), times.end());
  return times[Repetitions / 2];
}

}  // namespace

int main() {
  const char* budget = std::getenv("QUORV_BENCH_SECONDS");
  const double seconds = budget != nullptr ? std::atof(budget) : 0.1;
  const tControls one = OneCovariate(), five = FiveCovariates(), many = TwoThousandControls();
  const struct {
    const char* name;
    const tControls& controls;
    tCasePair cases;
  } benchmarks[] = {
      {"CompareTwoCases_k1_General", one, OneCovariatePair(false)},
      {"CompareTwoCases_k1_EqualCovariates", one, OneCovariatePair(true)},
      {"CompareTwoCases_k5_General", five, FiveCovariatePair(five, false)},
      {"CompareTwoCases_k5_EqualCovariates", five, FiveCovariatePair(five, true)},
      {"CompareTwoCases_k1_LargeNoncentrality/1000", many, LargeNoncentralityPair(1000)},
      {"CompareTwoCases_k1_LargeNoncentrality/1000000", many, LargeNoncentralityPair(1000000)},
  };
  for (const auto& b : benchmarks)
    std::printf("%-48s %12.2f us\n", b.name, MicrosecondsPerCall(b.controls, b.cases, seconds));
  return 0;
}

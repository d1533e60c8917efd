// Batch runs: 10,000 pairs of cases (two covariates, every pair on the
// general branch) against one control sample, on one and on two threads;
// and the tool's own work for each pair without the analysis (reading its
// line from a stream, writing its csv row). The counter pairs_per_second
// is the figure to quote.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "analysis/control_sample.h"
#include "report/batch_output.h"
#include "batch/batch_runner.h"
#include "formats/pairs_reader.h"

namespace {

constexpr int BenchPairCount = 10000;

// Controls of 40 persons: task mean 50 SD 10, covariates (10, 2) and
// (100, 15); correlations 0.5 and 0.4 with the task, 0.3 between them.
tControlSample BenchControls() {
  tControlSample c;
  c.k = 2;
  c.n = 40;
  c.means[1] = 50;
  c.means[2] = 10;
  c.means[3] = 100;
  c.sds[1] = 10;
  c.sds[2] = 2;
  c.sds[3] = 15;
  for (int i = 1; i <= 3; ++i) c.R[i][i] = 1;
  c.R[1][2] = c.R[2][1] = 0.5L;
  c.R[1][3] = c.R[3][1] = 0.4L;
  c.R[2][3] = c.R[3][2] = 0.3L;
  return c;
}

// Scores spread over the usual range; Case B's first covariate always
// differs from Case A's, so every pair takes the general branch.
std::vector<tPairEntry> BenchPairs() {
  std::vector<tPairEntry> pairs(BenchPairCount);
  for (int i = 0; i < BenchPairCount; ++i) {
    tPairEntry& p = pairs[i];
    p.line = i + 1;
    p.caseA[1] = 30 + (i * 37 % 41);
    p.caseA[2] = 7 + (i * 11 % 7);
    p.caseA[3] = 80 + (i * 17 % 43);
    p.caseB[1] = 35 + (i * 13 % 29);
    p.caseB[2] = p.caseA[2] + 1 + i % 3;
    p.caseB[3] = 85 + (i * 7 % 31);
  }
  return pairs;
}

void BM_BatchPairs(benchmark::State& state) {
  const tControlSample controls = BenchControls();
  const std::vector<tPairEntry> pairs = BenchPairs();
  const int jobs = static_cast<int>(state.range(0));
  std::size_t analysed = 0;
  for (auto _ : state) {
    RunPairs(controls, pairs, tIntervalChoice::TwoSided, jobs, nullptr, [&](const tPairEntry&, const tPairOutcome& outcome) {
      analysed += outcome.analysed && !outcome.equalCovariates ? 1 : 0;
      return true;
    });
  }
  if (analysed != static_cast<std::size_t>(BenchPairCount) * state.iterations())
    state.SkipWithError("not every pair was analysed on the general branch");
  state.counters["pairs_per_second"] =
      benchmark::Counter(static_cast<double>(BenchPairCount) * state.iterations(), benchmark::Counter::kIsRate);
}

// 100,000 labelled pair lines read from memory in the pieces a pipe gives,
// each written as a csv row with the worked pair's figures.
void BM_ReadAndWritePairs(benchmark::State& state) {
  constexpr int lines = 100000;
  std::string text;
  for (int i = 0; i < lines; ++i)
    text += "p" + std::to_string(i) + " " + std::to_string(30 + i % 41) + " 12.5 " + std::to_string(35 + i % 29) + " 9\n";
  tPairOutcome outcome;
  outcome.analysed = true;
  outcome.results = {-1.8856180831641267L, 8, 0.048035796819923669L, 0.096071593639847339L, 4.8035796819923669L,
                     0.077368533045873988L, 21.322912461000398L, -2, -3.1656615927708338L, -0.79526686150333096L};
  outcome.conditionalSd = 8.4852813742385703L;
  std::size_t rows = 0;
  for (auto _ : state) {
    std::size_t position = 0;
    tPairsReader reader(
        [&](char* buffer, std::size_t size, std::string&) -> long long {
          const std::size_t n = text.copy(buffer, size, position);
          position += n;
          return static_cast<long long>(n);
        },
        1);
    std::string written;
    bool first = true;
    for (tPairEntry entry; reader.Next(entry); first = false) written += FormatPair(tOutputFormat::Csv, entry, outcome, first);
    rows += written.size() > 0 ? lines : 0;
    benchmark::DoNotOptimize(written);
  }
  state.counters["pairs_per_second"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_ReadAndWritePairs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchPairs)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

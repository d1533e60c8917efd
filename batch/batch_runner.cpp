#include "batch/batch_runner.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

#include "engine/compare_two_cases.h"
#include "engine/engine_notices.h"
#include "core/report_lines.h"

namespace {

// Where the engine's notices on this thread go: the warnings of the pair
// this thread is analysing.
thread_local std::vector<std::string>* noticeTarget = nullptr;

void CollectEngineNotice(const tNotice& notice) {
  if (noticeTarget != nullptr) noticeTarget->push_back(notice.text);
}

// The engine's diagnostic lines are not asked for; nothing is appended.
class tDiscardedLines : public tReportLines {
 public:
  void Add(const std::string&) override {}
  int Count() const override { return 0; }
};

}  // namespace

void InstallBatchNoticeHook() { SetEngineNoticeHook(CollectEngineNotice); }

tEngineNoticeCapture::tEngineNoticeCapture(std::vector<std::string>& into) : previous_(noticeTarget) {
  noticeTarget = &into;
}

tEngineNoticeCapture::~tEngineNoticeCapture() { noticeTarget = previous_; }

bool HasEqualCovariates(const tBatchControls& controls, const tPairEntry& pair) {
  for (int i = 2; i <= controls.k + 1; ++i)
    if (pair.caseA[i] != pair.caseB[i]) return false;
  return true;
}

tPairOutcome AnalysePair(const tBatchControls& controls, const tPairEntry& pair, bool twoSided) {
  tPairOutcome outcome;
  if (!pair.Readable()) {
    outcome.problem = pair.problem;
    return outcome;
  }
  outcome.equalCovariates = HasEqualCovariates(controls, pair);
  tDiscardedLines noLines;
  const bool diagnosticLines = false;
  tEngineNoticeCapture capture(outcome.warnings);
  try {
    CompareTwoCases(controls.k, controls.n, pair.caseA, pair.caseB, controls.sds, controls.means, controls.R,
                    BatchConfidenceLevel, twoSided, outcome.results, outcome.conditionalSd, noLines,
                    diagnosticLines);
    outcome.analysed = true;
  } catch (const std::exception& e) {
    outcome.problem = std::string("the analysis failed: ") + e.what();
  } catch (...) {
    outcome.problem = "the analysis failed with an unknown error.";
  }
  return outcome;
}

void RunPairs(const tBatchControls& controls, const std::vector<tPairEntry>& pairs, bool twoSided, int jobs,
              const tOutcomeSink& sink) {
  // Installed before any worker starts; each thread's notices reach its
  // own current outcome.
  InstallBatchNoticeHook();
  const std::size_t threads = static_cast<std::size_t>(std::max(jobs, 1));
  std::vector<tPairOutcome> outcomes;
  for (std::size_t start = 0; start < pairs.size(); start += PairsPerBlock) {
    const std::size_t end = std::min(pairs.size(), start + PairsPerBlock);
    outcomes.assign(end - start, tPairOutcome{});
    std::atomic<std::size_t> next{start};
    auto work = [&] {
      for (std::size_t i = next++; i < end; i = next++)
        outcomes[i - start] = AnalysePair(controls, pairs[i], twoSided);
    };
    std::vector<std::thread> helpers;
    const std::size_t helperCount = std::min(threads, end - start) - 1;
    try {
      for (std::size_t t = 0; t < helperCount; ++t) helpers.emplace_back(work);
    } catch (const std::system_error&) {
      // No more threads to be had: the ones started and this one finish the block.
    }
    work();
    for (std::thread& helper : helpers) helper.join();
    for (std::size_t i = start; i < end; ++i)
      if (!sink(pairs[i], outcomes[i - start])) return;
  }
}

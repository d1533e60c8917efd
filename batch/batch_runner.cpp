#include "batch/batch_runner.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

#include "core/report_lines.h"
#include "analysis/programs.h"
#include "core/text_format.h"
#include "report/analysis_summary.h"
#include "engine/engine_notices.h"

namespace {

// Where the engine's notices on this thread go: the warnings of the pair
// this thread is analysing.
thread_local std::vector<std::string>* noticeTarget = nullptr;

void CollectEngineNotice(const tNotice& notice) {
  if (noticeTarget != nullptr) noticeTarget->push_back(notice.text);
}

}  // namespace

void InstallBatchNoticeHook() { SetEngineNoticeHook(CollectEngineNotice); }

tEngineNoticeCapture::tEngineNoticeCapture(std::vector<std::string>& into) : previous_(noticeTarget) {
  noticeTarget = &into;
}

tEngineNoticeCapture::~tEngineNoticeCapture() { noticeTarget = previous_; }

tReportFrame PairReportFrame(const tControlSample& controls, const std::string& pairsName, const tPairEntry& pair) {
  tReportFrame frame;
  frame.layout = tProgramKind::SummaryData;
  const bool raw = controls.source == tControlsSource::RawData;
  frame.programTitle = raw ? QuorvikTitle : QuorvaneTitle;
  frame.notes = pair.label.empty()
                    ? FormatC("Pair on line %d of %s", pair.line, pairsName.c_str())
                    : FormatC("Pair %s (line %d of %s)", pair.label.c_str(), pair.line, pairsName.c_str());
  frame.fields = {tReportField{raw ? QuorvikSampleSizeCaption : QuorvaneCovariatesCaption, controls.countTexts[0]},
                  tReportField{raw ? QuorvikCovariatesCaption : QuorvaneSampleSizeCaption, controls.countTexts[1]}};
  frame.variableNames = controls.variableNames;
  return frame;
}

tPairOutcome AnalysePair(const tControlSample& controls, const tPairEntry& pair, tIntervalChoice interval,
                         const std::string* reportPairsName) {
  tPairOutcome outcome;
  if (!pair.Readable()) {
    outcome.problem = pair.problem;
    return outcome;
  }
  tEngineNoticeCapture capture(outcome.warnings);
  tLineList lines;
  tReportFrame frame;
  if (reportPairsName != nullptr) frame = PairReportFrame(controls, *reportPairsName, pair);
  const tAnalysisRecord analysis = RunReportedAnalysis(RequestFor(controls, pair.caseA, pair.caseB, interval),
                                                       reportPairsName != nullptr ? &frame : nullptr, false, lines);
  outcome.equalCovariates = analysis.working.equalCovariates;
  switch (analysis.outcome) {
    case tAnalysisOutcome::Done:
      outcome.analysed = true;
      outcome.results = analysis.results;
      outcome.conditionalSd = analysis.conditionalSd;
      outcome.differenceNeededOneTailed = analysis.differenceNeededOneTailed;
      outcome.differenceNeededTwoTailed = analysis.differenceNeededTwoTailed;
      outcome.summary = AnalysisSummary(analysis, ShownVariableNames(controls));
      outcome.report = std::move(lines.lines);
      break;
    case tAnalysisOutcome::Failed:
      outcome.problem = analysis.failure.empty() ? "the analysis failed with an unknown error."
                                                 : "the analysis failed: " + analysis.failure;
      break;
    case tAnalysisOutcome::Cancelled:  // no progress is asked for here
    case tAnalysisOutcome::NotPositiveDefinite:
    case tAnalysisOutcome::ZeroVariance:
      // The controls were checked when they were loaded.
      outcome.problem = "the analysis failed: the controls' correlation matrix is not positive definite.";
      break;
  }
  return outcome;
}

void RunPairs(const tControlSample& controls, const std::vector<tPairEntry>& pairs, tIntervalChoice interval,
              int jobs, const std::string* reportPairsName, const tOutcomeSink& sink) {
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
        outcomes[i - start] = AnalysePair(controls, pairs[i], interval, reportPairsName);
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

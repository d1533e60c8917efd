// Runs the two-case analysis for many pairs against one control sample,
// on several threads, handing the outcomes back in the order of the pairs.
//
// The engine keeps its working state per thread and creates its
// distribution objects per call, so analyses run side by side; the
// controls are only read. The engine's notices (warnings; its routines
// give none at present) are caught per pair through a hook installed
// before any thread starts.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "analysis/analysis_request.h"
#include "analysis/control_sample.h"
#include "formats/pairs_reader.h"
#include "report/analysis_report.h"
#include "report/batch_output.h"

// Routes the engine's notices to the capture active on the thread that
// gives them (notices on a thread without one are dropped). Install it
// before starting threads that run the engine.
void InstallBatchNoticeHook();

// While it lives, the engine's notices given on this thread are appended
// to into. One per thread at a time.
class tEngineNoticeCapture {
 public:
  explicit tEngineNoticeCapture(std::vector<std::string>& into);
  ~tEngineNoticeCapture();
  tEngineNoticeCapture(const tEngineNoticeCapture&) = delete;
  tEngineNoticeCapture& operator=(const tEngineNoticeCapture&) = delete;

 private:
  std::vector<std::string>* previous_;
};

// The frame of one pair's text report: the summary-data layout (no
// raw-data echo), the controls' title and input lines, and the pair's
// label and line in its notes.
tReportFrame PairReportFrame(const tControlSample& controls, const std::string& pairsName, const tPairEntry& pair);

// Analyses one pair on the calling thread (a pair that could not be read
// is passed through with its problem), with its summary in words naming
// the controls' variables, and, when reportPairsName is given,
// writes its text report (without a separator) naming that pairs file. An
// exception from the engine becomes the outcome's problem.
tPairOutcome AnalysePair(const tControlSample& controls, const tPairEntry& pair, tIntervalChoice interval,
                         const std::string* reportPairsName = nullptr);

// Called on the calling thread for each pair in file order; returns false
// to stop (later pairs are then neither emitted nor, beyond the block in
// progress, analysed).
using tOutcomeSink = std::function<bool(const tPairEntry& pair, const tPairOutcome& outcome)>;

// Analyses the pairs on jobs threads (the calling thread is one of them)
// in blocks, handing each outcome to sink in order. The figures do not
// depend on jobs.
void RunPairs(const tControlSample& controls, const std::vector<tPairEntry>& pairs, tIntervalChoice interval,
              int jobs, const std::string* reportPairsName, const tOutcomeSink& sink);

// Pairs analysed per block between two hand-overs to the sink.
constexpr std::size_t PairsPerBlock = 256;

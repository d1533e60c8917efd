#include "batch/batch_runner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>

#include "batch_test_support.h"
#include "engine/engine_notices.h"

namespace {

tControlSample SummaryControls() {
  tControlSample c;
  std::string error;
  EXPECT_TRUE(ParseSavedInputsControls(WorkedSavedInputs, "q.txt", c, error)) << error;
  return c;
}

tPairEntry Pair(long double a1, long double a2, long double b1, long double b2, int line = 1) {
  tPairEntry p;
  p.line = line;
  p.caseA[1] = a1;
  p.caseA[2] = a2;
  p.caseB[1] = b1;
  p.caseB[2] = b2;
  return p;
}

bool SameBits(extended a, extended b) { return std::memcmp(&a, &b, 10) == 0; }

bool SameFigures(const tPairOutcome& a, const tPairOutcome& b) {
  const AnalysisResults &x = a.results, &y = b.results;
  return a.analysed == b.analysed && a.problem == b.problem && a.equalCovariates == b.equalCovariates &&
         SameBits(a.conditionalSd, b.conditionalSd) && SameBits(x.tValue, y.tValue) && SameBits(x.df, y.df) &&
         SameBits(x.pOneTailed, y.pOneTailed) && SameBits(x.pTwoTailed, y.pTwoTailed) &&
         SameBits(x.pctEstimate, y.pctEstimate) && SameBits(x.pctLower, y.pctLower) &&
         SameBits(x.pctUpper, y.pctUpper) && SameBits(x.zPccc, y.zPccc) && SameBits(x.zPcccLower, y.zPcccLower) &&
         SameBits(x.zPcccUpper, y.zPcccUpper);
}

}  // namespace

// The figures of a few hundred pairs (both branches, over two blocks) do
// not depend on the number of threads; the outcomes come in file order
// and stop when the sink says so.
TEST(BatchRunner, ThreadsChangeNothing) {
  const tControlSample controls = SummaryControls();
  std::vector<tPairEntry> pairs;
  for (int i = 0; i < 300; ++i) {
    const long double a = 30 + (i * 37 % 41), b = 35 + (i * 13 % 29);
    const bool general = i % 8 == 0;
    pairs.push_back(Pair(a, 9 + i % 7, b, general ? 8 + i % 5 : 9 + i % 7, i + 1));
  }
  for (tIntervalChoice interval : {tIntervalChoice::TwoSided, tIntervalChoice::OneSidedLower}) {
    std::vector<tPairOutcome> one, two;
    std::vector<int> order;
    RunPairs(controls, pairs, interval, 1, nullptr, [&](const tPairEntry&, const tPairOutcome& o) {
      one.push_back(o);
      return true;
    });
    RunPairs(controls, pairs, interval, 2, nullptr, [&](const tPairEntry& p, const tPairOutcome& o) {
      two.push_back(o);
      order.push_back(p.line);
      return true;
    });
    ASSERT_EQ(one.size(), pairs.size());
    ASSERT_EQ(two.size(), pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      EXPECT_EQ(order[i], static_cast<int>(i) + 1);
      EXPECT_TRUE(SameFigures(one[i], two[i])) << "pair " << i;
    }
  }
  int seen = 0;
  RunPairs(controls, pairs, tIntervalChoice::TwoSided, 2, nullptr, [&](const tPairEntry&, const tPairOutcome&) { return ++seen < 3; });
  EXPECT_EQ(seen, 3);
}

// Each thread's engine notices reach the capture of that thread only.
TEST(BatchRunner, EngineNoticesAreCapturedPerThread) {
  InstallBatchNoticeHook();
  std::vector<std::string> first, second;
  auto give = [](std::vector<std::string>& into, const char* text) {
    tEngineNoticeCapture capture(into);
    for (int i = 0; i < 100; ++i) EngineNotice(tNotice{tMessageKind::Warning, "Warning", text});
  };
  std::thread a(give, std::ref(first), "first");
  std::thread b(give, std::ref(second), "second");
  a.join();
  b.join();
  ASSERT_EQ(first.size(), 100u);
  ASSERT_EQ(second.size(), 100u);
  for (const auto& t : first) EXPECT_EQ(t, "first");
  for (const auto& t : second) EXPECT_EQ(t, "second");
  // Without a capture a notice goes nowhere.
  EngineNotice(tNotice{tMessageKind::Warning, "Warning", "lost"});
  SetEngineNoticeHook(nullptr);
}

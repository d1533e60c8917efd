#include "batch/batch_runner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>

#include "batch_test_support.h"
#include "engine/engine_notices.h"

namespace {

tBatchControls SummaryControls() {
  tBatchControls c;
  std::string error;
  EXPECT_TRUE(ParseSavedInputsControls(WorkedSavedInputs, "q.txt", c, error)) << error;
  return c;
}

tBatchControls RawControls() {
  tBatchControls c;
  std::string error;
  EXPECT_TRUE(ParseRawControls(WorkedRawControls, "c.txt", "1", c, error)) << error;
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

TEST(BatchRunner, WorkedPairsThroughBothKindsOfControls) {
  using F = tWorkedFigures;
  for (const tBatchControls& controls : {SummaryControls(), RawControls()}) {
    const tPairOutcome general = AnalysePair(controls, Pair(40, 12, 55, 9), tIntervalChoice::TwoSided);
    ASSERT_TRUE(general.analysed) << general.problem;
    EXPECT_FALSE(general.equalCovariates);
    const AnalysisResults& r = general.results;
    EXPECT_NEAR(r.tValue, F::tGeneral, 1e-6);
    EXPECT_EQ(r.df, 8.0L);
    EXPECT_NEAR(r.pOneTailed, F::pOneGeneral, 1e-6);
    EXPECT_NEAR(r.pTwoTailed, F::pTwoGeneral, 1e-6);
    EXPECT_NEAR(r.pctEstimate, F::pctEstimate, 1e-4);
    EXPECT_NEAR(r.zPccc, F::zGeneral, 1e-9);
    EXPECT_NEAR(r.zPcccLower, F::zLowerTwoSided, 1e-4);
    EXPECT_NEAR(r.zPcccUpper, F::zUpperTwoSided, 1e-4);
    EXPECT_NEAR(r.pctLower, F::pctLowerTwoSided, 1e-4);
    EXPECT_NEAR(r.pctUpper, F::pctUpperTwoSided, 5e-3);
    EXPECT_NEAR(general.conditionalSd, std::sqrt(F::conditionalSdSquared), 1e-9);

    const tPairOutcome equal = AnalysePair(controls, Pair(40, 12, 55, 12), tIntervalChoice::TwoSided);
    ASSERT_TRUE(equal.analysed) << equal.problem;
    EXPECT_TRUE(equal.equalCovariates);
    EXPECT_NEAR(equal.results.tValue, F::tEqual, 1e-9);
    EXPECT_NEAR(equal.results.zPccc, F::tEqual, 1e-9);
    EXPECT_NEAR(equal.results.pOneTailed, F::pOneEqual, 1e-6);
    EXPECT_NEAR(equal.results.pTwoTailed, F::pTwoEqual, 1e-6);
  }
}

TEST(BatchRunner, UnreadablePairsAndEngineErrorsBecomeProblems) {
  const tBatchControls controls = SummaryControls();
  tPairEntry bad = Pair(40, 12, 55, 9);
  bad.problem = "3 scores found";
  const tPairOutcome passed = AnalysePair(controls, bad, tIntervalChoice::TwoSided);
  EXPECT_FALSE(passed.analysed);
  EXPECT_EQ(passed.problem, "3 scores found");
  // A covariate difference that is tiny but not zero drives the
  // noncentrality search past the distribution's bound.
  const tPairOutcome failed = AnalysePair(controls, Pair(52, 10.000000000001L, 50, 10), tIntervalChoice::TwoSided);
  EXPECT_FALSE(failed.analysed);
  EXPECT_EQ(failed.problem.rfind("the analysis failed: ", 0), 0u) << failed.problem;
}

// The figures of a few hundred pairs (both branches, over two blocks) do
// not depend on the number of threads; the outcomes come in file order
// and stop when the sink says so.
TEST(BatchRunner, ThreadsChangeNothing) {
  const tBatchControls controls = SummaryControls();
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

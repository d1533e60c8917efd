#include "engine/std_normal_integral.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "engine_test_support.h"

namespace {

// Exact standard normal distribution function.
double Phi(double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); }

TEST(StdNormalIntegral, EmptyIntervalAtZeroRunsAllStagesWarnsAndGivesOneHalf) {
  tNoticeRecorder recorder;
  EXPECT_EQ(StdNormalCdf(0.0), 0.5);
  ASSERT_EQ(recorder.notices.size(), 1u);
  EXPECT_EQ(recorder.notices[0].kind, tMessageKind::Warning);
  EXPECT_EQ(recorder.notices[0].caption, "Warning");
  EXPECT_EQ(recorder.notices[0].text, "Too many steps");
}

// Simpson's relative stopping test of 1e-6 on an area below 0.5, and the
// eight-decimal density constant (relative 1e-9), bound the error, on a
// fine grid over both sides and where coarse estimates coincide.
TEST(StdNormalIntegral, AgreesWithTheNormalDistributionWithoutEarlyStops) {
  // Over [0, 6.598618] the Simpson estimates of stages 2 and 3 agree to 1e-6
  // while both are 5% short; similar coincidences near 1.5199 and 52.79.
  tNoticeRecorder recorder;
  for (double x : {6.598618, 1.5199, 52.7889, 1e6}) {
    SCOPED_TRACE(x);
    EXPECT_NEAR(StdNormalCdf(x), Phi(x), 1e-7);
    EXPECT_NEAR(StdNormalCdf(-x), Phi(-x), 1e-7);
  }
  double worst = 0;
  for (double x = -12; x <= 12; x += 1e-4) worst = std::max(worst, std::fabs(StdNormalCdf(x) - Phi(x)));
  EXPECT_LT(worst, 1e-7);
  EXPECT_TRUE(recorder.notices.empty());
}

TEST(StdNormalIntegral, NegativeArgumentIsOneHalfMinusTheArea) {
  double area = SimpsonIntegral(0.0, 1.5);
  EXPECT_NEAR(area, Phi(1.5) - 0.5, 1e-7);
  EXPECT_DOUBLE_EQ(SimpsonIntegral(1.5, 0.0), -area);
  EXPECT_DOUBLE_EQ(StdNormalCdf(-1.5), 0.5 - area);
}

TEST(StdNormalIntegral, FirstStagesAreTheTrapezoidRuleAndItsRefinement) {
  double f0 = StdNormalDensity(0.0), f1 = StdNormalDensity(1.0), fHalf = StdNormalDensity(0.5);
  EXPECT_DOUBLE_EQ(f0, 0.39894228);
  EXPECT_DOUBLE_EQ(TrapezoidStage(1, 0.0, 1.0), 0.5 * (f0 + f1));
  EXPECT_DOUBLE_EQ(TrapezoidStage(2, 0.0, 1.0), 0.5 * (0.5 * (f0 + f1) + fHalf));
  // Stage 3 adds the two quarter points.
  double quarterPoints = StdNormalDensity(0.25) + StdNormalDensity(0.75);
  EXPECT_DOUBLE_EQ(TrapezoidStage(3, 0.0, 1.0),
                   0.5 * (0.5 * (0.5 * (f0 + f1) + fHalf) + quarterPoints / 2));
}

TEST(StdNormalIntegral, StageStateIsPerThread) {
  // Two threads integrating different intervals at once must each get the
  // value a lone call gives.
  double expectedA = StdNormalCdf(-2.3), expectedB = StdNormalCdf(1.1);
  std::atomic<bool> allEqual{true};
  auto work = [&allEqual](double x, double expected) {
    for (int i = 0; i < 300; ++i)
      if (StdNormalCdf(x) != expected) allEqual = false;
  };
  std::thread a(work, -2.3, expectedA), b(work, 1.1, expectedB);
  a.join();
  b.join();
  EXPECT_TRUE(allEqual);
}

}  // namespace

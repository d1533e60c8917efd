// The figure of an analysis as numbers: where the marks stand, the curve
// and its shaded tail (whose area must be the report's percentage), the
// interval on Z-PCCC, the texts; then its layout on the canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/text_format.h"
#include "distrib/t_distribution.h"
#include "report/analysis_figure.h"
#include "report/figure_drawing.h"
#include "worksheet/logic/summary_data_flow.h"

namespace {

// The worked controls (N = 10, task 50 and 10, covariate 10 and 2, r = 0.6)
// with the two cases' scores (task, covariate).
tAnalysisRecord Worked(double aTask, double aCov, double bTask, double bCov,
                         tIntervalChoice interval = tIntervalChoice::TwoSided) {
  tWorksheetInputs in = FirstRunInputs(QuorvaneProfile());
  in.interval = interval;
  in.grid.SetRowCount(2);
  const std::string cells[2][5] = {{"Task", "50", "10", std::to_string(aTask), std::to_string(bTask)},
                                   {"Cov 1", "10", "2", std::to_string(aCov), std::to_string(bCov)}};
  for (int row = 0; row < 2; ++row)
    for (int col = 1; col <= 5; ++col) in.grid.SetCell(col, row, cells[row][col - 1]);
  in.correlations[1][2] = in.correlations[2][1] = 0.6;
  return AnalyseSummaryData(in, QuorvaneProfile(), 10, 1, 0, tNoticeHook{});
}

tAnalysisFigure FigureOf(const tAnalysisRecord& analysis, const std::string& name = "Task") {
  EXPECT_EQ(analysis.outcome, tAnalysisOutcome::Done) << analysis.message;
  const std::optional<tAnalysisFigure> figure = AnalysisFigureOf(analysis, name);
  EXPECT_TRUE(figure.has_value());
  return figure.value_or(tAnalysisFigure{});
}

// The shaded area by the trapezoid rule, plus the curve's mass beyond the
// end of the axis that the tail runs to.
double ShadedShare(const tAnalysisFigure& f) {
  double area = 0;
  for (std::size_t i = 1; i < f.tail.size(); ++i)
    area += (f.tail[i].x - f.tail[i - 1].x) * (f.tail[i].density + f.tail[i - 1].density) / 2;
  tT_distribution t(f.degreesOfFreedom);
  const double edge = ((f.lowerTail ? f.axisLow : f.axisHigh) - f.predicted) / f.scale;
  const double beyond = static_cast<double>(f.lowerTail ? t.Cdf(edge) : 1 - t.Cdf(edge));
  return area + beyond;
}

// The trapezoid rule over the drawn curve's samples is good to about
// 0.005 percentage points here.
constexpr double ShadingTolerance = 0.01;

// The worked cases' interval on Z-PCCC, (-3.1657, -0.7953), in the task's
// units: 9 + 12 z.
constexpr double WorkedIntervalLow = 9 + 12 * -3.1657;
constexpr double WorkedIntervalHigh = 9 + 12 * -0.7953;

}  // namespace

TEST(AnalysisFigure, WorkedCasesMarksTailAndIntervalStandWhereTheReportPutsThem) {
  const tAnalysisFigure f = FigureOf(Worked(40, 12, 55, 9));
  EXPECT_DOUBLE_EQ(f.observed, -15);
  EXPECT_NEAR(f.predicted, 9, 1e-9);                   // beta 3 x covariate difference 3
  EXPECT_NEAR(f.scale, std::sqrt(162.0), 1e-9);        // s^2 = 72, v = 0.25
  EXPECT_NEAR(f.conditionalSdOfDifference, 12, 1e-9);  // sqrt(2 x 72)
  EXPECT_EQ(f.degreesOfFreedom, 8);
  EXPECT_NEAR(f.intervalLow, WorkedIntervalLow, 2e-3);
  EXPECT_NEAR(f.intervalHigh, WorkedIntervalHigh, 2e-3);
  EXPECT_NEAR(f.predicted + f.zPccc * f.conditionalSdOfDifference, f.observed, 1e-9);
  EXPECT_TRUE(f.lowerTail);
  EXPECT_NEAR(f.tailPercent, 4.8036, 5e-5);
  // The shaded area is the report's percentage; a normal curve with the
  // conditional SD of the difference would give 2.28%.
  EXPECT_NEAR(100 * ShadedShare(f), 4.8036, ShadingTolerance);

  // The curve peaks at the predicted difference with the t density at 0
  // on 8 df over the scale: Gamma(4.5) / (sqrt(8 pi) Gamma(4)) / scale.
  const auto peak = std::max_element(f.curve.begin(), f.curve.end(),
                                     [](const tFigurePoint& a, const tFigurePoint& b) { return a.density < b.density; });
  EXPECT_DOUBLE_EQ(peak->x, f.predicted);
  EXPECT_NEAR(peak->density, std::tgamma(4.5) / (std::sqrt(8 * M_PI) * std::tgamma(4.0)) / f.scale, 1e-12);
  EXPECT_TRUE(std::is_sorted(f.curve.begin(), f.curve.end(),
                             [](const tFigurePoint& a, const tFigurePoint& b) { return a.x < b.x; }));
  ASSERT_FALSE(f.tail.empty());
  EXPECT_DOUBLE_EQ(f.tail.front().x, f.axisLow);
  EXPECT_DOUBLE_EQ(f.tail.back().x, -15);

  // The axis holds the curve's body, the mark and the interval; its ticks
  // are round and evenly spaced.
  EXPECT_LT(f.axisLow, std::min(f.predicted - 4 * f.scale, f.intervalLow));
  EXPECT_GT(f.axisHigh, f.predicted + 4 * f.scale);
  ASSERT_GE(f.ticks.size(), 4u);
  const double step = f.ticks[1] - f.ticks[0];
  EXPECT_DOUBLE_EQ(step, 20);
  for (std::size_t i = 0; i < f.ticks.size(); ++i) {
    EXPECT_GE(f.ticks[i], f.axisLow);
    EXPECT_LE(f.ticks[i], f.axisHigh);
    if (i > 0) {
      EXPECT_NEAR(f.ticks[i] - f.ticks[i - 1], step, 1e-9);
    }
  }

  EXPECT_EQ(FigureCaption(f),
            "The estimated distribution of differences between two controls with the cases' covariate scores "
            "(Student t on 8 df, centred on the predicted difference 9.000), the cases' difference -15.000 with "
            "the 4.8036% of controls beyond it shaded, and the 95% CI on Z-PCCC (-3.166 to -0.795) on a scale of "
            "its own under the axis.");
  EXPECT_EQ(FigureAxisLabel(f), "Difference in Task scores (Case A - Case B)");
}

TEST(AnalysisFigure, SwappedCasesMirrorTheFigureAndEqualCovariatesCentreItOnZero) {
  const tAnalysisFigure swapped = FigureOf(Worked(55, 9, 40, 12));
  EXPECT_DOUBLE_EQ(swapped.observed, 15);
  EXPECT_NEAR(swapped.predicted, -9, 1e-9);
  EXPECT_FALSE(swapped.lowerTail);
  EXPECT_NEAR(swapped.tailPercent, 4.8036, 5e-5);
  EXPECT_NEAR(swapped.intervalLow, -WorkedIntervalHigh, 2e-3);
  EXPECT_NEAR(swapped.intervalHigh, -WorkedIntervalLow, 2e-3);
  EXPECT_DOUBLE_EQ(swapped.tail.front().x, 15);
  EXPECT_DOUBLE_EQ(swapped.tail.back().x, swapped.axisHigh);
  EXPECT_NEAR(100 * ShadedShare(swapped), 4.8036, ShadingTolerance);

  // Case B 55 and 12: no difference to predict, the scale is s sqrt 2 and
  // the limits come from the chi-square route (z -1.85060 and -0.65248).
  const tAnalysisFigure equal = FigureOf(Worked(40, 12, 55, 12));
  EXPECT_EQ(equal.predicted, 0);
  EXPECT_NEAR(equal.scale, 12, 1e-9);
  EXPECT_NEAR(equal.tailPercent, 12.3313, 5e-5);
  EXPECT_NEAR(100 * ShadedShare(equal), 12.3313, ShadingTolerance);
  EXPECT_NEAR(equal.intervalLow, 12 * -1.85060, 1e-3);
  EXPECT_NEAR(equal.intervalHigh, 12 * -0.65248, 1e-3);
}

TEST(AnalysisFigure, OneSidedLimitsAndTaskNamesAreSaidAsTheReportSaysThem) {
  const tAnalysisFigure f = FigureOf(Worked(40, 12, 55, 9, tIntervalChoice::OneSidedLower), "Memory");
  EXPECT_NE(FigureCaption(f).find("the one-sided 95% limits on Z-PCCC (-2.960 to -0.968)"), std::string::npos)
      << FigureCaption(f);
  EXPECT_EQ(FigureAxisLabel(f), "Difference in Memory scores (Case A - Case B)");
  tAnalysisFigure named = f;
  named.taskName = "  ";
  EXPECT_EQ(FigureAxisLabel(named), "Difference in task scores (Case A - Case B)");
  named.taskName = "A very long name for a test of memory";
  EXPECT_EQ(FigureAxisLabel(named), "Difference in A very long name for a test... scores (Case A - Case B)");
}

TEST(AnalysisFigure, NoFigureForAStoppedAnalysisOrFiguresThatAreNotNumbers) {
  tAnalysisRecord failed = Worked(40, 12, 55, 9);
  failed.outcome = tAnalysisOutcome::Failed;
  EXPECT_FALSE(AnalysisFigureOf(failed, "Task"));
  tAnalysisRecord nan = Worked(40, 12, 55, 9);
  nan.results.zPcccLower = std::numeric_limits<extended>::quiet_NaN();
  EXPECT_FALSE(AnalysisFigureOf(nan, "Task"));
  tAnalysisRecord huge = Worked(40, 12, 55, 9);
  huge.working.observed = 1e308L * 10;  // an observed difference beyond the doubles
  EXPECT_FALSE(AnalysisFigureOf(huge, "Task"));
}

TEST(FigureDrawing, MarksStandAtTheirValuesOnTheAxisAndEverythingOnTheCanvas) {
  const tAnalysisFigure f = FigureOf(Worked(40, 12, 55, 9));
  const tDrawing d = FigureDrawing(f);
  EXPECT_EQ(d.width, FigureWidth);
  EXPECT_EQ(d.title, FigureCaption(f));
  for (const tDrawingPath& path : d.paths)
    for (const tDrawingPoint& p : path.points) {
      EXPECT_GE(p.x, 0);
      EXPECT_LE(p.x, d.width);
      EXPECT_GE(p.y, 0);
      EXPECT_LE(p.y, d.height);
    }

  // The observed mark rises from the axis at -15; the shading ends there.
  const double observedX = FigureX(f, -15);
  EXPECT_NEAR(FigureX(f, f.axisLow), 18, 1e-9);
  const auto vertical = [&](double x) {
    return std::count_if(d.paths.begin(), d.paths.end(), [&](const tDrawingPath& p) {
      return p.points.size() == 2 && p.points[0].x == x && p.points[1].x == x && p.points[0].y == FigureBaseline();
    });
  };
  EXPECT_EQ(vertical(observedX), 1);
  EXPECT_EQ(vertical(FigureX(f, f.predicted)), 1);
  const auto tail = std::find_if(d.paths.begin(), d.paths.end(), [](const tDrawingPath& p) { return p.filled && p.closed && p.points.size() > 4; });
  ASSERT_NE(tail, d.paths.end());
  double right = 0;
  for (const tDrawingPoint& p : tail->points) right = std::max(right, p.x);
  EXPECT_DOUBLE_EQ(right, observedX);

  // The caption is wrapped into lines that give it back whole.
  std::string caption;
  for (const tDrawingText& text : d.texts)
    if (text.italic) caption += (caption.empty() ? "" : " ") + text.text;
  EXPECT_EQ(caption, FigureCaption(f));
}

// However small the tail, its base lies along the axis between its ends,
// and nothing else but the axis does; a thin tail's share points at it.
// The interval's limits are written in Z-PCCC, away from the axis.
TEST(FigureDrawing, TheTailShowsHoweverSmallAndTheIntervalStandsApartFromTheAxis) {
  for (const double caseATask : {40.0, -20.0}) {
    const tAnalysisFigure f = FigureOf(Worked(caseATask, 12, 55, 9));
    const tDrawing d = FigureDrawing(f);
    const double tailLow = FigureX(f, f.tail.front().x), tailHigh = FigureX(f, f.tail.back().x);
    const auto along = [](const tDrawingPath& p) {
      return p.points.size() == 2 && p.points[0].y == p.points[1].y && std::abs(p.points[0].y - FigureBaseline()) <= 4;
    };
    EXPECT_EQ(std::count_if(d.paths.begin(), d.paths.end(), along), 2) << "the axis and the tail's base";
    EXPECT_TRUE(std::any_of(d.paths.begin(), d.paths.end(), [&](const tDrawingPath& p) {
      return along(p) && p.strokeWidth >= 2 && p.points[0].x == tailLow && p.points[1].x == tailHigh;
    }));
    for (const double limit : {f.zPcccLower, f.zPcccUpper})
      EXPECT_TRUE(std::any_of(d.texts.begin(), d.texts.end(), [&](const tDrawingText& t) {
        return t.text == FormatC("%.3f", limit) && t.at.y > FigureBaseline() + 20;
      })) << limit;
    const auto share = std::find_if(d.texts.begin(), d.texts.end(),
                                    [&](const tDrawingText& t) { return t.text == FormatC("%1.4f%%", f.tailPercent); });
    ASSERT_NE(share, d.texts.end());
    EXPECT_GE(FigureBaseline() - share->at.y, 20) << f.tailPercent;
    const auto pointer = [&](const tDrawingPath& p) {
      return p.points.size() == 2 && p.points[0].y > share->at.y && p.points[0].y < p.points[1].y - 4 &&
             std::abs(p.points[1].y - FigureBaseline()) <= 4 && p.points[1].x > tailLow && p.points[1].x < tailHigh;
    };
    EXPECT_EQ(std::any_of(d.paths.begin(), d.paths.end(), pointer), f.tailPercent < 0.1) << f.tailPercent;
  }
}

#include "report/analysis_figure.h"

#include <algorithm>
#include <cmath>

#include "core/text_format.h"
#include "core/text_lines.h"
#include "distrib/t_distribution.h"
#include "engine/case_difference.h"
#include "report/analysis_report.h"

namespace {

// The axis spans the curve this many scales either side of its centre
// (and the observed difference and the interval, when they lie further out).
constexpr double CurveHalfWidthInScales = 4;
// Room left beyond the outermost value, as a share of the span.
constexpr double AxisPadding = 0.04;
// Samples of the curve across the whole axis and, so that a curve narrow
// beside a far-off observed difference keeps its shape, across its centre.
constexpr int AxisSamples = 160;
constexpr int CentreSamples = 160;
constexpr double CentreHalfWidthInScales = 5;
// About this many ticks on the axis.
constexpr int TargetTickCount = 6;


bool Finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// A round step near span / TargetTickCount: 1, 2 or 5 times a power of ten.
double TickStep(double span) {
  const double raw = span / TargetTickCount;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= raw) return m * power;
  return 10 * power;
}

std::vector<double> Ticks(double low, double high) {
  const double step = TickStep(high - low);
  std::vector<double> ticks;
  for (double i = std::ceil(low / step); i * step <= high && ticks.size() < 4 * TargetTickCount; ++i)
    ticks.push_back(i == 0 ? 0.0 : i * step);  // no "-0"
  return ticks;
}

std::vector<double> SampleAbscissae(const tAnalysisFigure& f) {
  std::vector<double> xs;
  for (int i = 0; i <= AxisSamples; ++i) xs.push_back(f.axisLow + (f.axisHigh - f.axisLow) * i / AxisSamples);
  const double from = std::max(f.axisLow, f.predicted - CentreHalfWidthInScales * f.scale);
  const double to = std::min(f.axisHigh, f.predicted + CentreHalfWidthInScales * f.scale);
  for (int i = 0; i <= CentreSamples; ++i) xs.push_back(from + (to - from) * i / CentreSamples);
  xs.push_back(f.observed);
  xs.push_back(f.predicted);
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  return xs;
}


// Differences are written with three decimals, as the report writes the
// raw difference, unless the task's scale is so small that these would
// hide them or its values so large that they would be long; then with four
// significant digits.
constexpr double SmallestFixedScale = 0.1;
constexpr double LargestFixedValue = 1e6;

// Longest task name the axis label shows whole, in bytes.
constexpr std::size_t LongestAxisName = 30;

// The name without surrounding blanks, cut (at a character boundary of
// its UTF-8) with "..." when longer than fits on the axis.
std::string AxisName(const std::string& name) {
  const std::string trimmed = Trimmed(name);
  if (trimmed.empty()) return "task";
  if (trimmed.size() <= LongestAxisName) return trimmed;
  std::size_t cut = LongestAxisName - 3;
  while (cut > 0 && (static_cast<unsigned char>(trimmed[cut]) & 0xC0) == 0x80) --cut;
  return trimmed.substr(0, cut) + "...";
}

}  // namespace

std::optional<tAnalysisFigure> AnalysisFigureOf(const tAnalysisRecord& record, const std::string& taskName) {
  if (record.outcome != tAnalysisOutcome::Done) return std::nullopt;
  const tAnalysisRequest& in = record.request;
  const AnalysisResults& r = record.results;
  const tCaseDifference& cases = record.working;

  tAnalysisFigure f;
  f.taskName = taskName;
  f.observed = static_cast<double>(cases.observed);
  f.predicted = static_cast<double>(cases.predicted);
  f.scale = static_cast<double>(std::sqrt(cases.residualVariance * (2 + cases.v)));
  f.degreesOfFreedom = static_cast<double>(r.df);
  f.conditionalSdOfDifference = static_cast<double>(ConditionalSdOfDifference(record.conditionalSd));
  f.zPccc = static_cast<double>(r.zPccc);
  f.zPcccLower = static_cast<double>(r.zPcccLower);
  f.zPcccUpper = static_cast<double>(r.zPcccUpper);
  f.intervalLow = f.predicted + f.zPcccLower * f.conditionalSdOfDifference;
  f.intervalHigh = f.predicted + f.zPcccUpper * f.conditionalSdOfDifference;
  f.confidenceLevel = static_cast<double>(in.confidenceLevel);
  f.twoSided = in.interval == tIntervalChoice::TwoSided;
  // The engine takes the lower tail for a negative t and the upper one
  // otherwise (t = 0 included).
  f.lowerTail = r.tValue < 0;
  f.tailPercent = static_cast<double>(r.pctEstimate);
  if (!Finite({f.observed, f.predicted, f.scale, f.degreesOfFreedom, f.intervalLow, f.intervalHigh, f.tailPercent}) ||
      !(f.scale > 0) || !(f.degreesOfFreedom > 0))
    return std::nullopt;

  const double low = std::min({f.predicted - CurveHalfWidthInScales * f.scale, f.observed, f.intervalLow});
  const double high = std::max({f.predicted + CurveHalfWidthInScales * f.scale, f.observed, f.intervalHigh});
  f.axisLow = low - AxisPadding * (high - low);
  f.axisHigh = high + AxisPadding * (high - low);
  if (!Finite({f.axisLow, f.axisHigh}) || !(f.axisHigh > f.axisLow)) return std::nullopt;
  f.ticks = Ticks(f.axisLow, f.axisHigh);

  tT_distribution t(r.df);
  for (double x : SampleAbscissae(f)) {
    const double density = static_cast<double>(t.Density((x - f.predicted) / f.scale)) / f.scale;
    f.curve.push_back({x, density});
    if (f.lowerTail ? x <= f.observed : x >= f.observed) f.tail.push_back({x, density});
  }
  return f;
}

std::string FigureValueText(const tAnalysisFigure& f, double value) {
  const bool exponent = f.scale < SmallestFixedScale ||
                        std::max(std::abs(f.observed), std::abs(f.predicted)) >= LargestFixedValue;
  return FormatC(exponent ? "%.4g" : "%.3f", value);
}

std::string FigureIntervalName(const tAnalysisFigure& f) {
  return ConfidenceIntervalName(f.confidenceLevel, f.twoSided) + " on Z-PCCC";
}

std::string FigureAxisLabel(const tAnalysisFigure& f) {
  return "Difference in " + AxisName(f.taskName) + " scores (Case A - Case B)";
}

std::string FigureCaption(const tAnalysisFigure& f) {
  return "The estimated distribution of differences between two controls with the cases' covariate scores "
         "(Student t on " + FormatC("%.0f", f.degreesOfFreedom) + " df, centred on the predicted difference " +
         FigureValueText(f, f.predicted) + "), the cases' difference " + FigureValueText(f, f.observed) +
         " with the " +
         FormatC("%1.4f", f.tailPercent) + "% of controls beyond it shaded, and the " + FigureIntervalName(f) +
         " (" + FormatC("%.3f", f.zPcccLower) + " to " + FormatC("%.3f", f.zPcccUpper) +
         ") on a scale of its own under the axis.";
}

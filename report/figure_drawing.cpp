#include "report/figure_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/text_format.h"

namespace {

// Horizontal layout: the plot spans the canvas less a margin each side.
constexpr double SideMargin = 18;
// Vertical layout, top to bottom (baselines of texts, heights of lines).
constexpr double ObservedLabelY = 14;
constexpr double PredictedLabelY = 28;
constexpr double ObservedMarkTop = 18;
constexpr double PredictedMarkTop = 32;
constexpr double CurveTop = 40;  // the curve's peak
constexpr double AxisY = 150;
constexpr double TickLength = 5;
constexpr double TickLabelY = 166;
constexpr double AxisLabelY = 183;
// The interval on Z-PCCC stands on a scale of its own under the axis: its
// point above the bar, the limits beside its ends (under them where there
// is no room beside), its name in the key.
constexpr double ZPointLabelY = 197;
constexpr double ZBarY = 204;
constexpr double ZCapHalf = 5;
constexpr double ZUnderCapY = 218;
constexpr double KeyY = 226;
constexpr double CaptionFirstY = 245;
constexpr double CaptionLineHeight = 13;
constexpr double BottomMargin = 9;
// The tail's share stands beside the observed mark, just above the curve
// but below the marks' labels.
constexpr double ShareAboveCurve = 6;
constexpr double ShareHighest = 52;
// A tail too thin to be seen as an area: its share is raised to this
// height above the axis and points down at the tail.
constexpr double ThinTail = 12;
constexpr double RaisedShare = 30;
// The tail's base along the axis, drawn over it so that the tail's
// extent shows however small its area.
constexpr double TailBaseWidth = 3;

constexpr double LabelSize = 11;
constexpr double SmallSize = 10;
// A generous average width of a sans-serif character, in ems, for placing
// and wrapping texts without measuring them.
constexpr double CharWidthEms = 0.5;

constexpr tDrawingColour Black = 0x000000;
constexpr tDrawingColour FrameGrey = 0xC8C8C8;
constexpr tDrawingColour CurveBlue = 0x2B5D8A;
constexpr tDrawingColour BandBlue = 0x7FA7CF;
constexpr tDrawingColour TailFill = 0xF4A582;
constexpr tDrawingColour TailEdge = 0xD6604D;
constexpr tDrawingColour ObservedRed = 0xB2182B;
constexpr tDrawingColour PredictedGrey = 0x555555;

double PlotLeft() { return SideMargin; }
double PlotRight() { return FigureWidth - SideMargin; }

double TextWidth(const std::string& text, double size) {
  std::size_t characters = 0;
  for (unsigned char c : text) characters += (c & 0xC0) != 0x80;  // UTF-8 lead bytes
  return static_cast<double>(characters) * size * CharWidthEms;
}

// A label at x that stays within the plot: centred on x where it fits,
// otherwise starting or ending at x.
tDrawingText LabelAt(double x, double y, const std::string& text, double size, tDrawingColour colour) {
  const double half = TextWidth(text, size) / 2;
  tTextAnchor anchor = tTextAnchor::Middle;
  if (x - half < PlotLeft()) anchor = tTextAnchor::Start;
  if (x + half > PlotRight()) anchor = tTextAnchor::End;
  return {{x, y}, text, size, anchor, false, false, colour};
}

tDrawingPath Line(double x1, double y1, double x2, double y2, tDrawingColour colour, double width,
                  bool dashed = false) {
  tDrawingPath path;
  path.points = {{x1, y1}, {x2, y2}};
  path.stroke = colour;
  path.strokeWidth = width;
  path.dashed = dashed;
  return path;
}

tDrawingPath Box(double x, double y, double w, double h, tDrawingColour fill) {
  tDrawingPath path;
  path.points = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  path.closed = true;
  path.filled = true;
  path.fill = fill;
  path.stroked = false;
  return path;
}

// Words of text in lines no wider than width.
std::vector<std::string> Wrapped(const std::string& text, double size, double width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string word = text.substr(at, end - at);
    const std::string joined = line.empty() ? word : line + " " + word;
    if (!line.empty() && TextWidth(joined, size) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = joined;
    }
    at = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// A tick label: whole numbers plain, others with the decimals the step
// needs; very large values, or steps finer than the decimals shown, in
// the shorter exponent form.
std::string TickLabel(double value, const std::vector<double>& ticks) {
  constexpr int MostDecimals = 6;
  const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : 1;
  int decimals = 0;
  auto whole = [](double v) { return std::abs(v - std::round(v)) <= 1e-6 * std::max(1.0, std::abs(v)); };
  while (decimals <= MostDecimals && !whole(step * std::pow(10.0, decimals))) ++decimals;
  if (decimals > MostDecimals || std::abs(value) >= 1e7) return FormatC("%.4g", value);
  return FormatC("%.*f", decimals, value);
}

// The curve's height at the observed difference (one of its samples).
double ObservedDensity(const tAnalysisFigure& f) {
  for (const tFigurePoint& p : f.curve)
    if (p.x == f.observed) return p.density;
  return 0;
}

}  // namespace

double FigureX(const tAnalysisFigure& f, double value) {
  return PlotLeft() + (value - f.axisLow) / (f.axisHigh - f.axisLow) * (PlotRight() - PlotLeft());
}

double FigureBaseline() { return AxisY; }

tDrawing FigureDrawing(const tAnalysisFigure& f) {
  tDrawing d;
  d.width = FigureWidth;
  d.title = FigureCaption(f);
  const std::vector<std::string> caption = Wrapped(d.title, SmallSize, PlotRight() - PlotLeft());
  d.height = CaptionFirstY + CaptionLineHeight * static_cast<double>(caption.size() - 1) + BottomMargin;

  // The background and its frame.
  tDrawingPath frame = Box(0.5, 0.5, d.width - 1, d.height - 1, 0xFFFFFF);
  frame.stroked = true;
  frame.stroke = FrameGrey;
  d.paths.push_back(frame);

  double peak = 0;
  for (const tFigurePoint& p : f.curve) peak = std::max(peak, p.density);
  auto Y = [&](double density) { return peak > 0 ? AxisY - density / peak * (AxisY - CurveTop) : AxisY; };
  const double observedX = FigureX(f, f.observed);
  const double predictedX = FigureX(f, f.predicted);

  // The shaded tail, closed along the axis, with its edge.
  if (!f.tail.empty()) {
    tDrawingPath tail;
    for (const tFigurePoint& p : f.tail) tail.points.push_back({FigureX(f, p.x), Y(p.density)});
    tail.points.push_back({FigureX(f, f.tail.back().x), AxisY});
    tail.points.push_back({FigureX(f, f.tail.front().x), AxisY});
    tail.closed = true;
    tail.filled = true;
    tail.fill = TailFill;
    tail.stroke = TailEdge;
    tail.strokeWidth = 1;
    d.paths.push_back(tail);
  }
  tDrawingPath curve;
  for (const tFigurePoint& p : f.curve) curve.points.push_back({FigureX(f, p.x), Y(p.density)});
  curve.stroke = CurveBlue;
  curve.strokeWidth = 1.8;
  d.paths.push_back(curve);

  // The axis and its ticks; the tail's base lies on the axis.
  d.paths.push_back(Line(PlotLeft(), AxisY, PlotRight(), AxisY, Black, 1));
  if (!f.tail.empty())
    d.paths.push_back(Line(FigureX(f, f.tail.front().x), AxisY - TailBaseWidth / 2, FigureX(f, f.tail.back().x),
                           AxisY - TailBaseWidth / 2, TailEdge, TailBaseWidth));
  for (double tick : f.ticks) {
    const double x = FigureX(f, tick);
    d.paths.push_back(Line(x, AxisY, x, AxisY + TickLength, Black, 1));
    d.texts.push_back({{x, TickLabelY}, TickLabel(tick, f.ticks), SmallSize, tTextAnchor::Middle});
  }

  // The interval on Z-PCCC on its own scale, away from the axis of the
  // difference: a bar with its ends and its point, labelled in Z-PCCC.
  const double bandLow = FigureX(f, f.intervalLow), bandHigh = FigureX(f, f.intervalHigh);
  d.paths.push_back(Line(bandLow, ZBarY, bandHigh, ZBarY, BandBlue, 3));
  d.paths.push_back(Line(bandLow, ZBarY - ZCapHalf, bandLow, ZBarY + ZCapHalf, CurveBlue, 1.5));
  d.paths.push_back(Line(bandHigh, ZBarY - ZCapHalf, bandHigh, ZBarY + ZCapHalf, CurveBlue, 1.5));
  d.paths.push_back(Box(observedX - 3, ZBarY - 3, 6, 6, CurveBlue));
  const std::string lowText = FormatC("%.3f", f.zPcccLower), highText = FormatC("%.3f", f.zPcccUpper);
  const bool lowBeside = bandLow - 4 - TextWidth(lowText, SmallSize) >= PlotLeft();
  const bool highBeside = bandHigh + 4 + TextWidth(highText, SmallSize) <= PlotRight();
  d.texts.push_back({{lowBeside ? bandLow - 4 : bandLow, lowBeside ? ZBarY + 4 : ZUnderCapY}, lowText, SmallSize,
                     lowBeside ? tTextAnchor::End : tTextAnchor::Start, false, false, CurveBlue});
  d.texts.push_back({{highBeside ? bandHigh + 4 : bandHigh, highBeside ? ZBarY + 4 : ZUnderCapY}, highText,
                     SmallSize, highBeside ? tTextAnchor::Start : tTextAnchor::End, false, false, CurveBlue});
  d.texts.push_back(
      LabelAt(observedX, ZPointLabelY, "Z-PCCC " + FormatC("%.3f", f.zPccc), SmallSize, CurveBlue));

  // The marks of the predicted and the observed difference, with labels.
  d.paths.push_back(Line(predictedX, AxisY, predictedX, PredictedMarkTop, PredictedGrey, 1.2, true));
  d.paths.push_back(Line(observedX, AxisY, observedX, ObservedMarkTop, ObservedRed, 2));
  // The predicted label stands clear of the observed mark when they are close.
  const std::string predicted = "predicted " + FigureValueText(f, f.predicted);
  tDrawingText predictedLabel = LabelAt(predictedX, PredictedLabelY, predicted, LabelSize, PredictedGrey);
  if (std::abs(predictedX - observedX) < TextWidth(predicted, LabelSize) / 2 + 4) {
    const bool right = predictedX >= observedX ? observedX + 4 + TextWidth(predicted, LabelSize) <= PlotRight()
                                               : predictedX - 4 - TextWidth(predicted, LabelSize) < PlotLeft();
    predictedLabel.at.x = right ? std::max(predictedX, observedX) + 4 : std::min(predictedX, observedX) - 4;
    predictedLabel.anchor = right ? tTextAnchor::Start : tTextAnchor::End;
  }
  d.texts.push_back(predictedLabel);
  d.texts.push_back(LabelAt(observedX, ObservedLabelY, "cases' difference " + FigureValueText(f, f.observed),
                            LabelSize, ObservedRed));

  // The tail's share beside the observed mark, on the tail's side where it fits.
  const std::string share = FormatC("%1.4f%%", f.tailPercent);
  const double shareWidth = TextWidth(share, LabelSize);
  bool left = f.lowerTail;
  if (left && observedX - 5 - shareWidth < PlotLeft()) left = false;
  if (!left && observedX + 5 + shareWidth > PlotRight()) left = true;
  const bool thin = AxisY - Y(ObservedDensity(f)) < ThinTail;
  const double shareY = thin ? AxisY - RaisedShare
                             : std::clamp(Y(ObservedDensity(f)) - ShareAboveCurve, ShareHighest, AxisY - 8);
  d.texts.push_back({{left ? observedX - 5 : observedX + 5, shareY}, share, LabelSize,
                     left ? tTextAnchor::End : tTextAnchor::Start, true, false, ObservedRed});
  // A thin tail: a pointer from its share down to the tail's base.
  if (thin && !f.tail.empty()) {
    const double side = f.lowerTail ? -1 : 1;
    d.paths.push_back(Line(observedX + side * 10, shareY + 4, observedX + side * 3, AxisY - TailBaseWidth,
                           TailEdge, 1.2));
  }

  d.texts.push_back({{FigureWidth / 2, AxisLabelY}, FigureAxisLabel(f), LabelSize, tTextAnchor::Middle});

  // The key: the interval's bar and the shading.
  const std::string bandKey = FigureIntervalName(f) + " (its own scale)";
  const std::string tailKey = "controls beyond the cases' difference";
  const double keyWidth = 22 + TextWidth(bandKey, SmallSize) + 24 + 22 + TextWidth(tailKey, SmallSize);
  double x = std::max(PlotLeft(), (FigureWidth - keyWidth) / 2);
  d.paths.push_back(Line(x, KeyY - 4, x + 16, KeyY - 4, BandBlue, 3));
  d.paths.push_back(Line(x, KeyY - 8, x, KeyY, CurveBlue, 1.5));
  d.paths.push_back(Line(x + 16, KeyY - 8, x + 16, KeyY, CurveBlue, 1.5));
  d.texts.push_back({{x + 22, KeyY}, bandKey, SmallSize});
  x += 22 + TextWidth(bandKey, SmallSize) + 24;
  tDrawingPath tailSwatch = Box(x, KeyY - 9, 16, 10, TailFill);
  tailSwatch.stroked = true;
  tailSwatch.stroke = TailEdge;
  d.paths.push_back(tailSwatch);
  d.texts.push_back({{x + 22, KeyY}, tailKey, SmallSize});

  for (std::size_t i = 0; i < caption.size(); ++i)
    d.texts.push_back({{PlotLeft(), CaptionFirstY + CaptionLineHeight * static_cast<double>(i)}, caption[i],
                       SmallSize, tTextAnchor::Start, false, true, 0x333333});
  return d;
}

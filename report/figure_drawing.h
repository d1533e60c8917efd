// The figure of an analysis laid out as a drawing: the labels of the two
// marks above the plot, the curve with its shaded tail, the marks of the
// observed and the predicted difference, the axis with its ticks and the
// tail's base on it, the axis label, the interval on Z-PCCC on a scale of
// its own under it, a key and the caption. Canvas units are
// pixels on screen; printing and export scale the whole.
#pragma once

#include "core/drawing.h"
#include "report/analysis_figure.h"

// The canvas' width; its height follows from the caption's lines.
inline constexpr double FigureWidth = 680;

// Where a difference in the task's units stands on the canvas.
double FigureX(const tAnalysisFigure& figure, double value);
// The height of the axis line on the canvas.
double FigureBaseline();

tDrawing FigureDrawing(const tAnalysisFigure& figure);

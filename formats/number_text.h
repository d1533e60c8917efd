// Small text helpers of the batch tool: reading a score, writing a figure
// with the digits the analysis settles, and turning a notice into one
// line of text.
#pragma once

#include <string>
#include <string_view>

#include "core/extended.h"

// Longest text read as one score (longer texts are refused).
constexpr int MaxScoreTextLength = 64;

// Reads a decimal number: an optional sign, digits with an optional
// decimal point, an optional exponent ("12", "-0.5", "1.5e-3"). The point
// is the decimal mark whatever the locale; the whole text must be the
// number and its value finite. Returns false otherwise (value unchanged).
bool ReadScore(std::string_view text, extended& value);

// Significant digits of a figure in the csv and json outputs. The
// analysis leaves its figures good to about 5e-17 relative on the desktop
// (64-bit significand: the noncentral t series and the Student t at some
// thousand df round to that after a whole analysis; in WebAssembly,
// binary128, they are some hundred times finer), so the 17 digits a
// double would need differ between the builds in their last one to three
// digits and even 15 do where a figure falls near a rounding boundary.
// 14 digits are settled in both builds, and every printed figure reads
// back into a double within 5e-14 relative of the computed value.
constexpr int BatchFigureDigits = 14;

// A figure with BatchFigureDigits significant digits ("%.14Lg", '.' as
// decimal mark). Non-finite values give "NaN", "Inf" or "-Inf".
std::string BatchFigure(extended value);

// The text of a notice on one line: each run of line breaks ('\r', '\n')
// becomes one blank, and blanks at either end go.
std::string OneLineText(std::string_view text);

// Small text helpers of the batch tool: reading a score, writing a figure
// with full precision, and turning a notice into one line of text.
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

// A figure with 17 significant digits ("%.17Lg", '.' as decimal mark).
// Non-finite values give "NaN", "Inf" or "-Inf".
std::string FullPrecision(extended value);

// The text of a notice on one line: each run of line breaks ('\r', '\n')
// becomes one blank, and blanks at either end go.
std::string OneLineText(std::string_view text);

// The fixed texts of the validation boxes. A '\r' starts a new line in the
// box. The readers and rules build their messages from these; window tests
// may compare against them.
#pragma once

#include <cstddef>

// Key filter.
inline constexpr const char* NumericKeyMessage = "INPUT ERROR\r\rEnter numeric data only.";
// Length rule.
inline constexpr const char* MaximumLengthMessage = "Maximum length of input is 6 characters.";

// Strict reader: "INPUT ERROR\r\r(  " label "  " text ")" "\r\r" EmptyFieldText
inline constexpr const char* EmptyFieldText = "Data have not been entered in this field.";
// Strict reader: "INPUT ERROR\r(  " label "  " text "  )" "\r\r" NumericOnlyText
inline constexpr const char* NumericOnlyText = "Enter numeric data only.";
// Strict reader, text longer than MaxNumberTextLength characters:
// "INPUT ERROR\r(  " label "  " first characters "...  )" "\r\r" TooLongText
inline constexpr const char* TooLongText =
    "The entry is too long to be a number (at most 64 characters).";
// Strict reader, a number written with an exponent (a restored or
// command-line text such as "1e+09" or "1e300"; nothing typed holds one):
// "INPUT ERROR\r(  " label "  " text "  )" "\r\r" and, when the value needs
// more than 6 digits before the point (or is beyond every real),
// TooLargeText, otherwise ExponentText.
inline constexpr const char* TooLargeText =
    "The number is too large: an entry holds at most 6 characters, written without an exponent.";
inline constexpr const char* ExponentText =
    "The number is written with an exponent: write it out in digits, in at most 6 characters.";

// Lenient (cell) reader.
inline constexpr const char* InvalidCellMessage =
    "There is an invalid data entry, which will be highlighted once you click 'OK', please re-enter.";
// Lenient reader, text too long: InvalidCellMessage "\r\r" TooLongText

// Value rules: "INPUT ERROR\r(  " label "  " value("%3.3f") "  )" "\r" rule text
inline constexpr const char* CovariateCountRuleText =
    "The value must be a positive integer and be less than 6.";
inline constexpr const char* SampleSizeRuleText =
    "The value for sample size must be an integer greater than 2.";
// A whole number too large to be a count (beyond MaxSampleSize).
inline constexpr const char* SampleSizeTooLargeText =
    "The value for sample size must be an integer greater than 2 and at most 100000000.";
inline constexpr const char* PositiveSdRuleText = "Standard deviations must have a positive value.";

// A matrix value outside IsMatrixValueInRange (information box).
inline constexpr const char* MatrixRangeMessage =
    "Valid matrix values are BETWEEN -1 and +1. Please re-enter matrix values";

// Cross-field rule (error box), filled with n and n - 2.
inline constexpr const char* CrossFieldFormat =
    " With a control sample size of %2d, the maximum number of covariates is %2d ";

// The correlation matrix of the controls is not positive definite: the box
// that stops a compute, in the summary-data and the raw-data program.
inline constexpr const char* NotPositiveDefiniteMessage =
    "Analysis cannot proceed as the correlation matrix is not positive definite: check that you "
    "entered the correct values for the correlations (alternatively it may be that one variable is "
    "linearly dependent on other variables and should be dropped)";
inline constexpr const char* RawDataNotPositiveDefiniteMessage =
    "Analysis cannot proceed as the correlation matrix is not positive definite: check for errors in entry of "
    "the control sample data (alternatively it may be that one variable is linearly dependent on other "
    "variables and should be dropped)";

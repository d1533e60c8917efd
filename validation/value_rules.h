// The value rules of the worksheet inputs and the cross-field rule.
// Each rule returns true and shows nothing when it holds; otherwise it
// shows its box through notice and returns false. No rule clears or
// changes the field: the caller moves the focus to the field (or cell)
// concerned and stops the computation.
#pragma once

#include <string_view>

#include "core/extended.h"
#include "platform/notice.h"

// Largest sample size a count may hold (larger whole numbers are refused
// so that the value always converts safely to an int).
constexpr extended MaxSampleSize = 100000000.0L;

// The range of the number of covariates.
constexpr int MinCovariateCount = 1;
constexpr int MaxCovariateCount = 5;

// Number of covariates: a whole number from 1 to 5. Otherwise the warning
// "INPUT ERROR\r(  <label>  <value %3.3f>  )\rThe value must be a positive
// integer and be less than 6.".
// Window layer: at Compute after ReadLabelledNumber of the covariates
// field (Quorvik txtInput2, Quorvane txtInput1), label = its caption.
bool CheckCovariateCount(std::string_view label, extended value, const tNoticeHook& notice);

// Sample size: a whole number of at least 3. Otherwise the warning
// "INPUT ERROR\r(  <label>  <value %3.3f>  )\rThe value for sample size
// must be an integer greater than 2." (a whole number above MaxSampleSize
// is refused with a text saying so).
// Window layer: at Compute after ReadLabelledNumber of the sample-size
// field (Quorvik txtInput1, Quorvane txtInput2), label = its caption.
bool CheckSampleSize(std::string_view label, extended value, const tNoticeHook& notice);

// Standard deviation: greater than 0. Otherwise the warning "INPUT ERROR\r(
// <label>  <value %3.3f>  )\rStandard deviations must have a positive
// value.".
// Window layer (Quorvane): at Compute, for each cell of grid column 3 (SD)
// once ReadLabelledNumber of the cell succeeded, with the caption of the
// SD column heading ("SD") as label; on false make that cell current.
bool CheckPositiveSd(std::string_view label, extended value, const tNoticeHook& notice);

// Cross-field rule: n controls allow at most n - 2 covariates (n - 1 > k).
// Otherwise an error box (caption "Error") shows " With a control sample
// size of %2d, the maximum number of covariates is %2d " filled with n and
// n - 2.
// Window layer: call it right after both fields passed their rules, with
// the two values as ints; on false focus the covariates field and stop.
bool CheckCovariatesForSampleSize(int n, int k, const tNoticeHook& notice);

// A value of the correlation matrix: off the diagonal strictly between -1
// and +1, on it greater than -1. The matrix window refuses any other with
// the information box MatrixRangeMessage.
bool IsMatrixValueInRange(double value, bool offDiagonal);

#include "validation/value_rules.h"

#include <climits>
#include <cmath>
#include <string>

#include "core/text_format.h"
#include "validation/validation_messages.h"

namespace {

// Smallest sample size.
constexpr extended MinSampleSize = 3.0L;

// A whole number: the value minus its truncation is exactly 0 (false for
// NaN and the infinities, whose difference is NaN).
bool IsWhole(extended value) { return value - std::trunc(value) == 0.0L; }

bool Refuse(std::string_view label, extended value, const char* ruleText, const tNoticeHook& notice) {
  if (notice)
    notice(tNotice{tMessageKind::Warning, "Warning",
                   "INPUT ERROR\r(  " + std::string(label) + "  " + FormatC("%3.3Lf", value) + "  )" +
                       "\r" + ruleText});
  return false;
}

}  // namespace

bool CheckCovariateCount(std::string_view label, extended value, const tNoticeHook& notice) {
  if (IsWhole(value) && std::trunc(value) >= MinCovariateCount && std::trunc(value) <= MaxCovariateCount)
    return true;
  return Refuse(label, value, CovariateCountRuleText, notice);
}

bool CheckSampleSize(std::string_view label, extended value, const tNoticeHook& notice) {
  if (!IsWhole(value) || std::trunc(value) < MinSampleSize)
    return Refuse(label, value, SampleSizeRuleText, notice);
  // Guard for a long pasted or restored text: the count must convert to int.
  if (std::trunc(value) > MaxSampleSize) return Refuse(label, value, SampleSizeTooLargeText, notice);
  return true;
}

bool CheckPositiveSd(std::string_view label, extended value, const tNoticeHook& notice) {
  if (value > 0.0L) return true;  // false for NaN too
  return Refuse(label, value, PositiveSdRuleText, notice);
}

bool CheckCovariatesForSampleSize(int n, int k, const tNoticeHook& notice) {
  if (static_cast<long long>(n) - 1 > k) return true;
  // n - 2 computed wide: a caller passing INT_MIN must not overflow.
  const long long maximum = static_cast<long long>(n) - 2;
  const int shown = maximum < INT_MIN ? INT_MIN : static_cast<int>(maximum);
  if (notice) notice(tNotice{tMessageKind::Error, "Error", FormatC(CrossFieldFormat, n, shown)});
  return false;
}

bool IsMatrixValueInRange(double value, bool offDiagonal) { return value > -1 && !(offDiagonal && value >= 1); }

// Equality of reals, argument rules and their error messages.
#pragma once

#include <string>

#include "core/extended.h"
#include "distrib/constants.h"

// The stand-in for infinity throughout the unit: support bounds and
// parameter bounds use +-DistributionInfinity.
constexpr extended DistributionInfinity = LargestWholeArgument;

// The unit's one notion of equality of reals: an absolute tolerance.
constexpr extended EqualityTolerance = 5e-12L;

// True when |b - a| < 5e-12.
bool NearlyEqual(extended a, extended b);

// Compares value with bound by the rule of the identifier and raises
// EArgumentError when the rule is broken; returns true otherwise.
//   1301, 1305, 1309: value must be greater than bound
//   1302, 1306, 1310: value must be at least bound
//   1303, 1307, 1311: value must be less than bound
//   1315:             value must be at most bound
//   any other:        no rule
// A NaN value satisfies no rule, so it is refused by every one of them.
// The message is the identifier's text followed by the bound formatted
// like "0.############".
bool CheckArgument(int id, extended value, extended bound);

// Raises EArgumentError with the identifier's text alone when condition holds.
void RaiseArgumentErrorIf(bool condition, int id);

// The message text of an identifier (without any bound).
std::string ArgumentErrorText(int id);

// A number formatted like "0.############": at least one integer digit, at
// most twelve decimals, no trailing zeros, "." as the decimal mark.
std::string FormatBound(extended value);

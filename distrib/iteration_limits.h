// Safety limits of the unit's open-ended loops and the accuracy they aim
// at. The algorithms stop on their own tests; these limits lie far beyond
// any count those tests need with finite arithmetic and only turn a loop
// that cannot end into an error.
#pragma once

#include "core/extended.h"

// The series and continued fractions stop when a term or a change falls
// below this share of the result: twice the extended unit roundoff 2^-64.
constexpr extended UnitRoundoff = 0x1p-63L;

// Continued fractions: they need O(sqrt(max(a, b))) terms, at most a few
// hundred thousand for the largest arguments the distributions pass.
constexpr long ContinuedFractionTermLimit = 50000000L;
// Power series of the incomplete gamma function: about 10 sqrt(a) terms
// near x = a, a few hundred thousand for shapes up to 2147483647.
constexpr long SeriesTermLimit = 50000000L;

// Safety limits of the unit's open-ended loops. The algorithms stop on
// their own tests; these limits lie far beyond any count those tests need
// with finite arithmetic and only turn a loop that cannot end into an error.
#pragma once

// Continued fractions: they need O(sqrt(max(a, b))) terms, at most a few
// hundred thousand for the largest arguments the distributions pass.
constexpr long ContinuedFractionTermLimit = 50000000L;

// The regularised lower incomplete gamma function P(a, x).
#pragma once

#include "core/extended.h"

// P(a, x) for x >= 0 and a > 0: the power series below x = a + 1, one
// minus the continued fraction above. Arguments out of range raise
// EArgumentError (1302, 1301, 1361); faults raise EArithmeticError.
extended IncompleteGamma(extended x, extended a);

// The pieces, exposed for tests. Series: P(a, x). Continued fraction:
// Q(a, x) = 1 - P(a, x). Both run to the extended unit roundoff; a
// non-finite value inside them raises EArithmeticError.
extended IncompleteGammaSeries(extended x, extended a);
extended IncompleteGammaContinuedFraction(extended x, extended a);

// x^a e^(-x) / Gamma(a) for x >= 0 and a > 0, accurate to a few units of
// the last place relative to its size (0 when it underflows).
extended GammaPowerTerm(extended x, extended a);

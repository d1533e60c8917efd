// The regularised lower incomplete gamma function P(a, x).
#pragma once

#include "core/extended.h"

// P(a, x) for x >= 0 and a > 0: the power series below x = a + 1, one
// minus the continued fraction above (Abramowitz, M. and Stegun, I. A.
// (1964), Handbook of Mathematical Functions, 6.5.29 and 6.5.31;
// Legendre's continued fraction by its three-term recurrence, renormalised
// at every step, as in Press, W. H. et al. (2007), Numerical Recipes, 3rd
// ed., section 6.2). Both are
// multiplied by GammaPowerTerm, so the result is good to a few units of
// the last place relative to its size. Arguments out of range raise
// EArgumentError (1302, 1301, 1361); faults raise EArithmeticError.
extended IncompleteGamma(extended x, extended a);

// The pieces, exposed for tests. Series: P(a, x). Continued fraction:
// Q(a, x) = 1 - P(a, x). Both run to the extended unit roundoff; a
// non-finite value inside them raises EArithmeticError.
extended IncompleteGammaSeries(extended x, extended a);
extended IncompleteGammaContinuedFraction(extended x, extended a);

// x^a e^(-x) / Gamma(a) for x >= 0 and a > 0, accurate to a few units of
// the last place relative to its size (0 when it underflows). Near the
// saddle point x = a it is taken in Temme's form with Stirling's formula
// for Gamma(a) (Temme, N. M. (1996), Special Functions, Wiley, section
// 11.2), so that a ln x, x and ln Gamma(a) never meet.
extended GammaPowerTerm(extended x, extended a);

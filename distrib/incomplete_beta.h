// The regularised incomplete beta function I_x(a, b).
#pragma once

#include "core/extended.h"

// I_x(a, b): 0 for x <= 0, 1 for x >= 1; otherwise by the continued
// fraction on the side of the mean where it converges fast (Abramowitz and
// Stegun 26.5.8, even and odd steps of its recurrence together, used for
// x < (a + 1)/(a + b + 2) and through I_x(a, b) = 1 - I_y(b, a) beyond, as
// in Press et al. (2007), Numerical Recipes, section 6.4), times
// BetaPowerTerm: a few units of the last place relative to its size. Any arithmetic
// fault in the computation makes it return 1 (it never raises).
extended IncompleteBeta(extended x, extended a, extended b);

// The same with y = 1 - x given by the caller, who can often form it
// without the rounding of 1 - x (for the t distribution, nu / (nu + t^2)
// and t^2 / (nu + t^2)); x + y must be 1 up to rounding.
extended IncompleteBeta(extended x, extended y, extended a, extended b);

// The same, also giving BetaPowerTerm(x, y, a, b), which it computes on the
// way (NaN when a fault made the result 1).
extended IncompleteBeta(extended x, extended y, extended a, extended b, extended& powerTerm);

// The continued fraction of I_x(a, b) (exposed for tests), run until two
// successive convergents agree to the unit roundoff; a non-finite value
// inside it raises EArithmeticError.
extended IncompleteBetaContinuedFraction(extended x, extended a, extended b);

// x^a y^b / B(a, b) with y = 1 - x, for a, b > 0 and 0 < x < 1, accurate
// to a few units of the last place relative to its size (0 when it
// underflows). Each factor is taken about its saddle point through
// ln(1 + u) - u and Stirling's remainders of the gamma functions, as in
// the power term of DiDonato, A. R. and Morris, A. H. (1992), Algorithm
// 708: significant digit computation of the incomplete beta function
// ratios, ACM Trans. Math. Software 18, 360-373. Faults raise EArithmeticError.
extended BetaPowerTerm(extended x, extended y, extended a, extended b);

// The regularised incomplete beta function I_x(a, b).
#pragma once

#include "core/extended.h"

// I_x(a, b): 0 for x <= 0, 1 for x >= 1; otherwise by the continued
// fraction on the side of the mean where it converges fast. Any arithmetic
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
// underflows). Faults raise EArithmeticError.
extended BetaPowerTerm(extended x, extended y, extended a, extended b);

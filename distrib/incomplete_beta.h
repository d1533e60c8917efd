// The regularised incomplete beta function I_x(a, b).
#pragma once

#include "core/extended.h"

// I_x(a, b): 0 for x <= 0, 1 for x >= 1; otherwise by the continued
// fraction on the side of the mean where it converges fast. Any arithmetic
// fault in the computation makes it return 1 (it never raises).
extended IncompleteBeta(extended x, extended a, extended b);

// The continued fraction of I_x(a, b) (exposed for tests). It has no term
// limit; a non-finite value inside it raises EArithmeticError.
extended IncompleteBetaContinuedFraction(extended x, extended a, extended b);

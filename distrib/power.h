// The unit's power function x^y.
#pragma once

#include "core/extended.h"

// x^y: y = 0 gives 1; x = 0 with y > 0 gives 0; a whole y with
// |y| <= 2147483647 is done by repeated squaring (Knuth, D. E. (1997), The
// Art of Computer Programming, vol. 2, 3rd ed., section 4.6.3; reciprocal
// for y < 0), which loses about log2 |y| units of the last place;
// otherwise exp(y ln x). Faults (0 to a negative power, a negative x with a
// fractional y, overflow) raise EArithmeticError.
extended Power(extended x, extended y);

// The unit's power function x^y.
#pragma once

#include "core/extended.h"

// x^y: y = 0 gives 1; x = 0 with y > 0 gives 0; a whole y with
// |y| <= 2147483647 is done by repeated squaring (reciprocal for y < 0);
// otherwise exp(y ln x). Faults (0 to a negative power, a negative x with a
// fractional y, overflow) raise EArithmeticError.
extended Power(extended x, extended y);

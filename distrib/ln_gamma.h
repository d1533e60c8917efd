// Logarithm of the gamma function and the remainder of Stirling's formula.
#pragma once

#include "core/extended.h"

// ln Gamma(x) for x > 0, to within a few units of the last place of
// extended precision in absolute terms. Faults (x <= 0, NaN) raise
// EArithmeticError.
extended LnGamma(extended x);

// The remainder of Stirling's formula,
//   ln Gamma(x) - ((x - 1/2) ln x - x + ln(2 pi)/2),
// for x > 0; about 1/(12 x) for large x. Exact to the same absolute
// accuracy as LnGamma, and free of the cancellation that forming it from
// LnGamma would suffer for large x.
extended LnGammaStirlingRemainder(extended x);

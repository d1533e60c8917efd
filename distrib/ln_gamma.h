// Logarithm of the gamma function.
#pragma once

#include "core/extended.h"

// ln Gamma(x) for x > 0 by a six-term Lanczos sum. Faults (x <= 0 can
// produce them) raise EArithmeticError.
extended LnGamma(extended x);

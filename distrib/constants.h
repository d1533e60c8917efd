// Mathematical constants of the unit, as the extended values nearest to
// their decimals.
#pragma once

#include "core/extended.h"

constexpr extended Pi = 3.1415926535897932385L;
constexpr extended EulerE = 2.7182818284590452354L;

// Beyond this many standard deviations z^2/2 exceeds the incomplete gamma
// function's argument range (2147483647); the normal distribution function
// there is 0 or 1 to far below extended resolution (1 - Phi(65536) is
// about e^(-2.1e9)).
constexpr extended NormalTailSaturation = 65536.0L;

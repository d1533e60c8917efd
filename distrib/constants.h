// Mathematical constants of the unit, as the extended values nearest to
// their decimals.
#pragma once

#include "core/extended.h"

constexpr extended Pi = 3.1415926535897932385L;
constexpr extended EulerE = 2.7182818284590452354L;
constexpr extended Sqrt2 = 1.41421356237309504880168872420969808L;
constexpr extended InverseSqrtTwo = 0.70710678118654752440084436210484904L;    // 1 / sqrt(2)
constexpr extended InverseSqrtTwoPi = 0.39894228040143267793994605993438187L;  // 1 / sqrt(2 pi)

// The largest whole argument the unit's functions take (2^31 - 1): its
// distributions read a bound at or beyond it as infinite, a Poisson mean
// beyond it is refused, and a power is taken by squaring up to it.
constexpr extended LargestWholeArgument = 2147483647.0L;

// Beyond this many standard deviations z^2/2 exceeds the incomplete gamma
// function's argument range (2147483647); the normal distribution function
// there is 0 or 1 to far below extended resolution (1 - Phi(65536) is
// about e^(-2.1e9)).
constexpr extended NormalTailSaturation = 65536.0L;

// ln(1 + u) - u without cancellation: the building block of the
// saddle-point forms of the gamma, beta and Poisson power terms.
#pragma once

#include "core/extended.h"

// Within this relative distance of the saddle point (x = a for the gamma
// power term, u = 0 for the beta's) the power terms go through
// ln(1 + u) - u instead of subtracting logarithms.
constexpr extended SaddlePointReach = 0.25L;

// ln(1 + u) - u for u > -1 (at most 0), to within a few units of the last
// place relative to its own size, also for tiny u where it is about -u^2/2.
extended Log1pMinusX(extended u);

// ln(1 + u) - u without cancellation: the building block of the
// saddle-point forms of the gamma, beta and Poisson power terms.
#pragma once

#include "core/extended.h"

// ln(1 + u) - u for u > -1 (at most 0), to within a few units of the last
// place relative to its own size, also for tiny u where it is about -u^2/2.
extended Log1pMinusX(extended u);

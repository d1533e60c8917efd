// The extended real type of the numerical code: the x87 80-bit format with
// a 64-bit significand.
#pragma once

#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit extended type (64-bit significand)");

using extended = long double;

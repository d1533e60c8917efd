// Shared helpers of the distribution tests.
#pragma once

#include <cmath>
#include <limits>

#include "distrib/distribution_errors.h"
#include "core/extended.h"

inline const extended NaN = std::numeric_limits<extended>::quiet_NaN();

// The identifier of the EArgumentError that f raises, 0 if none.
template <class F>
int ArgumentErrorId(F f) {
  try {
    f();
  } catch (const EArgumentError& e) {
    return e.Identifier();
  }
  return 0;
}

// |a - b| <= tolerance in extended precision (EXPECT_NEAR compares doubles,
// which cannot tell apart values closer than 1e-16 or so).
#define EXPECT_EXTENDED_NEAR(a, b, tolerance)                                              \
  EXPECT_LE(std::fabs(static_cast<extended>(a) - static_cast<extended>(b)),                \
            static_cast<extended>(tolerance))                                              \
      << #a " = " << static_cast<double>(a) << ", " #b " = " << static_cast<double>(b)

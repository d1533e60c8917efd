// Shared helpers of the distribution tests.
#pragma once

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

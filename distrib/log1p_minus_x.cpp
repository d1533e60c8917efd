#include "distrib/log1p_minus_x.h"

#include <cmath>

#include "core/extended_math.h"

namespace {

// Below this |u| the series is used; above, log1p(u) - u loses at most a
// factor 2/|u| < 8 of relative accuracy to cancellation.
constexpr extended SeriesReach = 0.25L;

}  // namespace

// With r = u/(2 + u), ln(1 + u) = 2 atanh r = 2 (r + r^3/3 + r^5/5 + ...)
// and 2r - u = -r u, so ln(1 + u) - u = -r u + 2 r^3 (1/3 + r^2/5 + ...)
// (the form of Loader's bd0, "Fast and accurate computation of binomial
// probabilities", 2000). For |u| < 1/4, r^2 < 0.0205 and 13 terms of the
// odd series reach the extended unit roundoff.
extended Log1pMinusX(extended u) {
  if (!(std::fabs(u) < SeriesReach)) return ExtendedLog1p(u) - u;
  const extended r = u / (2 + u);
  const extended r2 = r * r;
  extended sum = 0;
  for (int k = 13; k >= 1; --k) sum = sum * r2 + 1.0L / (2 * k + 1);
  return -r * u + 2 * r * r2 * sum;
}

#include "distrib/gauss_legendre.h"

#include <cmath>

#include "distrib/constants.h"

namespace {

// The nodes are the roots of the Legendre polynomial P_n, found by Newton's
// method from Tricomi's estimate cos(pi (i - 1/4) / (n + 1/2)), with P_n and
// its derivative from Bonnet's recurrence; the weights are
// 2 / ((1 - x^2) P_n'(x)^2) (Golub and Welsch give the same values; see
// Abramowitz and Stegun 25.4.29). Newton converges quadratically from the
// estimate; six steps bring it to the extended unit roundoff.
tGaussLegendreRule ComputeRule() {
  constexpr int n = GaussLegendreOrder;
  tGaussLegendreRule rule;
  for (int i = 1; i <= n; ++i) {
    extended x = std::cos(Pi * (i - 0.25L) / (n + 0.5L));
    extended derivative = 0;
    for (int step = 0; step < 8; ++step) {
      extended p0 = 1, p1 = x;
      for (int k = 2; k <= n; ++k) {
        extended p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
        p0 = p1;
        p1 = p2;
      }
      derivative = n * (x * p1 - p0) / (x * x - 1);
      x -= p1 / derivative;
    }
    // Roots come out descending; store them ascending.
    rule.node[n - i] = x;
    rule.weight[n - i] = 2 / ((1 - x * x) * derivative * derivative);
  }
  return rule;
}

}  // namespace

const tGaussLegendreRule& GaussLegendre() {
  static const tGaussLegendreRule rule = ComputeRule();
  return rule;
}

// Gauss-Legendre quadrature on [-1, 1] in extended precision.
#pragma once

#include "core/extended.h"

// Nodes and weights of the 16-point rule, ascending; exact for
// polynomials of degree 31. The nodes are the zeros of the Legendre
// polynomial P_16 by Newton's method from Chebyshev-like starts, the
// weights 2 / ((1 - x^2) P_16'(x)^2) (Abramowitz and Stegun 25.4.29;
// Press et al. (2007), Numerical Recipes, section 4.6), both to the
// extended unit roundoff.
constexpr int GaussLegendreOrder = 16;

struct tGaussLegendreRule {
  extended node[GaussLegendreOrder];
  extended weight[GaussLegendreOrder];
};

// The rule, computed once (thread-safe) on first use.
const tGaussLegendreRule& GaussLegendre();

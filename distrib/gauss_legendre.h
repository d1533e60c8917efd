// Gauss-Legendre quadrature on [-1, 1] in extended precision.
#pragma once

#include "core/extended.h"

// Nodes and weights of the 16-point rule, ascending; exact for
// polynomials of degree 31.
constexpr int GaussLegendreOrder = 16;

struct tGaussLegendreRule {
  extended node[GaussLegendreOrder];
  extended weight[GaussLegendreOrder];
};

// The rule, computed once (thread-safe) on first use.
const tGaussLegendreRule& GaussLegendre();

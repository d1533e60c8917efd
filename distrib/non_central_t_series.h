// The Poisson-weighted series of the noncentral t distribution function
// and density, for x inside the support and d > 0 (after reflection).
// Exposed for tests; tNon_central_t_distribution does the set-up (zero
// noncentrality, support, reflection) around them.
#pragma once

#include "core/extended.h"

// Sum over j of (s P_j I_y(j+1/2, nu/2) + Q_j I_y(j+1, nu/2)) plus Phi(-d),
// with y = x^2/(x^2 + nu), s the sign of x. Non-finite values inside raise
// EArithmeticError; so does a Poisson mode beyond the 32-bit index range.
extended NonCentralTCdfSeries(extended x, extended nu, extended d);

// The term-by-term derivative of the same series.
extended NonCentralTDensitySeries(extended x, extended nu, extended d);

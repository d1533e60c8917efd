// The noncentral t distribution function and density as integrals over
// the chi distribution of the denominator (the definition of the
// noncentral t, Johnson, N. L., Kotz, S. and Balakrishnan, N. (1995),
// Continuous Univariate Distributions, vol. 2, 2nd ed., Wiley, chapter
// 31, taken by Gauss-Legendre quadrature over the chi density's bulk), for large noncentralities where
// the Poisson-weighted series would need too many terms: x inside the
// support, d beyond the normal cutoff of 9.6 (after reflection), so that
// P(T <= 0) = Phi(-d) is below 1e-21 and counts as 0. Exposed for tests;
// tNon_central_t_distribution chooses between them and the series.
#pragma once

#include "core/extended.h"
#include "distrib/non_central_t_series.h"

// P(T <= x) = E[Phi(x S - d)], S = sqrt(V / nu), V chi-square on nu; when
// derivatives is given, also the first two derivatives in d,
// -E[phi(x S - d)] and -E[(x S - d) phi(x S - d)].
extended NonCentralTCdfIntegral(extended x, extended nu, extended d,
                                tNoncentralityDerivatives* derivatives = nullptr);

// The density E[S phi(x S - d)].
extended NonCentralTDensityIntegral(extended x, extended nu, extended d);

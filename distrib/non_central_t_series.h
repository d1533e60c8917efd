// The Poisson-weighted series of the noncentral t distribution function
// and density, for x inside the support and d > 0 (after reflection):
// the series of incomplete beta functions of Guenther, W. C. (1978),
// Evaluation of probabilities for the noncentral distributions and the
// difference of two t variables with a desk calculator, J. Statist.
// Comput. Simul. 6, 199-206 (also Lenth, R. V. (1989), Algorithm AS 243,
// Appl. Statist. 38, 185-189), summed outward from the mode of the
// Poisson weights as in Benton, D. and Krishnamoorthy, K. (2003),
// Computing discrete mixtures of continuous distributions, Comput.
// Statist. Data Anal. 43, 249-267, the successive incomplete betas by
// their recurrences (tIncompleteBetaLadder). The sums stop when what is
// left is below about 1e-18 of the sum.
// Exposed for tests; tNon_central_t_distribution does the set-up (zero
// noncentrality, support, reflection) around them.
#pragma once

#include "core/extended.h"
#include "distrib/incomplete_beta_ladder.h"

// The first and second derivatives of the distribution function in the
// noncentrality, for solving Cdf(x) = p in it.
struct tNoncentralityDerivatives {
  extended slope = 0;
  extended curvature = 0;
};

// The arithmetic of the series' sums: extended, or double for a draft
// value good to about 1e-16 at a third of the cost (the start values and
// the incomplete beta values stay extended either way).
enum class tSeriesPrecision { Extended, Double };

// Sum over j of (s P_j I_y(j+1/2, nu/2) + Q_j I_y(j+1, nu/2)) plus Phi(-d),
// with y = x^2/(x^2 + nu), s the sign of x; when derivatives is given,
// also the first two derivatives of that value in d. The I_y values come
// from ladder when given (reset there if it holds another y or nu), so that
// calls at one |x| and nu share them; the value may then differ from a
// call without it in the last place. Non-finite values inside raise
// EArithmeticError; a Poisson mean d^2/2 beyond 2147483647 raises
// EArgumentError 1361.
extended NonCentralTCdfSeries(extended x, extended nu, extended d,
                              tNoncentralityDerivatives* derivatives = nullptr,
                              tIncompleteBetaLadder* ladder = nullptr,
                              tSeriesPrecision precision = tSeriesPrecision::Extended);

// The term-by-term derivative of the same series.
extended NonCentralTDensitySeries(extended x, extended nu, extended d);

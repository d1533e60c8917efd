// The noncentral t distribution with nu degrees of freedom and
// noncentrality delta.
#pragma once

#include <memory>

#include "distrib/distribution.h"
#include "distrib/non_central_t_series.h"
#include "distrib/t_distribution.h"

class tNon_central_t_distribution : public tContinuous_distribution {
 public:
  // Create: nu in (0, 2147483647), delta in (-2147483647, 2147483647).
  tNon_central_t_distribution(extended df, extended delta);
  static std::unique_ptr<tNon_central_t_distribution> Create(extended df, extended delta);
  ~tNon_central_t_distribution() override;

  bool SetParameters(extended df, extended delta, extended p3) override;
  extended Density(extended x) override;
  extended Cdf(extended x) override;
  // Cdf(x) together with its first two derivatives in the noncentrality
  // (the first negative: the distribution function falls as delta grows),
  // for solving Cdf(x) = p in delta. Outside the support both are 0. A
  // search at one x passes the same ladder to every call, so that the
  // series' incomplete beta values are computed once, and may ask for
  // double-precision sums while it is still far from the root.
  extended CdfAndNoncentralityDerivatives(extended x, tNoncentralityDerivatives& derivatives,
                                          tIncompleteBetaLadder* ladder = nullptr,
                                          tSeriesPrecision precision = tSeriesPrecision::Extended);
  bool HasMean() override;
  bool HasVariance() override;
  extended Mean() override;
  extended Variance() override;

 protected:
  extended DegreesOfFreedom = 0;
  extended Noncentrality = 0;
  std::unique_ptr<tT_distribution> CentralT;
};

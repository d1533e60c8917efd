// The second route's noncentrality search for the engine's oracle tests:
// Boost.Math's noncentral t with a TOMS 748 root finder.
#pragma once

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/tools/toms748_solve.hpp>
#include <cmath>
#include <cstdint>

// The noncentrality at which the noncentral t's distribution function at x
// equals p (decreasing in delta), bracketed outwards from x.
inline double OracleNoncentrality(double df, double x, double p) {
  auto f = [&](double delta) { return boost::math::cdf(boost::math::non_central_t(df, delta), x) - p; };
  double step = 1 + std::fabs(x) / 4;
  double a = x - step, b = x + step;
  double fa = f(a), fb = f(b);
  while (fa < 0) {  // root below a
    b = a, fb = fa;
    step *= 2;
    a = x - step, fa = f(a);
  }
  while (fb > 0) {  // root above b
    a = b, fa = fb;
    step *= 2;
    b = x + step, fb = f(b);
  }
  std::uintmax_t iterations = 200;
  auto root = boost::math::tools::toms748_solve(f, a, b, fa, fb, boost::math::tools::eps_tolerance<double>(48),
                                                iterations);
  return (root.first + root.second) / 2;
}

#include "distrib/non_central_t_integral.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/extended_math.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"
#include "distrib/gauss_legendre.h"
#include "distrib/ln_gamma.h"
#include "distrib/log1p_minus_x.h"

namespace {

// Phi(-NormalCutoff) and phi(NormalCutoff) are below 1e-21: beyond it on
// the left Phi counts as 0, on the right as 1.
constexpr extended NormalCutoff = 9.6L;
// The chi density's bulk: where its logarithm lies within this of its
// value at the mode (e^-48 < 1.5e-21).
constexpr extended BulkLogDrop = 48;
// Panel widths: a panel spans at most this many units of the normal
// argument u = x s - d while Phi changes,
constexpr extended NormalPanelWidth = 2.5L;
// and on it the chi density's logarithm curves by at most this much
// (a panel of about three standard deviations of a normal bump)
constexpr extended DensityPanelCurvature = 4.5L;
// and rises or falls by at most this much.
constexpr extended DensityPanelSlope = 8;
// Halvings of a panel that is too wide for its right end; far more than
// the ratio of the widths in the bulk can need.
constexpr int PanelShrinkLimit = 200;
// Newton's method places the ends of the bulk to this (far better than the
// panel widths need), within at most this many steps (it converges
// quadratically from its start within a few).
constexpr extended BulkEndResolution = 1e-6L;
constexpr int BulkEndIterations = 40;


extended NormalCdf(extended u) { return 0.5L * ExtendedErfc(-u * InverseSqrtTwo); }
extended NormalDensity(extended u) { return InverseSqrtTwoPi * ExtendedExp(-0.5L * u * u); }

// The density of W = ln S: with a = nu/2,
//   g(w) = 2 a^a e^(2 a w - a e^(2w)) / Gamma(a)
//        = 2 exp(ln(a / (2 pi))/2 - R(a) - a (e^(2w) - 1 - 2w)),
// R the remainder of Stirling's formula. Unlike the density of S it has no
// singularity at s = 0 for nu < 2, and both tails fall exponentially.
struct tLogChiDensity {
  extended a, nu, logScale;
  explicit tLogChiDensity(extended degreesOfFreedom)
      : a(degreesOfFreedom / 2), nu(degreesOfFreedom),
        logScale(ExtendedLog(2.0L) + 0.5L * ExtendedLog(a / (2 * Pi)) - LnGammaStirlingRemainder(a)) {}

  // e^(2w) - 1 - 2w, by ln(1 + u) - u near w = 0 where it is about 2 w^2.
  static extended Deviance(extended w) {
    const extended u = ExtendedExpm1(2 * w);
    if (std::fabs(u) < 0.25L) return -Log1pMinusX(u);
    return u - 2 * w;
  }
  extended operator()(extended w) const { return ExtendedExp(logScale - a * Deviance(w)); }

  // First and second derivatives of ln g, for the panel widths.
  extended LogSlope(extended w) const { return nu * -ExtendedExpm1(2 * w); }
  extended LogCurvature(extended w) const { return 2 * nu * ExtendedExp(2 * w); }

  // The ends of the bulk, where a (e^(2w) - 1 - 2w) = BulkLogDrop, by
  // Newton's method on that convex function from a point beyond the root,
  // so that the iterates approach it monotonically from outside the bulk:
  // above the mode the smaller of sqrt(D / 2a) and ln(2 (1 + D/a))/2 (both
  // beyond it, as e^(2w) - 1 - 2w >= 2 w^2 for w >= 0, and 1 + t >= ln(2t)
  // for t = 1 + D/a), below it -(1 + D/a)/2 (as e^(2w) - 1 - 2w >= -1 - 2w).
  extended BulkEnd(extended w) const {
    for (int i = 0; i < BulkEndIterations; ++i) {
      const extended step = (a * Deviance(w) - BulkLogDrop) / (2 * a * ExtendedExpm1(2 * w));
      w -= step;
      if (std::fabs(step) < BulkEndResolution) break;
    }
    return w;
  }
  extended UpperEnd() const {
    return BulkEnd(std::min(std::sqrt(BulkLogDrop / (2 * a)), 0.5L * ExtendedLog(2 * (1 + BulkLogDrop / a))));
  }
  extended LowerEnd() const { return BulkEnd(-(1 + BulkLogDrop / a) / 2); }
};

// The width of the next panel from w: the density's logarithm may vary by
// its budget, and while w lies where Phi changes, u = x e^w - d by
// NormalPanelWidth. The chi density narrows as w grows, so the width must
// also suit the panel's right end: it is shrunk (at least halving each
// time) until the width judged there is no smaller.
extended PanelWidth(const tLogChiDensity& g, extended x, extended w, extended phiEnd) {
  auto widthAt = [&](extended at) {
    const extended slope = std::fabs(g.LogSlope(at));
    const extended curvature = g.LogCurvature(at);
    extended h = std::min(DensityPanelSlope / std::max(slope, std::numeric_limits<extended>::min()),
                          std::sqrt(2 * DensityPanelCurvature / curvature));
    if (at < phiEnd) h = std::min(h, NormalPanelWidth / (x * ExtendedExp(at)));
    return h;
  };
  extended h = widthAt(w);
  for (int i = 0; i < PanelShrinkLimit; ++i) {
    const extended atEnd = widthAt(w + h);
    if (atEnd >= h) break;
    h = std::max(atEnd, h / 2);
  }
  return h;
}

// Calls add(w, weight) for the nodes and weights of the composite
// Gauss-Legendre rule on [from, to], so that the sum of weight f(w) is the
// integral of f.
template <class F>
void Integrate(const tLogChiDensity& g, extended x, extended from, extended to, extended phiEnd,
               F add) {
  const tGaussLegendreRule& rule = GaussLegendre();
  for (extended left = from; left < to;) {
    extended right = std::min(to, left + PanelWidth(g, x, left, phiEnd));
    // The width may underflow against left (w of order 1, width below
    // 1e-19): then the panel is the last representable step.
    if (!(right > left)) right = std::nextafter(left, to);
    const extended half = (right - left) / 2, middle = (left + right) / 2;
    for (int i = 0; i < GaussLegendreOrder; ++i) add(middle + half * rule.node[i], half * rule.weight[i]);
    left = right;
  }
}

// Where on the w axis the normal argument u = x e^w - d passes -cutoff
// and +cutoff (x > 0): ln((d -+ cutoff) / x).
struct tNormalRange {
  extended from, to;
};
tNormalRange NormalRange(extended x, extended d) {
  const extended from = d > NormalCutoff ? ExtendedLog((d - NormalCutoff) / x)
                                         : -std::numeric_limits<extended>::infinity();
  return {from, ExtendedLog((d + NormalCutoff) / x)};
}

}  // namespace

// F(x) = integral of Phi(x e^w - d) g(w) dw over the chi density's bulk
// where Phi is not negligible, by composite 16-point Gauss-Legendre on
// panels no wider than a few units of either factor's own scale (Phi's
// unit in u, the curvature and slope of ln g). The work is bounded whatever
// d: about 2 NormalCutoff / NormalPanelWidth panels where Phi changes and
// a dozen over the rest of the bulk. For x <= 0 (d beyond the cutoff)
// P(T <= x) <= Phi(-d) is negligible. The derivatives in d, -integral of
// phi(u) g(w) dw and -integral of u phi(u) g(w) dw with u = x e^w - d,
// come from the same nodes. Absolute error below
// 1e-19 (checked against 50-digit quadrature in the tests).
extended NonCentralTCdfIntegral(extended x, extended nu, extended d,
                                tNoncentralityDerivatives* derivatives) {
  const char* where = "noncentral t Cdf";
  if (std::isnan(x) || std::isnan(nu) || std::isnan(d)) RaiseArithmeticError("invalid operation", where);
  if (derivatives) *derivatives = {};
  if (x <= 0) return 0;
  const tLogChiDensity g(nu);
  const extended bulkFrom = g.LowerEnd(), bulkTo = g.UpperEnd();
  const tNormalRange normal = NormalRange(x, d);
  if (normal.from >= bulkTo) return 0;
  if (normal.to <= bulkFrom) return 1;
  extended sum = 0, slopeSum = 0, curvatureSum = 0;
  Integrate(g, x, std::max(bulkFrom, normal.from), bulkTo, normal.to, [&](extended w, extended weight) {
    const extended u = x * ExtendedExp(w) - d;
    const extended density = weight * g(w);
    if (u >= NormalCutoff) {
      sum += density;
      return;
    }
    sum += NormalCdf(u) * density;
    if (derivatives) {
      const extended normalDensity = NormalDensity(u) * density;
      slopeSum -= normalDensity;
      curvatureSum -= u * normalDensity;
    }
  });
  if (derivatives) *derivatives = {CheckFinite(slopeSum, where), CheckFinite(curvatureSum, where)};
  return CheckFinite(sum, where);
}

// f(x) = integral of e^w phi(x e^w - d) g(w) dw over the part of the bulk
// where phi is not negligible, on the same panels.
extended NonCentralTDensityIntegral(extended x, extended nu, extended d) {
  if (std::isnan(x) || std::isnan(nu) || std::isnan(d))
    RaiseArithmeticError("invalid operation", "noncentral t Density");
  if (x <= 0) return 0;
  const tLogChiDensity g(nu);
  const tNormalRange normal = NormalRange(x, d);
  const extended from = std::max(g.LowerEnd(), normal.from);
  const extended to = std::min(g.UpperEnd(), normal.to);
  extended sum = 0;
  if (from < to)
    Integrate(g, x, from, to, normal.to, [&](extended w, extended weight) {
      const extended s = ExtendedExp(w);
      sum += weight * s * NormalDensity(x * s - d) * g(w);
    });
  return CheckFinite(sum, "noncentral t Density");
}

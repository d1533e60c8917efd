#include "core/extended_math.h"

#include <limits>

namespace {

constexpr extended Epsilon = std::numeric_limits<extended>::epsilon();
constexpr extended NotANumber = std::numeric_limits<extended>::quiet_NaN();
constexpr extended Infinity = std::numeric_limits<extended>::infinity();

// ln 2 = LnTwoHigh + LnTwoLow, the high part with 48 significant bits, so
// that k LnTwoHigh is exact for every |k| below 2^16 in both formats.
constexpr extended LnTwoHigh = 195103586505167.0L / 281474976710656.0L;  // the integer / 2^48
constexpr extended LnTwoLow = 1.688525005076197806790396056774985255254e-15L;
constexpr extended InverseLnTwo = 1.442695040888963407359924681001892137427L;
constexpr extended SqrtHalf = 0.7071067811865475244008443621048490392848L;
constexpr extended TwoOverSqrtPi = 1.128379167095512573896158903121545171688L;
constexpr extended InverseSqrtPi = 0.5641895835477562869480794515607725858441L;

// e^r - 1 is summed at r / 2^ExpHalvings and doubled back as often.
constexpr int ExpHalvings = 8;
// Below this |x| ln(1 + x) is the artanh series of x itself.
constexpr extended Log1pSeriesReach = 0.29L;
// erfc: the series below this argument, the continued fraction from it.
constexpr extended ErfcFractionFrom = 3;
// The continued fraction converges in about 110 terms at 3 (binary128)
// and faster beyond; this bound only guards against a stall.
constexpr int ErfcFractionTermLimit = 1000;
// The significant bits of the high part of x in e^(-x^2), whose square is
// then exact.
constexpr int SquareSplitBits = 24;

// e^r - 1 for |r| up to about ln 2 / 2 (see SoftwareExp).
extended ReducedExpm1(extended r) {
  const extended s = std::ldexp(r, -ExpHalvings);
  extended term = s, sum = s;
  for (int n = 2; std::fabs(term) > Epsilon * std::fabs(sum); ++n) {
    term *= s / n;
    sum += term;
  }
  for (int i = 0; i < ExpHalvings; ++i) sum *= sum + 2;
  return sum;
}

// ln(1 + f) = 2 artanh(f / (2 + f)) = 2 s (1 + s^2/3 + s^4/5 + ...), for
// |f| up to about 0.42 (|s| <= 0.172).
extended ArtanhLog1p(extended f) {
  const extended s = f / (2 + f);
  const extended s2 = s * s;
  extended power = 1, sum = 1;
  for (int odd = 3;; odd += 2) {
    power *= s2;
    const extended term = power / odd;
    sum += term;
    if (term <= Epsilon * sum) break;
  }
  return 2 * s * sum;
}

// e^(-x^2) for x >= 0 without the rounding of x^2: x = h + l with h of
// SquareSplitBits bits, x^2 = h^2 + l (x + h), h^2 exact.
extended ExpMinusSquare(extended x) {
  int exponent = 0;
  std::frexp(x, &exponent);
  const int shift = SquareSplitBits - exponent;
  const extended h = std::ldexp(std::trunc(std::ldexp(x, shift)), -shift);
  const extended l = x - h;
  return SoftwareExp(-(h * h)) * SoftwareExp(-(l * (x + h)));
}

// erf x for 0 <= x < ErfcFractionFrom by the series of positive terms.
extended ErfSeries(extended x) {
  const extended twoXSquare = 2 * x * x;
  extended term = 1, sum = 1;
  for (int n = 1; term > Epsilon * sum; ++n) {
    term *= twoXSquare / (2 * n + 1);
    sum += term;
  }
  return TwoOverSqrtPi * x * sum * ExpMinusSquare(x);
}

// erfc x for x >= ErfcFractionFrom: e^(-x^2)/sqrt(pi) / F with
// F = x + (1/2)/(x + 1/(x + (3/2)/(x + 2/(x + ...)))), by modified Lentz
// (no denominator can vanish, every b_n being x >= 3).
extended ErfcFraction(extended x) {
  extended f = x, c = x, d = 0;
  for (int n = 1; n <= ErfcFractionTermLimit; ++n) {
    const extended a = n * 0.5L;
    d = 1 / (x + a * d);
    c = x + a / c;
    const extended delta = c * d;
    f *= delta;
    if (std::fabs(delta - 1) <= 2 * Epsilon) break;
  }
  return InverseSqrtPi * ExpMinusSquare(x) / f;
}

}  // namespace

extended SoftwareExp(extended x) {
  if (std::isnan(x)) return x;
  const extended k = std::nearbyint(x * InverseLnTwo);
  if (k > std::numeric_limits<extended>::max_exponent + 1) return Infinity;
  if (k < std::numeric_limits<extended>::min_exponent - std::numeric_limits<extended>::digits - 2) return 0;
  const extended r = (x - k * LnTwoHigh) - k * LnTwoLow;
  return std::ldexp(1 + ReducedExpm1(r), static_cast<int>(k));
}

extended SoftwareExpm1(extended x) {
  if (std::fabs(x) < LnTwoHigh / 2) return ReducedExpm1(x);
  if (x < -(std::numeric_limits<extended>::digits + 2) * LnTwoHigh) return -1;
  return SoftwareExp(x) - 1;
}

extended SoftwareLog(extended x) {
  if (std::isnan(x) || x < 0) return NotANumber;
  if (x == 0) return -Infinity;
  if (std::isinf(x)) return x;
  int exponent = 0;
  extended m = std::frexp(x, &exponent);
  if (m < SqrtHalf) {
    m *= 2;
    --exponent;
  }
  const extended e = exponent;
  return e * LnTwoHigh + (e * LnTwoLow + ArtanhLog1p(m - 1));
}

extended SoftwareLog1p(extended x) {
  if (std::isnan(x) || x < -1) return NotANumber;
  if (x == -1) return -Infinity;
  if (std::isinf(x)) return x;
  if (std::fabs(x) < Log1pSeriesReach) return ArtanhLog1p(x);
  const extended u = 1 + x;
  return SoftwareLog(u) + (x - (u - 1)) / u;
}

extended SoftwareErfc(extended x) {
  if (std::isnan(x)) return x;
  if (x < 0) return 2 - SoftwareErfc(-x);
  if (std::isinf(x)) return 0;
  if (x < ErfcFractionFrom) return 1 - ErfSeries(x);
  return ErfcFraction(x);
}

extended SoftwareErf(extended x) {
  if (std::isnan(x)) return x;
  if (x < 0) return -SoftwareErf(-x);
  if (x < ErfcFractionFrom) return ErfSeries(x);
  return 1 - SoftwareErfc(x);
}

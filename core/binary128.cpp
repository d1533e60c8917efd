#include "core/binary128.h"

namespace {

constexpr int FractionBits = 112;
constexpr int ExponentBias = 16383;
constexpr int MaxExponentField = 0x7fff;  // infinities and NaNs
constexpr tBinary128Bits One = 1;
constexpr tBinary128Bits SignBit = One << 127;
constexpr tBinary128Bits HiddenBit = One << FractionBits;
constexpr tBinary128Bits FractionMask = HiddenBit - 1;
constexpr tBinary128Bits QuietBit = One << (FractionBits - 1);
constexpr tBinary128Bits InfinityBits = static_cast<tBinary128Bits>(MaxExponentField) << FractionBits;
constexpr tBinary128Bits DefaultNaN = InfinityBits | QuietBit;
// Quotient bits formed: the 113 of the significand and one guard bit.
constexpr int QuotientBits = FractionBits + 2;

struct tUnpacked {
  int exponentField;
  tBinary128Bits fraction;
};

tUnpacked Unpack(tBinary128Bits x) {
  return {static_cast<int>((x >> FractionBits) & MaxExponentField), x & FractionMask};
}

// The significand of a finite nonzero number as an integer in
// [2^112, 2^113) and its exponent e, the value being significand
// 2^(e - bias - 112); subnormals are shifted up to that range.
void Normalise(const tUnpacked& x, tBinary128Bits& significand, int& exponent) {
  if (x.exponentField != 0) {
    significand = x.fraction | HiddenBit;
    exponent = x.exponentField;
    return;
  }
  significand = x.fraction;
  exponent = 1;
  while (!(significand & HiddenBit)) {
    significand <<= 1;
    --exponent;
  }
}

}  // namespace

tBinary128Bits Binary128Quotient(tBinary128Bits a, tBinary128Bits b) {
  const tBinary128Bits sign = (a ^ b) & SignBit;
  const tUnpacked ua = Unpack(a), ub = Unpack(b);
  const bool aNaN = ua.exponentField == MaxExponentField && ua.fraction != 0;
  const bool bNaN = ub.exponentField == MaxExponentField && ub.fraction != 0;
  if (aNaN) return a | QuietBit;
  if (bNaN) return b | QuietBit;
  const bool aInfinite = ua.exponentField == MaxExponentField;
  const bool bInfinite = ub.exponentField == MaxExponentField;
  const bool aZero = ua.exponentField == 0 && ua.fraction == 0;
  const bool bZero = ub.exponentField == 0 && ub.fraction == 0;
  if ((aInfinite && bInfinite) || (aZero && bZero)) return DefaultNaN;
  if (aInfinite || bZero) return sign | InfinityBits;
  if (aZero || bInfinite) return sign;

  tBinary128Bits dividend, divisor;
  int ea, eb;
  Normalise(ua, dividend, ea);
  Normalise(ub, divisor, eb);
  // The quotient's biased exponent, with the dividend doubled when it is
  // the smaller significand so that the quotient lies in [1, 2).
  int exponent = ea - eb + ExponentBias;
  if (dividend < divisor) {
    dividend <<= 1;
    --exponent;
  }
  // Restoring division: quotient = floor(dividend 2^113 / divisor), in
  // [2^113, 2^114), the last bit the guard bit; remainder < 2 divisor.
  tBinary128Bits quotient = 0, remainder = dividend;
  for (int i = 0; i < QuotientBits; ++i) {
    quotient <<= 1;
    if (remainder >= divisor) {
      remainder -= divisor;
      quotient |= 1;
    }
    remainder <<= 1;
  }
  const bool sticky = remainder != 0;

  if (exponent >= MaxExponentField) return sign | InfinityBits;
  // Bits dropped: the guard bit, and below the normal range as many more
  // as the exponent lies under 1 (the result then has exponent field 0).
  const int shift = exponent >= 1 ? 1 : 2 - exponent;
  if (shift >= QuotientBits + 1) return sign;  // below half the smallest subnormal
  tBinary128Bits significand = quotient >> shift;
  const tBinary128Bits dropped = quotient & ((One << shift) - 1);
  const tBinary128Bits half = One << (shift - 1);
  if (dropped > half || (dropped == half && (sticky || (significand & 1)))) ++significand;
  // The hidden bit adds one to the exponent field, so a significand that
  // rounding carried to 2^113 (or a subnormal one to 2^112) moves to the
  // next binade by itself.
  const tBinary128Bits magnitude =
      exponent >= 1 ? (static_cast<tBinary128Bits>(exponent - 1) << FractionBits) + significand : significand;
  if (magnitude >= InfinityBits) return sign | InfinityBits;
  return sign | magnitude;
}

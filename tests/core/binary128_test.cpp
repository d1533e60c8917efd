// Binary128Quotient against an independent correctly rounded division: on
// the desktop the compiler's own __float128 division (libgcc's soft-fp);
// in WebAssembly, where it is the division long double uses, the known
// quotient the toolchain's own routine got wrong, and that long double
// division is this routine.
#include "core/binary128.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr tBinary128Bits Bits(std::uint64_t high, std::uint64_t low) {
  return (static_cast<tBinary128Bits>(high) << 64) | low;
}

constexpr std::uint64_t AllOnes = ~std::uint64_t{0};
constexpr tBinary128Bits One = Bits(0x3fff000000000000, 0);
constexpr tBinary128Bits OneMinusHalfUlp = Bits(0x3ffeffffffffffff, AllOnes);  // 1 - 2^-113
constexpr tBinary128Bits OnePlusUlp = Bits(0x3fff000000000000, 1);              // 1 + 2^-112
constexpr tBinary128Bits Infinity = Bits(0x7fff000000000000, 0);
constexpr tBinary128Bits SignBit = Bits(0x8000000000000000, 0);

std::string Hex(tBinary128Bits x) {
  char text[40];
  std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(x >> 64),
                static_cast<unsigned long long>(x));
  return text;
}

bool IsNaN(tBinary128Bits x) { return (x & ~SignBit) > Infinity; }

// Zeros, the subnormal range's ends and odd multiples of its unit (whose
// halves are ties), the normal range's ends, numbers about 1, 2 and 3, an
// infinity and NaNs (quiet and signalling), each with both signs.
std::vector<tBinary128Bits> EdgeOperands() {
  const std::vector<tBinary128Bits> magnitudes = {
      0, 1, 3, 5, Bits(0x0000ffffffffffff, AllOnes), Bits(0x0001000000000000, 0), Bits(0x0001000000000000, 1),
      OneMinusHalfUlp, One, OnePlusUlp, Bits(0x4000000000000000, 0), Bits(0x4000800000000000, 0),
      Bits(0x3ffd555555555555, 0x5555555555555555), Bits(0x7ffeffffffffffff, AllOnes),
      Bits(0x7ffe000000000000, 0), Bits(0x0072000000000000, 0), Infinity, Bits(0x7fff800000000000, 0),
      Bits(0x7fff000000000000, 7)};
  std::vector<tBinary128Bits> operands;
  for (tBinary128Bits m : magnitudes) {
    operands.push_back(m);
    operands.push_back(m | SignBit);
  }
  return operands;
}

// Random operands of every magnitude: whole random bit patterns (any
// exponent, so overflow, underflow and NaNs too), and pairs whose
// exponents lie close together or far apart near the ends of the range.
template <typename Check>
void ForRandomOperands(int count, Check check) {
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<int> exponentOffset(-120, 120);
  for (int i = 0; i < count; ++i) {
    tBinary128Bits a = Bits(random(), random()), b = Bits(random(), random());
    switch (i % 4) {
      case 1:  // quotients about 1
        b = (b & ~Bits(0x7fff000000000000, 0)) | (a & Bits(0x7fff000000000000, 0));
        break;
      case 2: {  // results near the subnormal range or overflow
        const int ea = i % 8 < 4 ? 1 + (exponentOffset(random) + 120) : 0x7ffe - (exponentOffset(random) + 120);
        const int eb = 16383 + exponentOffset(random);
        a = (a & ~Bits(0x7fff000000000000, 0)) | (static_cast<tBinary128Bits>(ea) << 112);
        b = (b & ~Bits(0x7fff000000000000, 0)) | (static_cast<tBinary128Bits>(eb) << 112);
        break;
      }
      case 3:  // subnormal dividends
        a &= Bits(0x8000ffffffffffff, AllOnes);
        break;
    }
    check(a, b);
  }
}

}  // namespace

#if !defined(__EMSCRIPTEN__)

tBinary128Bits CompilerQuotient(tBinary128Bits a, tBinary128Bits b) {
  __float128 x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  const __float128 q = x / y;
  tBinary128Bits bits;
  std::memcpy(&bits, &q, sizeof bits);
  return bits;
}

// The same bits as libgcc's division for every pair (any NaN for a NaN).
TEST(Binary128Division, AgreesWithTheCompilersDivision) {
  int checked = 0, failed = 0;
  auto check = [&](tBinary128Bits a, tBinary128Bits b) {
    ++checked;
    const tBinary128Bits ours = Binary128Quotient(a, b), theirs = CompilerQuotient(a, b);
    if (IsNaN(theirs) ? IsNaN(ours) : ours == theirs) return;
    if (++failed <= 10) ADD_FAILURE() << Hex(a) << " / " << Hex(b) << ": " << Hex(ours) << ", not " << Hex(theirs);
  };
  for (tBinary128Bits a : EdgeOperands())
    for (tBinary128Bits b : EdgeOperands()) check(a, b);
  ForRandomOperands(400000, check);
  EXPECT_EQ(failed, 0) << "of " << checked;
}

#else

// The division the build's long double uses is Binary128Quotient.
TEST(Binary128Division, IsTheDivisionOfLongDouble) {
  int failed = 0;
  auto check = [&](tBinary128Bits a, tBinary128Bits b) {
    long double x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    volatile long double vx = x, vy = y;  // divided at run time
    const long double q = vx / vy;
    tBinary128Bits bits;
    std::memcpy(&bits, &q, sizeof bits);
    const tBinary128Bits ours = Binary128Quotient(a, b);
    if (!(IsNaN(bits) ? IsNaN(ours) : ours == bits) && ++failed <= 10)
      ADD_FAILURE() << Hex(a) << " / " << Hex(b) << ": " << Hex(bits) << ", not " << Hex(ours);
  };
  for (tBinary128Bits a : EdgeOperands())
    for (tBinary128Bits b : EdgeOperands()) check(a, b);
  ForRandomOperands(20000, check);
  EXPECT_EQ(failed, 0);
}

#endif

// Quotients worked by hand: 1 / (1 - 2^-113) = 1 + 2^-113 + 2^-226 + ...
// lies just above the midpoint of 1 and 1 + 2^-112; the smallest
// subnormal halved is a tie to even (0), thrice it halved one to 2 units;
// the largest finite number over a half overflows.
TEST(Binary128Division, QuotientsWorkedByHand) {
  const tBinary128Bits half = Bits(0x3ffe000000000000, 0), two = Bits(0x4000000000000000, 0);
  EXPECT_EQ(Hex(Binary128Quotient(One, OneMinusHalfUlp)), Hex(OnePlusUlp));
  EXPECT_EQ(Hex(Binary128Quotient(1, two)), Hex(0));
  EXPECT_EQ(Hex(Binary128Quotient(3 | SignBit, two)), Hex(2 | SignBit));
  EXPECT_EQ(Hex(Binary128Quotient(Bits(0x7ffeffffffffffff, AllOnes), half)), Hex(Infinity));
  EXPECT_EQ(Hex(Binary128Quotient(One, 0 | SignBit)), Hex(Infinity | SignBit));
  EXPECT_TRUE(IsNaN(Binary128Quotient(0, 0)));
  EXPECT_TRUE(IsNaN(Binary128Quotient(Infinity, Infinity | SignBit)));
}

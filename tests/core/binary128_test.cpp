// Binary128Quotient against an independent correctly rounded division: on
// the desktop gcc's __float128 division (libgcc's soft-fp); in WebAssembly
// long double division, which must be this routine there.
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
constexpr std::uint64_t Ones = ~std::uint64_t{0};
constexpr tBinary128Bits Sign = Bits(0x8000000000000000, 0), Exponents = Bits(0x7fff000000000000, 0);

std::string Hex(tBinary128Bits x) {
  return std::to_string(static_cast<std::uint64_t>(x >> 64)) + ":" + std::to_string(static_cast<std::uint64_t>(x));
}

#if defined(__EMSCRIPTEN__)
using tReference = long double;  // the division the build links
constexpr int RandomCount = 20000;
#else
using tReference = __float128;
constexpr int RandomCount = 400000;
#endif

tBinary128Bits ReferenceQuotient(tBinary128Bits a, tBinary128Bits b) {
  volatile tReference x, y;  // divided at run time
  std::memcpy(const_cast<tReference*>(&x), &a, sizeof a);
  std::memcpy(const_cast<tReference*>(&y), &b, sizeof b);
  const tReference q = x / y;
  tBinary128Bits bits;
  std::memcpy(&bits, &q, sizeof bits);
  return bits;
}

}  // namespace

// Every pair of edge values (zeros, subnormals and the odd small ones whose
// halves are ties, the normal range's ends, 1 - 2^-113, 1, 1 + 2^-112, 2,
// 3, 1/3, infinity, NaNs; both signs), then random operands: any bit
// pattern, exponents alike (quotients about 1), results at the subnormal
// and overflow thresholds, subnormal dividends. NaN for NaN, else the bits.
TEST(Binary128Division, AgreesWithAnIndependentCorrectlyRoundedDivision) {
  std::vector<tBinary128Bits> edges;
  for (tBinary128Bits m : {Bits(0, 0), Bits(0, 1), Bits(0, 3), Bits(0x0000ffffffffffff, Ones),
                           Bits(0x0001000000000000, 0), Bits(0x0001000000000000, 1), Bits(0x3ffeffffffffffff, Ones),
                           Bits(0x3fff000000000000, 0), Bits(0x3fff000000000000, 1), Bits(0x4000000000000000, 0),
                           Bits(0x4000800000000000, 0), Bits(0x3ffd555555555555, 0x5555555555555555),
                           Bits(0x7ffeffffffffffff, Ones), Exponents, Bits(0x7fff800000000000, 0), Bits(0x7fff, 7)})
    edges.insert(edges.end(), {m, m | Sign});
  int failed = 0;
  auto check = [&](tBinary128Bits a, tBinary128Bits b) {
    const tBinary128Bits ours = Binary128Quotient(a, b), theirs = ReferenceQuotient(a, b);
    const bool nan = (theirs & ~Sign) > Exponents;
    if (!(nan ? (ours & ~Sign) > Exponents : ours == theirs) && ++failed <= 10)
      ADD_FAILURE() << Hex(a) << " / " << Hex(b) << " gave " << Hex(ours) << ", not " << Hex(theirs);
  };
  for (tBinary128Bits a : edges)
    for (tBinary128Bits b : edges) check(a, b);
  std::mt19937_64 random(20261209);
  auto withExponent = [](tBinary128Bits x, std::uint64_t e) { return (x & ~Exponents) | (tBinary128Bits(e) << 112); };
  for (int i = 0; i < RandomCount; ++i) {
    tBinary128Bits a = Bits(random(), random()), b = Bits(random(), random());
    const std::uint64_t offset = random() % 240, near = 16263 + random() % 240;
    if (i % 4 == 1) b = withExponent(b, (a >> 112) & 0x7fff);
    if (i % 4 == 2) a = withExponent(a, i % 8 < 4 ? 1 + offset : 0x7ffe - offset), b = withExponent(b, near);
    if (i % 4 == 3) a &= Bits(0x8000ffffffffffff, Ones);
    check(a, b);
  }
  EXPECT_EQ(failed, 0);
  // By hand: 1 / (1 - 2^-113) = 1 + 2^-113 + 2^-226 + ..., just above
  // the midpoint of 1 and 1 + 2^-112 (the toolchain's own routine gave 2).
  EXPECT_EQ(Hex(Binary128Quotient(Bits(0x3fff000000000000, 0), Bits(0x3ffeffffffffffff, Ones))),
            Hex(Bits(0x3fff000000000000, 1)));
}

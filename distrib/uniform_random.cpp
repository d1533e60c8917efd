#include "distrib/uniform_random.h"

thread_local std::int32_t RandomSeed1 = InitialRandomSeed1;
thread_local std::int32_t RandomSeed2 = InitialRandomSeed2;

namespace {

// Multipliers, moduli and Schrage's quotients and remainders of the two
// component generators.
constexpr std::int32_t Multiplier1 = 40014, Quotient1 = 53668, Remainder1 = 12211,
                       Modulus1 = 2147483563;
constexpr std::int32_t Multiplier2 = 40692, Quotient2 = 52774, Remainder2 = 3791,
                       Modulus2 = 2147483399;
// The scale from integers to (0, 1): the decimal 4.656613e-10 (close to,
// but not exactly, 1/2147483563).
constexpr extended UniformScale = 4.656613e-10L;

}  // namespace

// The combined multiplicative congruential generator of L'Ecuyer, P.
// (1988), Efficient and portable combined random number generators, Comm.
// ACM 31, 742-749: two components with moduli 2147483563 and 2147483399
// and multipliers 40014 and 40692, their difference taken modulo the
// first. Each component is advanced by Schrage's decomposition (Schrage,
// L. (1979), A more portable Fortran random number generator, ACM Trans.
// Math. Software 5, 132-138) so that no product leaves 32 bits. Period
// about 2.3e18; the draws are multiples of about 4.66e-10 strictly inside
// (0, 1).
extended UniformRandom() {
  std::int32_t k = RandomSeed1 / Quotient1;
  RandomSeed1 = Multiplier1 * (RandomSeed1 - k * Quotient1) - k * Remainder1;
  if (RandomSeed1 < 0) RandomSeed1 += Modulus1;

  k = RandomSeed2 / Quotient2;
  RandomSeed2 = Multiplier2 * (RandomSeed2 - k * Quotient2) - k * Remainder2;
  if (RandomSeed2 < 0) RandomSeed2 += Modulus2;

  std::int32_t z = RandomSeed1 - RandomSeed2;
  if (z < 1) z += Modulus1 - 1;
  return z * UniformScale;
}

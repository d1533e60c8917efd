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

// Combined multiplicative congruential generator; each component is
// advanced by Schrage's decomposition so no product leaves 32 bits.
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

#include "distrib/power.h"

#include <cmath>

#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"

// x^y: exact repeated squaring for whole exponents within the 32-bit range,
// otherwise exp(y ln x).
extended Power(extended x, extended y) {
  if (y == 0) return 1;
  if (x == 0 && y > 0) return 0;
  if (std::trunc(y) == y && std::fabs(y) <= LargestWholeArgument) {
    auto n = static_cast<unsigned long>(std::fabs(y));
    extended base = x;
    extended result = 1;
    while (n != 0) {
      if (n & 1u) result *= base;
      n >>= 1;
      if (n != 0) base *= base;
    }
    CheckFinite(result, "Power");
    if (y < 0) {
      // 0 (or an underflowed power) to a negative power is a division by zero.
      if (result == 0) RaiseArithmeticError("division by zero", "Power");
      result = 1 / result;
    }
    return result;
  }
  return CheckedExp(y * CheckedLn(x, "Power"), "Power");
}

#include "distrib/arithmetic_faults.h"

#include <cmath>
#include <string>

#include "core/extended_math.h"
#include "distrib/distribution_errors.h"

void RaiseArithmeticError(const char* what, const char* where) {
  throw EArithmeticError(std::string("Arithmetic error (") + what + ") in " + where);
}

extended CheckFinite(extended value, const char* where) {
  if (std::isnan(value)) RaiseArithmeticError("invalid operation", where);
  if (std::isinf(value)) RaiseArithmeticError("overflow", where);
  return value;
}

extended CheckedLn(extended x, const char* where) {
  if (std::isnan(x)) RaiseArithmeticError("invalid operation", where);
  if (x < 0) RaiseArithmeticError("logarithm of a negative number", where);
  if (x == 0) RaiseArithmeticError("logarithm of zero", where);
  if (std::isinf(x)) RaiseArithmeticError("overflow", where);
  return ExtendedLog(x);
}

extended CheckedExp(extended x, const char* where) {
  if (std::isnan(x)) RaiseArithmeticError("invalid operation", where);
  if (std::isinf(x)) RaiseArithmeticError("overflow", where);
  extended r = ExtendedExp(x);
  if (std::isinf(r)) RaiseArithmeticError("overflow", where);
  return r;
}

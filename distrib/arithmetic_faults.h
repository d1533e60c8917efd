// Detection of arithmetic faults (overflow, division by zero, invalid
// operation). C++ masks the hardware exceptions, so a fault shows only as a
// non-finite value; these helpers raise EArithmeticError where one appears.
#pragma once

#include "core/extended.h"

// Raises EArithmeticError: "Arithmetic error (<what>) in <where>".
[[noreturn]] void RaiseArithmeticError(const char* what, const char* where);

// Returns value, or raises EArithmeticError naming where when it is not finite.
extended CheckFinite(extended value, const char* where);

// ln(x); a non-positive (or NaN) argument is an invalid operation or a
// division by zero, and an infinite one an overflow: both raise.
extended CheckedLn(extended x, const char* where);

// exp(x); an overflowing result or a NaN argument raises. exp(-inf) = 0 is
// not accepted either, since -inf comes from an earlier fault.
extended CheckedExp(extended x, const char* where);

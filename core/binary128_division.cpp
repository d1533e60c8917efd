// Built only for WebAssembly: the binary128 division the compiler calls
// for long double a / b there. A definition in the program's own objects
// is taken before the run-time library's archive member, whose result is
// not correctly rounded for every operand (emscripten 3.1.6 divides 1 by
// 1 - 2^-113 to 2); this one is Binary128Quotient, correctly rounded.
#include <cstring>

#include "core/binary128.h"
#include "core/extended.h"

static_assert(sizeof(long double) == sizeof(tBinary128Bits));

extern "C" long double __divtf3(long double a, long double b) {
  tBinary128Bits x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  const tBinary128Bits q = Binary128Quotient(x, y);
  long double result;
  std::memcpy(&result, &q, sizeof result);
  return result;
}

// IEEE binary128 arithmetic on bit patterns, for the WebAssembly build:
// there long double is binary128 in software, and the division of the
// toolchain's run-time library (emscripten 3.1.6) is not correctly rounded
// for every operand (1 / (1 - 2^-113) gives 2). binary128_division.cpp
// puts Binary128Quotient in its place in that build; the routine itself is
// built everywhere, so that the desktop's suite checks it against the
// compiler's own binary128 division.
#pragma once

#include <cstdint>

// 1 sign bit, 15 exponent bits (bias 16383), 112 fraction bits; the
// sign in the top bit.
__extension__ typedef unsigned __int128 tBinary128Bits;

// a / b correctly rounded to nearest, ties to even, on the bit patterns of
// two binary128 numbers: Knuth's restoring long division of the 113-bit
// significands (TAOCP vol. 2, 4.3.1), one bit at a time, 113 quotient bits
// plus a guard bit with the remainder as the sticky bit, rounded once at
// the end (also where the result is subnormal). IEEE 754-2008's special
// cases: a NaN operand gives it back quieted (a's first), inf / inf and
// 0 / 0 the default quiet NaN, x / 0 a signed infinity, overflow a signed
// infinity, underflow a signed zero or subnormal. Exact: no error beyond
// the final rounding (half a unit of the last place).
tBinary128Bits Binary128Quotient(tBinary128Bits a, tBinary128Bits b);

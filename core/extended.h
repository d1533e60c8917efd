// The extended real type of the numerical code. On the desktop (x86-64)
// it is the x87 80-bit format with a 64-bit significand. In WebAssembly
// long double is IEEE binary128 (113-bit significand) in software, and the
// C library's long double functions there work in double precision only:
// the code reaches exp, log and their kin through core/extended_math.h,
// which supplies its own in that build.
#pragma once

#include <limits>

#if defined(__EMSCRIPTEN__)
static_assert(std::numeric_limits<long double>::digits == 113,
              "in WebAssembly long double must be IEEE binary128 (113-bit significand)");
#else
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit extended type (64-bit significand)");
#endif

using extended = long double;

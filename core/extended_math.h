// The elementary functions of the extended type, the one place the
// numerical code reaches them: ExtendedExp, ExtendedExpm1, ExtendedLog,
// ExtendedLog1p, ExtendedErf and ExtendedErfc.
//
// On the desktop they are the C library's x87 long double functions (a
// unit or two of the 64-bit significand's last place). In WebAssembly,
// where long double is binary128 but the C library's long double
// functions work in double precision only, they are this file's own
// software versions (Software*, below), so that the figures reach the
// desktop's accuracy there too (its arithmetic and sqrtl are binary128 in
// full). The software versions are built in both builds, so that both
// suites test them.
#pragma once

#include <cmath>

#include "core/extended.h"

// e^x by argument reduction x = k ln 2 + r, |r| <= ln 2 / 2 (ln 2 in two
// parts, so that k ln 2 is exact), then r / 256, whose e^r - 1 a Taylor
// series gives to the unit roundoff in about twelve terms (binary128),
// brought back by eight doublings e^(2s) - 1 = (e^s - 1)(e^s + 1) that keep
// the relative error (Muller, "Elementary Functions", 3rd ed., ch. 11).
// Error a few units of the last place; overflow gives +inf, underflow 0.
extended SoftwareExp(extended x);
// e^x - 1 with relative accuracy near 0: the reduced series above for
// |x| < ln 2 / 2, where e^x - 1 would cancel; beyond, e^x - 1 (which
// loses at most a factor 3.5, so a few units of the last place).
extended SoftwareExpm1(extended x);
// ln x from x = m 2^e, sqrt(1/2) <= m < sqrt 2, ln m = 2 artanh s with
// s = (m - 1)/(m + 1), |s| <= 0.172, by its odd series (at most 24 terms
// in binary128), plus e ln 2 with ln 2 in two parts. A few units of the
// last place. ln 0 = -inf, ln of a negative number NaN.
extended SoftwareLog(extended x);
// ln(1 + x): the artanh series of s = x/(2 + x) for |x| < 0.29 (no
// rounding of 1 + x); beyond, ln u for u = 1 + x rounded, corrected by
// (x - (u - 1))/u, u - 1 being exact there. A few units of the last place.
extended SoftwareLog1p(extended x);
// erfc x. For |x| < 3 from the series of positive terms
//   erf x = 2/sqrt(pi) e^(-x^2) sum_n (2x^2)^n x / (1 3 5 ... (2n + 1))
// (Abramowitz and Stegun 7.1.6; at most about 70 terms), erfc = 1 - erf,
// which loses up to 4.7 decimal digits near 3 (binary128 keeps 29 of 34).
// From 3 on, Laplace's continued fraction (A&S 7.1.14) by the modified
// Lentz method, at most about 110 terms, with e^(-x^2) formed from
// x = h + l, h of 24 bits so that h^2 is exact. For x < 0, 2 - erfc(-x).
extended SoftwareErfc(extended x);
// erf x: the series above for |x| < 3 (full relative accuracy near 0),
// 1 - erfc x beyond; odd.
extended SoftwareErf(extended x);

#if defined(__EMSCRIPTEN__)
inline extended ExtendedExp(extended x) { return SoftwareExp(x); }
inline extended ExtendedExpm1(extended x) { return SoftwareExpm1(x); }
inline extended ExtendedLog(extended x) { return SoftwareLog(x); }
inline extended ExtendedLog1p(extended x) { return SoftwareLog1p(x); }
inline extended ExtendedErf(extended x) { return SoftwareErf(x); }
inline extended ExtendedErfc(extended x) { return SoftwareErfc(x); }
#else
inline extended ExtendedExp(extended x) { return std::exp(x); }
inline extended ExtendedExpm1(extended x) { return std::expm1(x); }
inline extended ExtendedLog(extended x) { return std::log(x); }
inline extended ExtendedLog1p(extended x) { return std::log1p(x); }
inline extended ExtendedErf(extended x) { return std::erf(x); }
inline extended ExtendedErfc(extended x) { return std::erfc(x); }
#endif

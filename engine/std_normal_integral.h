// The standard normal distribution function by numerical integration of
// the density (Simpson's rule built from successive trapezoid stages).
// This integrator works in double precision, unlike the rest of the
// engine; extended arguments are rounded to double when passed.
//
// The point count and running estimate of the trapezoid stages are
// per-thread state: SimpsonIntegral restarts them with stage 1 on every
// call, and analyses may run on several threads at once.
#pragma once

// Constant of the density: 1/sqrt(2 pi) to eight decimals, as the
// percentages of the general branch are defined with it.
constexpr double StdNormalDensityConstant = 0.39894228;

// exp(-x^2/2) x 0.39894228.
double StdNormalDensity(double x);

// The j-th trapezoid estimate of the integral of StdNormalDensity from a
// to b; stage j > 1 refines the estimate of stage j - 1 (which must have
// been the previous call on this thread) with 2^(j-2) new midpoints.
double TrapezoidStage(int j, double a, double b);

// Integral of StdNormalDensity from a to b (a > b gives the opposite sign)
// by Simpson's rule from trapezoid stages, to a relative change below
// 1e-6, tested only from stage 5 on and on panels at most 0.5 wide; at
// most 20 stages. After stage 20 the warning "Too many steps" goes to the
// engine's notice hook and the last estimate is returned.
double SimpsonIntegral(double a, double b);

// 0.5 + SimpsonIntegral(0, x), with x limited to [-40, 40] (the normal
// tails beyond are below the smallest double).
double StdNormalCdf(double x);

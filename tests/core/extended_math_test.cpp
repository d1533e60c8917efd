// The extended type of each build and its elementary functions against a
// 50-digit reference (Boost.Multiprecision with Boost.Math, tests only).
#include <gtest/gtest.h>

#include <boost/math/special_functions/erf.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/extended_math.h"

namespace {

using Reference = boost::multiprecision::cpp_bin_float_50;
constexpr int Digits = std::numeric_limits<extended>::digits;
constexpr extended Epsilon = std::numeric_limits<extended>::epsilon();

#if defined(__EMSCRIPTEN__)
constexpr int BuildDigits = 113;  // IEEE binary128, in software
#else
constexpr int BuildDigits = 64;  // x87 extended
#endif
// The error each build reaches, in units of its epsilon: the software
// functions (both builds) and the functions the code calls (on the
// desktop the x87 C library's, in WebAssembly the software ones).
constexpr extended SoftwareUnits = 16;
constexpr extended CalledUnits = BuildDigits == 113 ? SoftwareUnits : 8;

struct tFunction {
  const char* name;
  extended (*software)(extended);
  extended (*called)(extended);
  Reference (*reference)(const Reference&);
  std::vector<extended> arguments;
};

const std::vector<tFunction>& Functions() {
  static const std::vector<tFunction> functions = {
      {"exp", SoftwareExp, ExtendedExp, [](const Reference& x) -> Reference { return exp(x); },
       {-11000, -700.5L, -20, -1, -0.34L, -1e-12L, 1e-30L, 0.1L, 0.5L, 1, 2.5L, 30, 88.7L, 1000, 11000}},
      {"expm1", SoftwareExpm1, ExtendedExpm1, [](const Reference& x) -> Reference { return expm1(x); },
       {-50, -1, -0.35L, -0.2L, -1e-10L, 1e-25L, 3e-5L, 0.01L, 0.3L, 0.35L, 1, 10, 200}},
      {"log", SoftwareLog, ExtendedLog, [](const Reference& x) -> Reference { return log(x); },
       {1e-4000L, 1e-300L, 1e-20L, 0.001L, 0.5L, 0.7071L, 0.99999L, 1.0000001L, 1.5L, 2, 10, 1e10L, 1e300L,
        1e4000L}},
      {"log1p", SoftwareLog1p, ExtendedLog1p, [](const Reference& x) -> Reference { return log1p(x); },
       {-0.999999L, -0.5L, -0.29L, -0.2L, -1e-15L, 1e-30L, 1e-8L, 0.1L, 0.28L, 0.3L, 1, 7, 1e20L}},
      {"erf", SoftwareErf, ExtendedErf, [](const Reference& x) -> Reference { return boost::math::erf(x); },
       {-5, -1, -1e-9L, 1e-20L, 1e-6L, 0.3L, 0.9L, 1.7L, 2.9L, 3, 4.5L}},
      {"erfc", SoftwareErfc, ExtendedErfc, [](const Reference& x) -> Reference { return boost::math::erfc(x); },
       {-8, -2, -0.5L, 0, 1e-10L, 0.5L, 1, 2, 2.99L, 3, 3.01L, 5, 10, 27, 100}},
  };
  return functions;
}

// The relative error of value as a multiple of epsilon; for erfc below 3,
// where 1 - erf x loses the digits of erfc x's smallness, of the epsilon
// of 1 (erfc x then being known to a few units of 1's last place).
extended ErrorUnits(const tFunction& f, extended x, extended value) {
  const Reference exact = f.reference(Reference(x));
  Reference scale = abs(exact);
  if (std::string(f.name) == "erfc" && x < 3 && scale < 1) scale = 1;
  return static_cast<extended>(abs(Reference(value) - exact) / scale) / Epsilon;
}

}  // namespace

// The type is what this build says, and its arithmetic rounds at that width.
TEST(ExtendedType, HasTheSignificandOfTheBuild) {
  EXPECT_EQ(Digits, BuildDigits);
  const extended one = 1;
  EXPECT_NE(one + std::ldexp(one, 1 - Digits), one);
  EXPECT_EQ(one + std::ldexp(one, -Digits), one);  // a tie, rounded to even
  EXPECT_EQ(std::numeric_limits<extended>::max_exponent, 16384);
}

TEST(ExtendedMath, SoftwareAndCalledFunctionsToTheirUnits) {
  for (const tFunction& f : Functions())
    for (extended x : f.arguments) {
      EXPECT_LE(ErrorUnits(f, x, f.software(x)), SoftwareUnits) << f.name << "(" << x << ")";
      EXPECT_LE(ErrorUnits(f, x, f.called(x)), CalledUnits) << f.name << "(" << x << ")";
    }
}

// Ends, overflow and the values that mean a fault upstream.
TEST(ExtendedMath, EndsOfTheRange) {
  const extended inf = std::numeric_limits<extended>::infinity();
  const extended nan = std::numeric_limits<extended>::quiet_NaN();
  EXPECT_EQ(SoftwareExp(12000), inf);
  EXPECT_EQ(SoftwareExp(-12000), 0);
  EXPECT_EQ(SoftwareExp(-inf), 0);
  EXPECT_EQ(SoftwareExp(0), 1);
  EXPECT_EQ(SoftwareExpm1(-200), -1);
  EXPECT_EQ(SoftwareLog(0), -inf);
  EXPECT_EQ(SoftwareLog(1), 0);
  EXPECT_EQ(SoftwareLog(inf), inf);
  EXPECT_TRUE(std::isnan(SoftwareLog(-1)));
  EXPECT_EQ(SoftwareLog1p(-1), -inf);
  EXPECT_TRUE(std::isnan(SoftwareLog1p(-2)));
  EXPECT_EQ(SoftwareErfc(inf), 0);
  EXPECT_EQ(SoftwareErfc(-inf), 2);
  EXPECT_EQ(SoftwareErfc(200), 0);
  for (auto f : {SoftwareExp, SoftwareExpm1, SoftwareLog, SoftwareLog1p, SoftwareErf, SoftwareErfc})
    EXPECT_TRUE(std::isnan(f(nan)));
}

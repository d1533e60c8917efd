#include "distrib/argument_checks.h"

#include <cmath>

#include "distrib/distribution_errors.h"
#include "core/text_format.h"

bool NearlyEqual(extended a, extended b) { return std::fabs(b - a) < EqualityTolerance; }

std::string ArgumentErrorText(int id) {
  switch (id) {
    case 1301: return "Parameter 1 must be greater than ";
    case 1305: return "Parameter 2 must be greater than ";
    case 1309: return "Parameter 3 must be greater than ";
    case 1302:
    case 1306:
    case 1310: return "Argument must be at least ";
    case 1303: return "Parameter must be less than ";
    case 1307:
    case 1311: return "Argument must be less than ";
    case 1315: return "Argument must be at most ";
    // The incomplete gamma function's argument above 2147483647: a gamma or
    // chi-square value that far out, or a noncentral t whose noncentrality
    // is beyond 65536.
    case 1361:
      return "Too far out in the tail to compute (incomplete gamma argument above 2147483647)";
    case 1362: return "The distribution has no mean";
    case 1363: return "The distribution has no variance";
    default: return FormatC("Invalid argument (error %d)", id);
  }
}

// "0.############": fixed notation rounded to twelve decimals, then the
// trailing zeros and a bare decimal point removed; "-0" becomes "0".
std::string FormatBound(extended value) {
  std::string s = FormatC("%.12Lf", value);
  std::size_t point = s.find('.');
  if (point != std::string::npos) {
    std::size_t last = s.find_last_not_of('0');
    s.erase(last == point ? point : last + 1);
  }
  if (s == "-0") s = "0";
  return s;
}

bool CheckArgument(int id, extended value, extended bound) {
  bool holds = true;
  switch (id) {
    case 1301:
    case 1305:
    case 1309: holds = value > bound; break;
    case 1302:
    case 1306:
    case 1310: holds = value >= bound; break;
    case 1303:
    case 1307:
    case 1311: holds = value < bound; break;
    case 1315: holds = value <= bound; break;
    default: break;
  }
  if (!holds) throw EArgumentError(id, ArgumentErrorText(id) + FormatBound(bound));
  return true;
}

void RaiseArgumentErrorIf(bool condition, int id) {
  if (condition) throw EArgumentError(id, ArgumentErrorText(id));
}

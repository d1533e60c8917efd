#include "validation/decimal_number.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

// Converts the whole of [first, last) (a number of the checked form), as
// from_chars does: false when it is out of the range of the type.
// WebAssembly's C++ library has no from_chars for reals; its C library's
// strtod and strtold (linked in full, -sPRINTF_LONG_DOUBLE) round
// correctly and read "." whatever the locale.
#if defined(__EMSCRIPTEN__)
template <class Real>
bool ConvertDecimal(const char* first, const char* last, Real& parsed) {
  const std::string text(first, last);
  char* end = nullptr;
  errno = 0;
  if constexpr (sizeof(Real) == sizeof(double)) parsed = std::strtod(text.c_str(), &end);
  else parsed = std::strtold(text.c_str(), &end);
  return errno != ERANGE && end == text.c_str() + text.size();
}
#else
template <class Real>
bool ConvertDecimal(const char* first, const char* last, Real& parsed) {
  const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
  return error == std::errc() && end == last;
}
#endif

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when text has the form of a decimal number. The syntax is checked
// by hand first, so that from_chars never sees what it would take but a
// number here must not be ("inf", "nan", a second sign).
bool IsDecimalText(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto digits = [&] {
    const std::size_t from = i;
    while (i < n && IsDigit(text[i])) ++i;
    return i - from;
  };
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t mantissaDigits = digits();
  if (i < n && text[i] == '.') {
    ++i;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == n;
}

// Checks the form, then converts with from_chars (which takes a '-' but
// not a '+'), refusing a result outside the range of Real.
template <class Real>
bool ReadDecimal(std::string_view text, Real& value) {
  if (!IsDecimalText(text)) return false;
  if (text.front() == '+') text.remove_prefix(1);
  const char* last = text.data() + text.size();
  Real parsed = 0;
  if (!ConvertDecimal(text.data(), last, parsed) || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace

bool ReadDecimalNumber(std::string_view text, double& value) { return ReadDecimal(text, value); }

bool ReadDecimalNumber(std::string_view text, extended& value) { return ReadDecimal(text, value); }

bool IsDecimalNumberText(std::string_view text) { return IsDecimalText(text); }

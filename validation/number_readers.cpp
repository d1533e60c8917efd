#include "validation/number_readers.h"

#include <cmath>
#include <string>

#include "validation/decimal_number.h"
#include "validation/key_filter.h"
#include "validation/validation_messages.h"

namespace {

// Characters of an overlong text repeated in its message.
constexpr std::size_t ShownPrefixLength = 20;

void Warn(const tNoticeHook& notice, const std::string& text) {
  if (notice) notice(tNotice{tMessageKind::Warning, "Warning", text});
}

// Scans a decimal text from left to right until the first error: blanks
// skipped, '-' only in the first position, one decimal mark (a comma too
// when commaIsMark), digits accumulated; a misplaced '-' or a foreign
// character resets the value to 0, a second mark keeps it. Returns false
// on an error; value is then what the scan left.
bool ScanDecimal(std::string_view text, bool commaIsMark, extended& result) {
  extended value = 0.0L;
  bool negative = false;
  bool inFraction = false;
  int place = 1;  // place after the decimal mark of the next fraction digit
  bool error = false;
  for (std::size_t i = 0; i < text.size() && !error; ++i) {
    const char c = text[i];
    if (c == ' ') continue;
    if (c == '-') {
      if (i == 0) {
        negative = true;
      } else {
        error = true;
        value = 0.0L;
      }
    } else if (c == '.' || (commaIsMark && c == ',')) {
      if (inFraction)
        error = true;
      else
        inFraction = true;
    } else if (c >= '0' && c <= '9') {
      const int digit = c - '0';
      if (inFraction) {
        value = value + digit / IntegerPower(10, place);
        ++place;
      } else {
        value = value * 10 + digit;
      }
    } else {
      error = true;
      value = 0.0L;
    }
  }
  result = negative ? -value : value;
  return !error;
}

// The text is beyond what the readers take: longer than MaxNumberTextLength
// or (only reachable if that limit were raised) a value that overflowed.
bool TooLong(std::string_view text) { return text.size() > static_cast<std::size_t>(MaxNumberTextLength); }

// What is wrong with a text the scan refused that is still a decimal
// number, written with an exponent: TooLargeText when its value needs more
// than MaxFieldLength digits before the point (or is beyond every real,
// unless the exponent is negative), ExponentText otherwise; nullptr for
// any other text, which is simply not numeric.
const char* ExponentProblem(std::string_view text) {
  if (text.find_first_of("eE") == std::string_view::npos || !IsDecimalNumberText(text)) return nullptr;
  extended value = 0.0L;
  if (!ReadDecimalNumber(text, value)) {
    const std::size_t mark = text.find_first_of("eE");
    return mark + 1 < text.size() && text[mark + 1] == '-' ? ExponentText : TooLargeText;
  }
  return std::fabs(value) >= IntegerPower(10, MaxFieldLength) ? TooLargeText : ExponentText;
}

std::string ShownPrefix(std::string_view text) {
  return std::string(text.substr(0, ShownPrefixLength)) + "...";
}

}  // namespace

// Power by repeated squaring and multiplication; every product of whole
// numbers below 2^64 is exact in extended precision, so 10^p is exact for
// p <= 27. Squaring keeps a huge exponent from looping for long.
extended IntegerPower(int base, int exponent) {
  extended result = 1.0L;
  extended factor = base;
  long long remaining = exponent < 0 ? 0 : exponent;
  while (remaining > 0) {
    if (remaining & 1) result *= factor;
    remaining >>= 1;
    if (remaining > 0) factor *= factor;
  }
  return result;
}

// Strict reader: point as the only decimal mark, empty text refused.
extended ReadLabelledNumber(std::string_view text, std::string_view label, const tNoticeHook& notice) {
  inputError = false;
  if (text.empty()) {
    inputError = true;
    Warn(notice, "INPUT ERROR\r\r(  " + std::string(label) + "  " + ")" + "\r" + "\r" + EmptyFieldText);
    return 0.0L;
  }
  if (TooLong(text)) {
    inputError = true;
    Warn(notice, "INPUT ERROR\r(  " + std::string(label) + "  " + ShownPrefix(text) + "  )" + "\r" + "\r" +
                     TooLongText);
    return 0.0L;
  }
  extended value = 0.0L;
  const bool valid = ScanDecimal(text, false, value);
  // Guard for a value beyond the extended range: cannot arise within 64
  // characters (at most 10^64) but would if the limit grew.
  if (valid && !std::isfinite(value)) {
    inputError = true;
    Warn(notice, "INPUT ERROR\r(  " + std::string(label) + "  " + ShownPrefix(text) + "  )" + "\r" + "\r" +
                     TooLongText);
    return 0.0L;
  }
  if (!valid) {
    inputError = true;
    const char* exponent = ExponentProblem(text);
    Warn(notice, "INPUT ERROR\r(  " + std::string(label) + "  " + std::string(text) + "  )" + "\r" + "\r" +
                     (exponent ? exponent : NumericOnlyText));
  }
  return value;
}

// Lenient reader: point or comma as decimal mark, empty text reads 0.
extended ReadCellNumber(std::string_view text, const tNoticeHook& notice) {
  inputError = false;
  extended value = 0.0L;
  const bool tooLong = TooLong(text);
  const bool valid = !tooLong && ScanDecimal(text, true, value) && std::isfinite(value);
  if (!valid) {
    inputError = true;
    Warn(notice, tooLong ? std::string(InvalidCellMessage) + "\r\r" + TooLongText
                         : std::string(InvalidCellMessage));
    if (!std::isfinite(value)) value = 0.0L;
  }
  return value;
}

#include "batch/batch_text.h"

#include <cmath>

#include "core/text_format.h"
#include "validation/decimal_number.h"

// A score is a decimal number of at most MaxScoreTextLength characters, read
// like the values of a raw data file.
bool ReadScore(std::string_view text, extended& value) {
  if (text.size() > static_cast<std::size_t>(MaxScoreTextLength)) return false;
  return ReadDecimalNumber(text, value);
}

std::string FullPrecision(extended value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  return FormatC("%.17Lg", value);
}

std::string OneLineText(std::string_view text) {
  std::string out;
  bool pendingBreak = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      pendingBreak = true;
      continue;
    }
    if (pendingBreak && !out.empty() && out.back() != ' ') out.push_back(' ');
    pendingBreak = false;
    out.push_back(c);
  }
  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  const std::size_t last = out.find_last_not_of(' ');
  return out.substr(first, last - first + 1);
}

// Checks lead bytes, continuation bytes, overlong forms, surrogates and
// the upper bound U+10FFFF.
bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    unsigned int code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;  // the sequence runs past the end
    for (int b = 1; b <= extra; ++b) {
      const unsigned char d = static_cast<unsigned char>(text[i + b]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

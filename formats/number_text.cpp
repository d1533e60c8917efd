#include "formats/number_text.h"

#include <cmath>

#include "core/text_format.h"
#include "validation/decimal_number.h"

// A score is a decimal number of at most MaxScoreTextLength characters, read
// like the values of a raw data file.
bool ReadScore(std::string_view text, extended& value) {
  if (text.size() > static_cast<std::size_t>(MaxScoreTextLength)) return false;
  return ReadDecimalNumber(text, value);
}

std::string BatchFigure(extended value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  return FormatC("%.*Lg", BatchFigureDigits, value);
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

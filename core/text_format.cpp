#include "core/text_format.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace {

// A "C" locale object made once and installed per call on this thread only,
// so formatting is thread-safe and leaves the program's locale alone.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

}  // namespace

// Most texts fit a small buffer and are formatted once; a longer one is
// formatted again into a string of its size.
std::string FormatC(const char* format, ...) {
  locale_t previous = uselocale(CLocale());
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[256];
  const int size = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  std::string out;
  if (size > 0 && static_cast<std::size_t>(size) < sizeof small) {
    out.assign(small, static_cast<std::size_t>(size));
  } else if (size > 0) {
    out.resize(static_cast<std::size_t>(size) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(size));
  }
  va_end(args);
  uselocale(previous);
  return out;
}

// printf-style formatting that always writes "." as the decimal mark,
// whatever locale the program runs in (the windowing toolkit sets the
// user's locale at start-up).
#pragma once

#include <string>

// Formats like snprintf in the "C" locale. Pass long double values with
// the L length modifier ("%5.5Lf").
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

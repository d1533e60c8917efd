// The locale-free reader of a number written in a file (the raw data file,
// the saved inputs): the whole text must be one decimal number, '.' its
// decimal mark whatever the locale.
#pragma once

#include <string_view>

#include "core/extended.h"

// Reads text as [+-] (digits [. [digits]] | . digits) [(e|E) [+-] digits]
// with correct rounding to the type of value. Anything else ("inf", "nan",
// hexadecimal, a comma, a blank, a second sign, an empty text) is refused,
// and so is a number beyond the range of that type. Returns false on
// refusal and leaves value as it was.
bool ReadDecimalNumber(std::string_view text, double& value);
bool ReadDecimalNumber(std::string_view text, extended& value);

// True when text has the form ReadDecimalNumber reads, whatever the size
// of its value.
bool IsDecimalNumberText(std::string_view text);

// The program's own number readers: decimal texts read character by
// character, independent of the locale. The decimal mark is a point (the
// cell reader also takes a comma), there is no exponent notation, and
// blanks are ignored wherever they stand.
#pragma once

#include <string_view>

#include "core/extended.h"
#include "platform/notice.h"
#include "validation/input_error.h"

// Longest text the readers accept. Longer texts are refused with a
// message (no legitimate entry comes near it; the limit keeps every value
// finite, at most 10^64).
constexpr int MaxNumberTextLength = 64;

// Strict reader of a labelled field or grid cell (before the computation).
// Clears inputError, then reads text:
//  - empty text: inputError set; warning "INPUT ERROR\r\r(  <label>  )\r\r
//    Data have not been entered in this field."; result 0 (not meaningful);
//  - a blank is skipped wherever it stands ("1 2" reads 12); '-' in the
//    first position makes the number negative, elsewhere it is an error;
//    the first '.' starts the fraction, a second is an error; digits
//    accumulate; anything else (a comma included) is an error;
//  - on an error inputError is set and the warning "INPUT ERROR\r(  <label>
//    <text>  )\r\rEnter numeric data only." is shown; a text that is a
//    number written with an exponent ("1e+09", as a restore writes a large
//    value) ends the warning instead in TooLargeText or ExponentText
//    (validation_messages.h), saying what is wrong with it;
//  - a text longer than MaxNumberTextLength characters, or one whose value
//    would not be finite, is refused (inputError set, warning ending in
//    "The entry is too long to be a number (at most 64 characters).").
// A lone "." or "-" reads 0 without error. Never reads past text.
//
// Window layer: at Compute, call it for each worksheet field with the
// field's text and its label caption, and for each numeric grid cell with
// the label "Test No." followed by the row number; on inputError move the
// focus to that field or cell and stop the computation.
extended ReadLabelledNumber(std::string_view text, std::string_view label, const tNoticeHook& notice);

// Lenient reader (grid values once they passed the strict reader, the
// covariates field of Quorvane while the user types, the matrix cells).
// As the strict reader except: a comma is a decimal mark exactly like a
// point (two marks of either kind are an error); an empty text reads 0
// without error; every rejection shows the one warning "There is an
// invalid data entry, which will be highlighted once you click 'OK',
// please re-enter." (with "\r\rThe entry is too long to be a number (at
// most 64 characters)." added for an overlong text).
//
// Window layer: on inputError focus the faulty cell (the matrix window) or
// field, which then selects its whole text.
extended ReadCellNumber(std::string_view text, const tNoticeHook& notice);

// base raised to a non-negative whole exponent by repeated multiplication
// (1 for exponent 0; a negative exponent is treated as 0). In extended
// precision 10^p is exact for p up to 27, beyond every place a field can
// hold.
extended IntegerPower(int base, int exponent);

#pragma once

#include <cfenv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the count reads its texts as numbers and writes numbers back as texts.
// Every value is a double; the only integers are the constants the tick writes.
//
// A number, for both readers, is: an optional '+' or '-'; digits with at most
// one '.' and at least one digit; then optionally 'e' or 'E', an optional sign
// and at least one digit. A digit is a decimal digit of any script (Unicode's
// category Nd: "٣", "۳" and "３" are 3, as "3" is). The decimal separator is
// always '.'. Blanks are spaces and tabs.
namespace timer::countdown {

// The value of the whole text, with blanks allowed around the number.
// Empty when the text is not such a number or its value is beyond the range of
// a double (values too small for a double read as 0 or a subnormal).
std::optional<double> NumberFromText(std::u16string_view text);

// The value of the longest number that starts the text after leading blanks;
// 0 when none does. Never fails. A value beyond the range of a double reads as
// an infinity and raises the floating-point overflow flag, so the decrement's
// check that follows reports it.
double ValFromText(std::u16string_view text);

// Whole numbers as bare decimal digits with a '-' when negative ("9", "-1",
// "0" also for -0); other finite values as the shortest '.' text that reads
// back to the same double. Infinities and NaN as "inf", "-inf", "nan".
std::u16string TextFromNumber(double value);

std::u16string TextFromInteger(std::int16_t value);

bool IsEmptyText(std::u16string_view text);
std::size_t TextLength(std::u16string_view text);
std::u16string ZeroPrefix(std::u16string_view text);

// The floating-point flags the decrement examines: an invalid operation, a
// division by zero, an overflow (not an inexact result or an underflow).
inline constexpr int kCheckedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// value - 1, raising ArithmeticError when any of kCheckedFlags is set
// afterwards. The caller clears them before the conversion that produced the
// value.
double Decrement(double value);

// The three comparisons against constants. A NaN counts as below 11 and equal
// to 0, and not as above 0.
bool IsBelowEleven(double value);
bool IsEqualToZero(double value);
bool IsAboveZero(double value);

} // namespace timer::countdown

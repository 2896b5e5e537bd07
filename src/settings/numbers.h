// Number conversions shared by every part of the program.
//
// The settings file and the dialog's track box hold numbers as text, and a
// few values arrive as reals; all of them become 16- or 32-bit integers the
// same way: halves round to the even neighbour, out-of-range values fail.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirane::numbers {

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// Converts a real to an integer with halves to even; nullopt when out of range.
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

// Reads text that is wholly a decimal number: blanks around it, a sign,
// digits with an optional fraction and an optional exponent.  Anything else,
// and the empty text, is not a number.
std::optional<double> ParseNumber(std::u16string_view text);

// Reads the leading number of a text the lenient way: blanks anywhere are
// skipped, reading stops at the first character that cannot continue the
// number, and a text without one gives 0.  Also reads &H (hex) and &O (octal).
double LeadingNumber(std::u16string_view text);

// Settings form: one blank before zero and positive values, "-" otherwise.
std::u16string SignOrSpace(std::int32_t value);

// The "##" format: digits without leading zeros, nothing at all for 0.
std::u16string Hashes(std::int32_t value);

// ASCII letters to upper case; other characters unchanged.
std::u16string UpperAscii(std::u16string_view text);

}  // namespace mirane::numbers

#include "settings/numbers.h"

#include <cmath>
#include <limits>

namespace mirane::numbers {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

template <typename Int>
std::optional<Int> ToInt(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = RoundHalfEven(value);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

// Copies a sign, digits and a fraction from text at i into ascii, moving i
// past them; returns how many digits there were.
std::size_t ScanMantissa(std::u16string_view text, std::size_t& i, std::string& ascii) {
  const std::size_t n = text.size();
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++]);
  std::size_t digits = 0;
  while (i < n && IsDigit(text[i])) ascii += static_cast<char>(text[i++]), ++digits;
  if (i < n && text[i] == u'.') {
    ascii += '.';
    ++i;
    while (i < n && IsDigit(text[i])) ascii += static_cast<char>(text[i++]), ++digits;
  }
  return digits;
}

enum class Exponent : std::uint8_t { None, Read, Malformed };

// Copies an exponent introduced by one of the markers, moving i past it; a
// marker without digits is left unread and reported as malformed.
Exponent ScanExponent(std::u16string_view text, std::size_t& i, std::string& ascii,
                      std::u16string_view markers) {
  const std::size_t n = text.size();
  if (i >= n || markers.find(text[i]) == std::u16string_view::npos) return Exponent::None;
  std::string exponent = "e";
  std::size_t j = i + 1;
  if (j < n && (text[j] == u'+' || text[j] == u'-')) exponent += static_cast<char>(text[j++]);
  std::size_t digits = 0;
  while (j < n && IsDigit(text[j])) exponent += static_cast<char>(text[j++]), ++digits;
  if (digits == 0) return Exponent::Malformed;
  ascii += exponent;
  i = j;
  return Exponent::Read;
}

std::u16string Digits(std::int64_t magnitude) {
  std::u16string out;
  do {
    out.insert(out.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return out;
}

}  // namespace

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<std::int16_t> ToInt16(double value) {
  return ToInt<std::int16_t>(value);
}
std::optional<std::int32_t> ToInt32(double value) {
  return ToInt<std::int32_t>(value);
}

std::optional<double> ParseNumber(std::u16string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  std::string ascii;  // the number, for strtod
  if (ScanMantissa(text, i, ascii) == 0) return std::nullopt;
  if (ScanExponent(text, i, ascii, u"eE") == Exponent::Malformed) return std::nullopt;
  while (i < n && IsBlank(text[i])) ++i;
  if (i != n) return std::nullopt;
  const double value = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double LeadingNumber(std::u16string_view text) {
  // Blanks, tabs and line feeds are ignored wherever they stand.
  std::u16string s;
  for (char16_t c : text) {
    if (c != u' ' && c != u'\t' && c != u'\n') s += c;
  }
  std::size_t i = 0;
  const std::size_t n = s.size();
  if (i + 1 < n && s[i] == u'&') {
    const char16_t radix_char = static_cast<char16_t>(s[i + 1] | 0x20);
    const int radix = radix_char == u'h' ? 16 : radix_char == u'o' ? 8 : 0;
    if (radix != 0) {
      std::uint32_t value = 0;
      for (i += 2; i < n; ++i) {
        const char16_t c = static_cast<char16_t>(s[i] | 0x20);
        int d = -1;
        if (IsDigit(s[i])) d = s[i] - u'0';
        if (radix == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
        if (d < 0 || d >= radix) break;
        value = value * static_cast<std::uint32_t>(radix) + static_cast<std::uint32_t>(d);
      }
      // Hex and octal texts are 32-bit patterns, as the runtime reads them.
      return static_cast<double>(static_cast<std::int32_t>(value));
    }
  }
  std::string ascii;
  if (ScanMantissa(s, i, ascii) == 0) return 0.0;
  ScanExponent(s, i, ascii, u"eEdD");
  return std::strtod(ascii.c_str(), nullptr);
}

std::u16string SignOrSpace(std::int32_t value) {
  const std::int64_t v = value;
  return (v < 0 ? u"-" : u" ") + Digits(v < 0 ? -v : v);
}

std::u16string Hashes(std::int32_t value) {
  if (value == 0) return u"";
  const std::int64_t v = value;
  return (v < 0 ? u"-" : u"") + Digits(v < 0 ? -v : v);
}

std::u16string UpperAscii(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return out;
}

}  // namespace mirane::numbers

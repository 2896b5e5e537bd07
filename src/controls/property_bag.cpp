#include "controls/property_bag.h"

#include <cmath>

#include "settings/numbers.h"

namespace mirane {

namespace {

// A value as a number: True is -1, False 0, a text that reads as a number.
std::optional<double> AsNumber(const PropertyValue& value) {
  if (const auto* b = std::get_if<bool>(&value)) return *b ? -1.0 : 0.0;
  if (const auto* d = std::get_if<double>(&value)) return *d;
  if (const auto* s = std::get_if<std::u16string>(&value)) {
    const std::u16string upper = numbers::UpperAscii(*s);
    if (upper == u"TRUE") return -1.0;
    if (upper == u"FALSE") return 0.0;
    return numbers::ParseNumber(*s);
  }
  return std::nullopt;
}

}  // namespace

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
  const auto* fa = std::get_if<platform::FontRef>(&a);
  const auto* fb = std::get_if<platform::FontRef>(&b);
  if (fa || fb) {
    if (!fa || !fb) return false;
    if (!*fa || !*fb) return *fa == *fb;
    return **fa == **fb;
  }
  const auto* sa = std::get_if<std::u16string>(&a);
  const auto* sb = std::get_if<std::u16string>(&b);
  if (sa && sb) return *sa == *sb;
  const auto na = AsNumber(a);
  const auto nb = AsNumber(b);
  return na && nb && *na == *nb;
}

PropertyValue PropertyBag::ReadProperty(const std::u16string& key,
                                        PropertyValue default_value) const {
  const auto it = values_.find(key);
  return it == values_.end() ? default_value : it->second;
}

void PropertyBag::WriteProperty(const std::u16string& key, PropertyValue value,
                                PropertyValue default_value) {
  if (SameValue(value, default_value)) {
    values_.erase(key);
  } else {
    values_[key] = std::move(value);
  }
}

std::optional<bool> ToBoolean(const PropertyValue& value) {
  const auto n = AsNumber(value);
  if (!n) return std::nullopt;
  return *n != 0;
}

std::optional<std::uint8_t> ToByte(const PropertyValue& value) {
  const auto n = AsNumber(value);
  if (!n) return std::nullopt;
  const double r = numbers::RoundHalfEven(*n);
  if (!(r >= 0 && r <= 255)) return std::nullopt;
  return static_cast<std::uint8_t>(r);
}

std::optional<std::int16_t> ToInteger16(const PropertyValue& value) {
  const auto n = AsNumber(value);
  if (!n) return std::nullopt;
  return numbers::ToInt16(*n);
}

std::optional<std::int32_t> ToInteger32(const PropertyValue& value) {
  const auto n = AsNumber(value);
  if (!n) return std::nullopt;
  return numbers::ToInt32(*n);
}

std::optional<std::u16string> ToText(const PropertyValue& value) {
  if (const auto* s = std::get_if<std::u16string>(&value)) return *s;
  if (const auto* b = std::get_if<bool>(&value)) return std::u16string(*b ? u"True" : u"False");
  if (const auto* d = std::get_if<double>(&value)) {
    const std::string t = std::to_string(*d);
    if (std::floor(*d) == *d && std::abs(*d) < 1e15) {
      const std::string i = std::to_string(static_cast<long long>(*d));
      return std::u16string(i.begin(), i.end());
    }
    return std::u16string(t.begin(), t.end());
  }
  return std::nullopt;
}

}  // namespace mirane

// The designer data a container keeps for one of its user controls: saved
// properties by key, each value a Boolean, a number, a text or a font.
//
// Values are written with a default and a value equal to its default is
// not stored, so a bag holds only what differs; a text and a number count
// as equal when the text reads as that number ("1" and 1).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "platform/controls.h"

namespace mirane {

using PropertyValue = std::variant<bool, double, std::u16string, platform::FontRef>;

class PropertyBag {
 public:
  // The stored value, or the default when the key is not stored.
  PropertyValue ReadProperty(const std::u16string& key, PropertyValue default_value) const;
  // Stores the value, or removes the key when the value equals the default.
  void WriteProperty(const std::u16string& key, PropertyValue value, PropertyValue default_value);

  bool Has(const std::u16string& key) const { return values_.count(key) != 0; }
  const std::map<std::u16string, PropertyValue>& values() const { return values_; }

 private:
  std::map<std::u16string, PropertyValue> values_;
};

bool SameValue(const PropertyValue& a, const PropertyValue& b);

// The toolkit's conversions of a stored value; nullopt when it does not
// convert (then the target keeps what it had).
std::optional<bool> ToBoolean(const PropertyValue& value);
std::optional<std::uint8_t> ToByte(const PropertyValue& value);
std::optional<std::int16_t> ToInteger16(const PropertyValue& value);
std::optional<std::int32_t> ToInteger32(const PropertyValue& value);
std::optional<std::u16string> ToText(const PropertyValue& value);

}  // namespace mirane

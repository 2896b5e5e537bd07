// The settings file "ミラネ.ini" beside the program, and the file test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/state.h"

namespace mirane {

inline constexpr std::u16string_view kSection = u"Section";
inline constexpr std::u16string_view kKeyKind = u"BGM区分";
inline constexpr std::u16string_view kKeyRepeat = u"BGMﾘﾋﾟｰﾄ";
inline constexpr std::u16string_view kKeyFile = u"BGMﾌｧｲﾙ";

// The program folder followed directly by name ("\ミラネ.ini"): nothing is
// added or removed, so a drive root gives two separators in a row.
std::u16string BesideProgram(platform::Platform& os, std::u16string_view name);
std::u16string SettingsPath(platform::Platform& os);

// -1 when the file can be opened for reading, else 0.  One trailing "\" is
// dropped first.
std::int16_t FileExists(platform::Platform& os, std::u16string_view path);

// The whole value of a key, empty when the file, section or key is missing.
std::u16string ReadIni(platform::Platform& os, std::u16string_view section, std::u16string_view key,
                       std::u16string_view file);
void WriteIni(platform::Platform& os, Shared& shared, std::u16string_view section,
              std::u16string_view key, std::u16string_view value, std::u16string_view file);

// Fills the settings from the file, falling back to no music.
void LoadSettings(platform::Platform& os, Shared& shared, Settings& settings);

}  // namespace mirane

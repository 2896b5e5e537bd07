#include "settings/settings.h"

#include <cmath>
#include <vector>

#include "settings/numbers.h"

namespace mirane {

namespace {

constexpr std::size_t kFirstBufferSize = 256;
// Far beyond any path; only a guard against a runaway file.
constexpr std::size_t kLargestBufferSize = 1 << 20;
constexpr std::size_t kNameBufferSize = 128;

std::string NameBytes(platform::Platform& os, std::u16string_view name) {
  return os.codec().ToAnsi(name.substr(0, kNameBufferSize));
}

// A number as the settings file stores it, floored to a 16-bit integer.
std::optional<std::int16_t> StoredInt16(std::u16string_view text) {
  const auto number = numbers::ParseNumber(text);
  if (!number) return std::nullopt;
  return numbers::ToInt16(std::floor(*number));
}

}  // namespace

std::u16string BesideProgram(platform::Platform& os, std::u16string_view name) {
  return os.codec().FromAnsi(os.system().ProgramFolder()) + std::u16string(name);
}

std::u16string SettingsPath(platform::Platform& os) {
  return BesideProgram(os, u"\\ミラネ.ini");
}

std::int16_t FileExists(platform::Platform& os, std::u16string_view path) {
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  return os.system().TryOpenForReading(os.codec().ToAnsi(path)) ? -1 : 0;
}

std::u16string ReadIni(platform::Platform& os, std::u16string_view section, std::u16string_view key,
                       std::u16string_view file) {
  const auto& codec = os.codec();
  const std::string section_bytes = codec.ToAnsi(section);
  const std::string key_bytes = codec.ToAnsi(key);
  const std::string file_bytes = codec.ToAnsi(file);
  // The call reports a value that filled the buffer as size - 1 bytes, cut;
  // grow until the whole value fits, so a long path is never silently cut.
  std::vector<char> buffer(kFirstBufferSize, '\0');
  for (;;) {
    const std::uint32_t copied =
        os.system().GetPrivateProfileStringA(section_bytes, key_bytes, "", buffer, file_bytes);
    if (copied + 1 < buffer.size() || buffer.size() >= kLargestBufferSize) break;
    buffer.assign(buffer.size() * 2, '\0');
  }
  const std::string_view text(buffer.data(), buffer.size());
  return codec.FromAnsi(text.substr(0, text.find('\0')));
}

void WriteIni(platform::Platform& os, Shared& shared, std::u16string_view section,
              std::u16string_view key, std::u16string_view value, std::u16string_view file) {
  const auto& codec = os.codec();
  shared.LastApiResult = os.system().WritePrivateProfileStringA(
      NameBytes(os, section), NameBytes(os, key), codec.ToAnsi(value), codec.ToAnsi(file));
}

void LoadSettings(platform::Platform& os, Shared& shared, Settings& settings) {
  shared.IniValue = ReadIni(os, kSection, kKeyKind, SettingsPath(os));
  if (shared.IniValue.empty()) {
    settings.BgmKind = 0;
  } else if (const auto kind = StoredInt16(shared.IniValue)) {
    settings.BgmKind = *kind;
  }

  shared.IniValue = ReadIni(os, kSection, kKeyRepeat, SettingsPath(os));
  if (shared.IniValue.empty()) {
    settings.BgmRepeat = 0;
  } else if (const auto repeat = StoredInt16(shared.IniValue)) {
    settings.BgmRepeat = *repeat;
  }

  shared.IniValue = ReadIni(os, kSection, kKeyFile, SettingsPath(os));
  if (shared.IniValue.empty()) {
    settings.BgmFile.clear();
    if (settings.BgmKind == 2) settings.BgmKind = 0;
  } else {
    settings.BgmFile = shared.IniValue;
    if (FileExists(os, settings.BgmFile) != -1) {
      settings.BgmFile.clear();
      if (settings.BgmKind == 2) settings.BgmKind = 0;
    }
  }
}

}  // namespace mirane

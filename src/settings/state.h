// The state that the whole program shares for the length of a run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mirane {

// The background-music choice, loaded at start and edited by the dialog.
struct Settings {
  std::int16_t BgmKind = 0;    // 0 none, 1 music CD, 2 MP3 or WAV file
  std::int16_t BgmRepeat = 0;  // CD track to repeat, 0 for none
  std::u16string BgmFile;      // full path of the music file, empty for none
};

// Start-up's shared values.
struct Shared {
  std::int32_t LastApiResult = 0;                // result of the last system call that keeps one
  std::optional<std::int32_t> SavedCursorCount;  // set only in saver mode
  std::int16_t CursorX = 0;                      // where the dialog's zoom starts and ends
  std::int16_t CursorY = 0;
  std::u16string IniValue;  // last value read by LoadSettings
};

}  // namespace mirane

// Background music: media-control command strings with error texts, the
// audio CD with an optional repeated track, and an MP3 or WAV file in a loop.
//
// The saver window owns the timing: it opens the devices when it loads,
// calls the polls from its timers and closes the devices when it unloads.
// Nothing here raises, and no outcome is ever shown to the user; codes go
// to the shared LastApiResult and the polls switch themselves off instead.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/platform.h"
#include "settings/state.h"

namespace mirane {

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

class Music {
 public:
  Music(platform::Platform& os, Shared& shared, const Settings& settings);
  Music(const Music&) = delete;
  Music& operator=(const Music&) = delete;

  // Sends one command; reply receives the reply, the system's description
  // of the failure, or a fallback text.  0 on success, the MCI error code on
  // failure, -1 for an empty command (then nothing is sent).
  std::int32_t MciSend(const std::u16string& command, std::u16string& reply);
  // The reply of a status question, or "Error:" and the code on failure.
  std::u16string MciStatus(const std::u16string& command);
  // "play <device>" with optional " from <start>" and " to <end>".
  std::int32_t MciPlay(const std::u16string& device, const std::u16string& start,
                       const std::u16string& end);

  // The audio CD in the default drive.
  void CdOpen();
  void CdPoll();  // one tick of the saver's CD timer
  void CdClose();

  // The music file: MP3 through the media control interface, WAV through
  // the system's sound call.
  void Mp3Play();
  std::int16_t Mp3IsPlaying();
  void Mp3KeepPlaying();  // one tick of the saver's MP3 timer
  void Mp3Close();
  void WavPlay();
  void WavStop();

  // Reply buffers, allocated once for the whole run and never cleared: the
  // system writes a reply and a NUL and leaves the bytes after it alone.
  std::array<char, 512> MciReplyBuffer{};
  std::array<char, 256> MciErrorBuffer{};
  std::array<char, 256> CdModeBuffer{};
  std::array<char, 30> Mp3ModeBuffer{};
  // The reply of the last status question or play command; kept, never read.
  std::u16string MciStatusText;
  // True while the CD poll should go on; the saver copies it into its timer.
  std::int16_t CdPollActive = kFalse;

 private:
  std::u16string Text(std::span<const char> buffer) const;
  std::uint32_t Send(std::u16string_view command, std::span<char> reply = {});

  platform::Platform& os_;
  Shared& shared_;
  const Settings& settings_;
};

}  // namespace mirane

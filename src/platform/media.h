// Multimedia calls of the port: MCI command strings and PlaySound.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace platform {

using Hwnd = std::uint32_t;

class Media {
 public:
  virtual ~Media() = default;
  // mciSendStringA.  The reply span is the buffer and the reply length
  // passed (an empty span passes no buffer and length 0); the system writes
  // the reply and a NUL into it and leaves the rest as it was.
  virtual std::uint32_t mciSendStringA(std::string_view command, std::span<char> reply,
                                       Hwnd callback) = 0;
  // mciGetErrorStringA; non-zero when a description was written.
  virtual std::int32_t mciGetErrorStringA(std::uint32_t code, std::span<char> buffer) = 0;
  virtual std::uint32_t waveOutGetNumDevs() = 0;
  // PlaySoundA; no sound name (nullopt) passes a null pointer.
  virtual std::int32_t PlaySoundA(std::optional<std::string_view> sound, std::uint32_t module,
                                  std::uint32_t flags) = 0;
};

}  // namespace platform

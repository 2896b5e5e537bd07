// The music on its own against the fake's media devices.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fake/fake_platform.h"
#include "music/music.h"

namespace testing_support {

struct MusicRun {
  fake::FakePlatform os;
  mirane::Shared shared;
  mirane::Settings settings;
  mirane::Music music{os, shared, settings};

  // The media calls since the last Forget.
  std::vector<std::string> Media() const {
    return os.Calls({"mciSendStringA", "mciGetErrorStringA", "waveOutGetNumDevs", "PlaySoundA"});
  }
  void Forget() { os.log.clear(); }
};

// One logged command: the text, the reply length passed and the code.
inline std::string Sent(std::string_view command_utf8, std::size_t reply_length,
                        std::uint32_t code = 0) {
  return "mciSendStringA(\"" + std::string(command_utf8) + "\", " + std::to_string(reply_length) +
         ", 0) -> " + std::to_string(code);
}

inline std::string Described(std::uint32_t code, bool found) {
  return "mciGetErrorStringA(" + std::to_string(code) + ", 256) -> " + (found ? "1" : "0");
}

// The bytes of a buffer from first to last (exclusive).
template <std::size_t N>
std::string Bytes(const std::array<char, N>& buffer, std::size_t first, std::size_t last) {
  return std::string(buffer.data() + first, buffer.data() + last);
}

}  // namespace testing_support

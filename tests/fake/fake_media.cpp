#include "fake/fake_media.h"

#include "fake/fake_platform.h"

namespace fake {

std::uint32_t FakeMedia::mciSendStringA(std::string_view command, std::span<char> reply,
                                        platform::Hwnd callback) {
  owner_.Log("mciSendStringA(\"" + Utf8(owner_.codec().FromAnsi(command)) + "\", " +
             std::to_string(reply.size()) + ", " + std::to_string(callback) + ") -> 0");
  if (!reply.empty()) reply[0] = '\0';
  return 0;
}

std::int32_t FakeMedia::mciGetErrorStringA(std::uint32_t code, std::span<char> buffer) {
  owner_.Log("mciGetErrorStringA(" + std::to_string(code) + ", " + std::to_string(buffer.size()) +
             ") -> 0");
  return 0;
}

std::uint32_t FakeMedia::waveOutGetNumDevs() {
  owner_.Log("waveOutGetNumDevs() -> " + std::to_string(wave_devices));
  return wave_devices;
}

std::int32_t FakeMedia::PlaySoundA(std::optional<std::string_view> sound, std::uint32_t module,
                                   std::uint32_t flags) {
  owner_.Log("PlaySoundA(" +
             (sound ? "\"" + Utf8(owner_.codec().FromAnsi(*sound)) + "\"" : std::string("NULL")) +
             ", " + std::to_string(module) + ", " + std::to_string(flags) + ") -> 1");
  return 1;
}

}  // namespace fake

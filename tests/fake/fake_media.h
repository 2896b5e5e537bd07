// The fake's multimedia device: records every command in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/media.h"

namespace fake {

class FakePlatform;

class FakeMedia : public platform::Media {
 public:
  explicit FakeMedia(FakePlatform& owner) : owner_(owner) {}

  std::uint32_t mciSendStringA(std::string_view command, std::span<char> reply,
                               platform::Hwnd callback) override;
  std::int32_t mciGetErrorStringA(std::uint32_t code, std::span<char> buffer) override;
  std::uint32_t waveOutGetNumDevs() override;
  std::int32_t PlaySoundA(std::optional<std::string_view> sound, std::uint32_t module,
                          std::uint32_t flags) override;

  std::uint32_t wave_devices = 1;

 private:
  FakePlatform& owner_;
};

}  // namespace fake

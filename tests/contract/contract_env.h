// What the port's contract tests need from the machine they run on: the
// fake natively, the real adapter under Wine.  Paths are ANSI bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace contract {

class Env {
 public:
  virtual ~Env() = default;
  virtual platform::Platform& os() = 0;
  // A fresh, empty folder with a Japanese name; no trailing separator.
  virtual std::string Folder() = 0;
  virtual void WriteFile(const std::string& path, const std::string& bytes) = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  virtual void MakeFolder(const std::string& path) = 0;
  // Another program holding the file open for reading while the result lives.
  virtual std::shared_ptr<void> HoldOpenForReading(const std::string& path) = 0;

  // Copies one of the bench's test sounds ("tone.mp3", "tone.wav": a
  // two-second 440 Hz tone) to the path given; false when it cannot.
  virtual bool CopyMusic(const std::string& name, const std::string& to) = 0;
  // Lets time pass for the devices: the real clock, or the fake's.
  virtual void Wait(std::uint32_t milliseconds) = 0;
};

std::unique_ptr<Env> MakeEnv();

}  // namespace contract

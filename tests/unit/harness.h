// A run of the program against the fake, the way a test drives it.
#pragma once

#include <string>

#include "fake/fake_platform.h"
#include "startup/app.h"

namespace testing_support {

inline constexpr const char* kFolder = "C:\\Program Files\\ミラネ";
inline constexpr const char* kIni = "C:\\Program Files\\ミラネ\\ミラネ.ini";
inline constexpr const char* kEngine = "C:\\Program Files\\ミラネ\\ミラネ.dll";

struct ProgramRun {
  ProgramRun() { os.SetProgramFolder(kFolder); }

  // Runs the start procedure and then the message loop, as WinMain does.
  void Start(std::string_view arguments_utf8) {
    os.SetArguments(arguments_utf8);
    try {
      mirane::Main(app);
      os.RunMessageLoop();
    } catch (const platform::ProcessEnded&) {
    }
  }
  bool Ended() const { return os.exit_code.has_value(); }

  fake::FakePlatform os;
  mirane::App app{os};
};

inline std::string Ini(std::string_view utf8_lines) {
  return fake::Sjis(utf8_lines);
}

}  // namespace testing_support

// Arbitrary bytes as the settings file: the loader must never fail, and a
// file kind only ever comes with a file that was there.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake/fake_platform.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fake::FakePlatform os;
  os.SetProgramFolder("C:\\ミラネ");
  os.AddFile("C:\\ミラネ\\ミラネ.ini", std::string(reinterpret_cast<const char*>(data), size));
  os.AddFile("C:\\Music\\曲.mp3", "ID3");
  os.AddFile("C:\\Music\\tune.wav", "RIFF");
  mirane::Shared shared;
  mirane::Settings settings;
  mirane::LoadSettings(os, shared, settings);
  if (settings.BgmKind == 2) {
    if (settings.BgmFile.empty()) std::abort();
    if (!os.HasFile(fake::Utf8(settings.BgmFile))) std::abort();
  }
  if (!settings.BgmFile.empty() && !os.HasFile(fake::Utf8(settings.BgmFile))) std::abort();
  return 0;
}

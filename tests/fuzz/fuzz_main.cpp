// Any bytes as the command line: the start procedure ends or hands over to
// one mode, and a saver run gives the cursor back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake/fake_platform.h"
#include "startup/app.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fake::FakePlatform os;
  os.SetProgramFolder("C:\\ミラネ");
  os.AddFile("C:\\ミラネ\\ミラネ.dll", "MZ");
  os.AddFile("C:\\ミラネ\\ミラネ.ini", fake::Sjis("[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=C:\\a.wav\n"));
  os.AddFile("C:\\a.wav", "RIFF");
  os.SetArgumentBytes(std::string(reinterpret_cast<const char*>(data), size));
  os.loop_limit_ms = 2'000;
  const std::int32_t cursor_before = os.cursor_count;
  mirane::App app(os);
  try {
    mirane::Main(app);
    os.RunMessageLoop();
  } catch (const platform::ProcessEnded&) {
  }
  // The program only ever shows its one message, and only without an engine.
  if (!os.message_boxes.empty()) std::abort();
  if (os.exit_code && os.cursor_count != cursor_before) std::abort();
  return 0;
}

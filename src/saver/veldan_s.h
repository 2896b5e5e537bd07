// The hidden saver window: starts the engine and the music, and ends the
// program when the engine's window has gone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/forms.h"

namespace mirane {

struct App;

inline constexpr std::u16string_view kEngineWindowTitle = u"ミラネVC";

class Veldan_S : public platform::FormEvents {
 public:
  explicit Veldan_S(App& app);
  ~Veldan_S() override;

  // Creates the window, never shown, and runs its load handler.
  void Load();

  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, platform::UnloadReason reason) override;
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();

  // How long the engine may take to open its window: 600 watch ticks of
  // 50 ms.  Ticks that come late only make the wait longer, never shorter.
  static constexpr std::uint32_t kStartUpTicks = 600;

  platform::Timer* Timer1 = nullptr;
  platform::Timer* Timer2 = nullptr;
  platform::Timer* Timer3 = nullptr;

 private:
  enum class FileType { Wav, Mp3, Other };
  FileType MusicFileType() const;

  App& app_;
  std::unique_ptr<platform::Form> form_;
  std::u16string EnginePath;
  std::uint32_t engine_task_ = 0;
  bool engine_window_seen_ = false;
  std::uint32_t ticks_without_window_ = 0;
};

}  // namespace mirane

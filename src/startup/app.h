// One run of the program: the port it talks to, the shared state, and the
// forms of the mode it runs in.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "music/music.h"
#include "platform/platform.h"
#include "settings/state.h"

namespace mirane {

class Veldan_S;
class Veldan_P;
class Veldan_R;

struct App {
  explicit App(platform::Platform& platform);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  platform::Platform& os;
  Shared shared;
  Settings settings;
  // The background music, on the run's own port and state.
  Music music{os, shared, settings};

  std::unique_ptr<Veldan_R> preview;
  std::unique_ptr<Veldan_P> dialog;
  std::unique_ptr<Veldan_S> saver;
};

inline constexpr std::u16string_view kAppTitle = u"ミラネ (ScreenSaver)";
inline constexpr std::u16string_view kSaverTitle = u"Veldan_Main";
inline constexpr std::u16string_view kDialogTitle = u"<ミラネ>";
inline constexpr std::u16string_view kEngineName = u"\\ミラネ.dll";

// The command line less the program's own name, as Unicode text.
std::u16string ArgumentText(platform::Platform& os);
// The second character of the upper-cased argument text, or empty.
std::u16string SwitchCharacter(std::u16string_view argument_text);

// The start procedure: refuses a second instance and hands over to one mode.
// Returns only when a form has been left running on the message loop.
void Main(App& app);

}  // namespace mirane

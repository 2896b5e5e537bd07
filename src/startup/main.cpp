#include "dialog/veldan_p.h"
#include "saver/veldan_s.h"
#include "settings/numbers.h"
#include "settings/settings.h"
#include "startup/app.h"
#include "startup/veldan_r.h"

namespace mirane {

namespace {

constexpr std::u16string_view kEngineMissing =
    u"ミラネ.dll が ミラネ.scr と同じﾌｫﾙﾀﾞに見つかりません！";
constexpr std::uint32_t kOkOnlyNoIcon = 0;
constexpr std::int32_t kHide = 0;

}  // namespace

App::App(platform::Platform& platform) : os(platform) {}
App::~App() = default;

std::u16string ArgumentText(platform::Platform& os) {
  return os.codec().FromAnsi(os.system().CommandArguments());
}

std::u16string SwitchCharacter(std::u16string_view argument_text) {
  if (argument_text.size() < 2) return u"";
  return numbers::UpperAscii(argument_text.substr(1, 1));
}

void Main(App& app) {
  auto& os = app.os;
  auto& sys = os.system();
  const auto& codec = os.codec();

  // Both look-ups are made, whatever the first one finds.
  const platform::Hwnd saver = sys.FindWindowA(codec.ToAnsi(kSaverTitle));
  const platform::Hwnd dialog = sys.FindWindowA(codec.ToAnsi(kDialogTitle));
  if (saver != 0 || dialog != 0) sys.EndProcess(0);

  const std::u16string args = ArgumentText(os);
  const std::u16string mode = SwitchCharacter(args);

  if (mode == u"P") {
    app.preview = std::make_unique<Veldan_R>(app);
    app.preview->SetUp(args);
    return;
  }

  LoadSettings(os, app.shared, app.settings);

  if (FileExists(os, BesideProgram(os, kEngineName)) != -1) {
    sys.MessageBoxA(0, codec.ToAnsi(kEngineMissing), codec.ToAnsi(kAppTitle), kOkOnlyNoIcon);
    sys.EndProcess(0);
  }

  if (mode == u"C") {
    app.dialog = std::make_unique<Veldan_P>(app);
    app.dialog->ShowModal();
    sys.EndProcess(0);
  }

  if (!args.empty() && mode != u"S") sys.EndProcess(0);

  if (mode == u"S") app.shared.SavedCursorCount = sys.ShowCursor(kHide);

  app.saver = std::make_unique<Veldan_S>(app);
  app.saver->Load();
}

}  // namespace mirane

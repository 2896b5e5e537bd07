#include "saver/veldan_s.h"

#include "settings/numbers.h"
#include "settings/settings.h"
#include "startup/app.h"

namespace mirane {

namespace {

constexpr std::int32_t kShowNormal = 1;  // SW_SHOWNORMAL
constexpr std::int32_t kShow = 1;        // TRUE

platform::FormDesign SaverDesign() {
  platform::FormDesign design;
  design.title = std::u16string(kSaverTitle);
  design.client_width = 3705;
  design.client_height = 2385;
  design.show_in_taskbar = false;
  return design;
}

}  // namespace

Veldan_S::Veldan_S(App& app) : app_(app) {}
Veldan_S::~Veldan_S() = default;

void Veldan_S::Load() {
  form_ = app_.os.forms().Create(SaverDesign(), *this);
  Timer1 = &form_->AddTimer(1000, false, [this] { Timer1_Timer(); });
  Timer2 = &form_->AddTimer(200, false, [this] { Timer2_Timer(); });
  Timer3 = &form_->AddTimer(50, true, [this] { Timer3_Timer(); });
  form_->Load();
}

// The type is the last three characters, upper-cased; no dot is needed.
Veldan_S::FileType Veldan_S::MusicFileType() const {
  const std::u16string& file = app_.settings.BgmFile;
  const std::u16string tail =
      numbers::UpperAscii(file.size() > 3 ? std::u16string_view(file).substr(file.size() - 3)
                                          : std::u16string_view(file));
  if (tail == u"WAV") return FileType::Wav;
  if (tail == u"MP3") return FileType::Mp3;
  return FileType::Other;
}

void Veldan_S::Form_Load() {
  auto& os = app_.os;
  EnginePath = BesideProgram(os, kEngineName);
  // The task id tells the watch whether the engine is still starting up.
  engine_task_ = os.processes().Shell(os.codec().ToAnsi(EnginePath), kShowNormal);

  if (app_.settings.BgmKind == 1) {
    app_.music.CdOpen();
    Timer2->SetEnabled(true);
  }
  if (app_.settings.BgmKind == 2) {
    const FileType type = MusicFileType();
    if (type == FileType::Wav) app_.music.WavPlay();
    if (type == FileType::Mp3) {
      app_.music.Mp3Play();
      Timer1->SetEnabled(true);
    }
  }
}

void Veldan_S::Timer1_Timer() {
  app_.music.Mp3KeepPlaying();
}

void Veldan_S::Timer2_Timer() {
  app_.music.CdPoll();
  Timer2->SetEnabled(app_.music.CdPollActive != kFalse);
}

void Veldan_S::Timer3_Timer() {
  auto& os = app_.os;
  if (os.system().FindWindowA(os.codec().ToAnsi(kEngineWindowTitle)) != 0) {
    engine_window_seen_ = true;
    return;
  }
  // An engine that is still starting has not opened its window yet; only
  // one that has gone, never started, or took too long ends the run before
  // its window was ever seen.
  if (!engine_window_seen_ && engine_task_ != 0 && ++ticks_without_window_ < kStartUpTicks &&
      os.processes().ProcessRunning(engine_task_)) {
    return;
  }
  Timer3->SetEnabled(false);
  form_->Unload();
}

void Veldan_S::Form_QueryUnload(bool& cancel, platform::UnloadReason reason) {
  (void)cancel;
  (void)reason;
  auto& os = app_.os;
  if (Timer2->Enabled()) {
    Timer2->SetEnabled(false);
    app_.music.CdClose();
  }
  if (app_.settings.BgmKind == 2) {
    const FileType type = MusicFileType();
    if (type == FileType::Wav) app_.music.WavStop();
    if (type == FileType::Mp3) app_.music.Mp3Close();
  }
  // Main hid the cursor once in saver mode; show it once again.  With no
  // command line it never hid it, so the count is left alone.
  if (SwitchCharacter(ArgumentText(os)) == u"S") {
    app_.shared.SavedCursorCount = os.system().ShowCursor(kShow);
  }
  os.system().EndProcess(0);
}

}  // namespace mirane

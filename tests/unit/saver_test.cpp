#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "harness.h"
#include "music_harness.h"
#include "saver/veldan_s.h"

namespace {

using Log = std::vector<std::string>;
using fake::Sjis;
using testing_support::kEngine;
using testing_support::kIni;
using testing_support::Sent;

constexpr const char* kEngineWindow = "FindWindowA(NULL, \"ミラネVC\")";

struct SaverRun : testing_support::ProgramRun {
  SaverRun(int kind = 0, std::string_view file = "") {
    os.AddFile(kEngine, "MZ");
    os.AddFile(kIni, Sjis("[Section]\nBGM区分= " + std::to_string(kind) +
                          "\nBGMﾌｧｲﾙ=" + std::string(file) + "\n"));
    if (!file.empty()) os.AddFile(file, "RIFF");  // the settings keep only a file that is there
  }

  // The start procedure only; the test then moves the clock itself.
  void Begin(std::string_view arguments_utf8) {
    os.SetArguments(arguments_utf8);
    Guard([&] { mirane::Main(app); });
  }
  void Advance(std::uint64_t ms) {
    Guard([&] { os.Advance(ms); });
  }
  template <class F>
  void Guard(F f) {
    try {
      f();
    } catch (const platform::ProcessEnded&) {
      if (!ended_at) ended_at = os.now();
    }
  }
  void Run(std::string_view arguments_utf8) {
    Begin(arguments_utf8);
    if (!Ended()) Guard([&] { os.RunMessageLoop(); });
  }

  mirane::Veldan_S& saver() { return *app.saver; }

  // The media calls from the first entry starting with `from` up to the
  // first starting with `to` after it.
  Log MediaBetween(std::string_view from, std::string_view to) const {
    Log out;
    bool in = false;
    for (const auto& e : os.log) {
      if (!in && e.rfind(from, 0) == 0) {
        in = true;
        continue;
      }
      if (in && !to.empty() && e.rfind(to, 0) == 0) break;
      if (in && (e.rfind("mciSendStringA", 0) == 0 || e.rfind("waveOutGetNumDevs", 0) == 0 ||
                 e.rfind("PlaySoundA", 0) == 0)) {
        out.push_back(e);
      }
    }
    return out;
  }
  Log AtLoad() const { return MediaBetween("Form_Load(", "RunMessageLoop()"); }
  Log AtExit() const { return MediaBetween("Unload(\"Veldan_Main\"", "EndProcess"); }

  std::optional<std::uint64_t> ended_at;
};

TEST(Saver, TheMusicByKindAndFileType) {
  const std::string wav = "C:\\Music\\Song.wav";
  const std::string mp3 = "C:\\Music\\Song.Mp3";
  const std::string open_mp3 = "open \"" + mp3 + "\" type MPEGVideo Alias MP3Play";
  const struct {
    int kind;
    std::string file;
    Log load;
    Log exit;
    bool timer1, timer2;
  } cases[] = {
      {0, "", {}, {}, false, false},
      {0, wav, {}, {}, false, false},
      {1,
       "",
       {Sent("open cdaudio", 0), Sent("set cdaudio time format tmsf", 0)},
       {Sent("stop cdaudio", 0), Sent("close cdaudio", 0)},
       false,
       true},
      {2,
       wav,
       {"waveOutGetNumDevs() -> 1", "PlaySoundA(\"" + wav + "\", 0, 131083) -> 1"},
       {"PlaySoundA(NULL, 0, 0) -> 1"},
       false,
       false},
      // No dot is needed: only the last three characters count.
      {2,
       "C:\\Music\\SongWaV",
       {"waveOutGetNumDevs() -> 1", "PlaySoundA(\"C:\\Music\\SongWaV\", 0, 131083) -> 1"},
       {"PlaySoundA(NULL, 0, 0) -> 1"},
       false,
       false},
      {2,
       mp3,
       {Sent(open_mp3, 0), Sent("play MP3Play", 0)},
       {Sent("stop MP3Play", 0), Sent("close MP3Play", 0)},
       true,
       false},
      {2, "C:\\Music\\Song.ogg", {}, {}, false, false},
      {2, "C:\\Music\\Song.wma", {}, {}, false, false},
      {2, "", {}, {}, false, false},
      {3, wav, {}, {}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " " + c.file);
    SaverRun run(c.kind, c.file);
    run.os.mci.InsertDisc(5, fake::CdMode::Playing, 1);
    run.os.mci.AddMp3(mp3, 600'000);
    run.os.programs.script.window_closes_after_ms = 3000;
    run.Begin("/s");
    EXPECT_EQ(run.saver().Timer1->Enabled(), c.timer1);
    EXPECT_EQ(run.saver().Timer2->Enabled(), c.timer2);
    EXPECT_TRUE(run.saver().Timer3->Enabled());
    run.Guard([&] { run.os.RunMessageLoop(); });
    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.AtLoad(), c.load);
    EXPECT_EQ(run.AtExit(), c.exit);
    // The polls ran while the engine did.
    const auto polls = [&](std::string_view command) {
      const std::string entry = "mciSendStringA(\"" + std::string(command) + "\"";
      return std::count_if(run.os.log.begin(), run.os.log.end(),
                           [&](const std::string& e) { return e.rfind(entry, 0) == 0; });
    };
    EXPECT_EQ(polls("status MP3Play mode"), c.timer1 ? 3 : 0);
    EXPECT_EQ(polls("status cdaudio current track"), c.timer2 ? 15 : 0);
  }
}

TEST(Saver, ACdPollThatGivesUpSwitchesItsTimerOffAndTheCdGetsNoCommandAtExit) {
  SaverRun run(1);  // and no disc in the drive
  run.os.programs.script.window_closes_after_ms = 2000;
  run.Begin("/s");
  run.Advance(200);
  EXPECT_FALSE(run.saver().Timer2->Enabled());
  run.Guard([&] { run.os.RunMessageLoop(); });
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.os.Calls({"mciSendStringA"}).size(), 3u);  // open, time format, one question
  EXPECT_EQ(run.AtExit(), Log{});
}

TEST(Saver, TheEngineIsStartedByItsBarePathShownNormallyBeforeTheMusic) {
  SaverRun run(2, "C:\\a.wav");
  run.Begin("/s");
  const auto calls = run.os.Calls({"Shell", "waveOutGetNumDevs"});
  EXPECT_EQ(calls, (Log{"Shell(\"C:\\Program Files\\ミラネ\\ミラネ.dll\", 1) -> 4612",
                        "waveOutGetNumDevs() -> 1"}));
  ASSERT_EQ(run.os.programs.started.size(), 1u);
  EXPECT_EQ(run.os.programs.started[0].window_style, 1);
  EXPECT_FALSE(run.os.FormByTitle("Veldan_Main")->visible());
}

TEST(Saver, TheTimersAndTheFiftyMillisecondWatch) {
  SaverRun run;
  run.Begin("/s");
  EXPECT_EQ(run.saver().Timer1->Interval(), 1000u);
  EXPECT_EQ(run.saver().Timer2->Interval(), 200u);
  EXPECT_EQ(run.saver().Timer3->Interval(), 50u);
  run.os.log.clear();
  run.Advance(1000);
  EXPECT_EQ(run.os.Calls({"FindWindowA"}), Log(20, std::string(kEngineWindow) + " -> 65584"));
  EXPECT_TRUE(run.os.Calls({"ProcessRunning"}).empty());  // the window is there
  EXPECT_FALSE(run.Ended());
}

TEST(Saver, HowTheEngineEndsTheRun) {
  constexpr std::uint64_t kNever = 0;
  const struct {
    const char* what;
    fake::ProgramScript script;
    std::uint64_t ends_at;  // kNever: still running after two minutes
  } cases[] = {
      {"window at once, closed after 1.01 s", {true, "ミラネVC", 0, 1010, std::nullopt}, 1050},
      {"window after 2 s, closed 1 s later", {true, "ミラネVC", 2000, 1000, std::nullopt}, 3000},
      {"window after 25 s", {true, "ミラネVC", 25'000, std::nullopt, std::nullopt}, kNever},
      {"window after 29.9 s, closed 1.02 s later",
       {true, "ミラネVC", 29'900, 1020, std::nullopt},
       30'950},
      {"never a window, keeps running", {true, "ミラネVC", std::nullopt, {}, std::nullopt}, 30'000},
      {"never a window, exits after 0.5 s", {true, "ミラネVC", std::nullopt, {}, 500}, 500},
      {"exits at once", {true, "ミラネVC", std::nullopt, {}, 0}, 50},
      {"does not start", {false, "ミラネVC", 0, {}, {}}, 50},
      {"crashes 0.7 s after its window", {true, "ミラネVC", 0, {}, 700}, 700},
      {"window of another title", {true, "ミラネ", 0, {}, {}}, 30'000},
      {"window opens, then the process exits at 10 s", {true, "ミラネVC", 100, {}, 10'000}, 10'000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SaverRun run(2, "C:\\a.wav");
    run.os.programs.script = c.script;
    run.os.loop_limit_ms = 120'000;
    run.Run("/s");
    if (c.ends_at == kNever) {
      EXPECT_FALSE(run.Ended());
      continue;
    }
    ASSERT_TRUE(run.ended_at.has_value());
    EXPECT_EQ(*run.ended_at, c.ends_at);
    // Whatever ended it, the music is stopped and the cursor shown again.
    EXPECT_EQ(run.AtExit(), Log{"PlaySoundA(NULL, 0, 0) -> 1"});
    EXPECT_EQ(run.os.cursor_count, 0);
    // The engine is never stopped: there is no call for it.
    if (!run.os.programs.started.empty() && !c.script.exits_after_ms) {
      run.os.programs.Sync();
      EXPECT_FALSE(run.os.programs.started[0].exited);
    }
  }
}

TEST(Saver, OnceSeenTheWindowsDisappearanceEndsTheRunOnTheNextTick) {
  SaverRun run;
  run.os.programs.script.window_after_ms = 100;
  run.Begin("/s");
  run.Advance(120);
  ASSERT_EQ(run.os.programs.started.size(), 1u);
  const platform::Hwnd engine = run.os.programs.started[0].window;
  ASSERT_NE(engine, 0u);
  run.Advance(30);  // 150: seen
  // The window goes between two ticks although the process runs on.
  run.os.RemoveForeignWindow(engine);
  run.os.programs.started[0].window = 0;
  run.os.log.clear();
  run.Advance(100);
  EXPECT_EQ(run.ended_at, 200u);
  EXPECT_EQ(run.os.Calls({"FindWindowA", "ProcessRunning", "Unload", "EndProcess"}),
            (Log{std::string(kEngineWindow) + " -> 0", "Unload(\"Veldan_Main\", Code)",
                 "EndProcess(0)"}));
  EXPECT_FALSE(run.saver().Timer3->Enabled());
}

TEST(Saver, TheCursorIsShownAgainOnlyInSaverMode) {
  const struct {
    const char* args;
    std::int32_t count_before;
    Log cursor;
    std::optional<std::int32_t> saved;
  } cases[] = {
      {"/s", 0, {"ShowCursor(0) -> -1", "ShowCursor(1) -> 0"}, 0},
      // The hide returned 0: the show must still raise the count, not lower it.
      {"/s", 1, {"ShowCursor(0) -> 0", "ShowCursor(1) -> 1"}, 1},
      {"/S:7", -2, {"ShowCursor(0) -> -3", "ShowCursor(1) -> -2"}, -2},
      {"", 0, {}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    SaverRun run;
    run.os.cursor_count = c.count_before;
    run.os.programs.script.window_closes_after_ms = 500;
    run.Run(c.args);
    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.os.Calls({"ShowCursor"}), c.cursor);
    EXPECT_EQ(run.app.shared.SavedCursorCount, c.saved);
    EXPECT_EQ(run.os.cursor_count, c.count_before);
  }
}

TEST(Saver, ACloseRequestFromOutsideEndsTheRunTheSameWay) {
  for (auto reason : {platform::UnloadReason::AppWindows, platform::UnloadReason::ControlMenu}) {
    SaverRun run(1);
    run.os.mci.InsertDisc(3);
    run.Begin("/s");
    run.Advance(500);
    ASSERT_FALSE(run.Ended());
    run.Guard([&] { run.os.FormByTitle("Veldan_Main")->RequestClose(reason); });
    EXPECT_EQ(run.ended_at, 500u);
    EXPECT_EQ(run.AtExit(), (Log{Sent("stop cdaudio", 0), Sent("close cdaudio", 0)}));
    EXPECT_EQ(run.os.cursor_count, 0);
    EXPECT_EQ(run.os.log.back(), "EndProcess(0)");
    // The engine is left running.
    EXPECT_FALSE(run.os.programs.started.at(0).exited);
  }
}

}  // namespace

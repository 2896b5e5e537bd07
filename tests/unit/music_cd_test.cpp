#include <gtest/gtest.h>

#include "music_harness.h"

namespace {

using fake::CdMode;
using testing_support::Bytes;
using testing_support::Described;
using testing_support::MusicRun;
using testing_support::Sent;
using Log = std::vector<std::string>;

const Log kQuestions = {
    Sent("status cdaudio current track", 512),
    Sent("status cdaudio number of tracks", 512),
    Sent("status cdaudio mode", 255),
};

Log Then(Log log, const Log& more) {
  log.insert(log.end(), more.begin(), more.end());
  return log;
}

// A drive opened by the saver, with the disc given.
struct Drive : MusicRun {
  Drive(int tracks, CdMode mode, int track, std::int16_t repeat = 0, bool driver = true) {
    settings.BgmKind = 1;
    os.mci.cd.driver = driver;
    settings.BgmRepeat = repeat;
    os.mci.InsertDisc(tracks, mode, track);
    music.CdOpen();
    Forget();
  }
  Log Poll() {
    Forget();
    music.CdPoll();
    return Media();
  }
};

TEST(CdOpen, OpensTheDriveAndSetsTrackTimeWithoutTestingEither) {
  for (bool driver : {true, false}) {
    MusicRun run;
    run.os.mci.cd.driver = driver;
    run.music.CdOpen();
    // Without a driver every command fails as the open did.
    EXPECT_EQ(run.Media(), (Log{Sent("open cdaudio", 0, driver ? 0 : 266),
                                Sent("set cdaudio time format tmsf", 0, driver ? 0 : 266)}));
    EXPECT_EQ(run.shared.LastApiResult, driver ? 0 : 266);
  }
}

TEST(CdClose, StopsAndClosesTheDrive) {
  Drive run(5, CdMode::Playing, 2);
  run.music.CdClose();
  EXPECT_EQ(run.Media(), (Log{Sent("stop cdaudio", 0), Sent("close cdaudio", 0)}));
  EXPECT_FALSE(run.os.mci.cd.open);
  EXPECT_EQ(run.os.mci.cd.mode, CdMode::Stopped);
}

TEST(CdPoll, SendsAPlayCommandOnlyWhenTheDiscNeedsOne) {
  const std::string from3 = Sent("play cdaudio from 03:00:00:00", 512);
  const std::string position3 = Sent("status cdaudio position track 3", 512);
  const struct {
    CdMode mode;
    int track;
    std::int16_t repeat;
    Log then;  // after the three questions
  } cases[] = {
      // No repeat track: the disc plays on from where it stands.
      {CdMode::Stopped, 2, 0, {Sent("play cdaudio", 512)}},
      {CdMode::Playing, 2, 0, {}},
      {CdMode::Paused, 2, 0, {}},
      // Repeat track 3: back to its start when another track plays or the disc stopped.
      {CdMode::Playing, 3, 3, {}},
      {CdMode::Playing, 4, 3, {position3, from3}},
      {CdMode::Paused, 3, 3, {}},
      {CdMode::Paused, 4, 3, {position3, from3}},
      {CdMode::Stopped, 3, 3, {position3, from3}},
      {CdMode::Stopped, 1, 3, {position3, from3}},
      {CdMode::Playing, 12, 12, {}},
      {CdMode::Playing,
       1,
       12,
       {Sent("status cdaudio position track 12", 512), Sent("play cdaudio from 12:00:00:00", 512)}},
  };
  for (const auto& c : cases) {
    Drive run(12, c.mode, c.track, c.repeat);
    const std::string name = "track " + std::to_string(c.track) + " mode " +
                             std::to_string(static_cast<int>(c.mode)) + " repeat " +
                             std::to_string(c.repeat);
    EXPECT_EQ(run.Poll(), Then(kQuestions, c.then)) << name;
    EXPECT_EQ(run.music.CdPollActive, mirane::kTrue) << name;
    if (!c.then.empty()) {
      EXPECT_EQ(run.os.mci.cd.mode, CdMode::Playing) << name;
      if (c.repeat != 0) EXPECT_EQ(run.os.mci.cd.track, c.repeat) << name;
    }
  }
}

TEST(CdPoll, RepeatingATrackJumpsBackWhenTheNextOneBegins) {
  Drive run(5, CdMode::Stopped, 1, 3);
  EXPECT_EQ(run.Poll().size(), 5u);  // first tick: the disc starts at track 3
  EXPECT_EQ(run.os.mci.cd.track, 3);
  EXPECT_EQ(run.Poll(), kQuestions);
  run.os.mci.cd.track = 4;  // track 3 has ended
  EXPECT_EQ(run.Poll(), Then(kQuestions, {Sent("status cdaudio position track 3", 512),
                                          Sent("play cdaudio from 03:00:00:00", 512)}));
  EXPECT_EQ(run.Poll(), kQuestions);
  EXPECT_EQ(run.os.mci.cd.track, 3);
}

TEST(CdPoll, ReadsTheRepeatTrackAfreshOnEveryTick) {
  Drive run(5, CdMode::Playing, 3, 0);
  EXPECT_EQ(run.Poll(), kQuestions);
  run.settings.BgmRepeat = 2;
  EXPECT_EQ(run.Poll(), Then(kQuestions, {Sent("status cdaudio position track 2", 512),
                                          Sent("play cdaudio from 02:00:00:00", 512)}));
  run.settings.BgmRepeat = 0;
  run.os.mci.cd.mode = CdMode::Stopped;
  EXPECT_EQ(run.Poll(), Then(kQuestions, {Sent("play cdaudio", 512)}));
  EXPECT_EQ(run.os.mci.cd.track, 2);
}

TEST(CdPoll, ARepeatTrackPastTheEndOfTheDiscFailsOnEveryTickAndPollingGoesOn) {
  Drive run(2, CdMode::Stopped, 1, 3);
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_EQ(
        run.Poll(),
        Then(kQuestions, {Sent("status cdaudio position track 3", 512, 282), Described(282, true),
                          Sent("play cdaudio from Error:282", 512, 270), Described(270, true)}));
    EXPECT_EQ(run.music.CdPollActive, mirane::kTrue);
    EXPECT_EQ(run.os.mci.cd.mode, CdMode::Stopped);
  }
  EXPECT_EQ(run.shared.LastApiResult, 270);
}

TEST(CdPoll, GivesUpWhenTheTrackQuestionsFail) {
  const struct {
    const char* what;
    bool driver;
    int tracks;
    const char* script;  // command answered with an error, or nullptr
    std::uint32_t script_code;
    Log log;
  } cases[] = {
      {"no disc",
       true,
       0,
       nullptr,
       0,
       {Sent("status cdaudio current track", 512, 276), Described(276, true)}},
      {"no driver",
       false,
       5,
       nullptr,
       0,
       {Sent("status cdaudio current track", 512, 266), Described(266, true)}},
      {"track count fails",
       true,
       5,
       "status cdaudio number of tracks",
       262,
       {Sent("status cdaudio current track", 512),
        Sent("status cdaudio number of tracks", 512, 262), Described(262, false)}},
  };
  for (const auto& c : cases) {
    Drive run(c.tracks, CdMode::Stopped, 1, 3, c.driver);
    if (c.script) run.os.mci.Script(c.script, "", c.script_code);
    EXPECT_EQ(run.Poll(), c.log) << c.what;
    EXPECT_EQ(run.music.CdPollActive, mirane::kFalse) << c.what;
  }
}

TEST(CdPoll, ACurrentTrackThatIsNoNumberEndsPollingOnlyWithARepeatTrack) {
  const struct {
    const char* answer;
    std::int16_t repeat;
    bool gives_up;
    std::size_t calls;
  } cases[] = {
      {"three", 3, true, 3}, {"three", 0, false, 4},   // no repeat: the stopped disc plays
      {"", 3, true, 3},      {" 3 ", 3, false, 3},     // blanks around a number are fine
      {"err", 3, true, 1},   {"Terrace", 0, true, 1},  // the letters of an error, any case
  };
  for (const auto& c : cases) {
    Drive run(5, CdMode::Stopped, 3, c.repeat);
    run.os.mci.Script("status cdaudio current track", c.answer);
    if (c.answer == std::string(" 3 ")) run.os.mci.cd.mode = CdMode::Playing;
    const Log log = run.Poll();
    EXPECT_EQ(log.size(), c.calls) << c.answer;
    EXPECT_EQ(run.music.CdPollActive, c.gives_up ? mirane::kFalse : mirane::kTrue) << c.answer;
  }
}

TEST(CdPoll, ReadsTheModeUpToItsNulInABufferThatIsNeverCleared) {
  Drive run(5, CdMode::Playing, 2);
  const struct {
    std::string reply;
    std::uint32_t code;
    bool plays;
  } ticks[] = {
      {"stopped", 0, true},
      {"stop", 0, false},  // "stop", NUL, "ed": the old letters are not read
      {"stopped", 0, true},
      {"", 263, false},  // a failed question empties the reply first
      {"stopped" + std::string(300, 'x'), 0, true},
      {"stoppe", 0, false},
  };
  for (const auto& t : ticks) {
    run.os.mci.Script("status cdaudio mode", t.reply, t.code);
    const Log log = run.Poll();
    EXPECT_EQ(log.at(2), Sent("status cdaudio mode", 255, t.code));
    EXPECT_EQ(log.size(), t.plays ? 4u : 3u) << t.reply;
    EXPECT_EQ(run.shared.LastApiResult, static_cast<int>(t.code)) << t.reply;
    if (t.reply.size() > 255) {
      // The reply fills the length passed: 254 bytes and a NUL, the last byte untouched.
      EXPECT_EQ(Bytes(run.music.CdModeBuffer, 250, 256), std::string("xxxx\0\0", 6));
    }
  }
  EXPECT_EQ(Bytes(run.music.CdModeBuffer, 0, 8), std::string("stoppe\0x", 8));
}

}  // namespace

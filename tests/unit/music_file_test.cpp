#include <gtest/gtest.h>

#include "harness.h"
#include "music_harness.h"

namespace {

using fake::Sjis;
using fake::Utf16;
using testing_support::Bytes;
using testing_support::MusicRun;
using testing_support::Sent;
using Log = std::vector<std::string>;

constexpr const char* kSong = "C:\\My Music\\ミラネ の 歌.mp3";
constexpr const char* kOpenSong =
    "open \"C:\\My Music\\ミラネ の 歌.mp3\" type MPEGVideo Alias MP3Play";

struct FileMusic : MusicRun {
  explicit FileMusic(const char* file = kSong) {
    settings.BgmKind = 2;
    settings.BgmFile = Utf16(file);
    shared.LastApiResult = 77;  // the MP3 calls keep no result
  }
  Log Tick() {
    Forget();
    music.Mp3KeepPlaying();
    return Media();
  }
};

TEST(Mp3Play, OpensThePathInQuotesAndPlaysIt) {
  FileMusic run;
  run.os.mci.AddMp3(kSong, 5000);
  run.music.Mp3Play();
  EXPECT_EQ(run.Media(), (Log{Sent(kOpenSong, 0), Sent("play MP3Play", 0)}));
  EXPECT_EQ(run.os.mci.mp3.path, kSong);
  EXPECT_EQ(run.os.mci.Mp3Mode(), "playing");
  EXPECT_EQ(run.shared.LastApiResult, 77);

  run.Forget();
  run.music.Mp3Close();
  EXPECT_EQ(run.Media(), (Log{Sent("stop MP3Play", 0), Sent("close MP3Play", 0)}));
  EXPECT_EQ(run.os.mci.Mp3Mode(), "");
  EXPECT_EQ(run.shared.LastApiResult, 77);
}

TEST(Mp3KeepPlaying, AFailedOpenIsRetriedAsStopAndPlayOnEveryTick) {
  FileMusic run;  // the device cannot open the file
  run.music.Mp3Play();
  EXPECT_EQ(run.Media(), Log{Sent(kOpenSong, 0, 277)});
  for (int tick = 0; tick < 3; ++tick) {
    run.os.Advance(1000);
    EXPECT_EQ(run.Tick(), (Log{Sent("status MP3Play mode", 30, 281), Sent("stop MP3Play", 0, 281),
                               Sent("play MP3Play from 0", 0, 281)}));
  }
  EXPECT_EQ(run.shared.LastApiResult, 77);
}

TEST(Mp3KeepPlaying, AFileThatEndsStartsAgainWithinOneTick) {
  FileMusic run;
  run.os.mci.AddMp3(kSong, 2500);
  run.music.Mp3Play();
  std::vector<std::uint64_t> restarts;
  for (int tick = 0; tick < 6; ++tick) {
    run.os.Advance(1000);
    const Log log = run.Tick();
    if (log.size() > 1) {
      EXPECT_EQ(log, (Log{Sent("status MP3Play mode", 30), Sent("stop MP3Play", 0),
                          Sent("play MP3Play from 0", 0)}));
      restarts.push_back(run.os.now());
    } else {
      EXPECT_EQ(log, Log{Sent("status MP3Play mode", 30)});
    }
    EXPECT_EQ(run.os.mci.Mp3Mode(), "playing") << run.os.now();
  }
  // Ends at 2500 and, restarted at 3000, again at 5500.
  EXPECT_EQ(restarts, (std::vector<std::uint64_t>{3000, 6000}));
}

TEST(Mp3IsPlaying, OnlyTheFirstSevenLettersPlayingCount) {
  const struct {
    std::string reply;
    std::uint32_t code;
    std::int16_t playing;
  } cases[] = {
      {"playing", 0, mirane::kTrue},
      {"playing" + std::string(40, '!'), 0, mirane::kTrue},  // cut to 29 bytes and a NUL
      {"play", 0, mirane::kFalse},  // "play", NUL, and what the long reply left
      {"stopped", 0, mirane::kFalse},
      {"Playing", 0, mirane::kFalse},
      {"paused", 0, mirane::kFalse},
      {"not ready", 0, mirane::kFalse},
      {"", 0, mirane::kFalse},
      {"playing", 263, mirane::kFalse},  // a failure leaves no reply
  };
  FileMusic run;
  EXPECT_EQ(run.music.Mp3ModeBuffer, (std::array<char, 30>{}));
  for (const auto& c : cases) {
    run.os.mci.Script("status MP3Play mode", c.reply, c.code);
    EXPECT_EQ(run.music.Mp3IsPlaying(), c.playing) << c.reply << " " << c.code;
    if (c.reply.size() > 30) {
      EXPECT_EQ(Bytes(run.music.Mp3ModeBuffer, 27, 30), std::string("!!\0", 3));
    }
    if (c.reply == "play") {
      EXPECT_EQ(Bytes(run.music.Mp3ModeBuffer, 0, 8), std::string("play\0ng!", 8));
    }
  }
}

TEST(WavPlay, LoopsTheFileAsAFileNameWithNoDefaultSound) {
  FileMusic run("C:\\My Music\\ミラネ の 歌.wav");
  run.music.WavPlay();
  EXPECT_EQ(run.Media(), (Log{"waveOutGetNumDevs() -> 1",
                              "PlaySoundA(\"C:\\My Music\\ミラネ の 歌.wav\", 0, 131083) -> 1"}));
  ASSERT_EQ(run.os.mci.sounds.size(), 1u);
  EXPECT_EQ(run.os.mci.sounds[0].sound, Sjis("C:\\My Music\\ミラネ の 歌.wav"));
  // SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_FILENAME
  EXPECT_EQ(run.os.mci.sounds[0].flags, 0x0001u | 0x0002u | 0x0008u | 0x00020000u);
  EXPECT_EQ(run.shared.LastApiResult, 1);

  run.Forget();
  run.shared.LastApiResult = 0;
  run.music.WavStop();
  EXPECT_EQ(run.Media(), Log{"PlaySoundA(NULL, 0, 0) -> 1"});
  EXPECT_EQ(run.shared.LastApiResult, 1);
}

TEST(WavPlay, WithoutAWaveDeviceMakesNoSoundCallButWavStopStillDoes) {
  for (std::uint32_t devices : {0u, 0x80000000u}) {  // the count is read as a signed number
    FileMusic run("C:\\Music\\Loop.wav");
    run.os.mci.wave_devices = devices;
    run.music.WavPlay();
    EXPECT_EQ(run.Media(), Log{"waveOutGetNumDevs() -> " + std::to_string(devices)});
    EXPECT_EQ(run.shared.LastApiResult, 77);
    run.music.WavStop();
    EXPECT_EQ(run.Media().back(), "PlaySoundA(NULL, 0, 0) -> 1");
  }
}

TEST(Music, IsOwnedByTheRunAndReadsItsSettings) {
  testing_support::ProgramRun run;
  run.app.settings.BgmFile = u"C:\\Music\\Loop.wav";
  run.app.music.WavPlay();
  EXPECT_EQ(run.os.Calls({"PlaySoundA"}),
            Log{"PlaySoundA(\"C:\\Music\\Loop.wav\", 0, 131083) -> 1"});
  EXPECT_EQ(run.app.shared.LastApiResult, 1);
}

}  // namespace

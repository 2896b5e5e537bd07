// The multimedia calls of the port on a machine like the test bench: no CD
// drive, one wave output device, and a two-second tone as MP3 and WAV.  Run
// against the fake and against the real adapter, so that the fake's device
// model answers as the system does.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "contract/contract_env.h"
#include "music/music.h"

namespace {

// MCI error codes as the system numbers them.
constexpr std::uint32_t kUnrecognizedCommand = 261;
constexpr std::uint32_t kCannotLoadDriver = 266;
constexpr std::uint32_t kInternal = 277;
// A command to a name that is not open makes the system try to open the
// name for it; a bare word like the alias has no file extension to go by.
constexpr std::uint32_t kExtensionNotFound = 281;

// PlaySound flags.
constexpr std::uint32_t kSndAsync = 0x0001;
constexpr std::uint32_t kSndNoDefault = 0x0002;
constexpr std::uint32_t kSndLoop = 0x0008;
constexpr std::uint32_t kSndFilename = 0x00020000;

// The devices play on the real clock under Wine; every wait for them is
// many times longer than the tone.
constexpr std::uint32_t kStep = 250;
constexpr std::uint32_t kPatience = 15000;

class MediaContract : public ::testing::Test {
 protected:
  void SetUp() override {
    env = contract::MakeEnv();
    folder = env->Folder();
  }
  void TearDown() override {
    // Leave no alias and no sound behind for the next test.
    media().mciSendStringA("close MP3Play", {}, 0);
    media().PlaySoundA(std::nullopt, 0, 0);
  }
  platform::Media& media() { return env->os().media(); }
  std::string A(std::u16string_view text) { return env->os().codec().ToAnsi(text); }
  static std::string Text(const std::string& buffer) { return buffer.substr(0, buffer.find('\0')); }

  // A copy of the bench's sound under a Japanese name with blanks.
  std::string Music(const char* name, std::u16string_view as) {
    const std::string path = folder + A(as);
    if (!env->CopyMusic(name, path)) {
      ADD_FAILURE() << "the bench's test music is missing: the bench set-up makes " << name
                    << " with sox and lame and names its folder in MIRANE_MUSIC";
    }
    return path;
  }

  // Sends a command with a reply buffer of the given length, filled with
  // 'x' beforehand.
  std::pair<std::uint32_t, std::string> Ask(std::string_view command, std::size_t length = 64) {
    std::string buffer(length, 'x');
    const std::uint32_t code = media().mciSendStringA(command, buffer, 0);
    return {code, buffer};
  }
  std::string Mode() {
    auto [code, buffer] = Ask("status MP3Play mode");
    return code == 0 ? Text(buffer) : "error " + std::to_string(code);
  }
  // Waits until the alias reports the mode, up to kPatience; the time it took.
  std::optional<std::uint32_t> WaitForMode(const std::string& mode) {
    for (std::uint32_t waited = 0; waited <= kPatience; waited += kStep) {
      if (Mode() == mode) return waited;
      env->Wait(kStep);
    }
    return std::nullopt;
  }
  // The open command of the music, as the program builds it.
  static std::string Open(const std::string& path) {
    return "open \"" + path + "\" type MPEGVideo Alias MP3Play";
  }

  std::unique_ptr<contract::Env> env;
  std::string folder;
};

TEST_F(MediaContract, TheCdDeviceCannotBeOpenedWithoutADrive) {
  EXPECT_EQ(media().mciSendStringA("open cdaudio", {}, 0), kCannotLoadDriver);
  // The description comes in the ANSI code page and ends in a NUL; the rest
  // of the buffer is left alone.
  std::string buffer(256, 'x');
  EXPECT_NE(media().mciGetErrorStringA(kCannotLoadDriver, buffer), 0);
  const std::string text = Text(buffer);
  ASSERT_LT(text.size(), buffer.size());
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(buffer[text.size() + 1], 'x');
  const std::u16string decoded = env->os().codec().FromAnsi(text);
  EXPECT_EQ(env->os().codec().ToAnsi(decoded), text);
  EXPECT_EQ(decoded.find(u'\uFFFD'), std::u16string::npos);
  // Every later command tries to open the device again, and fails the same way.
  EXPECT_EQ(media().mciSendStringA("status cdaudio current track", {}, 0), kCannotLoadDriver);
}

TEST_F(MediaContract, TheCdPollGivesUpAtOnceWithoutADrive) {
  mirane::Shared shared;
  mirane::Settings settings;
  settings.BgmKind = 1;
  mirane::Music music(env->os(), shared, settings);
  music.CdOpen();
  EXPECT_EQ(shared.LastApiResult, static_cast<std::int32_t>(kCannotLoadDriver));
  music.CdPoll();
  EXPECT_EQ(music.CdPollActive, mirane::kFalse);
  EXPECT_EQ(shared.LastApiResult, static_cast<std::int32_t>(kCannotLoadDriver));
  EXPECT_FALSE(music.MciStatusText.empty());
  EXPECT_NE(music.MciStatusText, u"Error (文字列が取れません)");
}

TEST_F(MediaContract, DescriptionsOfTheCodesTheDevicesAnswerWith) {
  for (std::uint32_t code :
       {261u, 263u, 265u, 266u, 267u, 270u, 275u, 276u, 277u, 281u, 282u, 289u}) {
    std::string buffer(256, 'x');
    EXPECT_NE(media().mciGetErrorStringA(code, buffer), 0) << code;
    EXPECT_FALSE(Text(buffer).empty()) << code;
    std::printf("[ measured ] %u: %s\n", code, Text(buffer).c_str());
  }
}

TEST_F(MediaContract, CodesWithoutADescription) {
  // Inside the MCI range the system looks the text up and empties the
  // buffer when it has none; outside it the buffer is not touched.
  const struct {
    std::uint32_t code;
    bool emptied;
  } cases[] = {{0, false},  {1, false},  {255, false}, {256, true},
               {511, true}, {512, true}, {513, false}, {12345, false}};
  for (const auto& c : cases) {
    std::string buffer(256, 'x');
    EXPECT_EQ(media().mciGetErrorStringA(c.code, buffer), 0) << c.code;
    EXPECT_EQ(buffer, c.emptied ? '\0' + std::string(255, 'x') : std::string(256, 'x')) << c.code;
  }
}

TEST_F(MediaContract, AReplyFillsOnlyTheTextAndItsNul) {
  const std::string song = Music("tone.mp3", u"\\曲 トーン.mp3");
  ASSERT_EQ(media().mciSendStringA(Open(song), {}, 0), 0u);
  auto [code, buffer] = Ask("status MP3Play mode", 30);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(buffer, std::string("stopped") + '\0' + std::string(22, 'x'));

  // A failure writes no reply and leaves the buffer as it was, but for its first byte.
  for (const char* failing :
       {"status nothing mode", "status MP3Play sideways", "dance MP3Play", "play MP3Play to 9x"}) {
    auto [bad, left] = Ask(failing, 30);
    EXPECT_NE(bad, 0u) << failing;
    EXPECT_EQ(left, '\0' + std::string(29, 'x')) << failing;
  }

  // A reply longer than the length given is cut to the length less one and a NUL.
  auto [small, cut] = Ask("status MP3Play mode", 4);
  EXPECT_EQ(small, 0u);
  EXPECT_EQ(cut, std::string("sto", 4));
}

TEST_F(MediaContract, AnMp3PlaysToItsEndUnderItsAlias) {
  const std::string song = Music("tone.mp3", u"\\曲 トーン.mp3");
  ASSERT_EQ(media().mciSendStringA(Open(song), {}, 0), 0u);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(media().mciSendStringA("play MP3Play", {}, 0), 0u);
  EXPECT_EQ(Mode(), "playing");
  const auto took = WaitForMode("stopped");
  ASSERT_TRUE(took) << "still " << Mode() << " after " << kPatience << " ms";
  std::printf("[ measured ] the two-second tone ended after about %u ms\n", *took);
  EXPECT_EQ(media().mciSendStringA("close MP3Play", {}, 0), 0u);
  EXPECT_EQ(Mode(), "error " + std::to_string(kExtensionNotFound));
}

TEST_F(MediaContract, KeepPlayingRestartsTheMp3AfterItEnded) {
  mirane::Shared shared;
  mirane::Settings settings;
  settings.BgmKind = 2;
  settings.BgmFile = env->os().codec().FromAnsi(Music("tone.mp3", u"\\曲 トーン.mp3"));
  mirane::Music music(env->os(), shared, settings);
  music.Mp3Play();
  EXPECT_EQ(Mode(), "playing");
  EXPECT_EQ(music.Mp3IsPlaying(), mirane::kTrue);

  // The saver's timer: once a second, for a few lengths of the tone.
  int restarts = 0;
  for (int tick = 0; tick < 8; ++tick) {
    env->Wait(1000);
    const bool ended = Mode() != "playing";
    music.Mp3KeepPlaying();
    if (ended) {
      ++restarts;
      EXPECT_EQ(Mode(), "playing") << "tick " << tick;
    }
  }
  std::printf("[ measured ] %d restarts in 8 ticks\n", restarts);
  EXPECT_GE(restarts, 1);
  music.Mp3Close();
  EXPECT_EQ(Mode(), "error " + std::to_string(kExtensionNotFound));
}

TEST_F(MediaContract, AnMp3ThatIsMissingDoesNotOpen) {
  const std::uint32_t code = media().mciSendStringA(Open(folder + A(u"\\無い 曲.mp3")), {}, 0);
  EXPECT_EQ(code, kInternal);
  EXPECT_EQ(media().mciSendStringA("play MP3Play", {}, 0), kExtensionNotFound);
  std::string buffer(256, 'x');
  EXPECT_NE(media().mciGetErrorStringA(code, buffer), 0);
}

TEST_F(MediaContract, OneWaveDeviceAndLoopingSounds) {
  EXPECT_EQ(media().waveOutGetNumDevs(), 1u);
  const std::uint32_t loop = kSndAsync | kSndLoop | kSndFilename | kSndNoDefault;
  // Asynchronous: the call answers before the file is looked for, so a
  // missing file is no failure.
  EXPECT_EQ(media().PlaySoundA(folder + A(u"\\無い 音.wav"), 0, loop), 1);
  EXPECT_EQ(media().PlaySoundA(std::nullopt, 0, 0), 1);
  const std::string tone = Music("tone.wav", u"\\音 トーン.wav");
  EXPECT_EQ(media().PlaySoundA(tone, 0, loop), 1);
  env->Wait(3000);  // past the end of the tone: it loops on
  EXPECT_EQ(media().PlaySoundA(std::nullopt, 0, 0), 1);
}

}  // namespace

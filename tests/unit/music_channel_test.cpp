#include <gtest/gtest.h>

#include "music_harness.h"

namespace {

using fake::Sjis;
using fake::Utf16;
using testing_support::Bytes;
using testing_support::Described;
using testing_support::MusicRun;
using testing_support::Sent;

struct OpenDrive : MusicRun {
  OpenDrive() {
    os.mci.InsertDisc(5, fake::CdMode::Stopped, 1);
    music.CdOpen();
    Forget();
  }
};

TEST(MciPlay, BuildsTheCommandFromThePositionsGiven) {
  const struct {
    const char16_t* start;
    const char16_t* end;
    const char* sent;
  } cases[] = {
      {u"", u"", "play cdaudio"},
      {u"", u"04:00:00:00", "play cdaudio to 04:00:00:00"},
      {u"03:00:00:00", u"", "play cdaudio from 03:00:00:00"},
      {u"03:00:00:00", u"04:00:00:00", "play cdaudio from 03:00:00:00 to 04:00:00:00"},
  };
  for (const auto& c : cases) {
    OpenDrive run;
    run.music.MciStatusText = u"old";
    EXPECT_EQ(run.music.MciPlay(u"cdaudio", c.start, c.end), 0) << c.sent;
    EXPECT_EQ(run.Media(), std::vector<std::string>{Sent(c.sent, 512)});
    EXPECT_EQ(run.music.MciStatusText, u"") << c.sent;
    EXPECT_EQ(run.os.mci.cd.mode, fake::CdMode::Playing) << c.sent;
  }
}

TEST(MciPlay, PassesPositionTextsAsTheyCome) {
  OpenDrive run;
  EXPECT_EQ(run.music.MciPlay(u"cdaudio", u"Error:282", u""), 270);
  EXPECT_EQ(run.Media(), (std::vector<std::string>{Sent("play cdaudio from Error:282", 512, 270),
                                                   Described(270, true)}));
  EXPECT_EQ(run.shared.LastApiResult, 270);
}

TEST(MciSend, AnEmptyCommandSendsNothing) {
  MusicRun run;
  run.shared.LastApiResult = 1234;
  std::u16string reply = u"before";
  EXPECT_EQ(run.music.MciSend(u"", reply), -1);
  EXPECT_EQ(reply, u"コマンド文字列が指定されていません");
  EXPECT_EQ(run.shared.LastApiResult, 1234);
  EXPECT_TRUE(run.Media().empty());

  // The status question keeps the code, and answers with it.
  EXPECT_EQ(run.music.MciStatus(u""), u"Error:-1");
  EXPECT_EQ(run.music.MciStatusText, u"コマンド文字列が指定されていません");
  EXPECT_EQ(run.shared.LastApiResult, -1);
  EXPECT_TRUE(run.Media().empty());
}

TEST(MciSend, AFailureGivesItsCodeAndTheSystemsDescription) {
  const struct {
    std::uint32_t code;
    bool described;
    const char16_t* reply;
  } cases[] = {
      {282, true, u"指定されたコマンドに対して指定されたパラメーターは範囲外です。"},
      {282, false, u"Error (文字列が取れません)"},
      {999, false, u"Error (文字列が取れません)"},
  };
  for (const auto& c : cases) {
    OpenDrive run;
    if (!c.described) run.os.mci.error_texts.erase(c.code);
    run.os.mci.Script("status cdaudio length", "", c.code);
    std::u16string reply;
    EXPECT_EQ(run.music.MciSend(u"status cdaudio length", reply), static_cast<int>(c.code));
    EXPECT_EQ(reply, c.reply);
    EXPECT_EQ(run.shared.LastApiResult, static_cast<int>(c.code));
    EXPECT_EQ(run.Media(), (std::vector<std::string>{Sent("status cdaudio length", 512, c.code),
                                                     Described(c.code, c.described)}));

    // The status question answers with the code alone, whatever was found.
    EXPECT_EQ(run.music.MciStatus(u"status cdaudio length"),
              u"Error:" + Utf16(std::to_string(c.code)));
    EXPECT_EQ(run.music.MciStatusText, c.reply);
  }
}

TEST(MciSend, ASuccessAnswersWithTheReplyUpToItsNul) {
  OpenDrive run;
  run.os.mci.Script("status cdaudio number of tracks", "123");
  EXPECT_EQ(run.music.MciStatus(u"status cdaudio number of tracks"), u"123");
  // A shorter reply leaves the old digits behind its NUL; they are not read.
  EXPECT_EQ(run.music.MciStatus(u"status cdaudio current track"), u"1");
  EXPECT_EQ(Bytes(run.music.MciReplyBuffer, 0, 4), std::string("1\0003\0", 4));
  EXPECT_EQ(run.shared.LastApiResult, 0);
}

TEST(MciSend, RepliesAndDescriptionsAreDecodedFromTheAnsiCodePage) {
  OpenDrive run;
  run.os.mci.Script("status cdaudio identity", "ミラネ");
  std::u16string reply;
  EXPECT_EQ(run.music.MciSend(u"status cdaudio identity", reply), 0);
  EXPECT_EQ(reply, u"ミラネ");
  EXPECT_EQ(Bytes(run.music.MciReplyBuffer, 0, 7), Sjis("ミラネ") + std::string(1, '\0'));

  // A command is sent in CP932 too: the fake decodes what it receives.
  run.os.mci.Script("status cdaudio 曲", "", 261);
  EXPECT_EQ(run.music.MciSend(u"status cdaudio 曲", reply), 261);
  EXPECT_EQ(reply, u"ドライバーは指定されたコマンドを認識できませんでした。");
  EXPECT_EQ(run.Media().at(1), Sent("status cdaudio 曲", 512, 261));
}

TEST(MciSend, AReplyLongerThanTheBufferIsCut) {
  OpenDrive run;
  run.os.mci.Script("status cdaudio identity", std::string(600, 'x'));
  EXPECT_EQ(run.music.MciStatus(u"status cdaudio identity"), std::u16string(511, u'x'));
}

}  // namespace

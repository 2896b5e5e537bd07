// The port's own behaviour, run against the fake and against the real
// adapter, so that the fake cannot drift away from the system.
#include <gtest/gtest.h>

#include <array>

#include "contract/contract_env.h"

namespace {

class PortContract : public ::testing::Test {
 protected:
  void SetUp() override {
    env = contract::MakeEnv();
    folder = env->Folder();
    ini = folder + A(u"\\ミラネ.ini");
  }
  std::string A(std::u16string_view text) { return env->os().codec().ToAnsi(text); }
  platform::System& sys() { return env->os().system(); }

  // Reads through a buffer of the given size, filled with 'x' beforehand.
  std::pair<std::uint32_t, std::string> Get(std::u16string_view section, std::u16string_view key,
                                            std::size_t size = 256) {
    std::string buffer(size, 'x');
    const std::uint32_t n = sys().GetPrivateProfileStringA(A(section), A(key), "", buffer, ini);
    return {n, buffer};
  }
  std::string Text(const std::string& buffer) { return buffer.substr(0, buffer.find('\0')); }
  std::int32_t Put(std::u16string_view key, std::u16string_view value) {
    return sys().WritePrivateProfileStringA(A(u"Section"), A(key), A(value), ini);
  }

  std::unique_ptr<contract::Env> env;
  std::string folder;
  std::string ini;
};

TEST_F(PortContract, ProfileRoundTripWithShiftJisKeysAndValues) {
  EXPECT_NE(Put(u"BGM区分", u" 2"), 0);
  EXPECT_NE(Put(u"BGMﾘﾋﾟｰﾄ", u" 0"), 0);
  EXPECT_NE(Put(u"BGMﾌｧｲﾙ", u"C:\\音楽\\曲 ソ表.mp3"), 0);
  // The system writes the lines in the order the keys came, without the
  // blanks before a value.
  EXPECT_EQ(env->ReadFile(ini), A(u"[Section]\r\nBGM区分=2\r\nBGMﾘﾋﾟｰﾄ=0\r\n"
                                  u"BGMﾌｧｲﾙ=C:\\音楽\\曲 ソ表.mp3\r\n"));
  // Blanks around a value do not come back.
  auto [n, buffer] = Get(u"Section", u"BGM区分");
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(Text(buffer), "2");
  EXPECT_EQ(Text(Get(u"Section", u"BGMﾌｧｲﾙ").second), A(u"C:\\音楽\\曲 ソ表.mp3"));
  // Replacing a value keeps the other keys and their order.
  EXPECT_NE(Put(u"BGM区分", u" 1"), 0);
  EXPECT_EQ(env->ReadFile(ini), A(u"[Section]\r\nBGM区分=1\r\nBGMﾘﾋﾟｰﾄ=0\r\n"
                                  u"BGMﾌｧｲﾙ=C:\\音楽\\曲 ソ表.mp3\r\n"));
}

TEST_F(PortContract, ProfileNamesMatchWithoutAsciiCase) {
  env->WriteFile(ini, A(u"[section]\r\nbgm区分=  2  \r\nBGMﾘﾋﾟｰﾄ=\t7\r\n"));
  EXPECT_EQ(Text(Get(u"SECTION", u"BGM区分").second), "2");
  EXPECT_EQ(Text(Get(u"Section", u"bgmﾘﾋﾟｰﾄ").second), "7");
}

TEST_F(PortContract, ProfileMissingFileSectionOrKeyGivesTheDefault) {
  auto [n, buffer] = Get(u"Section", u"BGM区分");  // no file yet
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'x');  // only the text and its NUL are written
  env->WriteFile(ini, A(u"[Other]\r\nBGM区分=1\r\n[Section]\r\nKey=1\r\n"));
  EXPECT_EQ(Get(u"Nowhere", u"BGM区分").first, 0u);
  EXPECT_EQ(Get(u"Section", u"BGM区分").first, 0u);
  EXPECT_EQ(Text(Get(u"Section", u"BGM区分").second), "");
}

TEST_F(PortContract, ProfileLongValueIsCutToTheBuffer) {
  const std::string value(300, 'v');
  env->WriteFile(ini, "[Section]\r\nBGM=" + value + "\r\n");
  auto [n, buffer] = Get(u"Section", u"BGM");
  EXPECT_EQ(n, 255u);
  EXPECT_EQ(buffer[255], '\0');
  EXPECT_EQ(buffer.substr(0, 255), value.substr(0, 255));
  auto [whole, large] = Get(u"Section", u"BGM", 1024);
  EXPECT_EQ(whole, 300u);
  EXPECT_EQ(Text(large), value);
}

TEST_F(PortContract, ProfileWriteIntoAMissingFolderFails) {
  ini = folder + A(u"\\無い\\ミラネ.ini");
  EXPECT_EQ(Put(u"BGM区分", u" 1"), 0);
  EXPECT_EQ(env->ReadFile(ini), std::nullopt);
}

TEST_F(PortContract, TrialOpen) {
  const std::string file = folder + A(u"\\曲.wav");
  const std::string sub = folder + A(u"\\中");
  env->WriteFile(file, "RIFF");
  env->MakeFolder(sub);
  EXPECT_TRUE(sys().TryOpenForReading(file));
  EXPECT_FALSE(sys().TryOpenForReading(""));
  EXPECT_FALSE(sys().TryOpenForReading(file + "\\"));
  EXPECT_FALSE(sys().TryOpenForReading(sub));
  EXPECT_FALSE(sys().TryOpenForReading(folder + A(u"\\無い.wav")));
  {
    auto held = env->HoldOpenForReading(file);
    EXPECT_TRUE(sys().TryOpenForReading(file));
  }
  env->WriteFile(folder + A(u"\\空.bin"), "");
  EXPECT_TRUE(sys().TryOpenForReading(folder + A(u"\\空.bin")));
}

TEST_F(PortContract, CodecRoundTripsShiftJis) {
  const auto& codec = env->os().codec();
  const std::u16string text = u"ミラネ (ScreenSaver) ﾌｫﾙﾀﾞ 表ソ\\";
  const std::string bytes = codec.ToAnsi(text);
  EXPECT_EQ(bytes.size(), 32u);
  EXPECT_EQ(bytes.substr(0, 6), "\x83\x7e\x83\x89\x83\x6c");
  EXPECT_EQ(codec.FromAnsi(bytes), text);
  EXPECT_EQ(codec.ToAnsi(u"😀"), "??");
}

}  // namespace

#include "settings/settings.h"

#include <gtest/gtest.h>

#include "harness.h"

namespace {

using fake::Sjis;
using fake::Utf16;
using testing_support::Ini;
using testing_support::kFolder;
using testing_support::kIni;

struct Load {
  explicit Load(std::string ini_utf8, std::vector<std::string> music_files = {
                                          "C:\\Music\\Song.mp3", "C:\\Music\\Notes.txt"}) {
    os.SetProgramFolder(kFolder);
    if (!ini_utf8.empty()) os.AddFile(kIni, Ini(ini_utf8));
    for (const auto& file : music_files) os.AddFile(file, "ID3");
    mirane::LoadSettings(os, shared, settings);
  }
  fake::FakePlatform os;
  mirane::Shared shared;
  mirane::Settings settings;
};

TEST(LoadSettings, WithoutAFileFallsBackToNoMusicAndReadsEachKeyOnce) {
  Load load("");
  EXPECT_EQ(load.settings.BgmKind, 0);
  EXPECT_EQ(load.settings.BgmRepeat, 0);
  EXPECT_EQ(load.settings.BgmFile, u"");
  const std::string path = "\"C:\\Program Files\\ミラネ\\ミラネ.ini\"";
  EXPECT_EQ(load.os.log,
            (std::vector<std::string>{
                "ProgramFolder() -> \"C:\\Program Files\\ミラネ\"",
                "GetPrivateProfileStringA(\"Section\", \"BGM区分\", \"\", 256, " + path + ") -> 0",
                "ProgramFolder() -> \"C:\\Program Files\\ミラネ\"",
                "GetPrivateProfileStringA(\"Section\", \"BGMﾘﾋﾟｰﾄ\", \"\", 256, " + path + ") -> 0",
                "ProgramFolder() -> \"C:\\Program Files\\ミラネ\"",
                "GetPrivateProfileStringA(\"Section\", \"BGMﾌｧｲﾙ\", \"\", 256, " + path + ") -> 0",
            }));
}

TEST(LoadSettings, ValuesAndFallBacks) {
  const struct {
    const char* ini;
    std::int16_t kind, repeat;
    const char16_t* file;
  } cases[] = {
      {"[Section]\nBGM区分= 2\nBGMﾘﾋﾟｰﾄ= 5\nBGMﾌｧｲﾙ=C:\\Music\\Song.mp3\n", 2, 5,
       u"C:\\Music\\Song.mp3"},
      {"[Section]\nBGM区分=2.9\nBGMﾌｧｲﾙ=C:\\Music\\Song.mp3\n", 2, 0, u"C:\\Music\\Song.mp3"},
      {"[Section]\nBGM区分=-0.5\n", -1, 0, u""},
      {"[Section]\nBGM区分=abc\nBGMﾘﾋﾟｰﾄ=70000\n", 0, 0, u""},
      {"[Section]\nBGM区分=70000\nBGMﾘﾋﾟｰﾄ=-32768\n", 0, -32768, u""},
      {"[Section]\nBGM区分= 1\nBGMﾘﾋﾟｰﾄ= 30\nBGMﾌｧｲﾙ=C:\\Music\\Gone.mp3\n", 1, 30, u""},
      {"[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=C:\\Music\\Gone.mp3\n", 0, 0, u""},
      {"[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=\n", 0, 0, u""},
      // A present file of another type keeps kind 2; the saver plays nothing.
      {"[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=C:\\Music\\Notes.txt\n", 2, 0, u"C:\\Music\\Notes.txt"},
      // Sections and keys match without regard to ASCII case.
      {"[SECTION]\nbgm区分= 1\nBgmﾘﾋﾟｰﾄ= 3\n", 1, 3, u""},
      {"[Other]\nBGM区分= 1\n", 0, 0, u""},
      {"[Section]\nBGM区分=1e1\n", 10, 0, u""},
      {"[Section]\nBGM区分=\nBGMﾘﾋﾟｰﾄ=   \n", 0, 0, u""},
  };
  for (const auto& c : cases) {
    Load load(c.ini);
    EXPECT_EQ(load.settings.BgmKind, c.kind) << c.ini;
    EXPECT_EQ(load.settings.BgmRepeat, c.repeat) << c.ini;
    EXPECT_EQ(load.settings.BgmFile, c.file) << c.ini;
  }
}

TEST(LoadSettings, AFailedConversionKeepsTheValueItHad) {
  Load load("[Section]\nBGM区分=oops\nBGMﾘﾋﾟｰﾄ=40000\n");
  load.settings.BgmKind = 1;
  load.settings.BgmRepeat = 7;
  mirane::LoadSettings(load.os, load.shared, load.settings);
  EXPECT_EQ(load.settings.BgmKind, 1);
  EXPECT_EQ(load.settings.BgmRepeat, 7);
  EXPECT_EQ(load.shared.IniValue, u"");  // the last value read: the empty file key
}

TEST(LoadSettings, ALongPathComesBackWhole) {
  // 300 bytes of path, with double-byte characters across the 255-byte mark.
  std::string folder = "C:\\";
  while (folder.size() < 250) folder += "a";
  folder += "ミラネの音楽フォルダ";
  const std::string path = folder + "\\曲.mp3";
  ASSERT_GT(Sjis(path).size(), 255u);
  Load load("[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=" + path + "\n", {path});
  auto& os = load.os;
  auto& settings = load.settings;
  EXPECT_EQ(settings.BgmKind, 2);
  EXPECT_EQ(settings.BgmFile, Utf16(path));
  const auto reads = os.Calls({"GetPrivateProfileStringA"});
  ASSERT_EQ(reads.size(), 4u);  // the file key is read again with a larger buffer
  EXPECT_NE(reads[2].find("\"\", 256, "), std::string::npos);
  EXPECT_NE(reads[3].find("\"\", 512, "), std::string::npos);
  EXPECT_EQ(os.Calls({"TryOpenForReading"}),
            std::vector<std::string>{"TryOpenForReading(\"" + path + "\") -> true"});
}

TEST(LoadSettings, AValueOfExactlyTheBufferSizeIsNotCut) {
  std::string path = "C:\\";
  while (Sjis(path).size() < 251) path += "b";
  path += ".mp3";  // 255 bytes
  ASSERT_EQ(Sjis(path).size(), 255u);
  Load load("[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=" + path + "\n", {path});
  auto& os = load.os;
  auto& settings = load.settings;
  EXPECT_EQ(settings.BgmFile, Utf16(path));
  EXPECT_EQ(settings.BgmKind, 2);
}

TEST(LoadSettings, AtADriveRootThePathHasTwoSeparators) {
  fake::FakePlatform os;
  os.SetProgramFolder("D:\\");
  os.AddFile("D:\\ミラネ.ini", Ini("[Section]\nBGM区分= 1\n"));
  mirane::Shared shared;
  mirane::Settings settings;
  mirane::LoadSettings(os, shared, settings);
  EXPECT_EQ(settings.BgmKind, 1);
  EXPECT_NE(os.log[1].find("\"D:\\\\ミラネ.ini\""), std::string::npos) << os.log[1];
}

TEST(FileExists, OpensForReadingOrSaysNo) {
  fake::FakePlatform os;
  os.AddFile("C:\\Data\\empty.bin", "");
  os.AddFile("C:\\Data\\held.bin", "x");
  os.LockFile("C:\\Data\\held.bin");
  const struct {
    const char* path;
    std::int16_t result;
  } cases[] = {
      {"", 0},
      {"C:\\Data\\empty.bin", -1},
      {"C:\\Data\\EMPTY.BIN", -1},
      {"C:\\Data\\empty.bin\\", -1},  // one trailing separator is dropped
      {"C:\\Data\\empty.bin\\\\", 0},
      {"C:\\Data", 0},  // a folder is no file
      {"C:\\Data\\", 0},
      {"C:\\Data\\missing.bin", 0},
      {"C:\\Data\\held.bin", 0},
      {"\\", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mirane::FileExists(os, Utf16(c.path)), c.result) << c.path;
  }
}

TEST(WriteIni, WritesShiftJisBytesAndKeepsTheResult) {
  fake::FakePlatform os;
  os.AddFolder(kFolder);
  mirane::Shared shared;
  const std::u16string path = Utf16(kIni);
  mirane::WriteIni(os, shared, u"Section", u"BGM区分", u" 2", path);
  EXPECT_EQ(shared.LastApiResult, 1);
  mirane::WriteIni(os, shared, u"Section", u"BGMﾌｧｲﾙ", u"C:\\音楽\\曲.mp3", path);
  mirane::WriteIni(os, shared, u"Section", u"BGM区分", u" 0", path);
  EXPECT_EQ(os.FileBytes(kIni), Sjis("[Section]\r\nBGM区分=0\r\nBGMﾌｧｲﾙ=C:\\音楽\\曲.mp3\r\n"));

  mirane::WriteIni(os, shared, u"Section", u"BGM区分", u" 1", u"C:\\Nowhere\\ミラネ.ini");
  EXPECT_EQ(shared.LastApiResult, 0);
}

}  // namespace

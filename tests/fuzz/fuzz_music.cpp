// Arbitrary answers from the media devices: the CD poll sends at most one
// play command per poll, and nothing reads past a reply buffer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "music/music.h"

namespace {

// Splits the input into the pieces a case is made of, at 0xFF bytes.
std::vector<std::string> Pieces(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF) {
      out.emplace_back();
    } else {
      out.back() += static_cast<char>(data[i]);
    }
  }
  return out;
}

std::uint32_t Code(const std::string& piece) {
  return piece.empty() ? 0 : static_cast<std::uint8_t>(piece[0]) % 4 == 0 ? 266 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto pieces = Pieces(data, size);
  auto piece = [&](std::size_t i) { return i < pieces.size() ? pieces[i] : std::string(); };

  fake::FakePlatform os;
  mirane::Shared shared;
  mirane::Settings settings;
  settings.BgmRepeat = static_cast<std::int16_t>(piece(0).empty() ? 0 : piece(0)[0] % 40);
  settings.BgmFile = u"C:\\曲.mp3";
  os.mci.AddMp3("C:\\曲.mp3", 1500);
  os.mci.InsertDisc(static_cast<int>(piece(1).size() % 20));
  os.mci.Script("status cdaudio current track", piece(2), Code(piece(2)));
  os.mci.Script("status cdaudio number of tracks", piece(3), Code(piece(3)));
  os.mci.Script("status cdaudio mode", piece(4), Code(piece(4)));
  os.mci.Script("status cdaudio position track " + std::to_string(settings.BgmRepeat), piece(5),
                Code(piece(5)));
  os.mci.Script("status MP3Play mode", piece(6), Code(piece(6)));

  mirane::Music music(os, shared, settings);
  // Stale bytes with no NUL anywhere must not be read past.
  std::memset(music.CdModeBuffer.data(), 'p', music.CdModeBuffer.size());
  std::memset(music.Mp3ModeBuffer.data(), 'p', music.Mp3ModeBuffer.size());
  std::memset(music.MciReplyBuffer.data(), 'x', music.MciReplyBuffer.size());

  music.CdOpen();
  for (int poll = 0; poll < 4 && music.CdPollActive; ++poll) {
    const std::size_t before = os.Calls({"mciSendStringA"}).size();
    music.CdPoll();
    int plays = 0;
    const auto calls = os.Calls({"mciSendStringA"});
    for (std::size_t i = before; i < calls.size(); ++i) {
      if (calls[i].rfind("mciSendStringA(\"play ", 0) == 0) ++plays;
    }
    if (plays > 1) std::abort();
    os.Advance(200);
  }
  music.CdClose();

  music.Mp3Play();
  for (int tick = 0; tick < 3; ++tick) {
    music.Mp3KeepPlaying();
    os.Advance(1000);
  }
  music.Mp3Close();
  return 0;
}

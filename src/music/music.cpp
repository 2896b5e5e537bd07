#include "music/music.h"

#include <algorithm>
#include <optional>

#include "settings/numbers.h"

namespace mirane {

namespace {

// PlaySound flags.
constexpr std::uint32_t kSndAsync = 0x0001;
constexpr std::uint32_t kSndNoDefault = 0x0002;
constexpr std::uint32_t kSndLoop = 0x0008;
constexpr std::uint32_t kSndFilename = 0x00020000;

// The mode question of the CD passes one byte less than its buffer holds.
constexpr std::size_t kCdModeReplyLength = 255;

std::u16string Decimal(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

bool IsErrorAnswer(std::u16string_view answer) {
  return numbers::UpperAscii(answer).find(u"ERR") != std::u16string::npos;
}

}  // namespace

Music::Music(platform::Platform& os, Shared& shared, const Settings& settings)
    : os_(os), shared_(shared), settings_(settings) {}

std::u16string Music::Text(std::span<const char> buffer) const {
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  return os_.codec().FromAnsi(std::string_view(buffer.data(), end - buffer.begin()));
}

std::uint32_t Music::Send(std::u16string_view command, std::span<char> reply) {
  return os_.media().mciSendStringA(os_.codec().ToAnsi(command), reply, 0);
}

// --- Command channel ---

std::int32_t Music::MciSend(const std::u16string& command, std::u16string& reply) {
  if (command.empty()) {
    reply = u"コマンド文字列が指定されていません";
    return -1;
  }
  shared_.LastApiResult = static_cast<std::int32_t>(Send(command, MciReplyBuffer));
  const std::int32_t code = shared_.LastApiResult;
  if (code == 0) {
    reply = Text(MciReplyBuffer);
    return 0;
  }
  if (os_.media().mciGetErrorStringA(static_cast<std::uint32_t>(code), MciErrorBuffer) == 0) {
    reply = u"Error (文字列が取れません)";
  } else {
    reply = Text(MciErrorBuffer);
  }
  return code;
}

std::u16string Music::MciStatus(const std::u16string& command) {
  const std::int32_t code = MciSend(command, MciStatusText);
  shared_.LastApiResult = code;  // also the -1 of an empty command
  // The description stays behind in MciStatusText: callers look for the
  // letters "ERR", which a numeric answer never holds.
  if (code != 0) return u"Error:" + Decimal(code);
  return MciStatusText;
}

std::int32_t Music::MciPlay(const std::u16string& device, const std::u16string& start,
                            const std::u16string& end) {
  std::u16string command = u"play " + device;
  if (!start.empty()) command += u" from " + start;
  if (!end.empty()) command += u" to " + end;
  return MciSend(command, MciStatusText);
}

// --- Audio CD ---

void Music::CdOpen() {
  shared_.LastApiResult = static_cast<std::int32_t>(Send(u"open cdaudio"));
  shared_.LastApiResult = static_cast<std::int32_t>(Send(u"set cdaudio time format tmsf"));
}

void Music::CdPoll() {
  CdPollActive = kTrue;

  // No disc, or a drive that cannot answer: stop asking for the rest of the run.
  const std::u16string current = MciStatus(u"status cdaudio current track");
  if (IsErrorAnswer(current)) {
    CdPollActive = kFalse;
    return;
  }
  if (IsErrorAnswer(MciStatus(u"status cdaudio number of tracks"))) {
    CdPollActive = kFalse;
    return;
  }

  shared_.LastApiResult = static_cast<std::int32_t>(
      Send(u"status cdaudio mode", std::span<char>(CdModeBuffer.data(), kCdModeReplyLength)));
  // The words compared are ASCII, so the text up to the NUL starts with them
  // exactly when the buffer does.
  const bool stopped = Text(CdModeBuffer).substr(0, 7) == u"stopped";

  // Read on every tick: the setting may change while the saver runs.
  const std::int16_t repeat = settings_.BgmRepeat;
  if (repeat == 0) {
    // Play on from wherever the disc stands.
    if (stopped) MciPlay(u"cdaudio", u"", u"");
    return;
  }

  // A current track that is not a number ends the polling like an error.
  const std::optional<double> track = numbers::ParseNumber(current);
  if (!track) {
    CdPollActive = kFalse;
    return;
  }
  if (stopped || *track != repeat) {
    // The position goes into the play command as the device wrote it; a
    // failed question makes the play command fail too, and polling goes on.
    const std::u16string start = MciStatus(u"status cdaudio position track " + Decimal(repeat));
    MciPlay(u"cdaudio", start, u"");
  }
}

void Music::CdClose() {
  shared_.LastApiResult = static_cast<std::int32_t>(Send(u"stop cdaudio"));
  shared_.LastApiResult = static_cast<std::int32_t>(Send(u"close cdaudio"));
}

// --- Music file ---

void Music::Mp3Play() {
  // The quotation marks keep blanks in the path part of the file name.
  const std::u16string open = u"open \"" + settings_.BgmFile + u"\" type MPEGVideo Alias MP3Play";
  if (Send(open) == 0) Send(u"play MP3Play");
}

std::int16_t Music::Mp3IsPlaying() {
  Send(u"status MP3Play mode", Mp3ModeBuffer);
  return Text(Mp3ModeBuffer).substr(0, 7) == u"playing" ? kTrue : kFalse;
}

void Music::Mp3KeepPlaying() {
  if (Mp3IsPlaying() == kTrue) return;
  // Ended, not ready yet, or never opened: start again from the beginning.
  Send(u"stop MP3Play");
  Send(u"play MP3Play from 0");
}

void Music::Mp3Close() {
  Send(u"stop MP3Play");
  Send(u"close MP3Play");
}

void Music::WavPlay() {
  if (static_cast<std::int32_t>(os_.media().waveOutGetNumDevs()) <= 0) return;
  // Always a file name, and no default sound: a file the system cannot play
  // stays silent instead of the system's sound looping for the whole run.
  const std::string name = os_.codec().ToAnsi(settings_.BgmFile);
  shared_.LastApiResult =
      os_.media().PlaySoundA(name, 0, kSndAsync | kSndLoop | kSndFilename | kSndNoDefault);
}

void Music::WavStop() {
  shared_.LastApiResult = os_.media().PlaySoundA(std::nullopt, 0, 0);
}

}  // namespace mirane

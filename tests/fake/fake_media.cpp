#include "fake/fake_media.h"

#include <algorithm>
#include <cstdio>

#include "fake/fake_platform.h"

namespace fake {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Words separated by blanks; a word in double quotes may hold blanks.
std::vector<std::string> Words(std::string_view command) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < command.size()) {
    if (command[i] == ' ') {
      ++i;
      continue;
    }
    if (command[i] == '"') {
      const std::size_t close = command.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? command.size() : close;
      words.emplace_back(command.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    const std::size_t end = std::min(command.find(' ', i), command.size());
    words.emplace_back(command.substr(i, end - i));
    i = end;
  }
  return words;
}

// Fields of a position separated by colons, each all digits.
std::optional<std::vector<int>> Fields(std::string_view text) {
  std::vector<int> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = std::min(text.find(':', start), text.size());
    const std::string_view field = text.substr(start, colon - start);
    if (field.empty() || field.size() > 3 ||
        !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return std::nullopt;
    }
    fields.push_back(std::stoi(std::string(field)));
    if (colon == text.size()) break;
    start = colon + 1;
  }
  if (fields.size() > 4) return std::nullopt;
  return fields;
}

// Writes text and a NUL, cut to the length less one; the rest stays.
void Write(std::span<char> buffer, std::string_view text) {
  if (buffer.empty()) return;
  const std::size_t n = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.data(), n, buffer.data());
  buffer[n] = '\0';
}

bool Is(const std::vector<std::string>& words, std::initializer_list<std::string_view> want) {
  if (words.size() != want.size()) return false;
  std::size_t i = 0;
  for (std::string_view w : want) {
    if (Lower(words[i++]) != w) return false;
  }
  return true;
}

// Every track of the modelled disc lasts four minutes, after a two-second lead-in.
constexpr int kTrackMinutes = 4;

}  // namespace

void FakeMedia::InsertDisc(int tracks, CdMode mode, int track) {
  cd.tracks = tracks;
  cd.mode = mode;
  cd.track = track;
}

void FakeMedia::AddMp3(std::string_view path_utf8, std::uint64_t duration_ms) {
  mp3_files_[std::string(path_utf8)] = duration_ms;
}

void FakeMedia::Script(std::string_view command_utf8, std::string_view reply_utf8,
                       std::uint32_t code) {
  scripted_[std::string(command_utf8)] = Answer{code, std::string(reply_utf8)};
}

std::uint64_t FakeMedia::Mp3Position() const {
  const auto it = mp3_files_.find(mp3.path);
  const std::uint64_t duration = it == mp3_files_.end() ? 0 : it->second;
  const std::uint64_t at = mp3.position_ms + (mp3.playing ? owner_.now() - mp3.since_ms : 0);
  return std::min(at, duration);
}

std::string FakeMedia::Mp3Mode() const {
  if (!mp3.open) return "";
  const auto it = mp3_files_.find(mp3.path);
  const bool ended = it == mp3_files_.end() || Mp3Position() >= it->second;
  return mp3.playing && !ended ? "playing" : "stopped";
}

std::uint32_t FakeMedia::mciSendStringA(std::string_view command, std::span<char> reply,
                                        platform::Hwnd callback) {
  const std::string utf8 = Utf8(owner_.codec().FromAnsi(command));
  // The system empties the reply first, so a failure leaves no old answer
  // at the start of the buffer.
  if (!reply.empty()) reply[0] = '\0';
  Answer answer;
  if (auto it = scripted_.find(utf8); it != scripted_.end()) {
    answer = it->second;
  } else {
    answer = Model(Words(utf8), utf8);
  }
  if (answer.code == 0) Write(reply, Sjis(answer.reply));
  owner_.Log("mciSendStringA(\"" + utf8 + "\", " + std::to_string(reply.size()) + ", " +
             std::to_string(callback) + ") -> " + std::to_string(answer.code));
  return answer.code;
}

FakeMedia::Answer FakeMedia::Model(const std::vector<std::string>& words,
                                   const std::string& command) {
  if (command.empty()) return {mcierr::kMissingCommandString, ""};
  if (words.size() < 2) return {mcierr::kUnrecognizedCommand, ""};
  const std::string verb = Lower(words[0]);
  if (verb == "open" && Lower(words[1]) == "cdaudio") {
    if (words.size() != 2) return {mcierr::kUnrecognizedCommand, ""};
    if (!cd.driver) return {mcierr::kCannotLoadDriver, ""};
    if (cd.open) return {mcierr::kDeviceOpen, ""};
    cd.open = true;
    return {};
  }
  if (verb == "open") {
    if (!Is(std::vector<std::string>(words.begin() + 2, words.end()),
            {"type", "mpegvideo", "alias", "mp3play"})) {
      return {mcierr::kUnrecognizedCommand, ""};
    }
    if (mp3.open) return {mcierr::kDuplicateAlias, ""};
    // The MPEGVideo driver reports any file it cannot play, a missing one
    // too, as an internal error.
    if (!mp3_files_.contains(words[1])) return {mcierr::kInternal, ""};
    mp3 = FakeMp3{true, words[1], false, 0, owner_.now()};
    return {};
  }
  const std::string device = Lower(words[1]);
  if (device == "mp3play" && mp3.open) return Mp3(words);
  if (device == "cdaudio") {
    if (cd.open) return Cd(words);
    // A device that is not open is opened for the one command and closed
    // after it, so without a driver every command fails as the open does.
    if (!cd.driver) return {mcierr::kCannotLoadDriver, ""};
    cd.open = true;
    const Answer answer = Cd(words);
    cd.open = false;
    cd.tmsf = false;
    return answer;
  }
  // Any other name that is not open is taken for a file to open by its
  // extension; the alias is a bare word and has none.
  return {mcierr::kExtensionNotFound, ""};
}

FakeMedia::Answer FakeMedia::Cd(const std::vector<std::string>& words) {
  const std::string verb = Lower(words[0]);
  if (Is(words, {"set", "cdaudio", "time", "format", "tmsf"})) {
    cd.tmsf = true;
    return {};
  }
  if (Is(words, {"set", "cdaudio", "time", "format", "msf"})) {
    cd.tmsf = false;
    return {};
  }
  if (Is(words, {"close", "cdaudio"})) {
    cd.open = false;
    cd.tmsf = false;
    return {};
  }
  if (Is(words, {"status", "cdaudio", "mode"})) {
    if (cd.tracks == 0) return {0, "not ready"};
    switch (cd.mode) {
      case CdMode::Playing:
        return {0, "playing"};
      case CdMode::Paused:
        return {0, "paused"};
      default:
        return {0, "stopped"};
    }
  }
  if (cd.tracks == 0) return {mcierr::kDeviceNotReady, ""};
  if (Is(words, {"status", "cdaudio", "current", "track"})) return {0, std::to_string(cd.track)};
  if (Is(words, {"status", "cdaudio", "number", "of", "tracks"})) {
    return {0, std::to_string(cd.tracks)};
  }
  if (words.size() == 5 && Is(std::vector<std::string>(words.begin(), words.begin() + 4),
                              {"status", "cdaudio", "position", "track"})) {
    const auto n = Fields(words[4]);
    if (!n || n->size() != 1) return {mcierr::kBadInteger, ""};
    const int track = n->front();
    if (track < 1 || track > cd.tracks) return {mcierr::kOutOfRange, ""};
    char text[16];
    if (cd.tmsf) {
      std::snprintf(text, sizeof text, "%02d:00:00:00", track);
    } else {
      std::snprintf(text, sizeof text, "%02d:02:00", (track - 1) * kTrackMinutes);
    }
    return {0, text};
  }
  if (Is(words, {"stop", "cdaudio"})) {
    cd.mode = CdMode::Stopped;
    return {};
  }
  if (verb == "play") {
    // play cdaudio [from <position>] [to <position>]
    std::optional<int> from_track;
    for (std::size_t i = 2; i < words.size(); i += 2) {
      const std::string key = Lower(words[i]);
      if ((key != "from" && key != "to") || i + 1 >= words.size()) {
        return {mcierr::kUnrecognizedCommand, ""};
      }
      const auto fields = Fields(words[i + 1]);
      if (!fields) return {mcierr::kBadInteger, ""};
      const int track = cd.tmsf ? fields->front() : fields->front() / kTrackMinutes + 1;
      if (track < 1 || track > cd.tracks) return {mcierr::kOutOfRange, ""};
      if (key == "from") from_track = track;
    }
    if (from_track) cd.track = *from_track;
    cd.mode = CdMode::Playing;
    return {};
  }
  return {mcierr::kUnrecognizedCommand, ""};
}

FakeMedia::Answer FakeMedia::Mp3(const std::vector<std::string>& words) {
  if (Is(words, {"status", "mp3play", "mode"})) return {0, Mp3Mode()};
  if (Is(words, {"play", "mp3play"}) ||
      (words.size() == 4 && Is(std::vector<std::string>(words.begin(), words.begin() + 3),
                               {"play", "mp3play", "from"}))) {
    std::uint64_t at = Mp3Position();
    if (words.size() == 4) {
      const auto fields = Fields(words[3]);
      if (!fields || fields->size() != 1) return {mcierr::kBadInteger, ""};
      at = static_cast<std::uint64_t>(fields->front());
      if (at > mp3_files_.find(mp3.path)->second) return {mcierr::kOutOfRange, ""};
    }
    mp3.position_ms = at;
    mp3.since_ms = owner_.now();
    mp3.playing = true;
    return {};
  }
  if (Is(words, {"stop", "mp3play"})) {
    mp3.position_ms = Mp3Position();
    mp3.playing = false;
    return {};
  }
  if (Is(words, {"close", "mp3play"})) {
    mp3 = FakeMp3{};
    return {};
  }
  return {mcierr::kUnrecognizedCommand, ""};
}

std::int32_t FakeMedia::mciGetErrorStringA(std::uint32_t code, std::span<char> buffer) {
  const auto it = error_texts.find(code);
  const std::int32_t found = it != error_texts.end() && !buffer.empty() ? 1 : 0;
  if (found) {
    Write(buffer, Sjis(it->second));
  } else if (code >= mcierr::kFirst && code <= mcierr::kLast) {
    // A code of the MCI range is looked up, and a missing text leaves an
    // empty one; any other code leaves the buffer alone.
    Write(buffer, "");
  }
  owner_.Log("mciGetErrorStringA(" + std::to_string(code) + ", " + std::to_string(buffer.size()) +
             ") -> " + std::to_string(found));
  return found;
}

std::uint32_t FakeMedia::waveOutGetNumDevs() {
  owner_.Log("waveOutGetNumDevs() -> " + std::to_string(wave_devices));
  return wave_devices;
}

std::int32_t FakeMedia::PlaySoundA(std::optional<std::string_view> sound, std::uint32_t module,
                                   std::uint32_t flags) {
  sounds.push_back({sound ? std::optional<std::string>(*sound) : std::nullopt, module, flags});
  owner_.Log("PlaySoundA(" +
             (sound ? "\"" + Utf8(owner_.codec().FromAnsi(*sound)) + "\"" : std::string("NULL")) +
             ", " + std::to_string(module) + ", " + std::to_string(flags) + ") -> 1");
  return 1;
}

}  // namespace fake

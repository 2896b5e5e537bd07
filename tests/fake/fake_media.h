// The fake's multimedia devices: a CD drive, one MP3 alias, the wave output
// devices and PlaySound.
//
// Every call is logged in order.  Replies are written as the system writes
// them: the buffer's first byte is emptied when the call starts, and a reply
// goes in with a NUL after it, cut to the length passed less one; the bytes
// after the NUL stay as they were.  A command to a name that is not open
// fails as the system's attempt to open that name for it does.  The MP3
// alias plays on the fake's virtual clock.  Tests may also script the
// answer to any one command.  Codes, texts and buffer handling are those
// the real system gave under the contract tests.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/media.h"

namespace fake {

class FakePlatform;

// MCI error codes the model answers with.
namespace mcierr {
inline constexpr std::uint32_t kFirst = 256;  // the range mciGetErrorStringA looks up
inline constexpr std::uint32_t kLast = 512;
inline constexpr std::uint32_t kInvalidDeviceName = 263;
inline constexpr std::uint32_t kDeviceOpen = 265;
inline constexpr std::uint32_t kCannotLoadDriver = 266;  // no CD driver
inline constexpr std::uint32_t kMissingCommandString = 267;
inline constexpr std::uint32_t kBadInteger = 270;  // a position that is no number
inline constexpr std::uint32_t kFileNotFound = 275;
inline constexpr std::uint32_t kInternal = 277;             // MP3 file cannot be opened
inline constexpr std::uint32_t kExtensionNotFound = 281;    // a name that is not open
inline constexpr std::uint32_t kDeviceNotReady = 276;       // no disc
inline constexpr std::uint32_t kUnrecognizedCommand = 261;  // anything the model does not know
inline constexpr std::uint32_t kOutOfRange = 282;           // a track past the end of the disc
inline constexpr std::uint32_t kDuplicateAlias = 289;
}  // namespace mcierr

enum class CdMode { Stopped, Playing, Paused };

struct FakeCd {
  bool driver = true;  // false: "open cdaudio" fails
  bool open = false;
  bool tmsf = false;  // the time format has been set to tracks
  int tracks = 0;     // 0: no disc in the drive
  CdMode mode = CdMode::Stopped;
  int track = 1;  // the track the disc stands on
};

struct FakeMp3 {
  bool open = false;
  std::string path;  // UTF-8, as opened
  bool playing = false;
  std::uint64_t position_ms = 0;  // where it stands, as of since_ms
  std::uint64_t since_ms = 0;
};

struct PlaySoundCall {
  std::optional<std::string> sound;  // raw ANSI bytes; nullopt for a null name
  std::uint32_t module;
  std::uint32_t flags;
};

class FakeMedia : public platform::Media {
 public:
  explicit FakeMedia(FakePlatform& owner) : owner_(owner) {}

  std::uint32_t mciSendStringA(std::string_view command, std::span<char> reply,
                               platform::Hwnd callback) override;
  std::int32_t mciGetErrorStringA(std::uint32_t code, std::span<char> buffer) override;
  std::uint32_t waveOutGetNumDevs() override;
  std::int32_t PlaySoundA(std::optional<std::string_view> sound, std::uint32_t module,
                          std::uint32_t flags) override;

  // --- Set-up and inspection for tests ---

  // A disc of the given tracks standing on a track (0 tracks: no disc).
  void InsertDisc(int tracks, CdMode mode = CdMode::Stopped, int track = 1);
  void EjectDisc() { cd.tracks = 0; }

  // An MP3 file the device can open (path in UTF-8) and how long it plays.
  void AddMp3(std::string_view path_utf8, std::uint64_t duration_ms);
  // "playing", "stopped", or "" when the alias is not open.
  std::string Mp3Mode() const;

  // Answers this exact command (UTF-8) with reply and code instead of the
  // model, every time it is sent, until cleared.
  void Script(std::string_view command_utf8, std::string_view reply_utf8, std::uint32_t code = 0);
  void ClearScript(std::string_view command_utf8) { scripted_.erase(std::string(command_utf8)); }

  FakeCd cd;
  FakeMp3 mp3;
  std::uint32_t wave_devices = 1;
  std::vector<PlaySoundCall> sounds;
  // Descriptions mciGetErrorStringA gives (UTF-8); a code without one gets
  // no description.
  std::map<std::uint32_t, std::string> error_texts = {
      {mcierr::kUnrecognizedCommand, "ドライバーは指定されたコマンドを認識できませんでした。"},
      {mcierr::kInvalidDeviceName,
       "指定されたデバイスはオープンされていないか、MCI に認識されていません。"},
      {mcierr::kDeviceOpen,
       "デバイス名はこのアプリケーションによってエイリアスとして使用されて"
       "います。独自のエイリアスを使用して下さい。"},
      {mcierr::kCannotLoadDriver,
       "指定されたデバイス ドライバーのロード中に不明なエラーが発生しました。"},
      {mcierr::kMissingCommandString, "コマンドが指定されていません。"},
      {mcierr::kBadInteger, "指定された整数値はこのコマンドには無効です。"},
      {mcierr::kFileNotFound,
       "指定されたファイルは見つかりません。ファイル名とパスを確認して下さい。"},
      {mcierr::kDeviceNotReady, "デバイス ドライバーの準備ができていません。"},
      {mcierr::kInternal, "MCI の初期化中に問題が発生しました。Windows を再起動して下さい。"},
      {mcierr::kExtensionNotFound,
       "指定されたファイルの拡張子からデバイスの種類を特定できません。"},
      {mcierr::kOutOfRange, "指定されたコマンドに対して指定されたパラメーターは範囲外です。"},
      {mcierr::kDuplicateAlias,
       "指定されたエイリアスはこのアプリケーションによってエイリアスとして"
       "使用されています。独自のエイリアスを使用して下さい。"},
  };

 private:
  struct Answer {
    std::uint32_t code = 0;
    std::string reply;  // UTF-8
  };
  Answer Model(const std::vector<std::string>& words, const std::string& command);
  Answer Cd(const std::vector<std::string>& words);
  Answer Mp3(const std::vector<std::string>& words);
  std::uint64_t Mp3Position() const;

  FakePlatform& owner_;
  std::map<std::string, std::uint64_t> mp3_files_;  // UTF-8 path -> duration
  std::map<std::string, Answer> scripted_;
};

}  // namespace fake

// A recording fake of the whole port, with a virtual clock.
//
// It models what the program relies on: CP932 text, caller buffers that are
// written only as far as the system writes them, private-profile files with
// case-insensitive sections and keys, files that exist or not, windows found
// by title, the cursor display count, a message box that can be answered,
// forms and their timers.  Every call is appended to a log (in UTF-8, so that
// tests read naturally) in the order the program made it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fake/fake_controls.h"
#include "fake/fake_media.h"
#include "fake/fake_processes.h"
#include "platform/platform.h"

namespace fake {

// CP932 conversion as Windows does it: unmappable characters become "?",
// invalid byte sequences become U+30FB.
class Cp932Codec : public platform::Codec {
 public:
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view bytes) const override;
};

std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view utf8);
// CP932 bytes of a UTF-8 literal, for expectations on raw bytes.
std::string Sjis(std::string_view utf8);

class FakePlatform;

class FakeTimer : public platform::Timer {
 public:
  FakeTimer(FakePlatform& owner, std::uint32_t interval, bool enabled, std::function<void()> tick);
  void SetInterval(std::uint32_t milliseconds) override;
  std::uint32_t Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  std::uint64_t due() const { return due_; }
  void Fire();

 private:
  FakePlatform& owner_;
  std::uint32_t interval_;
  bool enabled_;
  std::uint64_t due_ = 0;
  std::function<void()> tick_;
};

class FakeImage : public platform::Image {
 public:
  FakeImage(FakePlatform& owner, std::string form_title, std::uint16_t resource, std::int32_t l,
            std::int32_t t, std::int32_t w, std::int32_t h)
      : owner_(owner),
        form_title_(std::move(form_title)),
        resource(resource),
        left(l),
        top(t),
        width(w),
        height(h) {}
  void MovePixels(std::int32_t left, std::int32_t top, std::int32_t width,
                  std::int32_t height) override;

 private:
  FakePlatform& owner_;
  std::string form_title_;

 public:
  std::uint16_t resource;
  std::int32_t left, top, width, height;  // pixels
};

class FakeForm : public platform::Form {
 public:
  FakeForm(FakePlatform& owner, const platform::FormDesign& design, platform::FormEvents& events,
           platform::Hwnd hwnd);
  ~FakeForm() override;

  platform::Hwnd hWnd() const override { return hwnd_; }
  void Load() override;
  void Show(platform::ShowMode mode) override;
  void Unload() override;
  void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
  platform::Timer& AddTimer(std::uint32_t interval_ms, bool enabled,
                            std::function<void()> on_tick) override;
  platform::Image& AddImage(std::uint16_t picture_resource, std::int32_t left, std::int32_t top,
                            std::int32_t width, std::int32_t height) override;

  // The window has been destroyed from outside (its parent went): the
  // toolkit forgets the form without running its unload handlers.
  void WindowDestroyed();

  // A close request from outside, as the window system would deliver it.
  void RequestClose(platform::UnloadReason reason);

  const platform::FormDesign& design() const { return design_; }
  bool visible() const { return visible_; }
  bool loaded() const { return alive_; }
  std::vector<std::unique_ptr<FakeTimer>>& timers() { return timers_; }
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  // The window as the window system sees it.
  std::int32_t style = 0;
  platform::Hwnd parent = 0;  // 0: top-level
  std::vector<std::unique_ptr<FakeImage>> images;

 private:
  void Destroy();

  FakePlatform& owner_;
  platform::FormDesign design_;
  platform::FormEvents& events_;
  platform::Hwnd hwnd_;
  bool visible_ = false;
  bool alive_ = true;
  std::vector<std::unique_ptr<FakeTimer>> timers_;
};

struct MessageBoxCall {
  std::string text;     // raw ANSI bytes
  std::string caption;  // raw ANSI bytes
  std::uint32_t style;
};

class FakePlatform : public platform::Platform, public platform::System, public platform::Forms {
 public:
  FakePlatform();
  ~FakePlatform() override;

  // platform::Platform
  const platform::Codec& codec() override { return codec_; }
  platform::System& system() override { return *this; }
  platform::Forms& forms() override { return *this; }
  platform::Media& media() override { return mci; }
  platform::Processes& processes() override { return programs; }
  platform::Controls& controls() override { return ui; }

  // platform::System
  platform::Hwnd FindWindowA(std::string_view title) override;
  std::int32_t ShowCursor(std::int32_t show) override;
  std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                         std::string_view default_value, std::span<char> buffer,
                                         std::string_view file) override;
  std::int32_t WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                          std::string_view value, std::string_view file) override;
  bool TryOpenForReading(std::string_view path) override;
  std::string ProgramFolder() override;
  std::string CommandArguments() override;
  std::int32_t MessageBoxA(platform::Hwnd owner, std::string_view text, std::string_view caption,
                           std::uint32_t style) override;
  [[noreturn]] void EndProcess(std::uint32_t exit_code) override;
  std::int32_t GetWindowRect(platform::Hwnd window, platform::Rect& rect) override;
  std::int32_t GetWindowLongA(platform::Hwnd window, std::int32_t index) override;
  std::int32_t SetWindowLongA(platform::Hwnd window, std::int32_t index,
                              std::int32_t value) override;
  platform::Hwnd SetParent(platform::Hwnd child, platform::Hwnd new_parent) override;
  platform::Hwnd GetWindow(platform::Hwnd window, std::uint32_t command) override;
  std::int32_t PostMessageA(platform::Hwnd window, std::uint32_t message, std::uint32_t wparam,
                            std::int32_t lparam) override;
  std::int32_t IsWindow(platform::Hwnd window) override;

  // platform::Forms
  std::unique_ptr<platform::Form> Create(const platform::FormDesign& design,
                                         platform::FormEvents& events) override;
  void RunMessageLoop() override;
  std::int32_t TwipsPerPixelX() override { return 15; }
  std::int32_t TwipsPerPixelY() override { return 15; }

  // --- Set-up and inspection for tests ---

  // The log of calls, in order, in UTF-8.
  std::vector<std::string> log;
  // Only the entries that start with one of the given call names.
  std::vector<std::string> Calls(std::initializer_list<std::string_view> names) const;

  // Program folder (UTF-8 text, stored in CP932) and argument text.
  void SetProgramFolder(std::string_view utf8) { program_folder_ = Sjis(utf8); }
  void SetArguments(std::string_view utf8) { arguments_ = Sjis(utf8); }
  void SetArgumentBytes(std::string bytes) { arguments_ = std::move(bytes); }

  // The file system: paths in UTF-8, content in raw bytes.
  void AddFile(std::string_view path_utf8, std::string bytes = {});
  void AddFolder(std::string_view path_utf8);
  void RemoveFile(std::string_view path_utf8);
  // A file another program holds open without sharing (opens fail).
  void LockFile(std::string_view path_utf8);
  void SetReadOnly(std::string_view path_utf8);
  bool HasFile(std::string_view path_utf8) const;
  // Raw bytes of a file, or nullopt.
  std::optional<std::string> FileBytes(std::string_view path_utf8) const;

  // Top-level windows of other programs, by title.
  platform::Hwnd AddForeignWindow(std::string_view title_utf8);
  void RemoveForeignWindow(platform::Hwnd hwnd);

  // The multimedia device model.
  FakeMedia mci{*this};
  // Programs started by path, and how they behave.
  FakeProcesses programs{*this};
  // User controls, pictures, the pointer and the focus.
  FakeControls ui{*this};

  std::int32_t cursor_count = 0;
  std::vector<MessageBoxCall> message_boxes;
  std::int32_t message_box_answer = 1;

  // What the user does while a form is shown modally; by default the user
  // closes it with the close box at once.
  std::function<void(FakeForm&)> on_modal;

  // Virtual clock.
  std::uint64_t now() const { return now_; }
  // Advances the clock, firing due timers in order; stops early if the
  // process ends (then the ProcessEnded is rethrown).
  void Advance(std::uint64_t milliseconds);
  // Runs the message loop: timers fire until no form is left, the process
  // ends, or the limit of virtual time is reached.
  std::uint64_t loop_limit_ms = 60'000;

  std::optional<std::uint32_t> exit_code;
  std::vector<FakeForm*> forms_alive;
  FakeForm* FormByTitle(std::string_view title_utf8) const;

  // The desktop window, parent of every top-level window.
  static constexpr platform::Hwnd kDesktop = 0x10010;
  // A window of another program (a preview pane, say) with its screen
  // rectangle; hwnd 0 picks a fresh handle.
  platform::Hwnd AddForeignWindow(std::string_view title_utf8, platform::Rect rect,
                                  platform::Hwnd hwnd = 0);
  // Destroys a window of another program as the window system does: its
  // child windows, forms of ours included, go with it.
  void DestroyForeignWindow(platform::Hwnd hwnd);
  // Called with every new form before the caller sees it.
  std::function<void(FakeForm&)> on_create;
  // Messages posted and not yet delivered; the message loop delivers
  // WM_CLOSE to a live form as a close request.
  struct Posted {
    platform::Hwnd window;
    std::uint32_t message;
    std::uint32_t wparam;
    std::int32_t lparam;
  };
  std::vector<Posted> posted;
  FakeForm* FormByHwnd(platform::Hwnd hwnd) const;
  void DeliverPosted();

  // Internal, used by forms and timers.
  void Log(std::string entry) { log.push_back(std::move(entry)); }
  void Register(FakeTimer* timer) { timers_.push_back(timer); }
  void Unregister(FakeTimer* timer);
  void FormGone(FakeForm* form);

 private:
  struct File {
    std::string bytes;
    bool folder = false;
    bool locked = false;
    bool read_only = false;
  };
  // Key: the path as Windows compares it (decoded, separators collapsed,
  // ASCII folded).
  std::string PathKey(std::string_view ansi_path) const;
  File* FindFile(std::string_view ansi_path);
  const File* FindFile(std::string_view ansi_path) const;
  bool FolderExists(std::string_view ansi_path) const;

  Cp932Codec codec_;
  std::string program_folder_;
  std::string arguments_;
  std::map<std::string, File> files_;
  std::map<platform::Hwnd, std::string> foreign_windows_;  // hwnd -> ANSI title
  platform::Hwnd next_hwnd_ = 0x10010;
  std::uint64_t now_ = 0;
  std::vector<FakeTimer*> timers_;
  std::map<platform::Hwnd, platform::Rect> foreign_rects_;
};

}  // namespace fake

// The real adapter: the port on the Win32 API, in its ANSI form.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace win32 {

class Win32Form;

class AnsiCodec : public platform::Codec {
 public:
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view bytes) const override;
};

class Win32Media : public platform::Media {
 public:
  std::uint32_t mciSendStringA(std::string_view command, std::span<char> reply,
                               platform::Hwnd callback) override;
  std::int32_t mciGetErrorStringA(std::uint32_t code, std::span<char> buffer) override;
  std::uint32_t waveOutGetNumDevs() override;
  std::int32_t PlaySoundA(std::optional<std::string_view> sound, std::uint32_t module,
                          std::uint32_t flags) override;
};

// A kernel handle closed when it goes.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE h = nullptr) : h_(h) {}
  ~UniqueHandle() {
    if (h_) CloseHandle(h_);
  }
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      if (h_) CloseHandle(h_);
      h_ = other.h_;
      other.h_ = nullptr;
    }
    return *this;
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

class Win32Processes : public platform::Processes {
 public:
  std::uint32_t Shell(std::string_view path, std::int32_t window_style) override;
  bool ProcessRunning(std::uint32_t task_id) override;

 private:
  // The handles of the processes this program started, kept so that their
  // ids cannot be reused while it asks about them.
  std::map<std::uint32_t, UniqueHandle> started_;
};

class Win32Platform;

// User controls, resource pictures, GradientFill and the pointer calls.
class Win32Controls : public platform::Controls {
 public:
  explicit Win32Controls(Win32Platform& owner) : owner_(owner) {}
  std::unique_ptr<platform::UserControl> Create(platform::Form& parent,
                                                const platform::UserControlDesign& design,
                                                platform::UserControlEvents& events) override;
  std::unique_ptr<platform::Picture> LoadResPicture(std::uint16_t id) override;
  std::int32_t GradientFill(platform::Hdc hdc, std::span<const platform::TriVertex> vertices,
                            std::span<const platform::GradientRect> mesh,
                            std::uint32_t mode) override;
  std::int32_t GetCursorPos(platform::PointApi& point) override;
  platform::Hwnd WindowFromPoint(platform::PointApi point) override;

 private:
  Win32Platform& owner_;
};

class Win32Platform : public platform::Platform, public platform::System, public platform::Forms {
 public:
  explicit Win32Platform(HINSTANCE instance);

  const platform::Codec& codec() override { return codec_; }
  platform::System& system() override { return *this; }
  platform::Forms& forms() override { return *this; }
  platform::Media& media() override { return media_; }
  platform::Processes& processes() override { return processes_; }
  platform::Controls& controls() override { return controls_; }

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

  std::unique_ptr<platform::Form> Create(const platform::FormDesign& design,
                                         platform::FormEvents& events) override;
  void RunMessageLoop() override;
  std::int32_t TwipsPerPixelX() override;
  std::int32_t TwipsPerPixelY() override;

  HINSTANCE instance() const { return instance_; }
  // Forms report here when their window has gone; the last one ends the loop.
  void FormDestroyed(Win32Form* form);
  // A picture resource of the program, decoded once; null when it cannot be.
  HBITMAP Picture(std::uint16_t resource, SIZE& size);

 private:
  HINSTANCE instance_;
  AnsiCodec codec_;
  Win32Media media_;
  Win32Processes processes_;
  std::vector<Win32Form*> forms_;
  struct DecodedPicture {
    HBITMAP bitmap;
    SIZE size;
  };
  std::vector<std::pair<std::uint16_t, DecodedPicture>> pictures_;
  Win32Controls controls_{*this};
};

// Decodes an image file held in memory (JPEG, GIF, BMP) with the system's
// picture loader into a bitmap of ours; null when that fails.
HBITMAP DecodePicture(const void* bytes, std::size_t size, SIZE& pixels);

inline HWND ToHwnd(platform::Hwnd h) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(h));
}
inline platform::Hwnd FromHwnd(HWND h) {
  return static_cast<platform::Hwnd>(reinterpret_cast<UINT_PTR>(h));
}

// A NUL-terminated copy of a byte string for the system.
inline std::string Z(std::string_view s) {
  return std::string(s);
}

}  // namespace win32

// The one port through which the program reaches the system.
//
// Everything here is shaped like the ANSI system calls the program makes:
// byte strings in the ANSI code page, caller-owned fixed buffers with explicit
// lengths, and raw return codes.  The core converts its Unicode texts with the
// codec at every call and never sees a system header.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/media.h"
#include "platform/processes.h"

namespace platform {

// A window handle as the 32-bit system passes it around.
using Hwnd = std::uint32_t;

// A window rectangle in screen coordinates, as GetWindowRect fills it.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// Thrown by the fake's EndProcess so a test regains control; the real adapter
// never returns from EndProcess.  Deliberately not a std::exception, so that
// no handler in the core can swallow it by accident.
struct ProcessEnded {
  std::uint32_t exit_code;
};

// Text conversion between the program's Unicode strings and the ANSI code
// page of the system (Shift-JIS, code page 932, on the target).
class Codec {
 public:
  virtual ~Codec() = default;
  virtual std::string ToAnsi(std::u16string_view text) const = 0;
  virtual std::u16string FromAnsi(std::string_view bytes) const = 0;
};

// Start-up, settings file and window look-up calls.
class System {
 public:
  virtual ~System() = default;

  // FindWindowA with no class name; 0 when no top-level window has the title.
  virtual Hwnd FindWindowA(std::string_view title) = 0;
  // ShowCursor: show is the BOOL passed (any non-zero value shows); returns
  // the new display count.
  virtual std::int32_t ShowCursor(std::int32_t show) = 0;

  // GetPrivateProfileStringA with section, key and default given; writes into
  // buffer (its size is the nSize passed) and returns the count of bytes
  // copied, not counting the terminating NUL.
  virtual std::uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                                 std::string_view default_value,
                                                 std::span<char> buffer, std::string_view file) = 0;
  // WritePrivateProfileStringA with section, key and value given; BOOL result.
  virtual std::int32_t WritePrivateProfileStringA(std::string_view section, std::string_view key,
                                                  std::string_view value,
                                                  std::string_view file) = 0;

  // Opens the file for sequential reading (sharing read and write with other
  // programs) and closes it again at once; true when the open succeeded.
  virtual bool TryOpenForReading(std::string_view path) = 0;

  // The folder of the running program file, with no trailing separator
  // except at a drive root ("C:\").
  virtual std::string ProgramFolder() = 0;
  // The command line less the program's own name and the blank after it.
  virtual std::string CommandArguments() = 0;

  // MessageBoxA; returns the button the user chose (1 for OK).
  virtual std::int32_t MessageBoxA(Hwnd owner, std::string_view text, std::string_view caption,
                                   std::uint32_t style) = 0;

  // Ends the whole process at once; no further event of any window runs.
  [[noreturn]] virtual void EndProcess(std::uint32_t exit_code) = 0;

  // Window calls with handles of any process.  Handles and message
  // parameters are 32-bit values, as the 32-bit system passes them.
  // GetWindowRect: BOOL; rect is left as it was when the call fails.
  virtual std::int32_t GetWindowRect(Hwnd window, Rect& rect) = 0;
  // GetWindowLongA / SetWindowLongA; SetWindowLongA returns the old value,
  // both return 0 for a handle that names no window.
  virtual std::int32_t GetWindowLongA(Hwnd window, std::int32_t index) = 0;
  virtual std::int32_t SetWindowLongA(Hwnd window, std::int32_t index, std::int32_t value) = 0;
  // SetParent: the previous parent (the desktop window for a top-level
  // window), 0 on failure.
  virtual Hwnd SetParent(Hwnd child, Hwnd new_parent) = 0;
  // GetWindow with a GW_ command; 0 when there is no such window.
  virtual Hwnd GetWindow(Hwnd window, std::uint32_t command) = 0;
  // PostMessageA: BOOL.
  virtual std::int32_t PostMessageA(Hwnd window, std::uint32_t message, std::uint32_t wparam,
                                    std::int32_t lparam) = 0;
  // IsWindow: BOOL.
  virtual std::int32_t IsWindow(Hwnd window) = 0;
};

// Constants of the window calls.
inline constexpr std::int32_t kGwlStyle = -16;
inline constexpr std::int32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kGwOwner = 4;
inline constexpr std::uint32_t kWmClose = 0x10;

// Everything the program asks of the system, in one place.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual const Codec& codec() = 0;
  virtual System& system() = 0;
  virtual Forms& forms() = 0;
  virtual Media& media() = 0;
  virtual Processes& processes() = 0;
  virtual Controls& controls() = 0;
};

}  // namespace platform

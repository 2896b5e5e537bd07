// The small forms toolkit of the port: top-level windows with load, resize,
// query-unload and unload events, and the timers they own.
//
// Positions and sizes are in twips (1/1440 inch) unless a name says pixels.
// Texts are Unicode here; the adapter converts them to the ANSI code page
// itself, so windows carry the same ANSI titles that FindWindowA looks for.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

using Hwnd = std::uint32_t;

// Why a form is being unloaded, in the toolkit's numbering.
enum class UnloadReason : std::int16_t {
  ControlMenu = 0,  // the close box or the system menu
  Code = 1,         // the program unloaded it
  AppWindows = 2,   // the session is ending
  TaskManager = 3,
};

enum class Border : std::uint8_t {
  None,         // no border, no title bar
  FixedSingle,  // fixed frame, title bar
};

struct FormDesign {
  std::u16string title;
  std::int32_t client_width = 0;   // twips
  std::int32_t client_height = 0;  // twips
  Border border = Border::FixedSingle;
  bool control_box = true;  // system menu and close box
  bool min_button = false;
  bool max_button = false;
  std::uint32_t back_colour = 0x00C0C0C0;  // 0x00BBGGRR
  std::uint16_t icon = 0;                  // resource id, 0 for none
  bool show_in_taskbar = true;
};

// Event handlers of a form; the toolkit calls them one at a time on the GUI
// thread.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Form_Load() {}
  virtual void Form_Resize() {}
  virtual void Form_QueryUnload(bool& cancel, UnloadReason reason) {
    (void)cancel;
    (void)reason;
  }
  virtual void Form_Unload(bool& cancel) { (void)cancel; }
};

class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(std::uint32_t milliseconds) = 0;
  virtual std::uint32_t Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

// An image control: a picture from the program's resources, drawn at its
// own size from the control's top-left corner and clipped to the control,
// never stretched.  Drawn by its form, it has no window of its own.
class Image {
 public:
  virtual ~Image() = default;
  // Position on the form and size, in pixels.
  virtual void MovePixels(std::int32_t left, std::int32_t top, std::int32_t width,
                          std::int32_t height) = 0;
};

enum class ShowMode : std::uint8_t { Modeless, Modal };

class Form {
 public:
  virtual ~Form() = default;
  virtual Hwnd hWnd() const = 0;

  // Runs Form_Load (the window exists, hidden, from creation on).
  virtual void Load() = 0;
  // Shows the form.  Modal showing returns once the form has been unloaded.
  virtual void Show(ShowMode mode) = 0;
  // Runs Form_QueryUnload and, unless cancelled, Form_Unload, then destroys
  // the window.
  virtual void Unload() = 0;

  // Outer position and size, in twips.
  virtual void Move(std::int32_t left, std::int32_t top, std::int32_t width,
                    std::int32_t height) = 0;

  // A timer owned by the form, ticking on the GUI thread while enabled.
  virtual Timer& AddTimer(std::uint32_t interval_ms, bool enabled,
                          std::function<void()> on_tick) = 0;

  // An image control owned by the form, showing the picture resource with
  // this id; position and size in pixels.
  virtual Image& AddImage(std::uint16_t picture_resource, std::int32_t left, std::int32_t top,
                          std::int32_t width, std::int32_t height) = 0;
};

class Forms {
 public:
  virtual ~Forms() = default;
  // Creates the form's window, hidden; the caller adds its controls and then
  // calls Load.
  virtual std::unique_ptr<Form> Create(const FormDesign& design, FormEvents& events) = 0;
  // Delivers events until the process ends or no form is left.
  virtual void RunMessageLoop() = 0;

  virtual std::int32_t TwipsPerPixelX() = 0;
  virtual std::int32_t TwipsPerPixelY() = 0;
};

}  // namespace platform

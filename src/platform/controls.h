// User controls of the forms toolkit: a child window of a form with its own
// retained drawing surface, one windowless label over it, line elements,
// timers, and the picture, gradient and pointer calls a control draws and
// polls with.
//
// The surface keeps what was drawn until it is cleared; a repaint of the
// window shows the last drawn surface with the label over it.  Positions
// are in the surface's current scale: twips, or pixels while switched.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/forms.h"

namespace platform {

using Hdc = std::uint32_t;

// A font object.  The label holds it by reference: reading a control's font
// gives the very object, and replacing it replaces the reference.
struct Font {
  std::u16string name;
  double size = 9.75;  // points
  std::int16_t weight = 400;
  std::uint8_t charset = 128;
  bool bold = false, italic = false, underline = false, strikethrough = false;
  bool operator==(const Font&) const = default;
};
using FontRef = std::shared_ptr<Font>;

// A colour the toolkit accepts: 0x00BBGGRR, or a system colour 0x800000nn.
inline bool IsValidColour(std::uint32_t colour) {
  return (colour & 0xFF000000u) == 0 ||
         ((colour & 0xFFFFFF00u) == 0x80000000u && (colour & 0xFFu) <= 0x18u);
}

enum class ScaleMode : std::uint8_t { Twips, Pixels };

// GradientFill's records, in the system's layout and meaning.
struct TriVertex {
  std::int32_t x = 0, y = 0;
  std::uint16_t red = 0, green = 0, blue = 0, alpha = 0;
};
struct GradientRect {
  std::uint32_t upper_left = 0, lower_right = 0;
};
}  // namespace platform

// The fill modes under the system's own names (which its header defines as
// macros with the same values).
#ifndef GRADIENT_FILL_RECT_H
#define GRADIENT_FILL_RECT_H 0x00000000
#endif
#ifndef GRADIENT_FILL_RECT_V
#define GRADIENT_FILL_RECT_V 0x00000001
#endif

namespace platform {

struct PointApi {
  std::int32_t x = 0, y = 0;
};

// A picture loaded from the program's resources.
class Picture {
 public:
  virtual ~Picture() = default;
  // The picture's own size in twips.
  virtual double Width() const = 0;
  virtual double Height() const = 0;
};

// The windowless label of a control.
class Label {
 public:
  virtual ~Label() = default;
  virtual void SetCaption(std::u16string caption) = 0;
  virtual const std::u16string& Caption() const = 0;
  virtual void SetFont(FontRef font) = 0;
  virtual FontRef Font() const = 0;
  // False (and the colour kept) when the toolkit refuses the value.
  virtual bool SetForeColor(std::uint32_t colour) = 0;
  virtual std::uint32_t ForeColor() const = 0;
  // A disabled label draws its caption greyed and takes no mouse input.
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void Move(double left, double top, double width, double height) = 0;
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
};

// A line element; the control only ever hides its lines.
class Line {
 public:
  virtual ~Line() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
};

// Event handlers of a user control, called one at a time on the GUI thread.
// Buttons: left 1, right 2, middle 4.  Positions are in the surface's scale.
// A press is followed by its release reported to the same target.
class UserControlEvents {
 public:
  virtual ~UserControlEvents() = default;
  virtual void UserControl_Resize() {}
  virtual void UserControl_GotFocus() {}
  virtual void UserControl_LostFocus() {}
  virtual void UserControl_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void UserControl_MouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void UserControl_MouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  // The same events over the label (when it is enabled).
  virtual void Label_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void Label_MouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void Label_MouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
};

struct LabelDesign {
  std::u16string caption;
  std::uint32_t fore_colour = 0;
  double left = 0, top = 0, width = 0, height = 0;  // twips
};

struct UserControlDesign {
  std::u16string name;
  double left = 0, top = 0, width = 0, height = 0;  // twips, in the form
  LabelDesign label;
  FontRef font;  // the control's font, which the label starts with
};

class UserControl {
 public:
  virtual ~UserControl() = default;
  virtual Hwnd hWnd() const = 0;
  // The window handle of the form that holds the control.
  virtual Hwnd ParentHwnd() const = 0;
  virtual Hdc hDC() const = 0;

  virtual Label& label() = 0;
  virtual Line& AddLine() = 0;
  virtual Timer& AddTimer(std::uint32_t interval_ms, bool enabled,
                          std::function<void()> on_tick) = 0;

  // Place and size in the form, in twips; a size change raises Resize.
  virtual void Move(double left, double top, double width, double height) = 0;

  virtual void SetScaleMode(ScaleMode mode) = 0;
  // The surface's inner size in the current scale.
  virtual double ScaleWidth() const = 0;
  virtual double ScaleHeight() const = 0;
  // 0 transparent, 1 opaque; false (and the style kept) for other values.
  virtual bool SetBackStyle(std::int16_t style) = 0;
  virtual std::int16_t BackStyle() const = 0;

  // Clears the surface to its background colour.
  virtual void Cls() = 0;
  // Shows the surface as drawn so far.
  virtual void Refresh() = 0;
  // Copies the source rectangle of the picture (in the picture's twips) to
  // the destination rectangle (in the surface's scale), stretching.
  virtual void PaintPicture(const Picture& picture, double x, double y, double width, double height,
                            double src_x, double src_y, double src_width, double src_height) = 0;

  // Tells the container that a saved property has changed.
  virtual void PropertyChanged(std::u16string_view name) = 0;
};

// The calls of the control side of the toolkit.
class Controls {
 public:
  virtual ~Controls() = default;
  virtual std::unique_ptr<UserControl> Create(Form& parent, const UserControlDesign& design,
                                              UserControlEvents& events) = 0;
  // A bitmap of the program's resources; nullptr when there is none.
  virtual std::unique_ptr<Picture> LoadResPicture(std::uint16_t id) = 0;

  // msimg32 GradientFill; BOOL result.
  virtual std::int32_t GradientFill(Hdc hdc, std::span<const TriVertex> vertices,
                                    std::span<const GradientRect> mesh, std::uint32_t mode) = 0;
  // user32 GetCursorPos (screen pixels); BOOL result.
  virtual std::int32_t GetCursorPos(PointApi& point) = 0;
  // user32 WindowFromPoint; 0 when no window is there.
  virtual Hwnd WindowFromPoint(PointApi point) = 0;
};

}  // namespace platform

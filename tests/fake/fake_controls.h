// The fake's user controls: child windows of fake forms with a recorded
// drawing surface, a windowless label, lines and timers; the bitmap
// resources of the program; GradientFill; and a pointer and keyboard focus
// a test moves around.
//
// The screen model: a form's client area starts at its left and top (twips,
// 15 to the pixel); a control sits at its place in the form; windows that a
// test adds as covers lie above everything.  A press moves the focus to the
// control under the pointer first and captures the pointer for it, so its
// release (and every move until then) goes to the same target.  Over the
// enabled label, mouse events go to the label's handlers.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"

namespace fake {

class FakePlatform;
class FakeForm;
class FakeTimer;
class FakeControls;

std::string Num(double value);

class FakePicture : public platform::Picture {
 public:
  FakePicture(std::string name, std::int32_t width_px, std::int32_t height_px)
      : name_(std::move(name)), width_px_(width_px), height_px_(height_px) {}
  double Width() const override { return width_px_ * 15.0; }
  double Height() const override { return height_px_ * 15.0; }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::int32_t width_px_, height_px_;
};

class FakeUserControl;

class FakeLabel : public platform::Label {
 public:
  FakeLabel(FakeUserControl& owner, const platform::LabelDesign& design, platform::FontRef font);
  void SetCaption(std::u16string caption) override;
  const std::u16string& Caption() const override { return caption_; }
  void SetFont(platform::FontRef font) override;
  platform::FontRef Font() const override { return font_; }
  bool SetForeColor(std::uint32_t colour) override;
  std::uint32_t ForeColor() const override { return fore_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void Move(double left, double top, double width, double height) override;
  double Left() const override { return left_; }
  double Top() const override { return top_; }
  double Width() const override { return width_; }
  double Height() const override { return height_; }

 private:
  FakeUserControl& owner_;
  std::u16string caption_;
  platform::FontRef font_;
  std::uint32_t fore_;
  bool enabled_ = true;
  double left_, top_, width_, height_;
};

class FakeLine : public platform::Line {
 public:
  FakeLine(FakeUserControl& owner, int index) : owner_(owner), index_(index) {}
  void SetVisible(bool visible) override;
  bool Visible() const override { return visible_; }

 private:
  FakeUserControl& owner_;
  int index_;
  bool visible_ = true;  // parked outside the design area
};

class FakeUserControl : public platform::UserControl {
 public:
  FakeUserControl(FakeControls& owner, FakeForm& parent, const platform::UserControlDesign& design,
                  platform::UserControlEvents& events, platform::Hwnd hwnd);
  ~FakeUserControl() override;

  platform::Hwnd hWnd() const override { return hwnd_; }
  platform::Hwnd ParentHwnd() const override;
  platform::Hdc hDC() const override { return hwnd_ + 1; }
  platform::Label& label() override { return label_; }
  platform::Line& AddLine() override;
  platform::Timer& AddTimer(std::uint32_t interval_ms, bool enabled,
                            std::function<void()> on_tick) override;
  void Move(double left, double top, double width, double height) override;
  void SetScaleMode(platform::ScaleMode mode) override;
  double ScaleWidth() const override;
  double ScaleHeight() const override;
  bool SetBackStyle(std::int16_t style) override;
  std::int16_t BackStyle() const override { return back_style_; }
  void Cls() override;
  void Refresh() override;
  void PaintPicture(const platform::Picture& picture, double x, double y, double width,
                    double height, double src_x, double src_y, double src_width,
                    double src_height) override;
  void PropertyChanged(std::u16string_view name) override;

  const std::string& name() const { return name_; }
  FakeForm& parent() const { return parent_; }
  platform::UserControlEvents& events() { return events_; }
  const FakeLabel& fake_label() const { return label_; }
  double left = 0, top = 0, width = 0, height = 0;  // twips in the form
  void Log(const std::string& entry);

 private:
  FakeControls& owner_;
  FakeForm& parent_;
  std::string name_;
  platform::UserControlEvents& events_;
  platform::Hwnd hwnd_;
  FakeLabel label_;
  platform::ScaleMode scale_ = platform::ScaleMode::Twips;
  std::int16_t back_style_ = 1;
  std::vector<std::unique_ptr<FakeLine>> lines_;
  std::vector<std::unique_ptr<FakeTimer>> timers_;
};

class FakeControls : public platform::Controls {
 public:
  explicit FakeControls(FakePlatform& owner);

  std::unique_ptr<platform::UserControl> Create(platform::Form& parent,
                                                const platform::UserControlDesign& design,
                                                platform::UserControlEvents& events) override;
  std::unique_ptr<platform::Picture> LoadResPicture(std::uint16_t id) override;
  std::int32_t GradientFill(platform::Hdc hdc, std::span<const platform::TriVertex> vertices,
                            std::span<const platform::GradientRect> mesh,
                            std::uint32_t mode) override;
  std::int32_t GetCursorPos(platform::PointApi& point) override;
  platform::Hwnd WindowFromPoint(platform::PointApi point) override;

  // --- Set-up and actions for tests ---

  // Bitmap resources by id: a name for the log and a size in pixels.  The
  // program's own pictures are there from the start.
  struct Resource {
    std::string name;
    std::int32_t width_px, height_px;
  };
  std::map<std::uint16_t, Resource> resources;

  // The pointer, in screen pixels.
  platform::PointApi cursor;
  // Moves the pointer to a point of the control (twips in the control) and
  // reports the move.
  void PointTo(FakeUserControl& control, double x, double y);
  // Moves the pointer to a screen point and reports the move (to the
  // capturing control, or to the control now under the pointer).
  void PointAt(std::int32_t x, std::int32_t y);
  void Press(std::int16_t button, std::int16_t shift = 0);
  void Release(std::int16_t button, std::int16_t shift = 0);
  // Gives the focus to a control (nullptr: to no control of ours).
  void Focus(FakeUserControl* control);
  // The Tab key: the focus to the next control in creation order.
  void Tab();
  // A window of another program lying over the given screen rectangle.
  platform::Hwnd AddCover(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom);

  FakeUserControl* focused = nullptr;
  std::vector<FakeUserControl*> alive;

  // Internal.
  FakePlatform& platform() { return owner_; }
  void Gone(FakeUserControl* control);

 private:
  struct Cover {
    platform::Hwnd hwnd;
    std::int32_t left, top, right, bottom;
  };
  // The control's screen rectangle's origin, in pixels.
  platform::PointApi Origin(const FakeUserControl& control) const;
  FakeUserControl* ControlAt(platform::PointApi point) const;
  // Delivers a mouse event to the label or the control itself.
  enum class Mouse { Down, Move, Up };
  void Deliver(FakeUserControl& control, bool on_label, Mouse kind, std::int16_t button,
               std::int16_t shift);
  bool OverLabel(const FakeUserControl& control) const;

  FakePlatform& owner_;
  std::vector<Cover> covers_;
  FakeUserControl* captured_ = nullptr;
  bool captured_label_ = false;
  std::int16_t held_ = 0;
  platform::Hwnd next_hwnd_ = 0x20010;  // controls and covers
};

}  // namespace fake

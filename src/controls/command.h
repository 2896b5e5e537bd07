// The image push button: a gradient face with a frame cut from one of six
// state pictures and a centred caption; tracks hover, focus and the pressed
// left button, and raises Click.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/property_bag.h"
#include "platform/platform.h"

namespace mirane {

// The control's design font, which the caption starts with.
platform::FontRef DesignFont();

class Command : public platform::UserControlEvents {
 public:
  // Creates the control at its design size at (left, top) of the form.
  // ambient_font is the container's font, the default of the saved "Font".
  Command(platform::Platform& os, platform::Form& parent, std::u16string name, double left,
          double top, platform::FontRef ambient_font);
  ~Command() override;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // --- Public interface ---
  void Initialize();
  std::uint8_t Visible();
  void SetVisible(std::uint8_t value);
  std::uint32_t FontColour();
  void SetFontColour(std::uint32_t value);
  bool Enabled();
  void SetEnabled(bool value);
  std::u16string Caption();
  void SetCaption(std::u16string value);
  platform::FontRef Font();
  void SetFont(platform::FontRef value);

  // The event; the container's handler runs to completion inside it.
  std::function<void()> Click;

  // --- Persistence, called by the container ---
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag);

  // The control's window and surface, for the container to place it.
  platform::UserControl& site() { return *control_; }

  // Fields, readable for the container's tests.
  std::uint8_t ButtonState = 0;
  bool MouseIsDown = false;
  bool IsEnabled = false;
  std::uint8_t FirstRun = 0;
  bool GradientReversed = false;
  std::array<platform::TriVertex, 2> GradientVertices{};
  platform::GradientRect GradientMesh{};

  // --- Toolkit events ---
  void UserControl_Resize() override;
  void UserControl_GotFocus() override;
  void UserControl_LostFocus() override;
  void UserControl_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) override;
  void UserControl_MouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
  void UserControl_MouseUp(std::int16_t button, std::int16_t shift, float x, float y) override;
  void Label_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) override;
  void Label_MouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
  void Label_MouseUp(std::int16_t button, std::int16_t shift, float x, float y) override;
  void TmrMouse_Timer();

 private:
  void RestoreNormalFace();
  void DrawFace(const platform::Picture* picture);
  void PaintGradient();
  void ShowEnabledFace();
  void EndHover();

  platform::Platform& os_;
  platform::FontRef ambient_font_;
  std::unique_ptr<platform::UserControl> control_;
  platform::Label* LblMsg = nullptr;
  platform::Timer* TmrMouse = nullptr;
  std::unique_ptr<platform::Picture> Normal_, HighLight_, Pressed_, Selected_, HighLightSelect_,
      Disable_;
  platform::Line* LeftLine = nullptr;
  platform::Line* TopLine = nullptr;
  platform::Line* BottomLine = nullptr;
  platform::Line* RightLine = nullptr;
};

}  // namespace mirane

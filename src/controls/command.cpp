#include "controls/command.h"

#include "controls/command_resources.h"
#include "settings/numbers.h"

namespace mirane {

namespace {

constexpr double kDesignWidth = 1755;
constexpr double kDesignHeight = 420;
constexpr double kCorner = 60;        // frame corner, twips
constexpr double kStripWidth = 840;   // picture's middle strip: 960 - 2 * 60
constexpr double kStripHeight = 255;  // 375 - 2 * 60
constexpr std::int16_t kLeftButton = 1;

constexpr std::u16string_view kTopColour = u"&HFFFFFF";
constexpr std::u16string_view kBottomColour = u"&HC6C5D7";

// The digits of a number in hexadecimal, without leading zeros.
std::u16string Hex(std::uint32_t value) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out;
  do {
    out.insert(out.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return out;
}

// "&H" + two digits + "00" as a 16-bit value: the channel byte times 256.
std::uint16_t Channel(const std::u16string& digits, std::size_t from) {
  const std::u16string text = u"&H" + digits.substr(std::min(from, digits.size()), 2) + u"00";
  const double v = numbers::LeadingNumber(text);
  return static_cast<std::uint16_t>(static_cast<std::int32_t>(v));
}

void SetColour(platform::TriVertex& vertex, std::u16string_view colour) {
  const auto value = static_cast<std::uint32_t>(numbers::LeadingNumber(colour));
  const std::u16string digits = Hex(value);
  vertex.red = Channel(digits, 0);
  vertex.green = Channel(digits, 2);
  vertex.blue = Channel(digits, 4);
}

}  // namespace

platform::FontRef DesignFont() {
  auto font = std::make_shared<platform::Font>();
  font->name = u"ＭＳ Ｐゴシック";
  font->size = 9.75;
  font->weight = 400;
  font->charset = 128;
  return font;
}

Command::Command(platform::Platform& os, platform::Form& parent, std::u16string name, double left,
                 double top, platform::FontRef ambient_font)
    : os_(os), ambient_font_(std::move(ambient_font)) {
  platform::UserControlDesign design;
  design.name = std::move(name);
  design.left = left;
  design.top = top;
  design.width = kDesignWidth;
  design.height = kDesignHeight;
  design.font = DesignFont();
  design.label.caption = u"Command";
  design.label.fore_colour = 0;
  design.label.left = 0;
  design.label.top = 90;
  design.label.width = 1635;
  design.label.height = 195;
  control_ = os_.controls().Create(parent, design, *this);
  LblMsg = &control_->label();
  TmrMouse = &control_->AddTimer(100, false, [this] { TmrMouse_Timer(); });
  auto& controls = os_.controls();
  Normal_ = controls.LoadResPicture(MIRANE_BMP_NORMAL);
  HighLight_ = controls.LoadResPicture(MIRANE_BMP_HIGHLIGHT);
  Pressed_ = controls.LoadResPicture(MIRANE_BMP_PRESSED);
  Selected_ = controls.LoadResPicture(MIRANE_BMP_SELECTED);
  HighLightSelect_ = controls.LoadResPicture(MIRANE_BMP_HIGHLIGHTSELECT);
  Disable_ = controls.LoadResPicture(MIRANE_BMP_DISABLE);
  LeftLine = &control_->AddLine();
  TopLine = &control_->AddLine();
  BottomLine = &control_->AddLine();
  RightLine = &control_->AddLine();
}

Command::~Command() = default;

// --- Public interface ---

void Command::Initialize() {
  ButtonState = 1;
  TmrMouse->SetEnabled(true);
  TmrMouse->SetInterval(100);
}

std::uint8_t Command::Visible() {
  if (control_->BackStyle() == 0) return 0;
  RestoreNormalFace();
  return 255;
}

void Command::SetVisible(std::uint8_t value) {
  if (value == 0) {
    control_->SetBackStyle(0);
  } else {
    control_->SetBackStyle(1);
    RestoreNormalFace();
  }
  control_->PropertyChanged(u"Visible");
}

std::uint32_t Command::FontColour() {
  const std::uint32_t colour = LblMsg->ForeColor();
  RestoreNormalFace();
  return colour;
}

void Command::SetFontColour(std::uint32_t value) {
  // A refused colour restores the face and leaves the property unchanged.
  if (!LblMsg->SetForeColor(value)) {
    RestoreNormalFace();
    return;
  }
  RestoreNormalFace();
  control_->PropertyChanged(u"FontColour");
}

bool Command::Enabled() {
  if (FirstRun == 0) {
    // A new instance is set up on the first read.
    RestoreNormalFace();
    FirstRun = 1;
    IsEnabled = true;
  }
  const bool result = IsEnabled;
  ShowEnabledFace();
  return result;
}

void Command::SetEnabled(bool value) {
  IsEnabled = value;
  control_->PropertyChanged(u"Enabled");
  ShowEnabledFace();
}

std::u16string Command::Caption() {
  return LblMsg->Caption();
}

void Command::SetCaption(std::u16string value) {
  LblMsg->SetCaption(std::move(value));
  control_->PropertyChanged(u"Caption");
}

platform::FontRef Command::Font() {
  return LblMsg->Font();
}

void Command::SetFont(platform::FontRef value) {
  LblMsg->SetFont(std::move(value));
  control_->PropertyChanged(u"Font");
}

// --- Persistence ---

void Command::ReadProperties(const PropertyBag& bag) {
  // A stored value that does not convert leaves what the target had.
  if (auto v = ToBoolean(bag.ReadProperty(u"Enabled", true))) IsEnabled = *v;
  if (auto v = ToText(bag.ReadProperty(u"Caption", std::u16string(u"Command1"))))
    LblMsg->SetCaption(*v);
  {
    const PropertyValue font = bag.ReadProperty(u"Font", ambient_font_);
    if (const auto* f = std::get_if<platform::FontRef>(&font); f && *f) LblMsg->SetFont(*f);
  }
  if (auto v = ToByte(bag.ReadProperty(u"FirstRun", std::u16string(u"1")))) FirstRun = *v;
  if (auto v = ToInteger32(bag.ReadProperty(u"FontColour", std::u16string(u"0"))))
    LblMsg->SetForeColor(static_cast<std::uint32_t>(*v));
  if (auto v = ToInteger16(bag.ReadProperty(u"Visible", std::u16string(u"1"))))
    control_->SetBackStyle(*v);
  RestoreNormalFace();
}

void Command::WriteProperties(PropertyBag& bag) {
  bag.WriteProperty(u"Enabled", IsEnabled, true);
  bag.WriteProperty(u"Caption", LblMsg->Caption(), std::u16string(u"Command"));
  bag.WriteProperty(u"FirstRun", static_cast<double>(FirstRun), std::u16string(u"1"));
  bag.WriteProperty(u"Font", LblMsg->Font(), ambient_font_);
  bag.WriteProperty(u"FontColour",
                    static_cast<double>(static_cast<std::int32_t>(LblMsg->ForeColor())),
                    std::u16string(u"0"));
  bag.WriteProperty(u"Visible", static_cast<double>(control_->BackStyle()), std::u16string(u"1"));
  RestoreNormalFace();
}

// --- Drawing ---

void Command::RestoreNormalFace() {
  if (!IsEnabled) return;
  LblMsg->SetEnabled(true);
  if (FirstRun == 0) LblMsg->SetForeColor(0);
  DrawFace(Normal_.get());
}

void Command::DrawFace(const platform::Picture* picture) {
  switch (ButtonState) {
    case 1:
    case 3:
      GradientReversed = false;
      break;
    case 2:
      GradientReversed = true;
      break;
    default:
      break;
  }
  const double W = control_->ScaleWidth();
  const double H = control_->ScaleHeight();
  control_->Cls();
  PaintGradient();
  if (picture) {
    auto& c = *control_;
    const auto& p = *picture;
    c.PaintPicture(p, 1, 1, kCorner, kCorner, 0, 0, kCorner, kCorner);
    c.PaintPicture(p, kCorner, 1, W - 2 * kCorner, kCorner, 60, 1, kStripWidth, kCorner);
    c.PaintPicture(p, W - kCorner, 1, kCorner, kCorner, 900, 1, kCorner, kCorner);
    c.PaintPicture(p, W - kCorner, kCorner, kCorner, H - 2 * kCorner, 900, 60, kCorner,
                   kStripHeight);
    c.PaintPicture(p, W - kCorner, H - kCorner, kCorner, kCorner, 900, 315, kCorner, kCorner);
    c.PaintPicture(p, kCorner, H - kCorner, W - 2 * kCorner, kCorner, 60, 315, kStripWidth,
                   kCorner);
    c.PaintPicture(p, 1, H - kCorner, kCorner, kCorner, 0, 315, kCorner, kCorner);
    c.PaintPicture(p, 1, kCorner, kCorner, H - 2 * kCorner, 1, 60, kCorner, kStripHeight);
  }
  control_->Refresh();
  const float top = (static_cast<float>(H) - static_cast<float>(LblMsg->Height()) - 20.0f) / 2.0f;
  LblMsg->Move(0, top, W, LblMsg->Height());
  LeftLine->SetVisible(false);
  TopLine->SetVisible(false);
  RightLine->SetVisible(false);
  BottomLine->SetVisible(false);
}

void Command::PaintGradient() {
  std::u16string_view first = kTopColour;
  std::u16string_view second = kBottomColour;
  if (GradientReversed) std::swap(first, second);
  SetColour(GradientVertices[0], first);
  SetColour(GradientVertices[1], second);
  control_->SetScaleMode(platform::ScaleMode::Pixels);
  GradientVertices[0].x = 0;
  GradientVertices[0].y = 0;
  GradientVertices[1].x = numbers::ToInt32(control_->ScaleWidth() - 1).value_or(0);
  GradientVertices[1].y = numbers::ToInt32(control_->ScaleHeight() - 1).value_or(0);
  GradientMesh.upper_left = 1;
  GradientMesh.lower_right = 0;
  os_.controls().GradientFill(control_->hDC(), GradientVertices,
                              std::span<const platform::GradientRect>(&GradientMesh, 1),
                              GRADIENT_FILL_RECT_V);
  control_->SetScaleMode(platform::ScaleMode::Twips);
  control_->Refresh();
}

void Command::ShowEnabledFace() {
  if (IsEnabled) {
    DrawFace(Normal_.get());
    LblMsg->SetEnabled(true);
  } else {
    DrawFace(Disable_.get());
    LblMsg->SetEnabled(false);
  }
}

// --- Input ---

void Command::UserControl_Resize() {
  ShowEnabledFace();
}

void Command::UserControl_MouseMove(std::int16_t, std::int16_t, float, float) {
  if (!IsEnabled) return;
  if (ButtonState == 1) {
    ButtonState = 2;
    DrawFace(HighLight_.get());
  }
  if (ButtonState == 3 && !MouseIsDown) {
    ButtonState = 4;
    DrawFace(HighLightSelect_.get());
  }
}

void Command::UserControl_MouseDown(std::int16_t button, std::int16_t, float, float) {
  if (!IsEnabled) return;
  if (button == kLeftButton) {
    MouseIsDown = true;
    DrawFace(Pressed_.get());
  }
}

void Command::UserControl_MouseUp(std::int16_t button, std::int16_t, float, float) {
  if (!IsEnabled) return;
  if (button == kLeftButton) {
    MouseIsDown = false;
    if (ButtonState == 2) DrawFace(Normal_.get());
    if (ButtonState == 4) DrawFace(HighLightSelect_.get());
  }
  // Nothing may follow the event: its handler may close the container and
  // destroy this control, so it runs from a copy.
  if (ButtonState != 3 && IsEnabled && Click) {
    const auto handler = Click;
    handler();
  }
}

void Command::UserControl_GotFocus() {
  if (!IsEnabled) return;
  if (ButtonState != 2) {
    ButtonState = 3;
    DrawFace(Selected_.get());
  } else {
    // Focus brought by a click on the hovered button.
    ButtonState = 4;
    DrawFace(Pressed_.get());
  }
}

void Command::UserControl_LostFocus() {
  if (!IsEnabled) return;
  if (ButtonState != 1) {
    ButtonState = 1;
    DrawFace(Normal_.get());
  }
}

void Command::Label_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  UserControl_MouseDown(button, shift, x, y);
}
void Command::Label_MouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  UserControl_MouseMove(button, shift, x, y);
}
void Command::Label_MouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
  UserControl_MouseUp(button, shift, x, y);
}

void Command::TmrMouse_Timer() {
  if (!IsEnabled) return;
  platform::PointApi point;
  os_.controls().GetCursorPos(point);
  const platform::Hwnd under = os_.controls().WindowFromPoint(point);
  if (under == control_->ParentHwnd()) {
    EndHover();
    return;
  }
  if (under != control_->hWnd() && under != control_->ParentHwnd()) EndHover();
}

void Command::EndHover() {
  if (!IsEnabled) return;
  if (ButtonState == 2) {
    ButtonState = 1;
    DrawFace(Normal_.get());
  }
  if (ButtonState == 4) {
    ButtonState = 3;
    DrawFace(Selected_.get());
  }
}

}  // namespace mirane

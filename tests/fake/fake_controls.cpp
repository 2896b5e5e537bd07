#include "fake/fake_controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controls/command_resources.h"
#include "fake/fake_platform.h"

namespace fake {

namespace {

constexpr double kTwips = 15.0;

std::string Hex4(std::uint16_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v);
  return buf;
}

std::string Bool(bool b) {
  return b ? "true" : "false";
}

}  // namespace

std::string Num(double value) {
  if (std::floor(value) == value && std::abs(value) < 1e12) {
    return std::to_string(static_cast<long long>(value));
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", value);
  return buf;
}

// --- Label and lines ---

FakeLabel::FakeLabel(FakeUserControl& owner, const platform::LabelDesign& design,
                     platform::FontRef font)
    : owner_(owner),
      caption_(design.caption),
      font_(std::move(font)),
      fore_(design.fore_colour),
      left_(design.left),
      top_(design.top),
      width_(design.width),
      height_(design.height) {}

void FakeLabel::SetCaption(std::u16string caption) {
  caption_ = std::move(caption);
  owner_.Log("LblMsg.Caption = \"" + Utf8(caption_) + "\"");
}

void FakeLabel::SetFont(platform::FontRef font) {
  font_ = std::move(font);
  owner_.Log("LblMsg.Font = " + (font_ ? Utf8(font_->name) + " " + Num(font_->size) : "Nothing"));
}

bool FakeLabel::SetForeColor(std::uint32_t colour) {
  const bool ok = platform::IsValidColour(colour);
  owner_.Log("LblMsg.ForeColor = " + std::to_string(colour) + (ok ? "" : " -> refused"));
  if (ok) fore_ = colour;
  return ok;
}

void FakeLabel::SetEnabled(bool enabled) {
  enabled_ = enabled;
  owner_.Log("LblMsg.Enabled = " + Bool(enabled));
}

void FakeLabel::Move(double left, double top, double width, double height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  owner_.Log("LblMsg.Move(" + Num(left) + ", " + Num(top) + ", " + Num(width) + ", " + Num(height) +
             ")");
}

void FakeLine::SetVisible(bool visible) {
  visible_ = visible;
  owner_.Log("Line" + std::to_string(index_) + ".Visible = " + Bool(visible));
}

// --- The control ---

FakeUserControl::FakeUserControl(FakeControls& owner, FakeForm& parent,
                                 const platform::UserControlDesign& design,
                                 platform::UserControlEvents& events, platform::Hwnd hwnd)
    : owner_(owner),
      parent_(parent),
      name_(Utf8(design.name)),
      events_(events),
      hwnd_(hwnd),
      label_(*this, design.label, design.font) {
  left = design.left;
  top = design.top;
  width = design.width;
  height = design.height;
}

FakeUserControl::~FakeUserControl() {
  for (auto& t : timers_) owner_.platform().Unregister(t.get());
  owner_.Gone(this);
}

platform::Hwnd FakeUserControl::ParentHwnd() const {
  return parent_.hWnd();
}

void FakeUserControl::Log(const std::string& entry) {
  owner_.platform().Log(name_ + "." + entry);
}

platform::Line& FakeUserControl::AddLine() {
  lines_.push_back(std::make_unique<FakeLine>(*this, static_cast<int>(lines_.size()) + 1));
  return *lines_.back();
}

platform::Timer& FakeUserControl::AddTimer(std::uint32_t interval_ms, bool enabled,
                                           std::function<void()> on_tick) {
  timers_.push_back(
      std::make_unique<FakeTimer>(owner_.platform(), interval_ms, enabled, std::move(on_tick)));
  return *timers_.back();
}

void FakeUserControl::Move(double l, double t, double w, double h) {
  Log("Move(" + Num(l) + ", " + Num(t) + ", " + Num(w) + ", " + Num(h) + ")");
  left = l;
  top = t;
  const bool resized = w != width || h != height;
  width = w;
  height = h;
  if (resized) events_.UserControl_Resize();
}

void FakeUserControl::SetScaleMode(platform::ScaleMode mode) {
  scale_ = mode;
  Log(std::string("ScaleMode = ") + (mode == platform::ScaleMode::Pixels ? "Pixels" : "Twips"));
}

double FakeUserControl::ScaleWidth() const {
  return scale_ == platform::ScaleMode::Pixels ? std::floor(width / kTwips) : width;
}

double FakeUserControl::ScaleHeight() const {
  return scale_ == platform::ScaleMode::Pixels ? std::floor(height / kTwips) : height;
}

bool FakeUserControl::SetBackStyle(std::int16_t style) {
  const bool ok = style == 0 || style == 1;
  Log("BackStyle = " + std::to_string(style) + (ok ? "" : " -> refused"));
  if (ok) back_style_ = style;
  return ok;
}

void FakeUserControl::Cls() {
  Log("Cls()");
}

void FakeUserControl::Refresh() {
  Log("Refresh()");
}

void FakeUserControl::PaintPicture(const platform::Picture& picture, double x, double y, double w,
                                   double h, double sx, double sy, double sw, double sh) {
  const auto* fake = dynamic_cast<const FakePicture*>(&picture);
  Log("PaintPicture(" + (fake ? fake->name() : std::string("?")) + ", " + Num(x) + ", " + Num(y) +
      ", " + Num(w) + ", " + Num(h) + ", " + Num(sx) + ", " + Num(sy) + ", " + Num(sw) + ", " +
      Num(sh) + ")");
}

void FakeUserControl::PropertyChanged(std::u16string_view name) {
  Log("PropertyChanged(\"" + Utf8(name) + "\")");
}

// --- The toolkit side ---

FakeControls::FakeControls(FakePlatform& owner) : owner_(owner) {
  // The program's resource script.
  resources[MIRANE_BMP_NORMAL] = {"Normal", 64, 25};
  resources[MIRANE_BMP_HIGHLIGHT] = {"HighLight", 64, 25};
  resources[MIRANE_BMP_PRESSED] = {"Pressed", 64, 25};
  resources[MIRANE_BMP_SELECTED] = {"Selected", 64, 25};
  resources[MIRANE_BMP_HIGHLIGHTSELECT] = {"HighLightSelect", 64, 25};
  resources[MIRANE_BMP_DISABLE] = {"Disable", 64, 25};
}

std::unique_ptr<platform::UserControl> FakeControls::Create(
    platform::Form& parent, const platform::UserControlDesign& design,
    platform::UserControlEvents& events) {
  auto& form = dynamic_cast<FakeForm&>(parent);
  auto control = std::make_unique<FakeUserControl>(*this, form, design, events, next_hwnd_ += 0x10);
  alive.push_back(control.get());
  owner_.Log("CreateUserControl(\"" + control->name() + "\", " + std::to_string(form.hWnd()) +
             ") -> " + std::to_string(control->hWnd()));
  return control;
}

std::unique_ptr<platform::Picture> FakeControls::LoadResPicture(std::uint16_t id) {
  const auto it = resources.find(id);
  owner_.Log("LoadResPicture(" + std::to_string(id) + ") -> " +
             (it == resources.end() ? std::string("Nothing") : it->second.name));
  if (it == resources.end()) return nullptr;
  return std::make_unique<FakePicture>(it->second.name, it->second.width_px, it->second.height_px);
}

std::int32_t FakeControls::GradientFill(platform::Hdc hdc,
                                        std::span<const platform::TriVertex> vertices,
                                        std::span<const platform::GradientRect> mesh,
                                        std::uint32_t mode) {
  std::string entry = "GradientFill(" + std::to_string(hdc) + ", [";
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const auto& v = vertices[i];
    entry += (i ? ", (" : "(") + std::to_string(v.x) + ", " + std::to_string(v.y) + ", " +
             Hex4(v.red) + ", " + Hex4(v.green) + ", " + Hex4(v.blue) + ", " + Hex4(v.alpha) + ")";
  }
  entry += "], [";
  for (std::size_t i = 0; i < mesh.size(); ++i) {
    entry += (i ? ", (" : "(") + std::to_string(mesh[i].upper_left) + ", " +
             std::to_string(mesh[i].lower_right) + ")";
  }
  bool ok = mode <= GRADIENT_FILL_RECT_V;
  for (const auto& m : mesh) {
    ok = ok && m.upper_left < vertices.size() && m.lower_right < vertices.size();
  }
  entry += "], " + std::to_string(mode) + ") -> " + (ok ? "1" : "0");
  owner_.Log(entry);
  return ok ? 1 : 0;
}

std::int32_t FakeControls::GetCursorPos(platform::PointApi& point) {
  point = cursor;
  owner_.Log("GetCursorPos() -> (" + std::to_string(point.x) + ", " + std::to_string(point.y) +
             ")");
  return 1;
}

platform::Hwnd FakeControls::WindowFromPoint(platform::PointApi point) {
  platform::Hwnd found = 0;
  for (auto it = covers_.rbegin(); it != covers_.rend() && !found; ++it) {
    if (point.x >= it->left && point.x < it->right && point.y >= it->top && point.y < it->bottom)
      found = it->hwnd;
  }
  if (!found) {
    if (FakeUserControl* c = ControlAt(point)) found = c->hWnd();
  }
  if (!found) {
    for (auto it = owner_.forms_alive.rbegin(); it != owner_.forms_alive.rend(); ++it) {
      const FakeForm& f = **it;
      const std::int32_t l = f.left / 15, t = f.top / 15;
      if (point.x >= l && point.x < l + f.width / 15 && point.y >= t &&
          point.y < t + f.height / 15) {
        found = f.hWnd();
        break;
      }
    }
  }
  owner_.Log("WindowFromPoint(" + std::to_string(point.x) + ", " + std::to_string(point.y) +
             ") -> " + std::to_string(found));
  return found;
}

platform::PointApi FakeControls::Origin(const FakeUserControl& c) const {
  return {static_cast<std::int32_t>((c.parent().left + c.left) / kTwips),
          static_cast<std::int32_t>((c.parent().top + c.top) / kTwips)};
}

FakeUserControl* FakeControls::ControlAt(platform::PointApi point) const {
  for (auto it = alive.rbegin(); it != alive.rend(); ++it) {
    FakeUserControl* c = *it;
    if (!c->parent().loaded()) continue;
    const auto o = Origin(*c);
    if (point.x >= o.x && point.x < o.x + c->width / kTwips && point.y >= o.y &&
        point.y < o.y + c->height / kTwips)
      return c;
  }
  return nullptr;
}

bool FakeControls::OverLabel(const FakeUserControl& c) const {
  const auto& l = c.fake_label();
  if (!l.Enabled()) return false;
  const auto o = Origin(c);
  const double x = (cursor.x - o.x) * kTwips, y = (cursor.y - o.y) * kTwips;
  return x >= l.Left() && x < l.Left() + l.Width() && y >= l.Top() && y < l.Top() + l.Height();
}

void FakeControls::Deliver(FakeUserControl& c, bool on_label, Mouse kind, std::int16_t button,
                           std::int16_t shift) {
  const auto o = Origin(c);
  float x = static_cast<float>((cursor.x - o.x) * kTwips);
  float y = static_cast<float>((cursor.y - o.y) * kTwips);
  if (on_label) {
    x -= static_cast<float>(c.fake_label().Left());
    y -= static_cast<float>(c.fake_label().Top());
  }
  static const char* kNames[] = {"MouseDown", "MouseMove", "MouseUp"};
  c.Log(std::string(on_label ? "LblMsg_" : "UserControl_") + kNames[static_cast<int>(kind)] + "(" +
        std::to_string(button) + ", " + std::to_string(shift) + ", " + Num(x) + ", " + Num(y) +
        ")");
  auto& e = c.events();
  switch (kind) {
    case Mouse::Down:
      on_label ? e.Label_MouseDown(button, shift, x, y)
               : e.UserControl_MouseDown(button, shift, x, y);
      break;
    case Mouse::Move:
      on_label ? e.Label_MouseMove(button, shift, x, y)
               : e.UserControl_MouseMove(button, shift, x, y);
      break;
    case Mouse::Up:
      on_label ? e.Label_MouseUp(button, shift, x, y) : e.UserControl_MouseUp(button, shift, x, y);
      break;
  }
}

void FakeControls::PointTo(FakeUserControl& control, double x, double y) {
  const auto o = Origin(control);
  PointAt(o.x + static_cast<std::int32_t>(x / kTwips), o.y + static_cast<std::int32_t>(y / kTwips));
}

void FakeControls::PointAt(std::int32_t x, std::int32_t y) {
  cursor = {x, y};
  if (captured_) {
    Deliver(*captured_, captured_label_, Mouse::Move, held_, 0);
    return;
  }
  // Covers hide what lies below them from the pointer.
  for (const auto& c : covers_) {
    if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return;
  }
  if (FakeUserControl* c = ControlAt(cursor)) Deliver(*c, OverLabel(*c), Mouse::Move, 0, 0);
}

void FakeControls::Press(std::int16_t button, std::int16_t shift) {
  for (const auto& c : covers_) {
    if (cursor.x >= c.left && cursor.x < c.right && cursor.y >= c.top && cursor.y < c.bottom)
      return;
  }
  FakeUserControl* c = captured_ ? captured_ : ControlAt(cursor);
  if (!c) return;
  if (focused != c) Focus(c);
  if (!captured_) {
    captured_ = c;
    captured_label_ = OverLabel(*c);
  }
  held_ = button;
  Deliver(*c, captured_label_, Mouse::Down, button, shift);
}

void FakeControls::Release(std::int16_t button, std::int16_t shift) {
  FakeUserControl* c = captured_;
  bool on_label = captured_label_;
  captured_ = nullptr;
  held_ = 0;
  if (!c) {
    c = ControlAt(cursor);
    if (!c) return;
    on_label = OverLabel(*c);
  }
  Deliver(*c, on_label, Mouse::Up, button, shift);
}

void FakeControls::Focus(FakeUserControl* control) {
  if (control == focused) return;
  FakeUserControl* old = focused;
  focused = control;
  if (old) {
    old->Log("LostFocus");
    old->events().UserControl_LostFocus();
  }
  if (control) {
    control->Log("GotFocus");
    control->events().UserControl_GotFocus();
  }
}

void FakeControls::Tab() {
  if (alive.empty()) return;
  auto it = std::find(alive.begin(), alive.end(), focused);
  if (it == alive.end() || ++it == alive.end()) it = alive.begin();
  Focus(*it);
}

platform::Hwnd FakeControls::AddCover(std::int32_t left, std::int32_t top, std::int32_t right,
                                      std::int32_t bottom) {
  covers_.push_back({next_hwnd_ += 0x10, left, top, right, bottom});
  return covers_.back().hwnd;
}

void FakeControls::Gone(FakeUserControl* control) {
  alive.erase(std::remove(alive.begin(), alive.end(), control), alive.end());
  if (focused == control) focused = nullptr;
  if (captured_ == control) captured_ = nullptr;
}

}  // namespace fake

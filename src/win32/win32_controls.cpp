// User controls on the Win32 API: a child window whose surface is a memory
// bitmap kept between paints, with the windowless label drawn over it on
// every paint.
#include <algorithm>
#include <cmath>
#include <vector>

#include "win32/win32_platform.h"
#include "win32/win32_timer.h"

namespace win32 {

namespace {

constexpr char kControlClass[] = "MiraneUserControl";

HDC ToHdc(platform::Hdc h) {
  // GDI handles carry 32 significant bits, sign-extended on 64-bit systems.
  return reinterpret_cast<HDC>(static_cast<INT_PTR>(static_cast<std::int32_t>(h)));
}
platform::Hdc FromHdc(HDC h) {
  return static_cast<platform::Hdc>(reinterpret_cast<UINT_PTR>(h));
}

COLORREF Colour(std::uint32_t c) {
  if ((c & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFFu));
  return c;
}

int Px(double twips, int tpp) {
  return static_cast<int>(std::lround(twips / tpp));
}

class Win32Picture : public platform::Picture {
 public:
  Win32Picture(HBITMAP bitmap, int width, int height, int tpp_x, int tpp_y)
      : bitmap_(bitmap), width_(width), height_(height), tpp_x_(tpp_x), tpp_y_(tpp_y) {}
  ~Win32Picture() override { DeleteObject(bitmap_); }
  double Width() const override { return width_ * tpp_x_; }
  double Height() const override { return height_ * tpp_y_; }
  HBITMAP bitmap() const { return bitmap_; }
  int tpp_x() const { return tpp_x_; }
  int tpp_y() const { return tpp_y_; }

 private:
  HBITMAP bitmap_;
  int width_, height_, tpp_x_, tpp_y_;
};

class Win32Line : public platform::Line {
 public:
  // Lines stay parked outside the surface, so there is nothing to draw.
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }

 private:
  bool visible_ = true;
};

class Win32UserControl;

class Win32Label : public platform::Label {
 public:
  Win32Label(Win32UserControl& owner, const platform::LabelDesign& d, platform::FontRef font)
      : owner_(owner),
        caption_(d.caption),
        font_(std::move(font)),
        fore_(d.fore_colour),
        left_(d.left),
        top_(d.top),
        width_(d.width),
        height_(d.height) {}
  ~Win32Label() override {
    if (hfont_) DeleteObject(hfont_);
  }
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

  void Draw(HDC dc, int tpp_x, int tpp_y, const platform::Codec& codec);
  bool Contains(int x_px, int y_px, int tpp_x, int tpp_y) const {
    const double x = x_px * tpp_x, y = y_px * tpp_y;
    return x >= left_ && x < left_ + width_ && y >= top_ && y < top_ + height_;
  }

 private:
  void Changed();

  Win32UserControl& owner_;
  std::u16string caption_;
  platform::FontRef font_;
  platform::Font made_for_;
  HFONT hfont_ = nullptr;
  std::uint32_t fore_;
  bool enabled_ = true;
  double left_, top_, width_, height_;
};

class Win32UserControl : public platform::UserControl {
 public:
  Win32UserControl(Win32Platform& os, HWND parent, const platform::UserControlDesign& d,
                   platform::UserControlEvents& events)
      : os_(os), events_(events), label_(*this, d.label, d.font) {
    tpp_x_ = os.TwipsPerPixelX();
    tpp_y_ = os.TwipsPerPixelY();
    window_ =
        CreateWindowExA(0, kControlClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                        Px(d.left, tpp_x_), Px(d.top, tpp_y_), Px(d.width, tpp_x_),
                        Px(d.height, tpp_y_), parent, nullptr, os.instance(), this);
    MakeSurface();
    ready_ = true;
  }
  ~Win32UserControl() override {
    for (auto& t : timers_) t->Detach();
    if (window_) {
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
    DropSurface();
  }

  platform::Hwnd hWnd() const override { return FromHwnd(window_); }
  platform::Hwnd ParentHwnd() const override { return FromHwnd(GetParent(window_)); }
  platform::Hdc hDC() const override { return FromHdc(dc_); }
  platform::Label& label() override { return label_; }
  platform::Line& AddLine() override {
    lines_.push_back(std::make_unique<Win32Line>());
    return *lines_.back();
  }
  platform::Timer& AddTimer(std::uint32_t interval_ms, bool enabled,
                            std::function<void()> on_tick) override {
    timers_.push_back(
        std::make_unique<Win32Timer>(window_, timers_.size() + 1, interval_ms, std::move(on_tick)));
    timers_.back()->SetEnabled(enabled);
    return *timers_.back();
  }
  void Move(double left, double top, double width, double height) override {
    SetWindowPos(window_, nullptr, Px(left, tpp_x_), Px(top, tpp_y_), Px(width, tpp_x_),
                 Px(height, tpp_y_), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetScaleMode(platform::ScaleMode mode) override { scale_ = mode; }
  double ScaleWidth() const override {
    return scale_ == platform::ScaleMode::Pixels ? width_ : width_ * tpp_x_;
  }
  double ScaleHeight() const override {
    return scale_ == platform::ScaleMode::Pixels ? height_ : height_ * tpp_y_;
  }
  bool SetBackStyle(std::int16_t style) override {
    if (style != 0 && style != 1) return false;
    back_style_ = style;
    Invalidate();
    return true;
  }
  std::int16_t BackStyle() const override { return back_style_; }
  void Cls() override {
    RECT r{0, 0, width_, height_};
    FillRect(dc_, &r, GetSysColorBrush(COLOR_BTNFACE));
  }
  void Refresh() override {
    Invalidate();
    UpdateWindow(window_);
  }
  void PaintPicture(const platform::Picture& picture, double x, double y, double width,
                    double height, double sx, double sy, double sw, double sh) override {
    const auto* p = dynamic_cast<const Win32Picture*>(&picture);
    if (!p) return;
    const int tx = scale_ == platform::ScaleMode::Pixels ? 1 : tpp_x_;
    const int ty = scale_ == platform::ScaleMode::Pixels ? 1 : tpp_y_;
    HDC src = CreateCompatibleDC(dc_);
    HGDIOBJ old = SelectObject(src, p->bitmap());
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, Px(x, tx), Px(y, ty), Px(width, tx), Px(height, ty), src, Px(sx, p->tpp_x()),
               Px(sy, p->tpp_y()), Px(sw, p->tpp_x()), Px(sh, p->tpp_y()), SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
  }
  void PropertyChanged(std::u16string_view) override {
    // No designer runs with the program; nothing listens.
  }

  void Invalidate() {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
  }
  const platform::Codec& codec() { return os_.codec(); }

  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        Paint();
        return 0;
      case WM_SIZE: {
        // The size the window is created with is the design size, not a
        // change: the control is not built yet then.
        const int w = LOWORD(lp), h = HIWORD(lp);
        if (!ready_ || (w == width_ && h == height_)) return 0;
        MakeSurface();
        events_.UserControl_Resize();
        return 0;
      }
      case WM_SETFOCUS:
        if (ready_) events_.UserControl_GotFocus();
        return 0;
      case WM_KILLFOCUS:
        if (ready_) events_.UserControl_LostFocus();
        return 0;
      case WM_TIMER:
        for (auto& t : timers_) {
          if (t->id() == wp) {
            t->Tick();
            break;
          }
        }
        return 0;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        return Down(1, wp, lp);
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        return Down(2, wp, lp);
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK:
        return Down(4, wp, lp);
      case WM_LBUTTONUP:
        return Up(1, wp, lp);
      case WM_RBUTTONUP:
        return Up(2, wp, lp);
      case WM_MBUTTONUP:
        return Up(4, wp, lp);
      case WM_MOUSEMOVE: {
        const bool label = captured_ ? captured_label_ : OverLabel(lp);
        Deliver(label, 1, Buttons(wp), wp, lp);
        return 0;
      }
      case WM_NCDESTROY:
        for (auto& t : timers_) t->Detach();
        window_ = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcA(window_, msg, wp, lp);
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* self =
          static_cast<Win32UserControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
      self->window_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32UserControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || self->window_ != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
    return self->Handle(msg, wp, lp);
  }

 private:
  static std::int16_t Buttons(WPARAM wp) {
    return static_cast<std::int16_t>(((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) |
                                     ((wp & MK_MBUTTON) ? 4 : 0));
  }
  static std::int16_t Shift(WPARAM wp) {
    return static_cast<std::int16_t>(((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) |
                                     ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
  }
  bool OverLabel(LPARAM lp) const {
    const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
    return label_.Enabled() && label_.Contains(x, y, tpp_x_, tpp_y_);
  }
  // kind: 0 down, 1 move, 2 up.
  void Deliver(bool on_label, int kind, std::int16_t button, WPARAM wp, LPARAM lp) {
    float x = static_cast<float>(static_cast<short>(LOWORD(lp)) * tpp_x_);
    float y = static_cast<float>(static_cast<short>(HIWORD(lp)) * tpp_y_);
    const std::int16_t shift = Shift(wp);
    if (on_label) {
      x -= static_cast<float>(label_.Left());
      y -= static_cast<float>(label_.Top());
      if (kind == 0) events_.Label_MouseDown(button, shift, x, y);
      if (kind == 1) events_.Label_MouseMove(button, shift, x, y);
      if (kind == 2) events_.Label_MouseUp(button, shift, x, y);
    } else {
      if (kind == 0) events_.UserControl_MouseDown(button, shift, x, y);
      if (kind == 1) events_.UserControl_MouseMove(button, shift, x, y);
      if (kind == 2) events_.UserControl_MouseUp(button, shift, x, y);
    }
  }
  LRESULT Down(std::int16_t button, WPARAM wp, LPARAM lp) {
    HWND self = window_;
    if (GetFocus() != self) SetFocus(self);
    if (!window_) return 0;
    if (!captured_) {
      captured_ = true;
      captured_label_ = OverLabel(lp);
      SetCapture(self);
    }
    Deliver(captured_label_, 0, button, wp, lp);
    return 0;
  }
  LRESULT Up(std::int16_t button, WPARAM wp, LPARAM lp) {
    const bool label = captured_ ? captured_label_ : OverLabel(lp);
    if (captured_ && Buttons(wp) == 0) {
      captured_ = false;
      ReleaseCapture();
    }
    // The handler may destroy this control; nothing follows it.
    Deliver(label, 2, button, wp, lp);
    return 0;
  }

  void MakeSurface() {
    RECT r{};
    if (window_) GetClientRect(window_, &r);
    DropSurface();
    width_ = r.right;
    height_ = r.bottom;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, std::max(1, width_), std::max(1, height_));
    ReleaseDC(nullptr, screen);
    old_bitmap_ = SelectObject(dc_, bitmap_);
    Cls();
  }
  void DropSurface() {
    if (!dc_) return;
    SelectObject(dc_, old_bitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
  }
  void Paint() {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window_, &ps);
    HDC frame = CreateCompatibleDC(screen);
    HBITMAP bits = CreateCompatibleBitmap(screen, std::max(1, width_), std::max(1, height_));
    HGDIOBJ old = SelectObject(frame, bits);
    if (back_style_ != 0) {
      BitBlt(frame, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    } else {
      // Transparent: the form's ground shows through, the face does not.
      POINT at{0, 0};
      MapWindowPoints(window_, GetParent(window_), &at, 1);
      POINT prev;
      SetViewportOrgEx(frame, -at.x, -at.y, &prev);
      SendMessageA(GetParent(window_), WM_ERASEBKGND, reinterpret_cast<WPARAM>(frame), 0);
      SetViewportOrgEx(frame, prev.x, prev.y, nullptr);
    }
    label_.Draw(frame, tpp_x_, tpp_y_, os_.codec());
    BitBlt(screen, 0, 0, width_, height_, frame, 0, 0, SRCCOPY);
    SelectObject(frame, old);
    DeleteObject(bits);
    DeleteDC(frame);
    EndPaint(window_, &ps);
  }

  Win32Platform& os_;
  platform::UserControlEvents& events_;
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
  int tpp_x_ = 15, tpp_y_ = 15;
  platform::ScaleMode scale_ = platform::ScaleMode::Twips;
  std::int16_t back_style_ = 1;
  bool ready_ = false;
  bool captured_ = false;
  bool captured_label_ = false;
  Win32Label label_;
  std::vector<std::unique_ptr<Win32Line>> lines_;
  std::vector<std::unique_ptr<Win32Timer>> timers_;
};

void Win32Label::Changed() {
  owner_.Invalidate();
}
void Win32Label::SetCaption(std::u16string caption) {
  caption_ = std::move(caption);
  Changed();
}
void Win32Label::SetFont(platform::FontRef font) {
  font_ = std::move(font);
  Changed();
}
bool Win32Label::SetForeColor(std::uint32_t colour) {
  if (!platform::IsValidColour(colour)) return false;
  fore_ = colour;
  Changed();
  return true;
}
void Win32Label::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed();
}
void Win32Label::Move(double left, double top, double width, double height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void Win32Label::Draw(HDC dc, int tpp_x, int tpp_y, const platform::Codec& codec) {
  if (font_ && (!hfont_ || !(made_for_ == *font_))) {
    if (hfont_) DeleteObject(hfont_);
    made_for_ = *font_;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int height = -static_cast<int>(std::lround(font_->size * dpi / 72.0));
    hfont_ = CreateFontA(height, 0, 0, 0, font_->bold ? FW_BOLD : font_->weight, font_->italic,
                         font_->underline, font_->strikethrough, font_->charset, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         codec.ToAnsi(font_->name).c_str());
  }
  HGDIOBJ old = hfont_ ? SelectObject(dc, hfont_) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  const std::string text = codec.ToAnsi(caption_);
  RECT r{Px(left_, tpp_x), Px(top_, tpp_y), Px(left_ + width_, tpp_x), Px(top_ + height_, tpp_y)};
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  if (enabled_) {
    SetTextColor(dc, Colour(fore_));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  } else {
    // Greyed the way disabled captions are: a light copy below and right.
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  }
  if (old) SelectObject(dc, old);
}

}  // namespace

std::unique_ptr<platform::UserControl> Win32Controls::Create(
    platform::Form& parent, const platform::UserControlDesign& design,
    platform::UserControlEvents& events) {
  static const bool registered = [this] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32UserControl::Proc;
    wc.hInstance = owner_.instance();
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    wc.lpszClassName = kControlClass;
    return RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
  return std::make_unique<Win32UserControl>(owner_, ToHwnd(parent.hWnd()), design, events);
}

std::unique_ptr<platform::Picture> Win32Controls::LoadResPicture(std::uint16_t id) {
  auto* bitmap = static_cast<HBITMAP>(
      LoadImageA(owner_.instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return nullptr;
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  return std::make_unique<Win32Picture>(bitmap, info.bmWidth, info.bmHeight,
                                        owner_.TwipsPerPixelX(), owner_.TwipsPerPixelY());
}

std::int32_t Win32Controls::GradientFill(platform::Hdc hdc,
                                         std::span<const platform::TriVertex> vertices,
                                         std::span<const platform::GradientRect> mesh,
                                         std::uint32_t mode) {
  std::vector<TRIVERTEX> v(vertices.size());
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    v[i].x = vertices[i].x;
    v[i].y = vertices[i].y;
    v[i].Red = vertices[i].red;
    v[i].Green = vertices[i].green;
    v[i].Blue = vertices[i].blue;
    v[i].Alpha = vertices[i].alpha;
  }
  std::vector<GRADIENT_RECT> m(mesh.size());
  for (std::size_t i = 0; i < mesh.size(); ++i) {
    m[i].UpperLeft = mesh[i].upper_left;
    m[i].LowerRight = mesh[i].lower_right;
  }
  return ::GradientFill(ToHdc(hdc), v.data(), static_cast<ULONG>(v.size()), m.data(),
                        static_cast<ULONG>(m.size()), mode);
}

std::int32_t Win32Controls::GetCursorPos(platform::PointApi& point) {
  POINT p{};
  const BOOL ok = ::GetCursorPos(&p);
  point = {p.x, p.y};
  return ok;
}

platform::Hwnd Win32Controls::WindowFromPoint(platform::PointApi point) {
  return FromHwnd(::WindowFromPoint(POINT{point.x, point.y}));
}

}  // namespace win32

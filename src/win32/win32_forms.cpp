#include <algorithm>
#include <functional>

#include "win32/win32_platform.h"
#include "win32/win32_timer.h"

namespace win32 {

namespace {

constexpr char kFormClass[] = "MiraneForm";

// An image control: windowless, drawn by its form.
class Win32Image : public platform::Image {
 public:
  Win32Image(HWND form, HBITMAP picture, SIZE picture_size, RECT where)
      : form_(form), picture_(picture), picture_size_(picture_size), where_(where) {}

  void MovePixels(std::int32_t left, std::int32_t top, std::int32_t width,
                  std::int32_t height) override {
    Invalidate();
    where_ = {left, top, left + width, top + height};
    Invalidate();
  }

  // At its own size from the top-left corner, clipped to the control.
  void Paint(HDC dc) const {
    if (!picture_) return;
    const int w = std::min<LONG>(picture_size_.cx, where_.right - where_.left);
    const int h = std::min<LONG>(picture_size_.cy, where_.bottom - where_.top);
    if (w <= 0 || h <= 0) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_);
    BitBlt(dc, where_.left, where_.top, w, h, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  void Detach() { form_ = nullptr; }

 private:
  void Invalidate() {
    if (form_) InvalidateRect(form_, &where_, TRUE);
  }

  HWND form_;
  HBITMAP picture_;  // owned by the platform
  SIZE picture_size_;
  RECT where_;
};

}  // namespace

class Win32Form : public platform::Form {
 public:
  Win32Form(Win32Platform& owner, const platform::FormDesign& design, platform::FormEvents& events)
      : owner_(owner), events_(events) {
    const DWORD style = design.border == platform::Border::None
                            ? WS_POPUP | WS_CLIPCHILDREN
                            : WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN |
                                  (design.control_box ? WS_SYSMENU : 0) |
                                  (design.min_button ? WS_MINIMIZEBOX : 0) |
                                  (design.max_button ? WS_MAXIMIZEBOX : 0);
    const DWORD ex_style = design.show_in_taskbar ? 0 : WS_EX_TOOLWINDOW;
    RECT r{0, 0, design.client_width / owner.TwipsPerPixelX(),
           design.client_height / owner.TwipsPerPixelY()};
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
    background_ = CreateSolidBrush(design.back_colour);
    window_ = CreateWindowExA(ex_style, kFormClass, owner.codec().ToAnsi(design.title).c_str(),
                              style, 0, 0, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                              owner.instance(), this);
    if (design.icon != 0 && window_) {
      HICON icon = LoadIconA(owner.instance(), MAKEINTRESOURCEA(design.icon));
      SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
      SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
  }

  ~Win32Form() override {
    for (auto& t : timers_) t->Detach();
    if (window_) {
      HWND w = window_;
      Forget();
      DestroyWindow(w);
    }
    DeleteObject(background_);
  }

  platform::Hwnd hWnd() const override { return FromHwnd(window_); }

  void Load() override { events_.Form_Load(); }

  void Show(platform::ShowMode mode) override {
    if (!window_) return;
    const bool first = !shown_;
    shown_ = true;
    ShowWindow(window_, SW_SHOWNORMAL);
    if (first) events_.Form_Resize();
    if (mode != platform::ShowMode::Modal) return;
    MSG msg;
    while (window_) {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got <= 0) {
        if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (!IsDialogMessageA(window_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }

  void Unload() override { RequestClose(platform::UnloadReason::Code); }

  void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override {
    const int tx = owner_.TwipsPerPixelX();
    const int ty = owner_.TwipsPerPixelY();
    SetWindowPos(window_, nullptr, left / tx, top / ty, width / tx, height / ty,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  platform::Timer& AddTimer(std::uint32_t interval_ms, bool enabled,
                            std::function<void()> on_tick) override {
    timers_.push_back(
        std::make_unique<Win32Timer>(window_, timers_.size() + 1, interval_ms, std::move(on_tick)));
    timers_.back()->SetEnabled(enabled);
    return *timers_.back();
  }

  platform::Image& AddImage(std::uint16_t picture_resource, std::int32_t left, std::int32_t top,
                            std::int32_t width, std::int32_t height) override {
    SIZE size{0, 0};
    HBITMAP picture = owner_.Picture(picture_resource, size);
    images_.push_back(std::make_unique<Win32Image>(window_, picture, size,
                                                   RECT{left, top, left + width, top + height}));
    return *images_.back();
  }

  void RequestClose(platform::UnloadReason reason) {
    if (!window_) return;
    bool cancel = false;
    events_.Form_QueryUnload(cancel, reason);
    if (cancel || !window_) return;
    events_.Form_Unload(cancel);
    if (cancel || !window_) return;
    HWND w = window_;
    Forget();
    DestroyWindow(w);
  }

  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_CLOSE:
        RequestClose(platform::UnloadReason::ControlMenu);
        return 0;
      case WM_QUERYENDSESSION:
        RequestClose(platform::UnloadReason::AppWindows);
        return TRUE;
      case WM_ENDSESSION:
        if (wp) RequestClose(platform::UnloadReason::AppWindows);
        return 0;
      case WM_TIMER:
        for (auto& t : timers_) {
          if (t->id() == wp) {
            t->Tick();
            break;
          }
        }
        return 0;
      case WM_SIZE:
        if (shown_ && wp != SIZE_MINIMIZED) events_.Form_Resize();
        return 0;
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, background_);
        return 1;
      }
      case WM_PAINT: {
        if (images_.empty()) break;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        for (const auto& image : images_) image->Paint(dc);
        EndPaint(window_, &ps);
        return 0;
      }
      case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT r;
        GetClientRect(window_, &r);
        FillRect(dc, &r, background_);
        for (const auto& image : images_) image->Paint(dc);
        return 0;
      }
      case WM_NCDESTROY:
        Forget();
        break;
      default:
        break;
    }
    return DefWindowProcA(window_, msg, wp, lp);
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
      self->window_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || self->window_ != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
    return self->Handle(msg, wp, lp);
  }

 private:
  // The window is going or gone: stop the timers and tell the toolkit.
  void Forget() {
    if (!window_) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    for (auto& t : timers_) t->Detach();
    for (auto& image : images_) image->Detach();
    window_ = nullptr;
    owner_.FormDestroyed(this);
  }

  Win32Platform& owner_;
  platform::FormEvents& events_;
  HWND window_ = nullptr;
  HBRUSH background_ = nullptr;
  bool shown_ = false;
  std::vector<std::unique_ptr<Win32Timer>> timers_;
  std::vector<std::unique_ptr<Win32Image>> images_;
};

std::unique_ptr<platform::Form> Win32Platform::Create(const platform::FormDesign& design,
                                                      platform::FormEvents& events) {
  static const bool registered = [this] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Win32Form::Proc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    wc.lpszClassName = kFormClass;
    return RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
  auto form = std::make_unique<Win32Form>(*this, design, events);
  forms_.push_back(form.get());
  return form;
}

void Win32Platform::FormDestroyed(Win32Form* form) {
  const auto it = std::find(forms_.begin(), forms_.end(), form);
  if (it == forms_.end()) return;
  forms_.erase(it);
  if (forms_.empty()) PostQuitMessage(0);
}

void Win32Platform::RunMessageLoop() {
  if (forms_.empty()) return;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace win32

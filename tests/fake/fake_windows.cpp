// The window calls of the fake: windows of other programs with their
// rectangles, the styles and parents of our forms, posted messages.
#include <cstdio>

#include "fake/fake_platform.h"

namespace fake {

namespace {

constexpr std::int32_t kWsPopup = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t kWsVisible = 0x10000000;
constexpr std::int32_t kWsClipChildren = 0x02000000;
constexpr std::int32_t kWsCaption = 0x00C00000;
constexpr std::int32_t kWsSysMenu = 0x00080000;
constexpr std::int32_t kWsMinimizeBox = 0x00020000;
constexpr std::int32_t kWsMaximizeBox = 0x00010000;
constexpr std::uint32_t kGwChild = 5;

std::string Hex(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

std::string RectText(const platform::Rect& r) {
  return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + "}";
}

}  // namespace

// The style the real adapter gives a new form's window.
std::int32_t InitialStyle(const platform::FormDesign& design) {
  if (design.border == platform::Border::None) return kWsPopup | kWsClipChildren;
  return kWsCaption | kWsClipChildren | (design.control_box ? kWsSysMenu : 0) |
         (design.min_button ? kWsMinimizeBox : 0) | (design.max_button ? kWsMaximizeBox : 0);
}

void SetVisibleStyle(FakeForm& form, bool visible) {
  form.style = visible ? form.style | kWsVisible : form.style & ~kWsVisible;
}

platform::Hwnd FakePlatform::AddForeignWindow(std::string_view title_utf8, platform::Rect rect,
                                              platform::Hwnd hwnd) {
  if (hwnd == 0) hwnd = next_hwnd_ += 0x10;
  foreign_windows_[hwnd] = Sjis(title_utf8);
  foreign_rects_[hwnd] = rect;
  return hwnd;
}

void FakePlatform::DestroyForeignWindow(platform::Hwnd hwnd) {
  foreign_windows_.erase(hwnd);
  foreign_rects_.erase(hwnd);
  const std::vector<FakeForm*> forms = forms_alive;
  for (FakeForm* form : forms) {
    if (form->parent == hwnd) form->WindowDestroyed();
  }
}

FakeForm* FakePlatform::FormByHwnd(platform::Hwnd hwnd) const {
  for (FakeForm* form : forms_alive) {
    if (form->hWnd() == hwnd) return form;
  }
  return nullptr;
}

std::int32_t FakePlatform::IsWindow(platform::Hwnd window) {
  const bool found =
      window != 0 && (foreign_windows_.count(window) || FormByHwnd(window) || window == kDesktop);
  Log("IsWindow(" + std::to_string(window) + ") -> " + (found ? "1" : "0"));
  return found ? 1 : 0;
}

std::int32_t FakePlatform::GetWindowRect(platform::Hwnd window, platform::Rect& rect) {
  std::int32_t result = 0;
  if (foreign_windows_.count(window)) {
    const auto it = foreign_rects_.find(window);
    rect = it == foreign_rects_.end() ? platform::Rect{} : it->second;
    result = 1;
  } else if (FakeForm* form = FormByHwnd(window)) {
    platform::Rect origin;
    if (const auto it = foreign_rects_.find(form->parent); it != foreign_rects_.end()) {
      origin = it->second;
    }
    rect.left = origin.left + form->left / TwipsPerPixelX();
    rect.top = origin.top + form->top / TwipsPerPixelY();
    rect.right = rect.left + form->width / TwipsPerPixelX();
    rect.bottom = rect.top + form->height / TwipsPerPixelY();
    result = 1;
  }
  Log("GetWindowRect(" + std::to_string(window) + ") -> " + std::to_string(result) +
      (result ? " " + RectText(rect) : ""));
  return result;
}

std::int32_t FakePlatform::GetWindowLongA(platform::Hwnd window, std::int32_t index) {
  std::int32_t result = 0;
  if (index == platform::kGwlStyle) {
    if (FakeForm* form = FormByHwnd(window)) {
      result = form->style;
    } else if (foreign_windows_.count(window)) {
      result = platform::kWsChild | kWsVisible;
    }
  }
  Log("GetWindowLongA(" + std::to_string(window) + ", " + std::to_string(index) + ") -> " +
      Hex(result));
  return result;
}

std::int32_t FakePlatform::SetWindowLongA(platform::Hwnd window, std::int32_t index,
                                          std::int32_t value) {
  std::int32_t result = 0;
  if (FakeForm* form = FormByHwnd(window); form && index == platform::kGwlStyle) {
    result = form->style;
    form->style = value;
  }
  Log("SetWindowLongA(" + std::to_string(window) + ", " + std::to_string(index) + ", " +
      Hex(value) + ") -> " + Hex(result));
  return result;
}

platform::Hwnd FakePlatform::SetParent(platform::Hwnd child, platform::Hwnd new_parent) {
  platform::Hwnd result = 0;
  FakeForm* form = FormByHwnd(child);
  const bool parent_ok = new_parent == 0 || foreign_windows_.count(new_parent) ||
                         (FormByHwnd(new_parent) && new_parent != child);
  if (form && parent_ok) {
    result = form->parent ? form->parent : kDesktop;
    form->parent = new_parent == kDesktop ? 0 : new_parent;
  }
  Log("SetParent(" + std::to_string(child) + ", " + std::to_string(new_parent) + ") -> " +
      std::to_string(result));
  return result;
}

platform::Hwnd FakePlatform::GetWindow(platform::Hwnd window, std::uint32_t command) {
  platform::Hwnd result = 0;
  // Our forms have no owner.  The children of a pane are the forms put in it.
  if (command == kGwChild) {
    for (FakeForm* form : forms_alive) {
      if (window != 0 && form->parent == window) {
        result = form->hWnd();
        break;
      }
    }
  }
  Log("GetWindow(" + std::to_string(window) + ", " + std::to_string(command) + ") -> " +
      std::to_string(result));
  return result;
}

std::int32_t FakePlatform::PostMessageA(platform::Hwnd window, std::uint32_t message,
                                        std::uint32_t wparam, std::int32_t lparam) {
  const bool ok = window != 0 && (foreign_windows_.count(window) || FormByHwnd(window));
  if (ok) posted.push_back({window, message, wparam, lparam});
  Log("PostMessageA(" + std::to_string(window) + ", " + Hex(static_cast<std::int32_t>(message)) +
      ", " + std::to_string(wparam) + ", " + std::to_string(lparam) + ") -> " + (ok ? "1" : "0"));
  return ok ? 1 : 0;
}

void FakePlatform::DeliverPosted() {
  while (!posted.empty()) {
    const Posted p = posted.front();
    posted.erase(posted.begin());
    // Messages to a window that has gone since are dropped with it.
    if (FakeForm* form = FormByHwnd(p.window); form && p.message == platform::kWmClose) {
      form->RequestClose(platform::UnloadReason::ControlMenu);
    }
  }
}

// --- Images and forms destroyed from outside ---

void FakeImage::MovePixels(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) {
  owner_.Log("MovePixels(" + std::to_string(resource) + ", " + std::to_string(l) + ", " +
             std::to_string(t) + ", " + std::to_string(w) + ", " + std::to_string(h) + ")");
  left = l;
  top = t;
  width = w;
  height = h;
}

platform::Image& FakeForm::AddImage(std::uint16_t picture_resource, std::int32_t l, std::int32_t t,
                                    std::int32_t w, std::int32_t h) {
  owner_.Log("AddImage(\"" + Utf8(design_.title) + "\", " + std::to_string(picture_resource) +
             ", " + std::to_string(l) + ", " + std::to_string(t) + ", " + std::to_string(w) + ", " +
             std::to_string(h) + ")");
  images.push_back(
      std::make_unique<FakeImage>(owner_, Utf8(design_.title), picture_resource, l, t, w, h));
  return *images.back();
}

void FakeForm::WindowDestroyed() {
  if (!alive_) return;
  owner_.Log("Destroyed(\"" + Utf8(design_.title) + "\")");
  Destroy();
}

}  // namespace fake

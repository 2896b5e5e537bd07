#include <algorithm>
#include <stdexcept>

#include "fake/fake_platform.h"

namespace fake {

namespace {

const char* ReasonName(platform::UnloadReason reason) {
  switch (reason) {
    case platform::UnloadReason::ControlMenu:
      return "ControlMenu";
    case platform::UnloadReason::Code:
      return "Code";
    case platform::UnloadReason::AppWindows:
      return "AppWindows";
    case platform::UnloadReason::TaskManager:
      return "TaskManager";
  }
  return "?";
}

}  // namespace

// In fake_windows.cpp.
std::int32_t InitialStyle(const platform::FormDesign& design);
void SetVisibleStyle(FakeForm& form, bool visible);

// --- Timers ---

FakeTimer::FakeTimer(FakePlatform& owner, std::uint32_t interval, bool enabled,
                     std::function<void()> tick)
    : owner_(owner), interval_(interval), enabled_(false), tick_(std::move(tick)) {
  owner_.Register(this);
  SetEnabled(enabled);
}

void FakeTimer::SetInterval(std::uint32_t milliseconds) {
  interval_ = milliseconds;
  due_ = owner_.now() + interval_;
}

void FakeTimer::SetEnabled(bool enabled) {
  // Enabling a running timer does not restart its interval; enabling a
  // stopped one starts a fresh interval.
  if (enabled && !enabled_) due_ = owner_.now() + interval_;
  enabled_ = enabled;
}

void FakeTimer::Fire() {
  due_ = owner_.now() + interval_;
  if (tick_) tick_();
}

void FakePlatform::Unregister(FakeTimer* timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

void FakePlatform::Advance(std::uint64_t milliseconds) {
  const std::uint64_t target = now_ + milliseconds;
  for (;;) {
    FakeTimer* next = nullptr;
    for (FakeTimer* t : timers_) {
      if (t->Enabled() && t->Interval() > 0 && (!next || t->due() < next->due())) next = t;
    }
    if (!next || next->due() > target) break;
    now_ = std::max(now_, next->due());
    next->Fire();
  }
  now_ = target;
}

void FakePlatform::RunMessageLoop() {
  Log("RunMessageLoop()");
  const std::uint64_t limit = now_ + loop_limit_ms;
  while (!forms_alive.empty() && now_ < limit) {
    DeliverPosted();
    if (forms_alive.empty()) return;
    std::optional<std::uint64_t> due;
    for (FakeTimer* t : timers_) {
      if (t->Enabled() && t->Interval() > 0) due = std::min(due.value_or(t->due()), t->due());
    }
    if (!due) return;  // nothing will ever happen: a real loop would idle here
    Advance(std::max(*due, now_) - now_);
  }
}

// --- Forms ---

std::unique_ptr<platform::Form> FakePlatform::Create(const platform::FormDesign& design,
                                                     platform::FormEvents& events) {
  auto form = std::make_unique<FakeForm>(*this, design, events, next_hwnd_ += 0x10);
  forms_alive.push_back(form.get());
  Log("CreateForm(\"" + Utf8(design.title) + "\") -> " + std::to_string(form->hWnd()));
  if (on_create) on_create(*form);
  return form;
}

FakeForm* FakePlatform::FormByTitle(std::string_view title_utf8) const {
  for (FakeForm* form : forms_alive) {
    if (Utf8(form->design().title) == title_utf8) return form;
  }
  return nullptr;
}

void FakePlatform::FormGone(FakeForm* form) {
  forms_alive.erase(std::remove(forms_alive.begin(), forms_alive.end(), form), forms_alive.end());
}

FakeForm::FakeForm(FakePlatform& owner, const platform::FormDesign& design,
                   platform::FormEvents& events, platform::Hwnd hwnd)
    : owner_(owner), design_(design), events_(events), hwnd_(hwnd) {
  width = design.client_width;
  height = design.client_height;
  style = InitialStyle(design);
}

FakeForm::~FakeForm() {
  for (auto& t : timers_) owner_.Unregister(t.get());
  if (alive_) owner_.FormGone(this);
}

void FakeForm::Load() {
  owner_.Log("Form_Load(\"" + Utf8(design_.title) + "\")");
  events_.Form_Load();
}

void FakeForm::Show(platform::ShowMode mode) {
  const bool first = !visible_;
  visible_ = true;
  SetVisibleStyle(*this, true);
  owner_.Log(std::string("Show(\"") + Utf8(design_.title) + "\", " +
             (mode == platform::ShowMode::Modal ? "Modal" : "Modeless") + ")");
  if (first) events_.Form_Resize();
  if (mode != platform::ShowMode::Modal) return;
  if (owner_.on_modal) {
    owner_.on_modal(*this);
  } else {
    RequestClose(platform::UnloadReason::ControlMenu);
  }
  if (alive_) throw std::logic_error("fake: a modal form was left open by the test script");
}

void FakeForm::Unload() {
  RequestClose(platform::UnloadReason::Code);
}

void FakeForm::RequestClose(platform::UnloadReason reason) {
  if (!alive_) return;
  owner_.Log("Unload(\"" + Utf8(design_.title) + "\", " + ReasonName(reason) + ")");
  bool cancel = false;
  events_.Form_QueryUnload(cancel, reason);
  if (cancel) return;
  events_.Form_Unload(cancel);
  if (cancel) return;
  Destroy();
}

void FakeForm::Destroy() {
  alive_ = false;
  visible_ = false;
  SetVisibleStyle(*this, false);
  for (auto& t : timers_) t->SetEnabled(false);
  owner_.FormGone(this);
}

void FakeForm::Move(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) {
  owner_.Log("Move(\"" + Utf8(design_.title) + "\", " + std::to_string(l) + ", " +
             std::to_string(t) + ", " + std::to_string(w) + ", " + std::to_string(h) + ")");
  left = l;
  top = t;
  const bool resized = w != width || h != height;
  width = w;
  height = h;
  if (resized && visible_) events_.Form_Resize();
}

platform::Timer& FakeForm::AddTimer(std::uint32_t interval_ms, bool enabled,
                                    std::function<void()> on_tick) {
  timers_.push_back(std::make_unique<FakeTimer>(owner_, interval_ms, enabled, std::move(on_tick)));
  return *timers_.back();
}

}  // namespace fake

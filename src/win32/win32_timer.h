// A toolkit timer on a window's WM_TIMER, shared by forms and controls.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/forms.h"

namespace win32 {

class Win32Timer : public platform::Timer {
 public:
  Win32Timer(HWND window, UINT_PTR id, std::uint32_t interval, std::function<void()> tick)
      : window_(window), id_(id), interval_(interval), tick_(std::move(tick)) {}
  ~Win32Timer() override { Stop(); }

  void SetInterval(std::uint32_t milliseconds) override {
    interval_ = milliseconds;
    if (enabled_) Start();
  }
  std::uint32_t Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    enabled ? Start() : Stop();
  }
  bool Enabled() const override { return enabled_; }

  UINT_PTR id() const { return id_; }
  void Tick() {
    if (enabled_ && tick_) tick_();
  }
  void Detach() {
    Stop();
    window_ = nullptr;
  }

 private:
  void Start() {
    // An interval of 0 keeps the timer quiet, as the toolkit's timers do.
    if (window_ && interval_ > 0) SetTimer(window_, id_, interval_, nullptr);
  }
  void Stop() {
    if (window_) KillTimer(window_, id_);
  }

  HWND window_;
  UINT_PTR id_;
  std::uint32_t interval_;
  bool enabled_ = false;
  std::function<void()> tick_;
};

}  // namespace win32

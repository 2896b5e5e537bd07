// The real program's preview mode under Wine, in a pane of another process.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "e2e/wine_support.h"

namespace {

using e2e::Process;
using e2e::Sandbox;

constexpr wchar_t kPreviewTitle[] = L"Preview Window";

// The host helper with its pane.
struct Host {
  Host(int width, int height)
      : process(
            std::make_unique<Process>(e2e::BinDir() + L"\\pane_host.exe",
                                      std::to_wstring(width) + L" " + std::to_wstring(height))) {
    HWND frame = e2e::WaitForWindow(process->pid(), L"MiraneTestHostFrame", nullptr, 15000);
    // The pane is made just after its frame.
    for (DWORD start = GetTickCount(); frame && !pane && GetTickCount() - start < 15000;
         Sleep(20)) {
      pane = GetWindow(frame, GW_CHILD);
    }
  }
  std::wstring Args() const {
    return L"/p " + std::to_wstring(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(pane)));
  }
  // Ends the host's process without destroying its windows first.
  void Kill() { process.reset(); }

  std::unique_ptr<Process> process;
  HWND pane = nullptr;
};

// The preview window once it has become a child of the pane.
HWND WaitForPreview(HWND pane, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    for (const auto& c : e2e::Children(pane)) {
      if (c.text == kPreviewTitle) return c.hwnd;
    }
    Sleep(20);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
}

// How long the process takes to end, in ms, or nullopt beyond the limit.
std::optional<DWORD> TimeToExit(Process& process, DWORD limit) {
  const DWORD start = GetTickCount();
  if (!process.WaitExit(limit)) return std::nullopt;
  return GetTickCount() - start;
}

TEST(Preview, BecomesAChildThatCoversThePane) {
  for (const SIZE size : {SIZE{152, 112}, SIZE{300, 200}, SIZE{80, 60}}) {
    const std::string name = std::to_string(size.cx) + "x" + std::to_string(size.cy);
    Sandbox box(L"プレビュー", false);  // no engine: the preview does not need it
    Host host(size.cx, size.cy);
    ASSERT_NE(host.pane, nullptr) << name;
    Process scr(box.Path(L"ミラネ.scr"), host.Args());
    HWND preview = WaitForPreview(host.pane, 15000);
    ASSERT_NE(preview, nullptr) << name;
    DWORD owner = 0;
    GetWindowThreadProcessId(preview, &owner);
    EXPECT_EQ(owner, scr.pid()) << name;
    // Its other style bits are kept, WS_POPUP among them, so GetParent would
    // answer the owner: ask for the parent itself.
    EXPECT_EQ(GetAncestor(preview, GA_PARENT), host.pane) << name;
    EXPECT_NE(GetWindowLongW(preview, GWL_STYLE) & WS_CHILD, 0) << name;
    EXPECT_NE(GetWindowLongW(preview, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << name;
    // Shown, at the pane's top-left corner, with the pane's size.
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(preview) && GetTickCount() - start < 10000) Sleep(20);
    EXPECT_TRUE(IsWindowVisible(preview)) << name;
    RECT pane_rect, preview_rect, client;
    GetWindowRect(host.pane, &pane_rect);
    GetWindowRect(preview, &preview_rect);
    GetClientRect(preview, &client);
    EXPECT_EQ(preview_rect.left, pane_rect.left) << name;
    EXPECT_EQ(preview_rect.top, pane_rect.top) << name;
    EXPECT_EQ(client.right, size.cx) << name;
    EXPECT_EQ(client.bottom, size.cy) << name;
    EXPECT_EQ(preview_rect.right - preview_rect.left, size.cx) << name;
    EXPECT_EQ(preview_rect.bottom - preview_rect.top, size.cy) << name;
    for (HWND w : e2e::WindowsOf(scr.pid())) {
      EXPECT_NE(e2e::TextOf(w), kPreviewTitle) << name << ": still a top-level window too";
    }

    // The host closes its pane: the preview goes with it.
    PostMessageW(host.pane, WM_CLOSE, 0, 0);
    const auto took = TimeToExit(scr, 20000);
    ASSERT_TRUE(took.has_value()) << name;
    EXPECT_EQ(scr.WaitExit(0), 0u);
    std::printf("[ measured ] %s: the preview ended %lu ms after the pane was closed\n",
                name.c_str(), static_cast<unsigned long>(*took));
  }
}

TEST(Preview, EndsWhenTheHostProcessDies) {
  Sandbox box(L"プレビュー", false);
  Host host(152, 112);
  ASSERT_NE(host.pane, nullptr);
  Process scr(box.Path(L"ミラネ.scr"), host.Args());
  ASSERT_NE(WaitForPreview(host.pane, 15000), nullptr);
  host.Kill();  // the pane is never destroyed by its program
  const auto took = TimeToExit(scr, 20000);
  ASSERT_TRUE(took.has_value());
  EXPECT_EQ(scr.WaitExit(0), 0u);
  std::printf("[ measured ] the preview ended %lu ms after the host process was killed\n",
              static_cast<unsigned long>(*took));
}

TEST(Preview, AHandleThatNamesNoWindowEndsWithoutAWindow) {
  Sandbox box(L"プレビュー", false);
  for (const wchar_t* args : {L"/p 0", L"/p abc", L"/p"}) {
    Process scr(box.Path(L"ミラネ.scr"), args);
    const auto took = TimeToExit(scr, 15000);
    ASSERT_TRUE(took.has_value()) << e2e::Utf8(args);
    EXPECT_EQ(scr.WaitExit(0), 0u) << e2e::Utf8(args);
    std::printf("[ measured ] %s ended after %lu ms\n", e2e::Utf8(args).c_str(),
                static_cast<unsigned long>(*took));
  }
}

TEST(Preview, ARunningSaverEndsAPreviewAtOnce) {
  HWND running = CreateWindowExW(0, L"STATIC", L"Veldan_Main", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  Sandbox box(L"プレビュー", false);
  Host host(152, 112);
  ASSERT_NE(host.pane, nullptr);
  Process scr(box.Path(L"ミラネ.scr"), host.Args());
  EXPECT_EQ(scr.WaitExit(10000), 0u);
  EXPECT_TRUE(e2e::Children(host.pane).empty());
  DestroyWindow(running);
}

}  // namespace

// The real saver run under Wine, with the stand-in engine beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "e2e/wine_support.h"

namespace {

using e2e::Process;
using e2e::Sandbox;

constexpr wchar_t kEngineTitle[] = L"ミラネVC";
constexpr DWORD kStartLimitMs = 20000;  // a cold Wine start can be slow
constexpr DWORD kEndLimitMs = 2000;     // from the engine window's end to the saver's

// An environment variable of this process, and so of the saver and the
// engine it starts, for the length of a test.
class EnvVar {
 public:
  EnvVar(const wchar_t* name, const std::wstring& value) : name_(name) {
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvVar() { SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

HWND WaitForEngineWindow(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    if (HWND w = FindWindowW(nullptr, kEngineTitle)) return w;
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
}

// Closes every engine window a test left behind, so the next test starts
// with none.
void EndEngines() {
  for (int i = 0; i < 200; ++i) {
    HWND w = FindWindowW(nullptr, kEngineTitle);
    if (!w) return;
    PostMessageW(w, WM_CLOSE, 0, 0);
    Sleep(25);
  }
}

struct SaverTest : ::testing::Test {
  void TearDown() override { EndEngines(); }
};

// Closes the engine window as a user would end the animation and answers
// how long the saver took to end after the window had gone, or nullopt.
std::optional<DWORD> CloseEngineAndTimeTheEnd(HWND engine, Process& scr) {
  PostMessageW(engine, WM_KEYDOWN, VK_SPACE, 0);
  while (IsWindow(engine)) Sleep(1);
  const DWORD gone = GetTickCount();
  if (!scr.WaitExit(kEndLimitMs + 8000)) return std::nullopt;
  return GetTickCount() - gone;
}

std::vector<std::string> Lines(const std::optional<std::string>& text) {
  std::vector<std::string> out;
  if (!text) return out;
  std::size_t start = 0;
  for (std::size_t nl; (nl = text->find('\n', start)) != std::string::npos; start = nl + 1) {
    out.push_back(text->substr(start, nl - start));
  }
  return out;
}

TEST_F(SaverTest, TheEngineIsStartedByItsBarePathShownNormally) {
  Sandbox box(L"起動 ソ");
  EnvVar log(L"MIRANE_ENGINE_LOG", box.Path(L"engine.log"));
  Process scr(box.Path(L"ミラネ.scr"), L"/s");
  ASSERT_TRUE(scr.started());
  HWND engine = WaitForEngineWindow(kStartLimitMs);
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(Lines(box.Read(L"engine.log")),
            std::vector<std::string>{e2e::Utf8(box.Path(L"ミラネ.dll")) + "\tshow=1"});
  // The saver's own window is there, hidden, while the engine runs.
  HWND main = FindWindowW(nullptr, L"Veldan_Main");
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_EQ(scr.WaitExit(500), std::nullopt);
  const auto took = CloseEngineAndTimeTheEnd(engine, scr);
  ASSERT_TRUE(took.has_value());
  EXPECT_LT(*took, kEndLimitMs);
  EXPECT_EQ(scr.WaitExit(0), 0u);
}

TEST_F(SaverTest, TheSaverEndsSoonAfterTheEngineWindowCloses) {
  Sandbox box(L"終了");
  std::vector<DWORD> times;
  for (int run = 0; run < 20; ++run) {
    Process scr(box.Path(L"ミラネ.scr"), L"/s");
    HWND engine = WaitForEngineWindow(kStartLimitMs);
    ASSERT_NE(engine, nullptr) << run;
    Sleep(100);
    const auto took = CloseEngineAndTimeTheEnd(engine, scr);
    ASSERT_TRUE(took.has_value()) << run;
    EXPECT_LT(*took, kEndLimitMs) << run;
    times.push_back(*took);
  }
  std::sort(times.begin(), times.end());
  std::printf("saver end after the engine window closed, 20 runs: median %lu ms, worst %lu ms\n",
              static_cast<unsigned long>((times[9] + times[10]) / 2),
              static_cast<unsigned long>(times.back()));
}

TEST_F(SaverTest, AnEngineThatExitsWithoutAWindowEndsTheRun) {
  Sandbox box(L"窓無し");
  EnvVar no_window(L"MIRANE_ENGINE_NO_WINDOW", L"1");
  EnvVar log(L"MIRANE_ENGINE_LOG", box.Path(L"engine.log"));
  Process scr(box.Path(L"ミラネ.scr"), L"/s");
  EXPECT_EQ(scr.WaitExit(kStartLimitMs), 0u);
  EXPECT_EQ(Lines(box.Read(L"engine.log")).size(), 1u);  // it did start
}

TEST_F(SaverTest, AnEngineThatCrashesAfterItsWindowEndsTheRun) {
  Sandbox box(L"異常終了");
  EnvVar crash(L"MIRANE_ENGINE_CRASH_MS", L"1500");
  Process scr(box.Path(L"ミラネ.scr"), L"/s");
  HWND engine = WaitForEngineWindow(kStartLimitMs);
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(scr.WaitExit(500), std::nullopt);
  while (IsWindow(engine)) Sleep(1);
  const DWORD gone = GetTickCount();
  ASSERT_EQ(scr.WaitExit(kEndLimitMs + 8000), 0u);
  EXPECT_LT(GetTickCount() - gone, kEndLimitMs);
}

TEST_F(SaverTest, ALateEngineWindowDoesNotEndTheRun) {
  Sandbox box(L"遅延");
  EnvVar delay(L"MIRANE_ENGINE_DELAY_MS", L"2000");
  Process scr(box.Path(L"ミラネ.scr"), L"/s");
  ASSERT_TRUE(scr.started());
  // No engine window for two seconds, and the saver keeps waiting.
  EXPECT_EQ(scr.WaitExit(1500), std::nullopt);
  HWND engine = WaitForEngineWindow(kStartLimitMs);
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(scr.WaitExit(1000), std::nullopt);
  const auto took = CloseEngineAndTimeTheEnd(engine, scr);
  ASSERT_TRUE(took.has_value());
  EXPECT_LT(*took, kEndLimitMs);
}

TEST_F(SaverTest, ASecondSaverStartEndsAtOnceAndStartsNoEngine) {
  Sandbox box(L"二重");
  EnvVar log(L"MIRANE_ENGINE_LOG", box.Path(L"engine.log"));
  Process first(box.Path(L"ミラネ.scr"), L"/s");
  HWND engine = WaitForEngineWindow(kStartLimitMs);
  ASSERT_NE(engine, nullptr);
  {
    Process second(box.Path(L"ミラネ.scr"), L"/s");
    EXPECT_EQ(second.WaitExit(10000), 0u);
  }
  Sleep(300);
  EXPECT_EQ(Lines(box.Read(L"engine.log")).size(), 1u);
  EXPECT_EQ(first.WaitExit(0), std::nullopt);
  const auto took = CloseEngineAndTimeTheEnd(engine, first);
  ASSERT_TRUE(took.has_value());
}

TEST_F(SaverTest, ACloseRequestFromOutsideEndsTheSaverAndLeavesTheEngine) {
  Sandbox box(L"外から");
  Process scr(box.Path(L"ミラネ.scr"), L"/s");
  HWND engine = WaitForEngineWindow(kStartLimitMs);
  ASSERT_NE(engine, nullptr);
  HWND main = FindWindowW(nullptr, L"Veldan_Main");
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(scr.WaitExit(10000), 0u);
  EXPECT_TRUE(IsWindow(engine));
}

}  // namespace

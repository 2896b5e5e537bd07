// The real program's start-up under Wine.
#include <gtest/gtest.h>

#include "e2e/wine_support.h"

namespace {

using e2e::Process;
using e2e::Sandbox;

constexpr wchar_t kBoxTitle[] = L"ミラネ (ScreenSaver)";
constexpr wchar_t kBoxText[] = L"ミラネ.dll が ミラネ.scr と同じﾌｫﾙﾀﾞに見つかりません！";

// A window of this test process with the title a running instance has.
struct InstanceWindow {
  explicit InstanceWindow(const wchar_t* title)
      : hwnd(CreateWindowExW(0, L"STATIC", title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {}
  ~InstanceWindow() { DestroyWindow(hwnd); }
  HWND hwnd;
};

TEST(Startup, AMissingEngineIsReportedInTheMessageBoxAndEndsTheProgram) {
  for (const wchar_t* args : {L"/s", L"/c", L"s"}) {
    Sandbox box(L"エンジン無し", false);
    Process scr(box.Path(L"ミラネ.scr"), args);
    ASSERT_TRUE(scr.started());
    HWND dialog = e2e::WaitForWindow(scr.pid(), L"#32770", kBoxTitle, 15000);
    ASSERT_NE(dialog, nullptr) << e2e::Utf8(args);
    int statics_with_text = 0, buttons = 0, icons = 0;
    HWND ok = nullptr;
    for (const auto& c : e2e::Children(dialog)) {
      if (c.cls == L"Static" && (c.style & SS_TYPEMASK) == SS_ICON && c.visible &&
          SendMessageW(c.hwnd, STM_GETICON, 0, 0) != 0) {
        ++icons;
      }
      if (c.cls == L"Static" && !c.text.empty()) {
        ++statics_with_text;
        EXPECT_EQ(c.text, kBoxText);
      }
      if (c.cls == L"Button" && c.visible) {
        ++buttons;
        ok = c.hwnd;
        EXPECT_EQ(c.text, L"OK");
      }
    }
    EXPECT_EQ(statics_with_text, 1);
    EXPECT_EQ(buttons, 1);  // OK only
    EXPECT_EQ(icons, 0);    // no icon
    ASSERT_NE(ok, nullptr);
    // Still waiting for the user.
    EXPECT_EQ(scr.WaitExit(300), std::nullopt);
    PostMessageW(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(scr.WaitExit(15000), 0u) << e2e::Utf8(args);
  }
}

TEST(Startup, ARunningInstanceEndsEveryStartAtOnce) {
  for (const wchar_t* title : {L"Veldan_Main", L"<ミラネ>"}) {
    InstanceWindow running(title);
    // No engine beside it: a start that got past the check would show the
    // message box (or the preview) and stay.
    Sandbox box(L"二重起動", false);
    for (const wchar_t* args : {L"/s", L"/c", L"/p 1", L""}) {
      Process scr(box.Path(L"ミラネ.scr"), args);
      EXPECT_EQ(scr.WaitExit(10000), 0u) << e2e::Utf8(title) << " " << e2e::Utf8(args);
    }
  }
}

TEST(Startup, AnUnknownSwitchEndsWithoutAWindow) {
  Sandbox box(L"不明");
  for (const wchar_t* args : {L"/a", L"s", L"/ s"}) {
    Process scr(box.Path(L"ミラネ.scr"), args);
    EXPECT_EQ(scr.WaitExit(10000), 0u) << e2e::Utf8(args);
  }
}

TEST(Startup, AJapaneseFolderStillFindsTheEngineAndTheSettings) {
  Sandbox box(L"ミラネ 表示ソ");
  box.Copy(L"probe.exe", L"probe.exe");
  box.Write(L"曲 ソ.mp3", "ID3");
  const std::string file = e2e::Utf8(box.Path(L"曲 ソ.mp3"));
  std::wstring wide_file = box.Path(L"曲 ソ.mp3");
  std::string ansi(512, '\0');
  ansi.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_ACP, 0, wide_file.c_str(), -1, ansi.data(), 512, nullptr, nullptr) -
      1));
  box.Write(L"ミラネ.ini", "[Section]\r\n" + std::string("BGM\x8b\xe6\x95\xaa= 2\r\n") +
                               "BGM\xd8\xcb\xdf\xb0\xc4= 7\r\nBGM\xcc\xa7\xb2\xd9=" + ansi +
                               "\r\n");

  Process probe(box.Path(L"probe.exe"), L"/p  12 34");
  ASSERT_EQ(probe.WaitExit(15000), 0u);
  EXPECT_EQ(box.Read(L"probe.txt"),
            "folder=" + e2e::Utf8(box.dir()) +
                "\nargs=/p  12 34\nengine=-1\nkind=2\nrepeat=7\nfile=" + file + "\n");

  Process scr(box.Path(L"ミラネ.scr"), L"/c");
  HWND dialog = e2e::WaitForWindow(scr.pid(), nullptr, L"<ミラネ>", 15000);
  ASSERT_NE(dialog, nullptr);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_EQ(scr.WaitExit(15000), 0u);
}

}  // namespace

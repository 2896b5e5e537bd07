#include <gtest/gtest.h>

#include "harness.h"

namespace {

using fake::Sjis;
using testing_support::kEngine;
using testing_support::kIni;
using testing_support::ProgramRun;

enum class Mode { Preview, Dialog, Saver, SaverCursorShown, Ends };

const char* Name(Mode m) {
  switch (m) {
    case Mode::Preview:
      return "Preview Window";
    case Mode::Dialog:
      return "<ミラネ>";
    default:
      return "Veldan_Main";
  }
}

TEST(Main, TheSwitchCharacterPicksTheMode) {
  const struct {
    const char* args;
    Mode mode;
  } cases[] = {
      {"/s", Mode::Saver},        {"/S", Mode::Saver},        {"-s", Mode::Saver},
      {"/s:1", Mode::Saver},      {"xs", Mode::Saver},        {"", Mode::SaverCursorShown},
      {"/c", Mode::Dialog},       {"/c:1234", Mode::Dialog},  {"/C 99", Mode::Dialog},
      {"/p 1234", Mode::Preview}, {"/P 1234", Mode::Preview}, {"s", Mode::Ends},
      {"/a", Mode::Ends},         {"/", Mode::Ends},          {"/ s", Mode::Ends},
      {"/ｓ", Mode::Ends},
  };
  for (const auto& c : cases) {
    ProgramRun run;
    run.os.AddFile(kEngine, "MZ");
    run.os.AddForeignWindow("", {0, 0, 152, 112}, 1234);  // the host's preview pane
    run.Start(c.args);
    const auto forms = run.os.Calls({"CreateForm"});
    const auto cursor = run.os.Calls({"ShowCursor"});
    switch (c.mode) {
      case Mode::Saver:
      case Mode::SaverCursorShown:
        ASSERT_EQ(forms.size(), 1u) << c.args;
        EXPECT_EQ(forms[0].rfind("CreateForm(\"Veldan_Main\")", 0), 0u) << c.args;
        EXPECT_FALSE(run.os.FormByTitle("Veldan_Main")->visible()) << c.args;
        if (c.mode == Mode::Saver) {
          EXPECT_EQ(cursor, std::vector<std::string>{"ShowCursor(0) -> -1"}) << c.args;
          EXPECT_EQ(run.app.shared.SavedCursorCount, -1) << c.args;
        } else {
          EXPECT_TRUE(cursor.empty()) << c.args;
          EXPECT_FALSE(run.app.shared.SavedCursorCount.has_value());
        }
        break;
      case Mode::Dialog:
      case Mode::Preview:
        ASSERT_EQ(forms.size(), 1u) << c.args;
        EXPECT_EQ(forms[0].rfind(std::string("CreateForm(\"") + Name(c.mode) + "\")", 0), 0u)
            << c.args;
        EXPECT_TRUE(cursor.empty()) << c.args;
        EXPECT_EQ(run.Ended(), c.mode == Mode::Dialog) << c.args;
        break;
      case Mode::Ends:
        EXPECT_TRUE(forms.empty()) << c.args;
        EXPECT_TRUE(cursor.empty()) << c.args;
        EXPECT_TRUE(run.Ended()) << c.args;
        // The settings are read and the engine looked for before it ends.
        EXPECT_EQ(run.os.Calls({"GetPrivateProfileStringA"}).size(), 3u) << c.args;
        EXPECT_EQ(run.os.Calls({"TryOpenForReading"}).size(), 1u) << c.args;
        break;
    }
    EXPECT_TRUE(run.os.message_boxes.empty()) << c.args;
  }
}

TEST(Main, SaverModeCallsInOrder) {
  ProgramRun run;
  run.os.AddFile(kEngine, "MZ");
  run.os.loop_limit_ms = 0;  // the start procedure only, not the saver's watch
  run.Start("/s");
  EXPECT_EQ(run.os.Calls({"FindWindowA", "CommandArguments", "GetPrivateProfileStringA",
                          "TryOpenForReading", "ShowCursor", "CreateForm", "Form_Load",
                          "RunMessageLoop"}),
            (std::vector<std::string>{
                "FindWindowA(NULL, \"Veldan_Main\") -> 0",
                "FindWindowA(NULL, \"<ミラネ>\") -> 0",
                "CommandArguments() -> \"/s\"",
                "GetPrivateProfileStringA(\"Section\", \"BGM区分\", \"\", 256, \"C:\\Program "
                "Files\\ミラネ\\ミラネ.ini\") -> 0",
                "GetPrivateProfileStringA(\"Section\", \"BGMﾘﾋﾟｰﾄ\", \"\", 256, \"C:\\Program "
                "Files\\ミラネ\\ミラネ.ini\") -> 0",
                "GetPrivateProfileStringA(\"Section\", \"BGMﾌｧｲﾙ\", \"\", 256, \"C:\\Program "
                "Files\\ミラネ\\ミラネ.ini\") -> 0",
                "TryOpenForReading(\"C:\\Program Files\\ミラネ\\ミラネ.dll\") -> true",
                "ShowCursor(0) -> -1",
                "CreateForm(\"Veldan_Main\") -> " +
                    std::to_string(run.os.forms_alive.empty() ? 0 : run.os.forms_alive[0]->hWnd()),
                "Form_Load(\"Veldan_Main\")",
                "RunMessageLoop()",
            }));
}

TEST(Main, ARunningInstanceEndsEveryStartAtOnce) {
  for (const char* title : {"Veldan_Main", "<ミラネ>"}) {
    for (const char* args : {"/s", "/c", "/p 1234", "", "/a"}) {
      ProgramRun run;
      run.os.AddFile(kEngine, "MZ");
      run.os.AddForeignWindow(title);
      run.Start(args);
      EXPECT_TRUE(run.Ended()) << title << " " << args;
      // Both look-ups are made; nothing is read or shown.
      ASSERT_EQ(run.os.log.size(), 3u) << title << " " << args;
      EXPECT_EQ(run.os.log[0].rfind("FindWindowA(NULL, \"Veldan_Main\")", 0), 0u);
      EXPECT_EQ(run.os.log[1].rfind("FindWindowA(NULL, \"<ミラネ>\")", 0), 0u);
      EXPECT_EQ(run.os.log[2], "EndProcess(0)");
    }
  }
}

TEST(Main, AMissingEngineIsReportedOutsidePreview) {
  for (const char* args : {"/s", "/c", "", "s", "/a"}) {
    ProgramRun run;
    run.Start(args);
    ASSERT_EQ(run.os.message_boxes.size(), 1u) << args;
    const auto& box = run.os.message_boxes[0];
    EXPECT_EQ(box.text, Sjis("ミラネ.dll が ミラネ.scr と同じﾌｫﾙﾀﾞに見つかりません！"));
    EXPECT_EQ(box.caption, Sjis("ミラネ (ScreenSaver)"));
    EXPECT_EQ(box.style, 0u);  // OK only, no icon
    EXPECT_TRUE(run.Ended());
    EXPECT_EQ(run.os.log.back(), "EndProcess(0)");
    EXPECT_TRUE(run.os.Calls({"CreateForm", "ShowCursor"}).empty()) << args;
  }
}

TEST(Main, PreviewNeedsNeitherSettingsNorEngine) {
  ProgramRun run;
  run.os.AddFile(kIni, Sjis("[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=C:\\a.wav\n"));
  run.os.AddForeignWindow("", {0, 0, 152, 112}, 1234);
  run.Start("/p 1234");
  EXPECT_TRUE(run.os.message_boxes.empty());
  EXPECT_TRUE(
      run.os.Calls({"GetPrivateProfileStringA", "TryOpenForReading", "ProgramFolder"}).empty());
  EXPECT_EQ(run.app.settings.BgmKind, 0);
  ASSERT_NE(run.os.FormByTitle("Preview Window"), nullptr);
}

TEST(Main, TheDialogRunsModallyAndThenTheProgramEnds) {
  ProgramRun run;
  run.os.AddFile(kEngine, "MZ");
  bool shown = false;
  run.os.on_modal = [&](fake::FakeForm& form) {
    shown = true;
    EXPECT_EQ(fake::Utf8(form.design().title), "<ミラネ>");
    form.RequestClose(platform::UnloadReason::ControlMenu);
  };
  run.Start("/c");
  EXPECT_TRUE(shown);
  EXPECT_TRUE(run.Ended());
  EXPECT_EQ(run.os.log.back(), "EndProcess(0)");
}

TEST(Main, ArgumentBytesThatAreNoValidText) {
  // Invalid Shift-JIS and control bytes must not upset the dispatch.
  for (std::string bytes : {std::string("\x81", 1), std::string("/\x81", 2),
                            std::string("/\xff\x00s", 4), std::string(4096, 'p')}) {
    ProgramRun run;
    run.os.AddFile(kEngine, "MZ");
    run.os.SetArgumentBytes(bytes);
    try {
      mirane::Main(run.app);
    } catch (const platform::ProcessEnded&) {
    }
    EXPECT_TRUE(run.Ended() || !run.os.forms_alive.empty());
  }
}

}  // namespace

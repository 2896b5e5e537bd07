#include <gtest/gtest.h>

#include "startup/preview_picture.h"

#include <cstdio>

#include "harness.h"
#include "startup/veldan_r.h"

namespace {

using testing_support::ProgramRun;

constexpr platform::Hwnd kPane = 1234;

std::string Hex(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

// Runs the start procedure only, leaving the message loop to the test.
void StartPreview(ProgramRun& run, std::string_view args) {
  run.os.SetArguments(args);
  try {
    mirane::Main(run.app);
  } catch (const platform::ProcessEnded&) {
  }
}

TEST(Preview, TheHostHandleIsTheLeadingNumberFromTheFourthCharacter) {
  const struct {
    const char16_t* text;
    platform::Hwnd handle;
  } cases[] = {
      {u"/p 1234", 1234},
      {u"/P 1234", 1234},
      {u"/p 1234x", 1234},
      {u"/p  12 34", 1234},
      {u"/p", 0},
      {u"/p ", 0},
      {u"/p abc", 0},
      {u"/p12345", 2345},
      {u"/p 12.5", 12},  // halves to even
      {u"/p 13.5", 14},
      {u"/p 4294967296", 0},  // beyond 32 bits: no handle
      {u"/p 2147483647", 2147483647u},
      {u"/p -2", 0xFFFFFFFEu},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mirane::PreviewHostHandle(c.text), c.handle) << fake::Utf8(c.text);
  }
}

TEST(Preview, AHandleTextThatNamesThePaneShowsThePreviewInIt) {
  for (const char* args : {"/p 1234", "/P 1234", "/p 1234x", "/p  12 34"}) {
    ProgramRun run;
    run.os.AddForeignWindow("", {0, 0, 152, 112}, kPane);
    StartPreview(run, args);
    EXPECT_FALSE(run.Ended()) << args;
    fake::FakeForm* form = run.os.FormByTitle("Preview Window");
    ASSERT_NE(form, nullptr) << args;
    EXPECT_EQ(form->parent, kPane) << args;
    EXPECT_TRUE(form->visible()) << args;
  }
}

TEST(Preview, AHandleThatNamesNoWindowEndsTheProgramAtOnce) {
  // Missing, zero, non-numeric, or simply no such window.
  for (const char* args : {"/p", "/p 0", "/p abc", "/p 4321", "/p 99999999999"}) {
    ProgramRun run;
    run.os.AddForeignWindow("", {0, 0, 152, 112}, kPane);
    run.Start(args);
    EXPECT_TRUE(run.Ended()) << args;
    EXPECT_EQ(run.os.exit_code, 0u);
    ASSERT_EQ(run.os.log.size(), 5u) << args;
    EXPECT_EQ(run.os.log[3].rfind("IsWindow(", 0), 0u) << args;
    EXPECT_EQ(run.os.log[3].substr(run.os.log[3].size() - 4), "-> 0") << args;
    EXPECT_EQ(run.os.log[4], "EndProcess(0)") << args;
    EXPECT_TRUE(run.os.message_boxes.empty());
  }
}

TEST(Preview, SetUpCallsInOrder) {
  ProgramRun run;
  run.os.AddForeignWindow("", {100, 200, 252, 312}, kPane);
  StartPreview(run, "/p 1234");
  ASSERT_EQ(run.os.forms_alive.size(), 1u);
  const std::string self = std::to_string(run.os.forms_alive[0]->hWnd());
  const std::string desktop = std::to_string(fake::FakePlatform::kDesktop);
  EXPECT_EQ(run.os.log,
            (std::vector<std::string>{
                "FindWindowA(NULL, \"Veldan_Main\") -> 0",
                "FindWindowA(NULL, \"<ミラネ>\") -> 0",
                "CommandArguments() -> \"/p 1234\"",
                "IsWindow(1234) -> 1",
                "GetWindowRect(1234) -> 1 {100, 200, 252, 312}",
                "CreateForm(\"Preview Window\") -> " + self,
                "AddImage(\"Preview Window\", " + std::to_string(MIRANE_PREVIEW_PICTURE) +
                    ", 0, 0, 152, 112)",
                "Form_Load(\"Preview Window\")",
                "GetWindowLongA(" + self + ", -16) -> 0x82000000",
                "SetWindowLongA(" + self + ", -16, 0xC2000000) -> 0x82000000",
                "SetParent(" + self + ", 1234) -> " + desktop,
                "Move(\"Preview Window\", 0, 0, 2280, 1680)",
                "MovePixels(" + std::to_string(MIRANE_PREVIEW_PICTURE) + ", 0, 0, 152, 112)",
                "Show(\"Preview Window\", Modeless)",
            }));
  // The last result kept is SetParent's.
  EXPECT_EQ(run.app.shared.LastApiResult, static_cast<std::int32_t>(fake::FakePlatform::kDesktop));
  const auto& design = run.os.forms_alive[0]->design();
  EXPECT_EQ(design.border, platform::Border::None);
  EXPECT_EQ(design.back_colour, 0x00000000u);
  EXPECT_EQ(design.icon, 0);
}

TEST(Preview, TheChildStyleBitIsAddedAndEveryOtherBitKept) {
  for (std::uint32_t before :
       {0x00000000u, 0x40000000u, 0x82000000u, 0xFFFFFFFFu, 0x12345678u, 0xBFFFFFFFu}) {
    ProgramRun run;
    run.os.AddForeignWindow("", {0, 0, 152, 112}, kPane);
    run.os.on_create = [&](fake::FakeForm& form) {
      form.style = static_cast<std::int32_t>(before);
    };
    StartPreview(run, "/p 1234");
    const auto set = run.os.Calls({"SetWindowLongA"});
    ASSERT_EQ(set.size(), 1u);
    EXPECT_NE(set[0].find(", -16, " + Hex(before | 0x40000000u) + ") -> " + Hex(before)),
              std::string::npos)
        << set[0];
    // Show adds WS_VISIBLE, nothing else changes.
    EXPECT_EQ(static_cast<std::uint32_t>(run.os.forms_alive[0]->style),
              before | 0x40000000u | 0x10000000u);
  }
}

TEST(Preview, TheFormCoversThePaneInTwipsAndThePictureControlInPixels) {
  const struct {
    platform::Rect pane;
    std::int32_t twips_w, twips_h, pixels_w, pixels_h;
  } cases[] = {
      {{0, 0, 152, 112}, 2280, 1680, 152, 112},
      {{10, 20, 310, 220}, 4500, 3000, 300, 200},
      {{-500, -40, -420, 20}, 1200, 900, 80, 60},
      {{5, 5, 5, 5}, 0, 0, 0, 0},
      // Beyond 2184 pixels a size no longer fits 16 bits in twips.
      {{0, 0, 2185, 2185}, 32775, 32775, 2185, 2185},
      {{0, 0, 3840, 2160}, 57600, 32400, 3840, 2160},
      // Beyond 32 bits in twips: that side stays 0.
      {{-2000000000, 0, 2000000000, 100}, 0, 1500, 0, 100},
  };
  for (const auto& c : cases) {
    ProgramRun run;
    run.os.AddForeignWindow("", c.pane, kPane);
    StartPreview(run, "/p 1234");
    ASSERT_EQ(run.os.forms_alive.size(), 1u);
    fake::FakeForm& form = *run.os.forms_alive[0];
    const std::string where = std::to_string(c.pane.right - c.pane.left) + " wide";
    EXPECT_EQ(form.left, 0) << where;
    EXPECT_EQ(form.top, 0) << where;
    EXPECT_EQ(form.width, c.twips_w) << where;
    EXPECT_EQ(form.height, c.twips_h) << where;
    ASSERT_EQ(form.images.size(), 1u);
    const fake::FakeImage& image = *form.images[0];
    EXPECT_EQ(image.resource, MIRANE_PREVIEW_PICTURE);
    EXPECT_EQ(image.left, 0);
    EXPECT_EQ(image.top, 0);
    EXPECT_EQ(image.width, c.pixels_w) << where;
    EXPECT_EQ(image.height, c.pixels_h) << where;
  }
}

TEST(Preview, UnloadingPostsACloseToItselfAndTheProgramEnds) {
  ProgramRun run;
  run.os.AddForeignWindow("", {0, 0, 152, 112}, kPane);
  StartPreview(run, "/p 1234");
  fake::FakeForm* form = run.os.FormByTitle("Preview Window");
  ASSERT_NE(form, nullptr);
  const std::string self = std::to_string(form->hWnd());
  const std::size_t before = run.os.log.size();
  form->RequestClose(platform::UnloadReason::ControlMenu);
  EXPECT_EQ(std::vector<std::string>(run.os.log.begin() + before, run.os.log.end()),
            (std::vector<std::string>{
                "Unload(\"Preview Window\", ControlMenu)",
                "GetWindow(" + self + ", 4) -> 0",
                "PostMessageA(" + self + ", 0x00000010, 0, 0) -> 1",
            }));
  EXPECT_EQ(run.app.shared.LastApiResult, 1);
  // No window is left, so the message loop ends and with it the program;
  // the close posted to the window that has gone is dropped.
  EXPECT_TRUE(run.os.forms_alive.empty());
  run.os.RunMessageLoop();
  EXPECT_EQ(run.os.now(), 0u);
  EXPECT_EQ(run.os.Calls({"Unload"}).size(), 1u);
}

TEST(Preview, TheProgramEndsWhenTheHostDestroysThePane) {
  ProgramRun run;
  run.os.AddForeignWindow("", {0, 0, 152, 112}, kPane);
  StartPreview(run, "/p 1234");
  run.os.Advance(5000);  // the pane is looked at, and is there
  EXPECT_FALSE(run.Ended());
  EXPECT_EQ(run.os.Calls({"IsWindow"}).size(), 1u + 5000 / mirane::Veldan_R::kHostCheckMs);
  run.os.DestroyForeignWindow(kPane);
  EXPECT_EQ(run.os.log.back(), "Destroyed(\"Preview Window\")");
  EXPECT_TRUE(run.os.forms_alive.empty());
  const std::uint64_t at = run.os.now();
  run.os.RunMessageLoop();  // returns at once: no window left
  EXPECT_EQ(run.os.now(), at);
  EXPECT_TRUE(run.os.Calls({"Unload"}).empty());  // destroyed, not unloaded
}

TEST(Preview, ThePaneGoingUnnoticedEndsTheProgramWithinASecond) {
  // The host's process died and nobody told the child.
  ProgramRun run;
  run.os.AddForeignWindow("", {0, 0, 152, 112}, kPane);
  StartPreview(run, "/p 1234");
  run.os.Advance(1000);
  run.os.RemoveForeignWindow(kPane);
  const std::uint64_t gone = run.os.now();
  try {
    run.os.RunMessageLoop();
  } catch (const platform::ProcessEnded&) {
  }
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.os.exit_code, 0u);
  EXPECT_LE(run.os.now() - gone, 1000u);
  EXPECT_EQ(run.os.log.back(), "EndProcess(0)");
  EXPECT_EQ(run.os.log[run.os.log.size() - 2], "IsWindow(1234) -> 0");
}

TEST(Preview, NoSettingsNoEngineNoMusicNoMessage) {
  ProgramRun run;
  run.os.AddFile(testing_support::kIni, fake::Sjis("[Section]\nBGM区分= 2\nBGMﾌｧｲﾙ=C:\\a.wav\n"));
  run.os.AddForeignWindow("", {0, 0, 152, 112}, kPane);
  run.Start("/p 1234");
  for (const auto& entry : run.os.log) {
    EXPECT_TRUE(entry.rfind("FindWindowA", 0) == 0 || entry.rfind("CommandArguments", 0) == 0 ||
                entry.rfind("IsWindow", 0) == 0 || entry.rfind("GetWindow", 0) == 0 ||
                entry.rfind("SetWindowLongA", 0) == 0 || entry.rfind("SetParent", 0) == 0 ||
                entry.rfind("CreateForm", 0) == 0 || entry.rfind("AddImage", 0) == 0 ||
                entry.rfind("Form_Load", 0) == 0 || entry.rfind("Move", 0) == 0 ||
                entry.rfind("Show", 0) == 0 || entry.rfind("RunMessageLoop", 0) == 0)
        << entry;
  }
  EXPECT_FALSE(run.Ended());
}

}  // namespace

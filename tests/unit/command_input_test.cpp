// The image button's state machine: hover, focus, the pressed left button,
// the hover-end tick, and when Click is raised.
#include <gtest/gtest.h>

#include "unit/command_harness.h"

namespace {

using testing_support::ButtonBench;

enum class Ev { Move, LeftDown, LeftUp, RightUp, FocusGained, FocusLost, HoverEnd, Initialize };

const char* Name(Ev e) {
  static const char* kNames[] = {"move",         "left down",  "left up",   "right up",
                                 "focus gained", "focus lost", "hover end", "Initialize"};
  return kNames[static_cast<int>(e)];
}

void Fire(ButtonBench& b, Ev e) {
  auto& c = *b.button;
  switch (e) {
    case Ev::Move:
      c.UserControl_MouseMove(0, 0, 30, 30);
      break;
    case Ev::LeftDown:
      c.UserControl_MouseDown(1, 0, 30, 30);
      break;
    case Ev::LeftUp:
      c.UserControl_MouseUp(1, 0, 30, 30);
      break;
    case Ev::RightUp:
      c.UserControl_MouseUp(2, 0, 30, 30);
      break;
    case Ev::FocusGained:
      c.UserControl_GotFocus();
      break;
    case Ev::FocusLost:
      c.UserControl_LostFocus();
      break;
    case Ev::HoverEnd:
      b.os.ui.cursor = {700, 700};  // off the form and the button
      c.TmrMouse_Timer();
      break;
    case Ev::Initialize:
      c.Initialize();
      break;
  }
}

struct Row {
  Ev event;
  int state;
  int next;
  const char* picture;  // "" when nothing is drawn
  bool click;
};

// The transition table of an enabled control; MouseIsDown is false before
// each event.
const Row kTable[] = {
    {Ev::Move, 0, 0, "", false},
    {Ev::Move, 1, 2, "HighLight", false},
    {Ev::Move, 2, 2, "", false},
    {Ev::Move, 3, 4, "HighLightSelect", false},
    {Ev::Move, 4, 4, "", false},
    {Ev::LeftDown, 0, 0, "Pressed", false},
    {Ev::LeftDown, 1, 1, "Pressed", false},
    {Ev::LeftDown, 2, 2, "Pressed", false},
    {Ev::LeftDown, 3, 3, "Pressed", false},
    {Ev::LeftDown, 4, 4, "Pressed", false},
    {Ev::LeftUp, 0, 0, "", true},
    {Ev::LeftUp, 1, 1, "", true},
    {Ev::LeftUp, 2, 2, "Normal", true},
    {Ev::LeftUp, 3, 3, "", false},
    {Ev::LeftUp, 4, 4, "HighLightSelect", true},
    {Ev::RightUp, 0, 0, "", true},
    {Ev::RightUp, 1, 1, "", true},
    {Ev::RightUp, 2, 2, "", true},
    {Ev::RightUp, 3, 3, "", false},
    {Ev::RightUp, 4, 4, "", true},
    {Ev::FocusGained, 0, 3, "Selected", false},
    {Ev::FocusGained, 1, 3, "Selected", false},
    {Ev::FocusGained, 2, 4, "Pressed", false},
    {Ev::FocusGained, 3, 3, "Selected", false},
    {Ev::FocusGained, 4, 3, "Selected", false},
    {Ev::FocusLost, 0, 1, "Normal", false},
    {Ev::FocusLost, 1, 1, "", false},
    {Ev::FocusLost, 2, 1, "Normal", false},
    {Ev::FocusLost, 3, 1, "Normal", false},
    {Ev::FocusLost, 4, 1, "Normal", false},
    {Ev::HoverEnd, 0, 0, "", false},
    {Ev::HoverEnd, 1, 1, "", false},
    {Ev::HoverEnd, 2, 1, "Normal", false},
    {Ev::HoverEnd, 3, 3, "", false},
    {Ev::HoverEnd, 4, 3, "Selected", false},
    {Ev::Initialize, 0, 1, "", false},
    {Ev::Initialize, 1, 1, "", false},
    {Ev::Initialize, 2, 1, "", false},
    {Ev::Initialize, 3, 1, "", false},
    {Ev::Initialize, 4, 1, "", false},
};

TEST(CommandStates, TransitionTableOfAnEnabledAndADisabledControl) {
  for (const bool enabled : {true, false}) {
    for (const Row& row : kTable) {
      SCOPED_TRACE(std::string(enabled ? "enabled, " : "disabled, ") + Name(row.event) +
                   " in state " + std::to_string(row.state));
      ButtonBench b;
      if (!enabled) b.button->SetEnabled(false);
      b.button->ButtonState = static_cast<std::uint8_t>(row.state);
      b.Mark();
      Fire(b, row.event);
      if (enabled || row.event == Ev::Initialize) {
        EXPECT_EQ(b.button->ButtonState, row.next);
        EXPECT_EQ(b.Faces(), row.picture[0] ? std::vector<std::string>{row.picture}
                                            : std::vector<std::string>{});
        EXPECT_EQ(b.clicks, row.click ? 1 : 0);
      } else {
        // A disabled control ignores everything: no state, no face, no Click.
        EXPECT_EQ(b.button->ButtonState, row.state);
        EXPECT_TRUE(b.Faces().empty());
        EXPECT_EQ(b.clicks, 0);
      }
      const bool left = row.event == Ev::LeftDown || row.event == Ev::LeftUp;
      EXPECT_EQ(b.button->MouseIsDown, enabled && row.event == Ev::LeftDown) << left;
    }
  }
}

TEST(CommandStates, MoveInSelectedWithTheButtonHeldChangesNothing) {
  ButtonBench b;
  b.button->ButtonState = 3;
  b.button->MouseIsDown = true;
  b.Mark();
  b.button->UserControl_MouseMove(1, 0, 10, 10);
  EXPECT_EQ(b.button->ButtonState, 3);
  EXPECT_TRUE(b.Faces().empty());
}

TEST(CommandStates, InitializeStartsTheHoverTimerAndDrawsNothing) {
  ButtonBench b;
  b.Mark();
  b.button->Initialize();
  EXPECT_TRUE(b.Faces().empty());
  b.PointerOffButton();
  b.Mark();
  b.os.Advance(100);
  EXPECT_EQ(b.With("GetCursorPos").size(), 1u);
  EXPECT_EQ(b.With("WindowFromPoint").size(), 1u);
  b.os.Advance(1000);
  EXPECT_EQ(b.With("GetCursorPos").size(), 11u);
}

// --- Sequences through the fake's pointer, focus and clock ---

TEST(CommandSequences, ClickOnAnUnfocusedButton) {
  ButtonBench b;
  b.button->Initialize();
  b.Mark();
  b.os.ui.PointTo(b.site(), 30, 30);
  EXPECT_EQ(b.button->ButtonState, 2);
  b.os.ui.Press(1);  // the press brings the focus first
  EXPECT_EQ(b.button->ButtonState, 4);
  EXPECT_TRUE(b.button->GradientReversed);
  b.os.ui.Release(1);
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.Faces(),
            (std::vector<std::string>{"HighLight", "Pressed", "Pressed", "HighLightSelect"}));
  b.Mark();
  b.PointerOffButton();
  b.os.Advance(100);
  EXPECT_EQ(b.button->ButtonState, 3);
  b.os.ui.Focus(nullptr);
  EXPECT_EQ(b.button->ButtonState, 1);
  EXPECT_EQ(b.Faces(), (std::vector<std::string>{"Selected", "Normal"}));
  EXPECT_EQ(b.clicks, 0);
}

TEST(CommandSequences, CancelledClickDraggedOutAndBack) {
  ButtonBench b;
  b.button->Initialize();
  b.os.ui.PointTo(b.site(), 30, 30);
  b.os.ui.Press(1);
  b.PointerOffButton();  // reported to the capturing control
  b.os.Advance(100);
  EXPECT_EQ(b.button->ButtonState, 3);
  b.Mark();
  b.os.ui.PointTo(b.site(), 30, 30);  // back in: no revival
  EXPECT_EQ(b.button->ButtonState, 3);
  b.PointerOffButton();
  b.os.ui.Release(1);
  EXPECT_EQ(b.clicks, 0);
  EXPECT_TRUE(b.Faces().empty());
  EXPECT_FALSE(b.button->MouseIsDown);
  b.os.ui.PointTo(b.site(), 30, 30);
  EXPECT_EQ(b.button->ButtonState, 4);
}

TEST(CommandSequences, PressAndReleaseWithinOneTickStillClicks) {
  ButtonBench b;
  b.button->Initialize();
  b.os.ui.PointTo(b.site(), 30, 30);
  b.os.ui.Press(1);
  b.PointerOffButton();
  b.os.Advance(50);
  b.os.ui.Release(1);
  EXPECT_EQ(b.clicks, 1);
}

TEST(CommandSequences, RightAndMiddleButtonsClickWithoutAFaceChange) {
  for (const std::int16_t button : {2, 4}) {
    SCOPED_TRACE(button);
    ButtonBench b;
    b.button->Initialize();
    b.os.ui.PointTo(b.site(), 30, 30);
    b.os.ui.Focus(&b.site());  // so that the press brings no focus change
    ASSERT_EQ(b.button->ButtonState, 4);
    b.Mark();
    b.os.ui.Press(button);
    b.os.ui.Release(button);
    EXPECT_EQ(b.clicks, 1);
    EXPECT_TRUE(b.Faces().empty());
    EXPECT_FALSE(b.button->MouseIsDown);
  }
}

TEST(CommandSequences, ReleaseInHighLightDrawsNormalUntilThePointerComesBack) {
  ButtonBench b;
  b.button->Initialize();
  b.os.ui.PointTo(b.site(), 30, 30);
  b.button->UserControl_MouseDown(1, 0, 30, 30);  // a press that brought no focus
  b.Mark();
  b.button->UserControl_MouseUp(1, 0, 30, 30);
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Normal"});
  EXPECT_EQ(b.button->ButtonState, 2);
  b.os.ui.PointTo(b.site(), 60, 30);
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Normal"});
  b.PointerOffButton();
  b.os.Advance(100);
  b.os.ui.PointTo(b.site(), 30, 30);
  EXPECT_EQ(b.Faces(), (std::vector<std::string>{"Normal", "Normal", "HighLight"}));
}

TEST(CommandSequences, FocusByTabWithThePointerElsewhere) {
  ButtonBench b;
  b.button->Initialize();
  b.PointerOffButton();
  b.Mark();
  b.os.ui.Tab();
  EXPECT_EQ(b.button->ButtonState, 3);
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Selected"});
  EXPECT_EQ(b.clicks, 0);
}

TEST(CommandSequences, AWindowCoveringTheButtonEndsTheHoverOnTheNextTick) {
  ButtonBench b;
  b.button->Initialize();
  b.os.ui.PointTo(b.site(), 30, 30);
  ASSERT_EQ(b.button->ButtonState, 2);
  b.os.Advance(100);  // still over the button
  EXPECT_EQ(b.button->ButtonState, 2);
  b.os.ui.AddCover(0, 0, 1024, 768);
  b.Mark();
  b.os.Advance(100);
  EXPECT_EQ(b.button->ButtonState, 1);
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Normal"});
}

TEST(CommandSequences, CaptionPassesItsMouseEventsOn) {
  ButtonBench b;
  b.button->Initialize();
  b.Mark();
  b.os.ui.PointTo(b.site(), 900, 150);  // over the caption
  b.os.ui.Press(1);
  b.os.ui.Release(1);
  EXPECT_EQ(b.With("LblMsg_Mouse").size(), 3u);
  EXPECT_EQ(b.With("UserControl_Mouse").size(), 0u);
  EXPECT_EQ(b.clicks, 1);
  EXPECT_EQ(b.button->ButtonState, 4);
}

TEST(CommandSequences, BeforeInitializeNoHoverButFocusAndReleaseWork) {
  ButtonBench b;
  b.Mark();
  b.os.ui.PointTo(b.site(), 30, 30);
  EXPECT_EQ(b.button->ButtonState, 0);
  EXPECT_TRUE(b.Faces().empty());
  // A release on the unfocused button raises Click (the press came from
  // elsewhere, so it brought no focus).
  b.button->UserControl_MouseUp(1, 0, 30, 30);
  EXPECT_EQ(b.clicks, 1);
  // A click that brings the focus moves the state to Selected first, and a
  // release in Selected raises nothing.
  b.Mark();
  b.os.ui.Press(1);
  b.os.ui.Release(1);
  EXPECT_EQ(b.button->ButtonState, 3);
  EXPECT_EQ(b.Faces(), (std::vector<std::string>{"Selected", "Pressed"}));
  EXPECT_EQ(b.clicks, 0);
}

TEST(CommandSequences, ClickHandlerMayDestroyTheControl) {
  ButtonBench b;
  b.button->Initialize();
  b.button->Click = [&b] { b.button.reset(); };
  b.os.ui.PointTo(b.site(), 30, 30);
  b.os.ui.Press(1);
  b.os.ui.Release(1);
  EXPECT_EQ(b.button, nullptr);
  b.os.Advance(300);  // its timer is gone with it
}

}  // namespace

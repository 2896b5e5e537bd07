// The image button's properties and how they are kept in the container's
// designer data.
#include <gtest/gtest.h>

#include "unit/command_harness.h"

namespace {

using mirane::PropertyBag;
using testing_support::ButtonBench;

TEST(CommandProperties, AnEmptyBagLoadsTheDefaults) {
  ButtonBench b;  // loads an empty bag
  EXPECT_TRUE(b.button->IsEnabled);
  EXPECT_EQ(b.button->Caption(), u"Command1");
  EXPECT_EQ(b.button->Font(), b.ambient);  // the very object
  EXPECT_EQ(b.button->FirstRun, 1);
  EXPECT_EQ(b.site().fake_label().ForeColor(), 0u);
  EXPECT_EQ(b.site().BackStyle(), 1);
  EXPECT_EQ(b.button->ButtonState, 0);
}

TEST(CommandProperties, LoadingEndsWithTheNormalFace) {
  ButtonBench b;
  b.Mark();
  b.button->ReadProperties(PropertyBag{});
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Normal"});
}

TEST(CommandProperties, DefaultsAreNotStored) {
  ButtonBench b;
  b.button->SetCaption(u"Command");
  PropertyBag bag;
  b.Mark();
  b.button->WriteProperties(bag);
  EXPECT_TRUE(bag.values().empty());
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Normal"});  // RestoreNormalFace at the end
}

TEST(CommandProperties, CaptionCommandComesBackAsCommand1OthersSurvive) {
  for (const std::u16string caption : {u"Command", u"設定", u"Command1", u""}) {
    ButtonBench b;
    b.button->SetCaption(caption);
    PropertyBag bag;
    b.button->WriteProperties(bag);
    ButtonBench loaded;
    loaded.button->ReadProperties(bag);
    EXPECT_EQ(loaded.button->Caption(), caption == u"Command" ? u"Command1" : caption);
  }
}

TEST(CommandProperties, ChangedValuesRoundTrip) {
  ButtonBench b;
  auto font = std::make_shared<platform::Font>(*b.ambient);
  font->size = 12;
  b.button->SetFont(font);
  b.button->SetFontColour(0x0000FF);
  b.button->SetVisible(0);
  b.button->SetEnabled(false);
  PropertyBag bag;
  b.button->WriteProperties(bag);
  // Enabled, Caption ("Command1" is not the saving default), Font, FontColour, Visible.
  EXPECT_EQ(bag.values().size(), 5u);
  ButtonBench loaded;
  loaded.button->ReadProperties(bag);
  EXPECT_FALSE(loaded.button->IsEnabled);
  EXPECT_EQ(loaded.button->Font(), font);
  EXPECT_EQ(loaded.site().fake_label().ForeColor(), 0x0000FFu);
  EXPECT_EQ(loaded.site().BackStyle(), 0);
}

TEST(CommandProperties, ANewInstanceIsSetUpByTheFirstReadOfEnabled) {
  fake::FakePlatform os;
  testing_support::NoEvents events;
  auto form = os.Create(platform::FormDesign{u"Form", 6000, 3000}, events);
  mirane::Command button(os, *form, u"Cmd", 0, 0, mirane::DesignFont());
  EXPECT_FALSE(button.IsEnabled);
  EXPECT_EQ(button.FirstRun, 0);
  EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(button.FirstRun, 1);
}

TEST(CommandProperties, FirstRunZeroForcesABlackCaptionWhileEnabled) {
  {
    PropertyBag bag;
    bag.WriteProperty(u"FirstRun", 0.0, std::u16string(u"1"));
    bag.WriteProperty(u"FontColour", 255.0, std::u16string(u"0"));
    ButtonBench b;
    b.button->ReadProperties(bag);
    EXPECT_EQ(b.site().fake_label().ForeColor(), 0u);
    b.button->SetFontColour(0x00FF00);
    EXPECT_EQ(b.site().fake_label().ForeColor(), 0u);  // no lasting effect
    EXPECT_TRUE(b.button->Enabled());
    b.button->SetFontColour(0x00FF00);
    EXPECT_EQ(b.site().fake_label().ForeColor(), 0x00FF00u);
  }
  {
    PropertyBag bag;
    bag.WriteProperty(u"FirstRun", 0.0, std::u16string(u"1"));
    bag.WriteProperty(u"FontColour", 255.0, std::u16string(u"0"));
    bag.WriteProperty(u"Enabled", false, true);
    ButtonBench b;
    b.button->ReadProperties(bag);
    EXPECT_EQ(b.site().fake_label().ForeColor(), 255u);
  }
}

TEST(CommandProperties, VisibleReadsBack255Or0) {
  ButtonBench b;
  b.Mark();
  b.button->SetVisible(1);
  EXPECT_EQ(b.button->Visible(), 255);
  b.button->SetVisible(7);
  EXPECT_EQ(b.site().BackStyle(), 1);
  b.button->SetVisible(0);
  EXPECT_EQ(b.button->Visible(), 0);
  EXPECT_EQ(b.With("PropertyChanged"),
            std::vector<std::string>(3, "Cmd.PropertyChanged(\"Visible\")"));
}

TEST(CommandProperties, AStoredStyleTheSurfaceRefusesKeepsTheOldOne) {
  PropertyBag bag;
  bag.WriteProperty(u"Visible", 2.0, std::u16string(u"1"));
  bag.WriteProperty(u"FirstRun", 300.0, std::u16string(u"1"));
  ButtonBench b;
  b.button->FirstRun = 5;
  b.button->ReadProperties(bag);
  EXPECT_EQ(b.site().BackStyle(), 1);
  EXPECT_EQ(b.button->FirstRun, 5);
}

TEST(CommandProperties, WhichAccessesRedraw) {
  ButtonBench b;
  b.button->Initialize();
  b.os.ui.PointTo(b.site(), 30, 30);
  b.os.ui.Focus(&b.site());
  ASSERT_EQ(b.button->ButtonState, 4);
  struct Case {
    const char* what;
    std::function<void(mirane::Command&)> access;
    std::vector<std::string> faces;
  } cases[] = {
      {"read Enabled", [](mirane::Command& c) { (void)c.Enabled(); }, {"Normal"}},
      {"read FontColour", [](mirane::Command& c) { (void)c.FontColour(); }, {"Normal"}},
      {"read opaque Visible", [](mirane::Command& c) { (void)c.Visible(); }, {"Normal"}},
      {"write FontColour", [](mirane::Command& c) { c.SetFontColour(0x80000012); }, {"Normal"}},
      {"read Caption", [](mirane::Command& c) { (void)c.Caption(); }, {}},
      {"write Caption", [](mirane::Command& c) { c.SetCaption(u"取消"); }, {}},
      {"read Font", [](mirane::Command& c) { (void)c.Font(); }, {}},
      {"write Font", [](mirane::Command& c) { c.SetFont(mirane::DesignFont()); }, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    b.Mark();
    c.access(*b.button);
    EXPECT_EQ(b.Faces(), c.faces);
    EXPECT_EQ(b.button->ButtonState, 4);
  }
  b.button->SetEnabled(false);
  b.Mark();
  (void)b.button->Enabled();
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Disable"});
  (void)b.button->FontColour();  // a disabled control restores nothing
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Disable"});
}

TEST(CommandProperties, ARefusedFontColourRestoresTheFaceWithoutPropertyChanged) {
  ButtonBench b;
  b.Mark();
  b.button->SetFontColour(0x01000000);
  EXPECT_EQ(b.site().fake_label().ForeColor(), 0u);
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Normal"});
  EXPECT_TRUE(b.With("PropertyChanged").empty());
}

TEST(CommandProperties, EnablingKeepsTheStateAndGreysTheCaption) {
  ButtonBench b;
  b.button->ButtonState = 2;
  b.button->MouseIsDown = true;
  b.Mark();
  b.button->SetEnabled(false);
  EXPECT_EQ(b.Since().front(), "Cmd.PropertyChanged(\"Enabled\")");
  EXPECT_FALSE(b.site().fake_label().Enabled());
  EXPECT_EQ(b.button->ButtonState, 2);
  EXPECT_TRUE(b.button->MouseIsDown);
  b.button->SetEnabled(true);
  EXPECT_TRUE(b.site().fake_label().Enabled());
}

TEST(PropertyBagValues, TextDefaultsEqualTheirNumbers) {
  EXPECT_TRUE(mirane::SameValue(1.0, std::u16string(u"1")));
  EXPECT_TRUE(mirane::SameValue(0.0, std::u16string(u"0")));
  EXPECT_FALSE(mirane::SameValue(std::u16string(u"Command1"), std::u16string(u"Command")));
  EXPECT_TRUE(mirane::SameValue(true, true));
  EXPECT_FALSE(mirane::SameValue(false, true));
  EXPECT_EQ(mirane::ToBoolean(std::u16string(u"yes")), std::nullopt);
  EXPECT_EQ(mirane::ToByte(-1.0), std::nullopt);
  EXPECT_EQ(mirane::ToByte(std::u16string(u"1")), 1);
}

}  // namespace

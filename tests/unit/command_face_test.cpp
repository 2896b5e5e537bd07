// The image button's face: gradient, the eight frame pieces, the caption
// layout, and the redraw on a size change.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "unit/command_harness.h"

namespace {

using testing_support::ButtonBench;

std::vector<std::string> Pieces(const std::vector<std::string>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) {
    if (e.rfind("Cmd.PaintPicture(", 0) == 0) out.push_back(e.substr(4));
  }
  return out;
}

TEST(CommandFace, PiecesCaptionAndGradientOfTheWideButton) {
  ButtonBench b;  // 1875 x 375 twips, 125 x 25 pixels
  b.Mark();
  b.site().Move(15, 15, 1875, 376);
  b.Mark();
  b.site().Move(15, 15, 1875, 375);
  EXPECT_EQ(b.Since(),
            (std::vector<std::string>{
                "Cmd.Move(15, 15, 1875, 375)",
                "Cmd.Cls()",
                "Cmd.ScaleMode = Pixels",
                "GradientFill(131105, [(0, 0, FF00, FF00, FF00, 0000), (124, 24, C600, C500, "
                "D700, 0000)], [(1, 0)], 1) -> 1",
                "Cmd.ScaleMode = Twips",
                "Cmd.Refresh()",
                "Cmd.PaintPicture(Normal, 1, 1, 60, 60, 0, 0, 60, 60)",
                "Cmd.PaintPicture(Normal, 60, 1, 1755, 60, 60, 1, 840, 60)",
                "Cmd.PaintPicture(Normal, 1815, 1, 60, 60, 900, 1, 60, 60)",
                "Cmd.PaintPicture(Normal, 1815, 60, 60, 255, 900, 60, 60, 255)",
                "Cmd.PaintPicture(Normal, 1815, 315, 60, 60, 900, 315, 60, 60)",
                "Cmd.PaintPicture(Normal, 60, 315, 1755, 60, 60, 315, 840, 60)",
                "Cmd.PaintPicture(Normal, 1, 315, 60, 60, 0, 315, 60, 60)",
                "Cmd.PaintPicture(Normal, 1, 60, 60, 255, 1, 60, 60, 255)",
                "Cmd.Refresh()",
                "Cmd.LblMsg.Move(0, 80, 1875, 195)",
                "Cmd.Line1.Visible = false",
                "Cmd.Line2.Visible = false",
                "Cmd.Line4.Visible = false",
                "Cmd.Line3.Visible = false",
                "Cmd.LblMsg.Enabled = true",
            }));
}

TEST(CommandFace, PiecesAndCaptionOfTheSmallestButton) {
  ButtonBench b(435, 315);
  b.Mark();
  b.button->SetEnabled(true);
  EXPECT_EQ(Pieces(b.Since()), (std::vector<std::string>{
                                   "PaintPicture(Normal, 1, 1, 60, 60, 0, 0, 60, 60)",
                                   "PaintPicture(Normal, 60, 1, 315, 60, 60, 1, 840, 60)",
                                   "PaintPicture(Normal, 375, 1, 60, 60, 900, 1, 60, 60)",
                                   "PaintPicture(Normal, 375, 60, 60, 195, 900, 60, 60, 255)",
                                   "PaintPicture(Normal, 375, 255, 60, 60, 900, 315, 60, 60)",
                                   "PaintPicture(Normal, 60, 255, 315, 60, 60, 315, 840, 60)",
                                   "PaintPicture(Normal, 1, 255, 60, 60, 0, 315, 60, 60)",
                                   "PaintPicture(Normal, 1, 60, 60, 195, 1, 60, 60, 255)",
                               }));
  EXPECT_EQ(b.With("LblMsg.Move"), std::vector<std::string>{"Cmd.LblMsg.Move(0, 50, 435, 195)"});
  EXPECT_NE(b.With("GradientFill").at(0).find("(28, 20, C600, C500, D700, 0000)"),
            std::string::npos);
}

TEST(CommandFace, CaptionTopIsComputedInSinglePrecision) {
  ButtonBench b(1875, 376);  // (376 - 195 - 20) / 2 = 80.5
  EXPECT_EQ(b.site().fake_label().Top(), 80.5);
  b.site().Move(15, 15, 1875, 420);
  EXPECT_EQ(b.site().fake_label().Top(), 102.5);
}

TEST(CommandFace, GradientDirectionFollowsTheState) {
  struct Case {
    int state;
    bool before;
    bool reversed;
  } cases[] = {{1, true, false},  {2, false, true}, {3, true, false}, {0, true, true},
               {0, false, false}, {4, true, true},  {4, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    ButtonBench b;
    b.button->GradientReversed = c.before;
    b.button->ButtonState = static_cast<std::uint8_t>(c.state);
    b.Mark();
    b.button->SetEnabled(false);  // draws Disable with the state's direction
    EXPECT_EQ(b.Faces(), std::vector<std::string>{"Disable"});
    EXPECT_EQ(b.button->GradientReversed, c.reversed);
    const std::string fill = b.With("GradientFill").at(0);
    if (c.reversed) {
      EXPECT_NE(fill.find("[(0, 0, C600, C500, D700, 0000), (124, 24, FF00, FF00, FF00, 0000)]"),
                std::string::npos);
    } else {
      EXPECT_NE(fill.find("[(0, 0, FF00, FF00, FF00, 0000), (124, 24, C600, C500, D700, 0000)]"),
                std::string::npos);
    }
    EXPECT_EQ(b.With("LblMsg.Enabled"), std::vector<std::string>{"Cmd.LblMsg.Enabled = false"});
  }
}

TEST(CommandFace, ResizeOfAFocusedHoveredButtonShowsNormalAndKeepsTheState) {
  ButtonBench b;
  b.button->Initialize();
  b.os.ui.PointTo(b.site(), 30, 30);
  b.os.ui.Focus(&b.site());
  ASSERT_EQ(b.button->ButtonState, 4);
  b.Mark();
  b.site().Move(15, 15, 1095, 375);
  EXPECT_EQ(b.Faces(), std::vector<std::string>{"Normal"});
  EXPECT_EQ(b.button->ButtonState, 4);
}

TEST(CommandFace, AMissingPictureSkipsThePiecesOnly) {
  fake::FakePlatform os;
  os.ui.resources.erase(101);
  testing_support::NoEvents events;
  auto form = os.Create(platform::FormDesign{u"Form", 6000, 3000}, events);
  mirane::Command button(os, *form, u"Cmd", 0, 0, mirane::DesignFont());
  button.ReadProperties(mirane::PropertyBag{});
  const auto mark = os.log.size();
  button.site().Move(0, 0, 1875, 375);
  std::vector<std::string> since(os.log.begin() + static_cast<std::ptrdiff_t>(mark), os.log.end());
  EXPECT_EQ(Pieces(since).size(), 0u);
  EXPECT_NE(std::find(since.begin(), since.end(), "Cmd.LblMsg.Move(0, 80, 1875, 195)"),
            since.end());
}

// --- The state pictures themselves ---

std::string ReadAsset(const char* name) {
  std::ifstream in(std::string(MIRANE_ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

// The pixel (x, y), top-down, as 0xRRGGBB.
std::uint32_t Pixel(const std::string& b, int x, int y) {
  const std::size_t at =
      54 + static_cast<std::size_t>(24 - y) * 192 + static_cast<std::size_t>(x) * 3;
  return static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at]);
}

TEST(CommandPictures, SixUncompressed24BitPicturesOf64By25) {
  for (const char* name : {"Normal.bmp", "HighLight.bmp", "Pressed.bmp", "Selected.bmp",
                           "HighLightSelect.bmp", "Disable.bmp"}) {
    SCOPED_TRACE(name);
    const std::string b = ReadAsset(name);
    ASSERT_EQ(b.size(), 4854u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(U32(b, 2), 4854u);
    EXPECT_EQ(U32(b, 10), 54u);
    EXPECT_EQ(U32(b, 18), 64u);
    EXPECT_EQ(U32(b, 22), 25u);
    EXPECT_EQ(U32(b, 28) & 0xFFFF, 24u);
    EXPECT_EQ(U32(b, 30), 0u);  // BI_RGB
    EXPECT_EQ(Pixel(b, 0, 0), 0xECE9D8u);
    EXPECT_EQ(Pixel(b, 63, 24), 0xECE9D8u);
  }
  EXPECT_EQ(ReadAsset("HighLight.bmp"), ReadAsset("HighLightSelect.bmp"));
}

TEST(CommandPictures, BordersAndRingsWhereTheFrameTakesThem) {
  const std::string normal = ReadAsset("Normal.bmp");
  EXPECT_EQ(Pixel(normal, 1, 1), 0xECE9D8u);  // the rounded corner
  EXPECT_EQ(Pixel(normal, 30, 1), 0x003C74u);
  EXPECT_EQ(Pixel(normal, 1, 12), 0x003C74u);
  EXPECT_EQ(Pixel(normal, 30, 5), 0xF3F3EEu);
  const std::string pressed = ReadAsset("Pressed.bmp");
  EXPECT_EQ(Pixel(pressed, 30, 1), 0xECE9D8u);
  EXPECT_EQ(Pixel(pressed, 30, 2), 0x003C74u);
  const std::string hl = ReadAsset("HighLight.bmp");
  EXPECT_EQ(Pixel(hl, 30, 2), 0xFFF0CFu);
  EXPECT_EQ(Pixel(hl, 30, 3), 0xFDD889u);
  EXPECT_EQ(Pixel(hl, 30, 22), 0xE59700u);
  EXPECT_EQ(Pixel(hl, 30, 21), 0xF8B330u);
  const std::string sel = ReadAsset("Selected.bmp");
  EXPECT_EQ(Pixel(sel, 30, 2), 0xCEE7FFu);
  EXPECT_EQ(Pixel(sel, 30, 22), 0x6982EEu);
  const std::string dis = ReadAsset("Disable.bmp");
  EXPECT_EQ(Pixel(dis, 30, 1), 0xC9C7BAu);
  EXPECT_EQ(Pixel(dis, 30, 5), 0xF5F4EAu);
}

}  // namespace

// The image button on the real adapter: a form with buttons of the settings
// dialog's sizes in each face, checked by their pixels on the screen.  Also
// leaves a picture of the form as buttons.bmp beside the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/command.h"
#include "win32/win32_platform.h"

namespace {

struct NoEvents : platform::FormEvents {};

constexpr int kSizes[4][2] = {{1875, 375}, {1095, 375}, {1035, 375}, {435, 315}};
constexpr int kLeft[4] = {150, 2175, 3420, 4605};
const char16_t* kCaptions[4] = {u"設定", u"取消", u"その他", u"…"};

enum class Face { Normal, HighLight, Pressed, Selected, HighLightSelect, Disable, Count };
const char* kFaceNames[] = {"Normal",   "HighLight",       "Pressed",
                            "Selected", "HighLightSelect", "Disable"};

void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

struct Rgb {
  int r, g, b;
};
Rgb At(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}
std::string Text(Rgb c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
  return buf;
}

// Puts the button into the face through its own handlers, as the input
// would.  The hover timer is left off (no Initialize): the real pointer is
// elsewhere and would end every hover on the first tick.
void Drive(mirane::Command& b, Face face) {
  b.ButtonState = 1;
  switch (face) {
    case Face::Normal:
      break;
    case Face::HighLight:
      b.UserControl_MouseMove(0, 0, 30, 30);
      break;
    case Face::Pressed:
      b.UserControl_MouseDown(1, 0, 30, 30);
      break;
    case Face::Selected:
      b.ButtonState = 4;  // the pointer went away from a focused button
      b.TmrMouse_Timer();
      break;
    case Face::HighLightSelect:
      b.ButtonState = 3;
      b.UserControl_MouseMove(0, 0, 30, 30);
      break;
    case Face::Disable:
      b.SetEnabled(false);
      break;
    case Face::Count:
      break;
  }
}

class ButtonGallery : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    os = new win32::Win32Platform(GetModuleHandleA(nullptr));
    SetCursorPos(1020, 760);  // off the form
    platform::FormDesign design;
    design.title = u"ボタン見本";
    design.client_width = 5250;
    design.client_height = 150 + 525 * static_cast<int>(Face::Count) + 1125;
    design.back_colour = 0x00D8E9EC;  // the beige window ground
    form = os->forms().Create(design, events).release();
    form->Move(0, 0, design.client_width + 300, design.client_height + 600);
    form->Show(platform::ShowMode::Modeless);
    for (int f = 0; f < static_cast<int>(Face::Count); ++f) {
      for (int s = 0; s < 4; ++s) {
        auto b = std::make_unique<mirane::Command>(*os, *form, u"Cmd", kLeft[s], 150 + 525 * f,
                                                   mirane::DesignFont());
        b->ReadProperties(mirane::PropertyBag{});
        b->SetCaption(kCaptions[s]);
        b->site().Move(kLeft[s], 150 + 525 * f, kSizes[s][0], kSizes[s][1]);
        Drive(*b, static_cast<Face>(f));
        buttons.push_back(std::move(b));
      }
    }
    // The reversed gradient behind the Normal frame: a release in HighLight.
    for (int s = 0; s < 4; ++s) {
      auto b = std::make_unique<mirane::Command>(*os, *form, u"Cmd", kLeft[s],
                                                 150 + 525 * static_cast<int>(Face::Count),
                                                 mirane::DesignFont());
      b->ReadProperties(mirane::PropertyBag{});
      b->SetCaption(kCaptions[s]);
      b->site().Move(kLeft[s], 150 + 525 * static_cast<int>(Face::Count), kSizes[s][0],
                     kSizes[s][1]);
      b->ButtonState = 1;
      b->UserControl_MouseMove(0, 0, 30, 30);
      b->UserControl_MouseDown(1, 0, 30, 30);
      reversed.push_back(std::move(b));
    }
    // One live button for the real pointer, below the gallery.
    live = new mirane::Command(*os, *form, u"Cmd", kLeft[0], 150 + 525 * 7, mirane::DesignFont());
    live->ReadProperties(mirane::PropertyBag{});
    live->SetCaption(u"押す");
    live->site().Move(kLeft[0], 150 + 525 * 7, kSizes[0][0], kSizes[0][1]);
    live->Click = [] { ++clicks; };
    Pump(500);
    SaveShot();
  }
  static void TearDownTestSuite() {
    buttons.clear();
    reversed.clear();
    delete live;
    delete form;
    delete os;
  }

  static HWND Window(const mirane::Command& b) {
    return win32::ToHwnd(const_cast<mirane::Command&>(b).site().hWnd());
  }
  mirane::Command& Button(Face f, int size) {
    return *buttons[static_cast<std::size_t>(f) * 4 + static_cast<std::size_t>(size)];
  }

  static void SaveShot() {
    HWND w = win32::ToHwnd(form->hWnd());
    RECT r;
    GetClientRect(w, &r);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = r.right;
    info.bmiHeader.biHeight = r.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC screen = GetDC(w);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, dib);
    // Each child paints itself on the form's screen area; copy that area.
    BitBlt(mem, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD row = (static_cast<DWORD>(r.right) * 3 + 3) & ~3u;
    const DWORD size = row * static_cast<DWORD>(r.bottom);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string out(path, n);
    out = out.substr(0, out.find_last_of('\\') + 1) + "buttons.bmp";
    if (FILE* f = std::fopen(out.c_str(), "wb")) {
      std::fwrite(&file, sizeof file, 1, f);
      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
      std::fwrite(bits, 1, size, f);
      std::fclose(f);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    ReleaseDC(w, screen);
  }

  static inline win32::Win32Platform* os = nullptr;
  static inline NoEvents events;
  static inline platform::Form* form = nullptr;
  static inline std::vector<std::unique_ptr<mirane::Command>> buttons;
  static inline std::vector<std::unique_ptr<mirane::Command>> reversed;
  static inline mirane::Command* live = nullptr;
  static inline int clicks = 0;
};

// The gradient fills the surface from row 0 to its last row; between the
// frame's top and bottom pieces rows 4 to H-5 show it.
int Expected(int from, int to, int y, int height) {
  return from + (to - from) * y / (height - 1);
}

void ExpectGradient(HWND w, int height, bool reversed) {
  const Rgb top = At(w, 5, 4);
  const Rgb bottom = At(w, 5, height - 5);
  const Rgb white{255, 255, 255}, lavender{198, 197, 215};
  const Rgb a = reversed ? lavender : white, b = reversed ? white : lavender;
  for (auto [got, y] : {std::pair{top, 4}, std::pair{bottom, height - 5}}) {
    SCOPED_TRACE("row " + std::to_string(y) + " is " + Text(got));
    EXPECT_NEAR(got.r, Expected(a.r, b.r, y, height), 4);
    EXPECT_NEAR(got.g, Expected(a.g, b.g, y, height), 4);
    EXPECT_NEAR(got.b, Expected(a.b, b.b, y, height), 4);
  }
}

TEST_F(ButtonGallery, GradientRunsDownInTheNormalFaceAndUpWhenReversed) {
  for (int s = 0; s < 4; ++s) {
    SCOPED_TRACE(s);
    const int h = kSizes[s][1] / 15;
    ExpectGradient(Window(Button(Face::Normal, s)), h, false);
    ExpectGradient(Window(Button(Face::Selected, s)), h, false);
    ExpectGradient(Window(Button(Face::HighLight, s)), h, true);
    ExpectGradient(Window(*reversed[static_cast<std::size_t>(s)]), h, true);
  }
}

TEST_F(ButtonGallery, FrameCornersAndEdgesOfEachFace) {
  struct Check {
    Face face;
    int y;  // row of the top edge to look at
    std::uint32_t top;
  } checks[] = {
      {Face::Normal, 1, 0x003C74},   {Face::HighLight, 2, 0xFFF0CF},
      {Face::Pressed, 1, 0xECE9D8},  {Face::Pressed, 2, 0x003C74},
      {Face::Selected, 2, 0xCEE7FF}, {Face::HighLightSelect, 3, 0xFDD889},
      {Face::Disable, 1, 0xC9C7BA},
  };
  for (int s = 0; s < 4; ++s) {
    const int w = kSizes[s][0] / 15, h = kSizes[s][1] / 15;
    for (const auto& c : checks) {
      SCOPED_TRACE(std::string(kFaceNames[static_cast<int>(c.face)]) + " size " +
                   std::to_string(s));
      HWND win = Window(Button(c.face, s));
      EXPECT_EQ(Text(At(win, w / 2, c.y)),
                Text({static_cast<int>(c.top >> 16), static_cast<int>((c.top >> 8) & 0xFF),
                      static_cast<int>(c.top & 0xFF)}));
      // The four corners show the window ground outside the rounding.
      for (auto [x, y] :
           {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, h - 1}, std::pair{w - 1, h - 1}}) {
        EXPECT_EQ(Text(At(win, x, y)), "#ECE9D8") << x << "," << y;
      }
    }
    SCOPED_TRACE("Normal edges, size " + std::to_string(s));
    HWND win = Window(Button(Face::Normal, s));
    EXPECT_EQ(Text(At(win, 1, h / 2)), "#003C74");      // left edge
    EXPECT_EQ(Text(At(win, w - 2, h / 2)), "#003C74");  // right edge
    EXPECT_EQ(Text(At(win, w / 2, h - 2)), "#003C74");  // bottom edge
  }
}

TEST_F(ButtonGallery, CaptionIsDrawnOverTheFace) {
  // Some pixel of the middle band of the wide Normal button is caption ink.
  HWND win = Window(Button(Face::Normal, 0));
  bool ink = false;
  for (int x = 40; x < 85 && !ink; ++x) {
    for (int y = 6; y < 19 && !ink; ++y) {
      const Rgb c = At(win, x, y);
      ink = c.r < 120 && c.g < 120 && c.b < 120;
    }
  }
  EXPECT_TRUE(ink);
}

void Input(DWORD flags, int x = 0, int y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_MOVE) {
    in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &in, sizeof in);
  Pump(250);  // more than two ticks of the hover timer
}

TEST_F(ButtonGallery, RealPointerHoverClickAndCancelledClick) {
  live->Initialize();
  HWND w = Window(*live);
  POINT on{20, 12};
  ClientToScreen(w, &on);
  clicks = 0;
  Input(MOUSEEVENTF_MOVE, on.x, on.y);
  EXPECT_EQ(live->ButtonState, 2);
  Input(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(live->MouseIsDown);
  EXPECT_EQ(GetFocus(), w);
  EXPECT_EQ(live->ButtonState, 4);
  Input(MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(clicks, 1);
  Input(MOUSEEVENTF_MOVE, 1020, 760);  // away: the next tick ends the hover
  EXPECT_EQ(live->ButtonState, 3);
  // Press, drag out past a tick, release outside: the capture reports the
  // release to the button, which raises nothing.
  Input(MOUSEEVENTF_MOVE, on.x, on.y);
  Input(MOUSEEVENTF_LEFTDOWN);
  Input(MOUSEEVENTF_MOVE, 1020, 760);
  EXPECT_EQ(live->ButtonState, 3);
  EXPECT_TRUE(live->MouseIsDown);
  Input(MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(live->MouseIsDown);
  EXPECT_EQ(clicks, 1);
}

}  // namespace

// The preview's pixels, through the real adapter.  A child placed into
// another process's window does not paint under Wine, so this program is
// host and preview at once: it makes a pane, runs the start procedure with
// "/p <pane>" as its argument text, and reads the pane back from the screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "startup/app.h"
#include "startup/preview_picture.h"
#include "win32/win32_platform.h"

namespace {

constexpr int kMargin = 20;

// The real adapter, with the command line a host would have given.
class HostedPlatform : public win32::Win32Platform {
 public:
  HostedPlatform(HINSTANCE instance, std::string arguments)
      : Win32Platform(instance), arguments_(std::move(arguments)) {}
  std::string CommandArguments() override { return arguments_; }

 private:
  std::string arguments_;
};

struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;  // 0x00RRGGBB, top row first
  std::uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

Pixels Read(HDC source, int x, int y, int width, int height) {
  Pixels out{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < out.rgb.size(); ++i) out.rgb[i] = p[i] & 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  return out;
}

// The picture as the system decodes it from this program's resources.
Pixels Picture() {
  HINSTANCE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(MIRANE_PREVIEW_PICTURE), RT_RCDATA);
  if (!found) return {};
  const void* bytes = LockResource(LoadResource(self, found));
  SIZE size{};
  HBITMAP bitmap = win32::DecodePicture(bytes, SizeofResource(self, found), size);
  if (!bitmap) return {};
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  Pixels out = Read(dc, 0, 0, size.cx, size.cy);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return out;
}

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

// A host frame with a pane, in this process.
struct Pane {
  Pane(int width, int height) {
    static const bool registered = [] {
      WNDCLASSW frame{};
      frame.lpfnWndProc = DefWindowProcW;
      frame.hInstance = GetModuleHandleW(nullptr);
      frame.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
      frame.lpszClassName = L"PixelTestFrame";
      WNDCLASSW pane = frame;
      pane.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      pane.lpszClassName = L"PixelTestPane";
      return RegisterClassW(&frame) && RegisterClassW(&pane);
    }();
    (void)registered;
    frame = CreateWindowExW(0, L"PixelTestFrame", L"pixel host", WS_POPUP | WS_VISIBLE, 100, 100,
                            width + 2 * kMargin, height + 2 * kMargin, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    pane = CreateWindowExW(0, L"PixelTestPane", L"pane", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                           kMargin, kMargin, width, height, frame, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  ~Pane() {
    DestroyWindow(frame);
    // The preview went with its pane; its toolkit asked the loop to quit.
    Pump(100);
  }
  HWND frame, pane;
};

// Runs the start procedure against a pane and hands back what the screen shows.
struct Preview {
  Preview(int width, int height, const char* shot = nullptr) : pane(width, height) {
    const std::string args =
        "/p " + std::to_string(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(pane.pane)));
    os = std::make_unique<HostedPlatform>(GetModuleHandleW(nullptr), args);
    app = std::make_unique<mirane::App>(*os);
    mirane::Main(*app);
    RedrawWindow(pane.frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump(600);
    RECT r;
    GetWindowRect(pane.pane, &r);
    HDC screen = GetDC(nullptr);
    shown = Read(screen, r.left, r.top, width, height);
    if (shot) Save(screen, shot);
    ReleaseDC(nullptr, screen);
  }

  // The frame with the pane in it, as a 24-bit BMP file.
  void Save(HDC screen, const char* path) const {
    RECT r;
    GetWindowRect(pane.frame, &r);
    const Pixels all = Read(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    const int stride = (all.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = all.width;
    info.biHeight = all.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * all.height;
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return;
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::vector<unsigned char> row(static_cast<std::size_t>(stride));
    for (int y = all.height - 1; y >= 0; --y) {
      for (int x = 0; x < all.width; ++x) {
        const std::uint32_t c = all.At(x, y);
        row[x * 3] = c & 0xFF;
        row[x * 3 + 1] = (c >> 8) & 0xFF;
        row[x * 3 + 2] = (c >> 16) & 0xFF;
      }
      std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
  }

  Pane pane;
  std::unique_ptr<HostedPlatform> os;
  std::unique_ptr<mirane::App> app;
  Pixels shown;
};

// Counts the pixels of the shown area that differ from what is expected:
// the picture at its own size from the top-left corner, black elsewhere.
int Differences(const Pixels& shown, const Pixels& picture) {
  int wrong = 0;
  for (int y = 0; y < shown.height; ++y) {
    for (int x = 0; x < shown.width; ++x) {
      const bool inside = x < picture.width && y < picture.height;
      if (shown.At(x, y) != (inside ? picture.At(x, y) : 0u)) ++wrong;
    }
  }
  return wrong;
}

TEST(PreviewPixels, ThePictureIsTheNightSkyOfTheRightSize) {
  const Pixels picture = Picture();
  ASSERT_EQ(picture.width, 152);
  ASSERT_EQ(picture.height, 112);
  // Navy at the top left, the pale moon near the top right.
  const std::uint32_t sky = picture.At(2, 2);
  EXPECT_GT(sky & 0xFF, ((sky >> 16) & 0xFF) + 20);
  EXPECT_GT((picture.At(96, 30) >> 16) & 0xFF, 200u);
}

TEST(PreviewPixels, ThePictureFillsAPaneOfItsOwnSizeExactly) {
  const Pixels picture = Picture();
  Preview preview(152, 112, std::getenv("MIRANE_PREVIEW_SHOT"));
  EXPECT_EQ(Differences(preview.shown, picture), 0);
}

TEST(PreviewPixels, ALargerPaneShowsThePictureAtTheTopLeftAndBlackElsewhere) {
  const Pixels picture = Picture();
  Preview preview(300, 200);
  EXPECT_EQ(Differences(preview.shown, picture), 0);
  EXPECT_EQ(preview.shown.At(299, 199), 0u);
  EXPECT_EQ(preview.shown.At(152, 0), 0u);
  EXPECT_EQ(preview.shown.At(151, 111), picture.At(151, 111));
}

TEST(PreviewPixels, ASmallerPaneClipsThePicture) {
  const Pixels picture = Picture();
  Preview preview(80, 60);
  EXPECT_EQ(Differences(preview.shown, picture), 0);
}

}  // namespace

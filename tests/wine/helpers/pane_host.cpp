// Test helper: plays the screen-saver host.  Shows a grey frame with a
// borderless preview pane of the given client size inside it and waits
// until it is ended from outside.  Tests find the frame by its class among
// this process's windows and the pane as its only child.  The pane goes
// away when a WM_CLOSE is posted to it (the default handling destroys it).
// Usage: pane_host.exe WIDTH HEIGHT
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK PaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const int width = __argc > 2 ? std::atoi(__argv[1]) : 152;
  const int height = __argc > 2 ? std::atoi(__argv[2]) : 112;
  constexpr int kMargin = 20;

  WNDCLASSW frame{};
  frame.lpfnWndProc = DefWindowProcW;
  frame.hInstance = instance;
  frame.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
  frame.lpszClassName = L"MiraneTestHostFrame";
  RegisterClassW(&frame);
  WNDCLASSW pane{};
  pane.lpfnWndProc = PaneProc;
  pane.hInstance = instance;
  pane.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  pane.lpszClassName = L"MiraneTestHostPane";
  RegisterClassW(&pane);

  HWND top = CreateWindowExW(0, frame.lpszClassName, L"preview host", WS_POPUP | WS_VISIBLE, 300,
                             200, width + 2 * kMargin, height + 2 * kMargin, nullptr, nullptr,
                             instance, nullptr);
  CreateWindowExW(0, pane.lpszClassName, L"preview pane", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                  kMargin, kMargin, width, height, top, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

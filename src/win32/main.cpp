// The program's entry: the start procedure, then the message loop.
#include "startup/app.h"
#include "win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  win32::Win32Platform platform(instance);
  mirane::App app(platform);
  mirane::Main(app);
  platform.RunMessageLoop();
  return 0;
}

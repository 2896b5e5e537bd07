// The program's entry: the start procedure, then the message loop.
#include <cstdlib>

#include "startup/app.h"
#include "win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  win32::Win32Platform platform(instance);
  mirane::App app(platform);
  mirane::Main(app);
  platform.RunMessageLoop();
  return 0;
}

// The runtime's default terminate handler demangles the exception's type name
// for a console nobody sees; a GUI program has no use for it, and dropping it
// keeps the demangler out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

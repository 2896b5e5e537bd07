// Test helper: what the real adapter and the settings loader see from the
// folder this program was started in, written as UTF-8 to probe.txt there.
#include <windows.h>

#include <string>

#include "settings/settings.h"
#include "startup/app.h"
#include "win32/win32_platform.h"

namespace {

std::string Utf8(const std::u16string& text) {
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  win32::Win32Platform os(instance);
  mirane::App app(os);
  const auto& codec = os.codec();
  mirane::LoadSettings(os, app.shared, app.settings);
  const std::u16string folder = codec.FromAnsi(os.ProgramFolder());
  std::string out = "folder=" + Utf8(folder) + "\n";
  out += "args=" + Utf8(codec.FromAnsi(os.CommandArguments())) + "\n";
  out += "engine=" +
         std::to_string(mirane::FileExists(os, mirane::BesideProgram(os, mirane::kEngineName))) +
         "\n";
  out += "kind=" + std::to_string(app.settings.BgmKind) + "\n";
  out += "repeat=" + std::to_string(app.settings.BgmRepeat) + "\n";
  out += "file=" + Utf8(app.settings.BgmFile) + "\n";
  const std::u16string path = folder + u"\\probe.txt";
  HANDLE f = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(f, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  CloseHandle(f);
  return 0;
}

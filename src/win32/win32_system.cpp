#include "win32/win32_platform.h"

#include <mmsystem.h>

namespace win32 {

// --- Codec ---

std::string AnsiCodec::ToAnsi(std::u16string_view text) const {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int n = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, n, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::u16string AnsiCodec::FromAnsi(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int n = static_cast<int>(bytes.size());
  const int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(chars), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, reinterpret_cast<wchar_t*>(out.data()), chars);
  return out;
}

// --- System ---

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {}

platform::Hwnd Win32Platform::FindWindowA(std::string_view title) {
  return FromHwnd(::FindWindowA(nullptr, Z(title).c_str()));
}

std::int32_t Win32Platform::ShowCursor(std::int32_t show) {
  return ::ShowCursor(show);
}

std::uint32_t Win32Platform::GetPrivateProfileStringA(std::string_view section,
                                                      std::string_view key,
                                                      std::string_view default_value,
                                                      std::span<char> buffer,
                                                      std::string_view file) {
  return ::GetPrivateProfileStringA(Z(section).c_str(), Z(key).c_str(), Z(default_value).c_str(),
                                    buffer.data(), static_cast<DWORD>(buffer.size()),
                                    Z(file).c_str());
}

std::int32_t Win32Platform::WritePrivateProfileStringA(std::string_view section,
                                                       std::string_view key, std::string_view value,
                                                       std::string_view file) {
  return ::WritePrivateProfileStringA(Z(section).c_str(), Z(key).c_str(), Z(value).c_str(),
                                      Z(file).c_str());
}

bool Win32Platform::TryOpenForReading(std::string_view path) {
  // Sharing everything lets the open succeed on a file that another program
  // merely has open.  A folder cannot be opened this way, as it should be.
  HANDLE file = CreateFileA(Z(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::string Win32Platform::ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  // Cut at the last separator in characters, not bytes: a trail byte of a
  // double-byte character can have the value of "\".
  std::u16string wide = codec_.FromAnsi(path);
  const std::size_t sep = wide.rfind(u'\\');
  if (sep == std::u16string::npos) return {};
  wide.resize(sep);
  if (wide.size() == 2 && wide[1] == u':') wide += u'\\';  // a drive root keeps its separator
  return codec_.ToAnsi(wide);
}

std::string Win32Platform::CommandArguments() {
  // Skip the program's name (quoted or not) and the blanks after it; no
  // byte of a double-byte character can be a quote or a blank.
  const char* p = GetCommandLineA();
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

std::int32_t Win32Platform::MessageBoxA(platform::Hwnd owner, std::string_view text,
                                        std::string_view caption, std::uint32_t style) {
  return ::MessageBoxA(ToHwnd(owner), Z(text).c_str(), Z(caption).c_str(), style);
}

void Win32Platform::EndProcess(std::uint32_t exit_code) {
  ExitProcess(exit_code);
}

std::int32_t Win32Platform::TwipsPerPixelX() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? 1440 / dpi : 15;
}

std::int32_t Win32Platform::TwipsPerPixelY() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? 1440 / dpi : 15;
}

// --- Media ---

std::uint32_t Win32Media::mciSendStringA(std::string_view command, std::span<char> reply,
                                         platform::Hwnd callback) {
  return ::mciSendStringA(Z(command).c_str(), reply.empty() ? nullptr : reply.data(),
                          static_cast<UINT>(reply.size()), ToHwnd(callback));
}

std::int32_t Win32Media::mciGetErrorStringA(std::uint32_t code, std::span<char> buffer) {
  return ::mciGetErrorStringA(code, buffer.data(), static_cast<UINT>(buffer.size()));
}

std::uint32_t Win32Media::waveOutGetNumDevs() {
  return ::waveOutGetNumDevs();
}

std::int32_t Win32Media::PlaySoundA(std::optional<std::string_view> sound, std::uint32_t module,
                                    std::uint32_t flags) {
  const std::string name = sound ? Z(*sound) : std::string();
  return ::PlaySoundA(sound ? name.c_str() : nullptr,
                      reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(module)), flags);
}

}  // namespace win32

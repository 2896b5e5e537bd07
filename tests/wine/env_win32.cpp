// The contract tests' machine under Wine: the real adapter and real files.
#include <windows.h>

#include <cstdlib>

#include "contract/contract_env.h"
#include "win32/win32_platform.h"

namespace contract {

namespace {

std::wstring Wide(const std::string& ansi) {
  const int n =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
  return out;
}

class Win32Env : public Env {
 public:
  Win32Env() : os_(GetModuleHandleA(nullptr)) {}
  platform::Platform& os() override { return os_; }

  std::string Folder() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"試験 ミラネ";
    CreateDirectoryW(base.c_str(), nullptr);
    for (unsigned n = GetTickCount();; ++n) {
      const std::wstring folder = base + L"\\フォルダ" + std::to_wstring(n);
      if (CreateDirectoryW(folder.c_str(), nullptr)) {
        return os_.codec().ToAnsi(std::u16string(folder.begin(), folder.end()));
      }
    }
  }
  void WriteFile(const std::string& path, const std::string& bytes) override {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(f);
    return out;
  }
  void MakeFolder(const std::string& path) override {
    CreateDirectoryW(Wide(path).c_str(), nullptr);
  }
  std::shared_ptr<void> HoldOpenForReading(const std::string& path) override {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return std::shared_ptr<void>(f, [](void* h) { CloseHandle(h); });
  }
  bool CopyMusic(const std::string& name, const std::string& to) override {
    // The bench set-up makes the sounds and names their folder.
    const char* music = std::getenv("MIRANE_MUSIC");
    if (music == nullptr || *music == '\0') return false;
    return CopyFileW(Wide(std::string(music) + "\\" + name).c_str(), Wide(to).c_str(), FALSE) != 0;
  }
  void Wait(std::uint32_t milliseconds) override { Sleep(milliseconds); }

 private:
  win32::Win32Platform os_;
};

}  // namespace

std::unique_ptr<Env> MakeEnv() {
  return std::make_unique<Win32Env>();
}

}  // namespace contract

// What the end-to-end tests do to the real program under Wine: lay out a
// folder, start the program, find and read its windows, answer them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// What stands in for the engine file in the test folders.
inline constexpr const wchar_t* kEngineSource = L"ミラネ.dll";

// The folder of the test programs and the product.
std::wstring BinDir();
std::string Utf8(const std::wstring& text);

// A fresh folder under the temporary folder, with the product copied in.
class Sandbox {
 public:
  explicit Sandbox(const std::wstring& name, bool with_engine = true);
  const std::wstring& dir() const { return dir_; }
  std::wstring Path(const std::wstring& name) const { return dir_ + L"\\" + name; }
  void Copy(const std::wstring& from_bin, const std::wstring& to_name) const;
  void Write(const std::wstring& name, const std::string& bytes) const;
  std::optional<std::string> Read(const std::wstring& name) const;
  void Remove(const std::wstring& name) const;

 private:
  std::wstring dir_;
};

// A started process, ended by force if the test leaves it running.
class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& args);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD pid() const { return info_.dwProcessId; }
  bool started() const { return info_.hProcess != nullptr; }
  // The exit code once it has ended within the time, else nullopt.
  std::optional<DWORD> WaitExit(DWORD milliseconds);

 private:
  PROCESS_INFORMATION info_{};
};

// A top-level window of the process with this class and title, waited for.
HWND WaitForWindow(DWORD pid, const wchar_t* cls, const wchar_t* title, DWORD milliseconds);
// Any top-level window of the process, visible or not.
std::vector<HWND> WindowsOf(DWORD pid);

struct Child {
  HWND hwnd;
  std::wstring cls;
  std::wstring text;
  LONG style;
  bool visible;
};
std::vector<Child> Children(HWND parent);
std::wstring TextOf(HWND window);

}  // namespace e2e

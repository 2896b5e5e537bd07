#include "win32/win32_platform.h"

namespace win32 {

std::uint32_t Win32Processes::Shell(std::string_view path, std::int32_t window_style) {
  // The path is the whole command line, as it is; naming it as the program
  // too keeps the system from trying shorter names at the blanks of an
  // unquoted path ("C:\Program.exe").
  const std::string program = Z(path);
  std::string command = Z(path);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(window_style);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &info)) {
    return 0;
  }
  CloseHandle(info.hThread);
  started_[info.dwProcessId] = UniqueHandle(info.hProcess);
  return info.dwProcessId;
}

bool Win32Processes::ProcessRunning(std::uint32_t task_id) {
  const auto it = started_.find(task_id);
  if (it == started_.end()) return false;
  return WaitForSingleObject(it->second.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace win32

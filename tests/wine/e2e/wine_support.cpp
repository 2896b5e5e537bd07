#include "e2e/wine_support.h"

namespace e2e {

std::wstring BinDir() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path);
  return s.substr(0, s.rfind(L'\\'));
}

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

Sandbox::Sandbox(const std::wstring& name, bool with_engine) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring base = std::wstring(temp) + L"ミラネ e2e";
  CreateDirectoryW(base.c_str(), nullptr);
  for (unsigned n = GetTickCount();; ++n) {
    dir_ = base + L"\\" + name + std::to_wstring(n);
    if (CreateDirectoryW(dir_.c_str(), nullptr)) break;
  }
  Copy(L"ミラネ.scr", L"ミラネ.scr");
  if (with_engine) Copy(kEngineSource, L"ミラネ.dll");
}

void Sandbox::Copy(const std::wstring& from_bin, const std::wstring& to_name) const {
  CopyFileW((BinDir() + L"\\" + from_bin).c_str(), Path(to_name).c_str(), FALSE);
}

void Sandbox::Write(const std::wstring& name, const std::string& bytes) const {
  HANDLE f = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

std::optional<std::string> Sandbox::Read(const std::wstring& name) const {
  HANDLE f = CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string out;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
  CloseHandle(f);
  return out;
}

void Sandbox::Remove(const std::wstring& name) const {
  DeleteFileW(Path(name).c_str());
}

Process::Process(const std::wstring& exe, const std::wstring& args) {
  std::wstring command = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &info_)) {
    info_ = {};
  }
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

std::optional<DWORD> Process::WaitExit(DWORD milliseconds) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

namespace {

struct Search {
  DWORD pid;
  std::vector<HWND> found;
};

// A named callback: a lambda has no stdcall conversion on 32-bit targets.
BOOL CALLBACK CollectWindowOf(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->pid) s->found.push_back(w);
  return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOf(DWORD pid) {
  Search search{pid, {}};
  EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD pid, const wchar_t* cls, const wchar_t* title, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    for (HWND w : WindowsOf(pid)) {
      wchar_t c[256] = {};
      GetClassNameW(w, c, 256);
      if ((!cls || std::wstring(c) == cls) && (!title || TextOf(w) == title)) return w;
    }
    Sleep(20);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  return text;
}

std::vector<Child> Children(HWND parent) {
  std::vector<Child> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[256] = {};
    GetClassNameW(c, cls, 256);
    out.push_back({c, cls, TextOf(c), GetWindowLongW(c, GWL_STYLE), IsWindowVisible(c) != 0});
  }
  return out;
}

}  // namespace e2e

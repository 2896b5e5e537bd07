// A stand-in for the animation engine, for tests and demonstrations: a
// full-screen window titled "ミラネVC" with a calm animation, which closes
// on a key, a click or a real mouse move, as a screen saver does.
//
// Test switches, read from the environment (the saver itself reads none):
//   MIRANE_ENGINE_LOG=file       append the command line (UTF-8) and the
//                                window style it was given, as one line,
//                                and "window closed" when its window goes
//   MIRANE_ENGINE_DELAY_MS=n     open the window n ms late
//   MIRANE_ENGINE_NO_WINDOW=1    exit (after the delay) without a window
//   MIRANE_ENGINE_CLOSE_MS=n     close the window n ms after it opened
//   MIRANE_ENGINE_CRASH_MS=n     crash n ms after the window opened
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT_PTR kCloseTimer = 2;
constexpr UINT_PTR kCrashTimer = 3;
constexpr UINT kFrameMs = 40;  // 25 frames a second
constexpr int kMoveSlack = 4;  // pixels the pointer may wander

POINT g_start{};
bool g_first_move = true;
DWORD g_frame = 0;

std::wstring Env(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD n = GetEnvironmentVariableW(name, value, 1024);
  return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

UINT EnvMs(const wchar_t* name) {
  const std::wstring v = Env(name);
  return v.empty() ? 0 : static_cast<UINT>(wcstoul(v.c_str(), nullptr, 10));
}

void AppendToLog(const std::string& line) {
  const std::wstring file = Env(L"MIRANE_ENGINE_LOG");
  if (file.empty()) return;
  HANDLE f = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(f);
}

void LogCommandLine() {
  const wchar_t* cmd = GetCommandLineW();
  const int n = WideCharToMultiByte(CP_UTF8, 0, cmd, -1, nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, cmd, -1, line.data(), n, nullptr, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  line +=
      "\tshow=" +
      ((si.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(si.wShowWindow) : std::string("-")) +
      "\n";
  AppendToLog(line);
}

// Slow, soft rings drifting over a deep blue gradient.
void Paint(HDC dc, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  const int bands = 32;
  for (int i = 0; i < bands; ++i) {
    RECT band{0, h * i / bands, w, h * (i + 1) / bands};
    HBRUSH b = CreateSolidBrush(RGB(8, 10 + i * 2, 40 + i * 3));
    FillRect(mem, &band, b);
    DeleteObject(b);
  }
  const double t = g_frame * kFrameMs / 1000.0;
  SelectObject(mem, GetStockObject(NULL_BRUSH));
  for (int k = 0; k < 6; ++k) {
    const double phase = t * 0.25 + k * 1.047;
    const int cx = w / 2 + static_cast<int>(std::cos(phase) * w * 0.28);
    const int cy = h / 2 + static_cast<int>(std::sin(phase * 1.3) * h * 0.25);
    const int radius = 40 + static_cast<int>((std::sin(t * 0.6 + k) + 1.0) * 50);
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(90 + k * 25, 160, 230 - k * 20));
    HGDIOBJ old_pen = SelectObject(mem, pen);
    Ellipse(mem, cx - radius, cy - radius, cx + radius, cy + radius);
    SelectObject(mem, old_pen);
    DeleteObject(pen);
  }
  SetBkMode(mem, TRANSPARENT);
  SetTextColor(mem, RGB(200, 210, 240));
  const wchar_t title[] = L"ミラネ";
  TextOutW(mem, w / 2 - 30, h - 60, title, 3);
  BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kFrameTimer) {
        ++g_frame;
        InvalidateRect(hwnd, nullptr, FALSE);
      } else if (wp == kCloseTimer) {
        DestroyWindow(hwnd);
      } else if (wp == kCrashTimer) {
        *static_cast<volatile int*>(nullptr) = 1;  // a crash, on purpose
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      Paint(dc, r);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE: {
      // The first move is the system telling where the pointer already is.
      if (g_first_move) {
        g_first_move = false;
        return 0;
      }
      POINT p;
      GetCursorPos(&p);
      if (std::abs(p.x - g_start.x) > kMoveSlack || std::abs(p.y - g_start.y) > kMoveSlack) {
        DestroyWindow(hwnd);
      }
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      AppendToLog("window closed\n");
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  LogCommandLine();
  if (const UINT delay = EnvMs(L"MIRANE_ENGINE_DELAY_MS")) Sleep(delay);
  if (!Env(L"MIRANE_ENGINE_NO_WINDOW").empty()) return 0;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"MiraneEngineStandIn";
  RegisterClassExW(&wc);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"ミラネVC", WS_POPUP, 0, 0, w, h,
                              nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  GetCursorPos(&g_start);
  ShowWindow(hwnd, show == SW_HIDE ? SW_SHOWNORMAL : show);
  SetForegroundWindow(hwnd);
  SetTimer(hwnd, kFrameTimer, kFrameMs, nullptr);
  if (const UINT ms = EnvMs(L"MIRANE_ENGINE_CLOSE_MS")) SetTimer(hwnd, kCloseTimer, ms, nullptr);
  if (const UINT ms = EnvMs(L"MIRANE_ENGINE_CRASH_MS")) SetTimer(hwnd, kCrashTimer, ms, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

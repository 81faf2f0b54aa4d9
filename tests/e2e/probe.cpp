// qp_probe: looks at a running Quillpane from outside, as a user sees it.
// Started in the viewer's Wine virtual desktop, it finds the main window and
// writes key=value lines into OUT, renamed into place once whole (a program
// started through explorer /desktop cannot reach the caller's stdout). The
// last line is exit=N: 0 done, 1 a wait ran out, 2 misuse.
//   qp_probe OUT wait MS             until the first paint has titled the
//                                    window and written the status bar
//   qp_probe OUT until MS KEY=VALUE  until KEY has VALUE (KEY!=VALUE: another)
//   qp_probe OUT exited MS PID       until process PID ends, with its exit
//                                    code; OUT.ready once it holds the process
//   qp_probe OUT cpu MS PID          PID's processor time over MS, as
//                                    cpu_percent of one core
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Info = std::map<std::string, std::string>;
FILE* out = nullptr;

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

// A status bar part of another process: fetched into that process's memory.
std::string StatusText(HANDLE process, HWND statusBar, int part) {
  char text[256] = {};
  void* remote = VirtualAllocEx(process, nullptr, sizeof text, MEM_COMMIT, PAGE_READWRITE);
  if (remote == nullptr) return "<unreadable>";
  SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, text, sizeof text - 1, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return text;
}

// A hash of the screen's pixels in R: a test sees the view change or come back.
std::string PixelHash(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return "empty";
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO format = {};
  format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  unsigned long long hash = 14695981039346656037ull;  // FNV-1a
  for (DWORD pixel : pixels) hash = (hash ^ (pixel & 0xFFFFFF)) * 1099511628211ull;
  return std::to_string(hash);
}

// The clipboard's CF_TEXT as hex, read inside the session: the exact bytes,
// CR LF included (X's copy of it turns CR LF into LF).
std::string ClipboardHex() {
  std::string hex;
  if (!OpenClipboard(nullptr)) return "<closed>";
  HANDLE data = GetClipboardData(CF_TEXT);
  for (const char* p = data ? static_cast<const char*>(GlobalLock(data)) : ""; p != nullptr && *p != 0; ++p) {
    hex += "0123456789abcdef"[(*p >> 4) & 15];
    hex += "0123456789abcdef"[*p & 15];
  }
  if (data != nullptr) GlobalUnlock(data);
  CloseClipboard();
  return hex;
}

// What a user sees of the viewer; rectangles are "left top right bottom" on
// the screen.
Info Collect() {
  Info info;
  HWND window = FindWindowA("MittLillaFunster", nullptr);
  info["found"] = window != nullptr ? "1" : "0";
  if (window == nullptr) return info;
  char title[1024] = {};
  GetWindowTextA(window, title, sizeof title);
  info["title"] = title;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  info["pid"] = std::to_string(pid);
  info["foreground"] = GetForegroundWindow() == window ? "1" : "0";
  RECT rect, view;
  GetWindowRect(window, &rect);
  info["window"] = Rect(rect);
  info["window_size"] = std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
  // Wine does not answer WM_GETTITLEBARINFOEX: the close box is the last
  // caption button, SM_CXSIZE x SM_CYSIZE at the right end of the title bar.
  TITLEBARINFO titleBar = {};
  titleBar.cbSize = sizeof titleBar;
  GetTitleBarInfo(window, &titleBar);
  rect = titleBar.rcTitleBar;
  rect.left = rect.right - GetSystemMetrics(SM_CXSIZE);
  rect.bottom = rect.top + GetSystemMetrics(SM_CYSIZE);
  info["close"] = Rect(rect);
  GetClientRect(window, &view);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&view), 2);
  info["client"] = Rect(view);
  // The view: the client area above the status bar, left of the scroll bar.
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (HWND statusBar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr)) {
    info["status0"] = StatusText(process, statusBar, 0);
    info["status1"] = StatusText(process, statusBar, 1);
    GetWindowRect(statusBar, &rect);
    view.bottom = rect.top;
  }
  if (process != nullptr) CloseHandle(process);
  // The Configuration dialog while it is open: its rectangle, its owner,
  // and by control id each control's rectangle and check state.
  if (HWND config = FindWindowA("#32770", "Quillpane Configuration")) {
    GetWindowRect(config, &rect);
    info["config"] = Rect(rect);
    info["config_owner"] = GetWindow(config, GW_OWNER) == window ? "main" : "other";
    for (HWND control = GetWindow(config, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
      const std::string key = "config_" + std::to_string(GetDlgCtrlID(control));
      GetWindowRect(control, &rect);
      info[key] = Rect(rect);
      info[key + "_check"] = std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0));
    }
  }
  HWND popup = FindWindowA("#32768", nullptr);  // an open menu
  if (popup != nullptr && IsWindowVisible(popup) && GetWindowRect(popup, &rect))
    info["menu_popup"] = Rect(rect);
  if (HWND about = FindWindowA("#32770", "About")) {
    info["about"] = IsWindowVisible(about) ? "1" : "0";
    GetWindowRect(GetDlgItem(about, 1100), &rect);
    info["about_ok"] = Rect(rect);
  }
  HWND scrollBar = FindWindowExA(window, nullptr, "ScrollBar", nullptr);
  info["scrollbar"] = scrollBar == nullptr ? "none" : "shown";
  if (scrollBar != nullptr) {
    GetWindowRect(scrollBar, &rect);
    info["scrollbar_rect"] = Rect(rect);
    info["scroll_pos"] = std::to_string(GetScrollPos(scrollBar, SB_CTL));
    view.right = rect.left;
  }
  info["view_pixels"] = PixelHash(view);
  info["clipboard"] = ClipboardHex();
  return info;
}

// Polls until DONE holds or MS have passed; writes what it saw last.
int Poll(DWORD ms, const std::function<bool(Info&)>& done) {
  for (const DWORD start = GetTickCount();; Sleep(40)) {
    Info info = Collect();
    const bool ok = done(info);
    if (ok || GetTickCount() - start > ms) {
      for (const auto& [key, value] : info) std::fprintf(out, "%s=%s\n", key.c_str(), value.c_str());
      return ok ? 0 : 1;
    }
  }
}

// Processor time of PID's threads, in milliseconds: Wine answers
// GetProcessTimes with zeros for another process, but knows each thread's.
double BusyMs(DWORD pid) {
  double ms = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {sizeof entry, 0, 0, 0, 0, 0, 0};
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    HANDLE thread = entry.th32OwnerProcessID != pid
                        ? nullptr
                        : OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
    FILETIME times[4];
    if (thread != nullptr && GetThreadTimes(thread, &times[0], &times[1], &times[2], &times[3])) {
      for (const FILETIME& t : {times[2], times[3]})
        ms += (ULONGLONG{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e4;
    }
    if (thread != nullptr) CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return ms;
}

// Holds the process from before the user's action to its end: its exit code
// is lost once it has ended unheld.
int Exited(DWORD ms, DWORD pid, const std::string& readyPath) {
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  CloseHandle(CreateFileA(readyPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD code = STILL_ACTIVE;
  if (process != nullptr && WaitForSingleObject(process, ms) == WAIT_OBJECT_0)
    GetExitCodeProcess(process, &code);
  if (process != nullptr) CloseHandle(process);
  if (code == STILL_ACTIVE) return 1;
  std::fprintf(out, "exit_code=%lu\n", code);
  return 0;
}

int Run(int argc, char** argv) {
  const std::string command = argv[2], argument = argc > 4 ? argv[4] : "";
  const DWORD ms = std::strtoul(argv[3], nullptr, 10);
  if (command == "wait") {
    return Poll(ms, [](Info& info) {
      return !info["title"].empty() && info["title"] != "Quillpane" && !info["status0"].empty();
    });
  }
  const size_t equal = argument.find('=');
  if (command == "until" && equal != std::string::npos && equal > 0) {
    const bool differ = argument[equal - 1] == '!';
    const std::string key = argument.substr(0, differ ? equal - 1 : equal),
                      value = argument.substr(equal + 1);
    return Poll(ms, [&](Info& info) {
      const auto found = info.find(key);
      return (found == info.end() ? "<absent>" : found->second) == value ? !differ : differ;
    });
  }
  if (command == "cpu") {
    const DWORD pid = std::strtoul(argument.c_str(), nullptr, 10), start = GetTickCount();
    const double before = BusyMs(pid);
    Sleep(ms);
    std::fprintf(out, "cpu_percent=%.1f\n", 100.0 * (BusyMs(pid) - before) / (GetTickCount() - start));
    return 0;
  }
  if (command == "exited")
    return Exited(ms, std::strtoul(argument.c_str(), nullptr, 10), std::string(argv[1]) + ".ready");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const std::string path = argv[1], part = path + ".part";
  out = std::fopen(part.c_str(), "wb");
  if (out == nullptr) return 2;
  const int status = Run(argc, argv);
  std::fprintf(out, "exit=%d\n", status);
  std::fclose(out);
  return MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? status : 2;
}

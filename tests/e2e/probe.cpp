// qp_probe: looks at a running Quillpane from outside, as a user sees it.
// Started in the viewer's Wine virtual desktop, it finds the main window by
// class and writes key=value lines into OUT, renamed into place once whole:
// a program started through explorer /desktop has no way back to the
// caller's stdout. The last line is exit=N: 0 done, 1 a wait ran out, 2
// misuse.
//
//   qp_probe OUT wait MS              until the first paint has titled the
//                                     window and written the status bar
//   qp_probe OUT until MS KEY=VALUE   until KEY has VALUE (KEY!=VALUE: until
//                                     it has another; "<absent>" when none)
//   qp_probe OUT picture MS SHEET DOC ROW W H
//                                     until the W x H pixels at client point
//                                     (10, 10), the picture's origin, show
//                                     the glyphs of DOC (lines ended by line
//                                     feeds, cut at a zero byte) from line
//                                     ROW on at zoom 8, white without a byte
//   qp_probe OUT about MS LOGO.bmp    until the About dialog shows LOGO and
//                                     "Ver: 0.8.8 beta"
//   qp_probe OUT cpu MS PID           PID's processor time over MS as
//                                     cpu_percent (of one core)
//   qp_probe OUT exited MS PID        until process PID ends; prints its
//                                     exit code. Creates OUT.ready once it
//                                     holds the process, so that the caller
//                                     can make it end after that.
//
// The polling commands end with what they saw last (see Collect).
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
constexpr int kCell = 8;
constexpr int kSheetRows = 46;  // the glyph sheet's cells run down columns of 46

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

std::string Size(long width, long height) { return std::to_string(width) + "x" + std::to_string(height); }

std::string Get(const Info& info, const std::string& key) {
  const auto found = info.find(key);
  return found == info.end() ? "<absent>" : found->second;
}

HWND MainWindow() { return FindWindowA("MittLillaFunster", nullptr); }

// A status bar part of another process: the text is fetched into that
// process's memory first.
std::string StatusText(HANDLE process, HWND statusBar, int part) {
  const SIZE_T size = LOWORD(SendMessageA(statusBar, SB_GETTEXTLENGTHA, part, 0)) + 1;
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr) return "<unreadable>";
  std::string text(size, '\0');
  SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, &text[0], size, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return text.c_str();
}

// The run counter as the viewer has stored it (0 while there is none), in
// the registry view of the viewer's bitness.
DWORD StoredRuns(HANDLE process) {
  BOOL wow64 = FALSE;
  IsWow64Process(process, &wow64);
  HKEY key;
  DWORD runs = 0, size = sizeof runs;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Molvo\\Quillpane", 0,
                    KEY_QUERY_VALUE | (wow64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY), &key) == ERROR_SUCCESS) {
    RegQueryValueExA(key, "Times", nullptr, nullptr, reinterpret_cast<BYTE*>(&runs), &size);
    RegCloseKey(key);
  }
  return runs;
}

// What a user sees of the viewer; rectangles are "left top right bottom"
// in screen coordinates, sizes "WIDTHxHEIGHT".
Info Collect() {
  Info info;
  HWND window = MainWindow();
  info["found"] = window != nullptr ? "1" : "0";
  if (window == nullptr) return info;
  char title[1024] = {};
  GetWindowTextA(window, title, sizeof title);
  info["title"] = title;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  info["pid"] = std::to_string(pid);
  info["foreground"] = GetForegroundWindow() == window ? "1" : "0";
  RECT rect;
  GetWindowRect(window, &rect);
  info["window"] = Rect(rect);
  info["window_size"] = Size(rect.right - rect.left, rect.bottom - rect.top);
  GetClientRect(window, &rect);
  info["client_size"] = Size(rect.right, rect.bottom);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  info["client"] = Rect(rect);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
  info["work_area"] = Rect(rect);
  // Wine does not answer WM_GETTITLEBARINFOEX: the close box is the last
  // caption button, SM_CXSIZE x SM_CYSIZE at the right end of the title bar.
  TITLEBARINFO titleBar = {};
  titleBar.cbSize = sizeof titleBar;
  GetTitleBarInfo(window, &titleBar);
  rect = titleBar.rcTitleBar;
  rect.left = rect.right - GetSystemMetrics(SM_CXSIZE);
  rect.bottom = rect.top + GetSystemMetrics(SM_CYSIZE);
  info["close"] = Rect(rect);

  HANDLE process = OpenProcess(
      PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (HWND statusBar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr)) {
    info["status0"] = StatusText(process, statusBar, 0);
    info["status1"] = StatusText(process, statusBar, 1);
  }
  info["runs"] = std::to_string(StoredRuns(process));
  if (process != nullptr) CloseHandle(process);

  // An open menu is a top-level window of the menu class.
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup != nullptr && IsWindowVisible(popup)) {
    GetWindowRect(popup, &rect);
    info["menu_popup"] = Rect(rect);
  }
  if (HWND about = FindWindowA("#32770", "About")) {
    info["about"] = IsWindowVisible(about) ? "1" : "0";
    GetWindowRect(GetDlgItem(about, 1100), &rect);
    info["about_ok"] = Rect(rect);
  }
  HWND scrollBar = FindWindowExA(window, nullptr, "ScrollBar", nullptr);
  info["scrollbar"] = scrollBar == nullptr ? "none" : IsWindowVisible(scrollBar) ? "shown" : "hidden";
  if (scrollBar != nullptr) {
    GetWindowRect(scrollBar, &rect);
    info["scrollbar_rect"] = Rect(rect);
    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    GetScrollInfo(scrollBar, SB_CTL, &scroll);
    info["scroll_range"] =
        std::to_string(scroll.nMin) + " " + std::to_string(scroll.nMax) + " " + std::to_string(scroll.nPage);
    info["scroll_pos"] = std::to_string(scroll.nPos);
  }
  return info;
}

// Polls until DONE holds or MS have passed; writes what it saw last.
int Poll(DWORD ms, const std::function<bool(Info&)>& done) {
  const DWORD start = GetTickCount();
  for (;;) {
    Info info = Collect();
    const bool ok = done(info);
    if (ok || GetTickCount() - start > ms) {
      for (const auto& [key, value] : info) std::fprintf(out, "%s=%s\n", key.c_str(), value.c_str());
      return ok ? 0 : 1;
    }
    Sleep(40);
  }
}

// The pixels of BITMAP (not selected into a DC), top row first, as 0xRRGGBB.
std::vector<DWORD> Pixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

std::vector<DWORD> CaptureClient(HWND window, int width, int height, POINT origin = {10, 10}) {
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::vector<DWORD> pixels = Pixels(bitmap, width, height);
  DeleteObject(bitmap);
  return pixels;
}

char Mark(DWORD pixel) { return pixel == 0 ? '#' : pixel == 0xFFFFFF ? '.' : '?'; }

int Picture(DWORD ms, char** args) {
  HBITMAP sheetBitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, args[0], IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  FILE* document = std::fopen(args[1], "rb");
  const int firstRow = std::atoi(args[2]), width = std::atoi(args[3]), height = std::atoi(args[4]);
  if (sheetBitmap == nullptr || document == nullptr || width <= 0 || height <= 0) return 2;
  BITMAP sheetSize;
  GetObjectA(sheetBitmap, sizeof sheetSize, &sheetSize);
  const std::vector<DWORD> sheet = Pixels(sheetBitmap, sheetSize.bmWidth, sheetSize.bmHeight);
  DeleteObject(sheetBitmap);
  std::vector<std::string> lines(1);
  for (int byte; (byte = std::fgetc(document)) > 0;) {
    if (byte == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += static_cast<char>(byte);
    }
  }
  std::fclose(document);

  return Poll(ms, [&](Info& info) {
    HWND window = MainWindow();
    if (window == nullptr) return false;
    const std::vector<DWORD> shot = CaptureClient(window, width, height);
    for (int row = 0; row < height / kCell; ++row) {
      const size_t line = static_cast<size_t>(firstRow + row);
      const std::string text = line < lines.size() ? lines[line] : "";
      for (int column = 0; column < width / kCell; ++column) {
        const int byte =
            column < static_cast<int>(text.size()) ? static_cast<unsigned char>(text[column]) : -1;
        const int cell = byte <= 2 ? 0 : byte - 2;  // bytes 1 and 2 share the first cell
        std::string expected, actual;
        for (int y = 0; y < kCell; ++y) {
          for (int x = 0; x < kCell; ++x) {
            expected += byte < 0 ? '.'
                                 : Mark(sheet[(cell % kSheetRows * kCell + y) * sheetSize.bmWidth +
                                              cell / kSheetRows * kCell + x]);
            actual += Mark(shot[(row * kCell + y) * width + column * kCell + x]);
          }
          if (y + 1 < kCell) expected += '/', actual += '/';
        }
        if (expected != actual || expected.find('?') != std::string::npos) {
          info["mismatch"] = "line " + std::to_string(line) + " column " + std::to_string(column) + " byte " +
                             std::to_string(byte);
          info["mismatch_expected"] = expected;
          info["mismatch_actual"] = actual;
          return false;
        }
      }
    }
    return true;
  });
}

// Until the About dialog shows the logo at (W/2 - 70, 70) and the version
// line at (2, H - 18), drawn white on black in the system font.
int About(DWORD ms, const char* logoPath) {
  HBITMAP logoBitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, logoPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  const char version[] = "Ver: 0.8.8 beta";
  HDC memory = CreateCompatibleDC(nullptr);
  SIZE versionSize;
  GetTextExtentPoint32A(memory, version, lstrlenA(version), &versionSize);
  HBITMAP versionBitmap = CreateBitmap(versionSize.cx, versionSize.cy, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(memory, versionBitmap);
  SetTextColor(memory, RGB(255, 255, 255));
  SetBkColor(memory, RGB(0, 0, 0));
  TextOutA(memory, 0, 0, version, lstrlenA(version));
  SelectObject(memory, old);
  DeleteDC(memory);
  const std::vector<DWORD> logo = Pixels(logoBitmap, 141, 56),
                           text = Pixels(versionBitmap, versionSize.cx, versionSize.cy);
  DeleteObject(logoBitmap);
  DeleteObject(versionBitmap);
  return Poll(ms, [&](Info& info) {
    HWND about = FindWindowA("#32770", "About");
    RECT client;
    if (about == nullptr || !GetClientRect(about, &client)) return false;
    info["logo"] = CaptureClient(about, 141, 56, {client.right / 2 - 70, 70}) == logo ? "shown" : "other";
    info["version"] = CaptureClient(about, versionSize.cx, versionSize.cy, {2, client.bottom - 18}) == text
                          ? "shown"
                          : "other";
    return info["logo"] == "shown" && info["version"] == "shown";
  });
}

// Processor time of PID's threads, in milliseconds. Wine answers
// GetProcessTimes with zeros for another process, but reads each thread's
// times from the system.
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
  if (process == nullptr) {
    std::fprintf(out, "error=cannot open process %lu\n", pid);
    return 1;
  }
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process, ms) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
  CloseHandle(process);
  if (code == STILL_ACTIVE) return 1;
  std::fprintf(out, "exit_code=%lu\n", code);
  return 0;
}

int Run(int argc, char** argv) {
  const std::string command = argv[2];
  const DWORD ms = std::strtoul(argv[3], nullptr, 10);
  char** args = argv + 4;
  const int count = argc - 4;
  if (command == "wait" && count == 0) {
    return Poll(ms, [](Info& info) {
      const std::string title = Get(info, "title"), status = Get(info, "status0");
      return title != "<absent>" && !title.empty() && title != "Quillpane" && status != "<absent>" &&
             !status.empty();
    });
  }
  if (command == "until" && count == 1) {
    const std::string condition = args[0];
    const size_t equal = condition.find('=');
    if (equal == std::string::npos || equal == 0) return 2;
    const bool differ = condition[equal - 1] == '!';
    const std::string key = condition.substr(0, differ ? equal - 1 : equal),
                      value = condition.substr(equal + 1);
    return Poll(ms, [&](Info& info) { return (Get(info, key) == value) != differ; });
  }
  if (command == "picture" && count == 5) return Picture(ms, args);
  if (command == "about" && count == 1) return About(ms, args[0]);
  if (command == "cpu" && count == 1) {
    const DWORD pid = std::strtoul(args[0], nullptr, 10), start = GetTickCount();
    const double before = BusyMs(pid);
    Sleep(ms);
    std::fprintf(out, "cpu_percent=%.1f\n", 100.0 * (BusyMs(pid) - before) / (GetTickCount() - start));
    return 0;
  }
  if (command == "exited" && count == 1) {
    return Exited(ms, std::strtoul(args[0], nullptr, 10), std::string(argv[1]) + ".ready");
  }
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

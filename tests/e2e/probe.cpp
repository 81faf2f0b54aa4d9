// qp_probe: looks at a running Quillpane from outside, the way a user sees
// it. Started in the same Wine virtual desktop as the viewer, it finds the
// main window by class, reads its title, rectangles, status bar texts and
// scroll bar, and copies pixels of its client area off the screen.
//
//   qp_probe [--out FILE] COMMAND ARGS...
//
//   wait MS               until the first paint has titled the window and
//                         written the status bar; then as `info`
//   info                  key=value lines: found, title, pid, foreground,
//                         window, client, close (rectangles "L T R B" in
//                         screen coordinates; client_width/_height and
//                         window_width/_height), work_area, statusbar,
//                         status0, status1, scrollbar, scrollbar_rect,
//                         scrollbar_visible, scroll_min/_max/_page/_pos,
//                         menu_popup (an open menu's rectangle)
//   until MS KEY=VALUE    poll until an info line has that value (KEY!=VALUE:
//                         until it differs); then as `info`
//   gone MS               until no main window exists any more
//   alive                 exit 0 when the main window exists, 1 otherwise
//   exited PID MS [READY] until the process PID (a Windows process id, as
//                         `info` reports it) has ended; prints its exit code.
//                         READY is created once the process is held, so that
//                         a caller can act after that and still learn the
//                         exit code
//   capture X Y W H FILE  copy a rectangle of the client area (client
//                         coordinates) from the screen into a 24-bit BMP
//
// Output goes to stdout, or to FILE with --out (written whole when the
// command is done: a program started into a virtual desktop through
// explorer has no way back to the caller's stdout). Exit status: 0 when the
// command succeeded, 1 when a wait ran out or the window is missing, 2 for
// a usage error. The last line of the output is always "exit=N", so a
// caller that cannot see the exit status still can.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char kMainClass[] = "MittLillaFunster";
const char kCreationTitle[] = "Quillpane";
const char kFirstRunDialogTitle[] = "Quillpane Configuration";
constexpr int kFirstRunCancelId = 1011;
constexpr DWORD kPollMs = 40;

FILE* out = stdout;

std::string Rect(const RECT& r) {
  char text[80];
  std::snprintf(text, sizeof text, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
  return text;
}

HWND FindMain() { return FindWindowA(kMainClass, nullptr); }

std::string WindowTitle(HWND window) {
  char title[1024] = {};
  // Another process's window: GetWindowTextA sends WM_GETTEXT, which is
  // what a user would see in the caption.
  GetWindowTextA(window, title, sizeof title);
  return title;
}

HWND FindChild(HWND parent, const char* className) {
  return FindWindowExA(parent, nullptr, className, nullptr);
}

// Reads one part of a status bar that lives in another process: the text
// has to be fetched into that process's memory first.
std::string StatusText(HWND statusBar, int part) {
  DWORD processId = 0;
  GetWindowThreadProcessId(statusBar, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return "<no process>";
  std::string text;
  const LRESULT lengthInfo = SendMessageA(statusBar, SB_GETTEXTLENGTHA, part, 0);
  const SIZE_T length = LOWORD(lengthInfo);
  const SIZE_T size = length + 16;
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote != nullptr) {
    SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote));
    std::vector<char> local(size + 1, '\0');
    SIZE_T got = 0;
    if (ReadProcessMemory(process, remote, local.data(), size, &got)) {
      local[length < got ? length : got] = '\0';
      text = local.data();
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return text;
}

// The close box of the caption: from WM_GETTITLEBARINFOEX when the window
// answers it (the structure has to live in the viewer's process), otherwise
// the last caption button, SM_CXSIZE x SM_CYSIZE, at the right end of the
// title bar that GetTitleBarInfo reports.
RECT CloseBox(HWND window, std::string& source) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process != nullptr) {
    TITLEBARINFOEX bar = {};
    bar.cbSize = sizeof bar;
    void* remote = VirtualAllocEx(process, nullptr, sizeof bar, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T moved = 0;
    if (remote != nullptr && WriteProcessMemory(process, remote, &bar, sizeof bar, &moved)) {
      SendMessageA(window, WM_GETTITLEBARINFOEX, 0, reinterpret_cast<LPARAM>(remote));
      ReadProcessMemory(process, remote, &bar, sizeof bar, &moved);
    }
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    const RECT& box = bar.rgrect[5];
    if (box.right > box.left && box.bottom > box.top) {
      source = "titlebarinfoex";
      return box;
    }
  }
  TITLEBARINFO bar = {};
  bar.cbSize = sizeof bar;
  GetTitleBarInfo(window, &bar);
  RECT box = bar.rcTitleBar;
  box.left = box.right - GetSystemMetrics(SM_CXSIZE);
  box.bottom = box.top + GetSystemMetrics(SM_CYSIZE);
  source = "titlebarinfo";
  return box;
}

using Info = std::map<std::string, std::string>;

Info Collect() {
  Info info;
  HWND window = FindMain();
  info["found"] = window != nullptr ? "1" : "0";
  if (window == nullptr) return info;
  info["title"] = WindowTitle(window);
  RECT windowRect;
  GetWindowRect(window, &windowRect);
  info["window"] = Rect(windowRect);
  info["window_width"] = std::to_string(windowRect.right - windowRect.left);
  info["window_height"] = std::to_string(windowRect.bottom - windowRect.top);
  RECT client;
  GetClientRect(window, &client);
  POINT topLeft = {client.left, client.top};
  POINT bottomRight = {client.right, client.bottom};
  ClientToScreen(window, &topLeft);
  ClientToScreen(window, &bottomRight);
  info["client"] = Rect(RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
  info["client_width"] = std::to_string(client.right);
  info["client_height"] = std::to_string(client.bottom);
  info["foreground"] = GetForegroundWindow() == window ? "1" : "0";
  RECT workArea;
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) info["work_area"] = Rect(workArea);
  std::string closeSource;
  info["close"] = Rect(CloseBox(window, closeSource));
  info["close_source"] = closeSource;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  info["pid"] = std::to_string(processId);

  HWND statusBar = FindChild(window, STATUSCLASSNAMEA);
  info["statusbar"] = statusBar != nullptr ? "1" : "0";
  if (statusBar != nullptr) {
    info["status_parts"] = std::to_string(SendMessageA(statusBar, SB_GETPARTS, 0, 0));
    info["status0"] = StatusText(statusBar, 0);
    info["status1"] = StatusText(statusBar, 1);
  }

  // An open menu is a top-level window of the menu class, owned by nobody.
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup != nullptr && IsWindowVisible(popup)) {
    RECT popupRect;
    GetWindowRect(popup, &popupRect);
    info["menu_popup"] = Rect(popupRect);
  }

  HWND scrollBar = FindChild(window, "ScrollBar");
  info["scrollbar"] = scrollBar != nullptr ? "1" : "0";
  if (scrollBar != nullptr) {
    RECT barRect;
    GetWindowRect(scrollBar, &barRect);
    info["scrollbar_rect"] = Rect(barRect);
    info["scrollbar_visible"] = IsWindowVisible(scrollBar) ? "1" : "0";
    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    if (GetScrollInfo(scrollBar, SB_CTL, &scroll)) {
      info["scroll_min"] = std::to_string(scroll.nMin);
      info["scroll_max"] = std::to_string(scroll.nMax);
      info["scroll_page"] = std::to_string(scroll.nPage);
      info["scroll_pos"] = std::to_string(scroll.nPos);
    }
  }
  return info;
}

void PrintInfo(const Info& info) {
  for (const auto& [key, value] : info) std::fprintf(out, "%s=%s\n", key.c_str(), value.c_str());
}

// On a first run the viewer opens its Configuration dialog before it first
// renders; the tests are about the viewer, so it is closed unchanged.
bool DismissFirstRunDialog(HWND mainWindow) {
  HWND dialog = nullptr;
  while ((dialog = FindWindowExA(nullptr, dialog, "#32770", kFirstRunDialogTitle)) != nullptr) {
    if (GetWindow(dialog, GW_OWNER) == mainWindow && IsWindowVisible(dialog)) {
      HWND cancel = GetDlgItem(dialog, kFirstRunCancelId);
      if (cancel != nullptr) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFirstRunCancelId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(cancel));
        return true;
      }
    }
  }
  return false;
}

bool FirstPaintDone(const Info& info) {
  auto title = info.find("title");
  auto status = info.find("status0");
  return info.at("found") == "1" && title != info.end() && !title->second.empty() &&
         title->second != kCreationTitle && status != info.end() && !status->second.empty();
}

int CommandWait(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  int dismissed = 0;
  for (;;) {
    Info info = Collect();
    if (FirstPaintDone(info)) {
      info["dismissed_first_run_dialog"] = std::to_string(dismissed);
      PrintInfo(info);
      return 0;
    }
    if (info["found"] == "1" && DismissFirstRunDialog(FindMain())) ++dismissed;
    if (GetTickCount() - start > timeoutMs) {
      std::fprintf(out, "error=the viewer did not finish its first paint within %lu ms\n", timeoutMs);
      PrintInfo(info);
      return 1;
    }
    Sleep(kPollMs);
  }
}

int CommandUntil(DWORD timeoutMs, const std::string& condition) {
  const size_t notEqual = condition.find("!=");
  const size_t equal = condition.find('=');
  if (equal == std::string::npos) return 2;
  const bool wantDifferent = notEqual != std::string::npos && notEqual + 1 == equal;
  const std::string key = condition.substr(0, wantDifferent ? notEqual : equal);
  const std::string value = condition.substr(equal + 1);
  const DWORD start = GetTickCount();
  for (;;) {
    Info info = Collect();
    auto found = info.find(key);
    const std::string current = found != info.end() ? found->second : std::string("<absent>");
    if ((current == value) != wantDifferent) {
      PrintInfo(info);
      return 0;
    }
    if (GetTickCount() - start > timeoutMs) {
      std::fprintf(out, "error=%s stayed %s for %lu ms\n", key.c_str(), current.c_str(), timeoutMs);
      PrintInfo(info);
      return 1;
    }
    Sleep(kPollMs);
  }
}

int CommandGone(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (FindMain() != nullptr) {
    if (GetTickCount() - start > timeoutMs) {
      std::fprintf(out, "error=the main window still exists after %lu ms\n", timeoutMs);
      return 1;
    }
    Sleep(kPollMs);
  }
  std::fprintf(out, "found=0\n");
  return 0;
}

bool WriteBmp(const char* path, int width, int height, const std::vector<unsigned char>& bottomUpRows) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* bmp = std::fopen(path, "wb");
  if (bmp == nullptr) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, bmp) == 1 && std::fwrite(&header, sizeof header, 1, bmp) == 1 &&
            std::fwrite(bottomUpRows.data(), 1, bottomUpRows.size(), bmp) == bottomUpRows.size();
  return std::fclose(bmp) == 0 && ok;
}

int CommandCapture(int x, int y, int width, int height, const char* path) {
  HWND window = FindMain();
  if (window == nullptr) {
    std::fprintf(out, "error=no main window to capture\n");
    return 1;
  }
  if (width <= 0 || height <= 0) return 2;
  POINT origin = {x, y};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> rows(static_cast<size_t>(stride) * height);
  const int copied = GetDIBits(memory, bitmap, 0, height, rows.data(), &format, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (copied != height) {
    std::fprintf(out, "error=GetDIBits copied %d of %d rows\n", copied, height);
    return 1;
  }
  if (!WriteBmp(path, width, height, rows)) {
    std::fprintf(out, "error=cannot write %s\n", path);
    return 1;
  }
  std::fprintf(out, "capture=%s\nscreen_origin=%ld %ld\n", path, origin.x, origin.y);
  return 0;
}

// Holds the process from before the user's action to its end, so that its
// exit code can still be read; READY (when given) is created once the
// process is held.
int CommandExited(DWORD processId, DWORD timeoutMs, const char* readyPath) {
  auto ready = [readyPath] {
    if (readyPath == nullptr) return;
    HANDLE file = CreateFileA(readyPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  };
  // A freed id can be handed out again, to this probe at the earliest.
  HANDLE process = processId == GetCurrentProcessId()
                       ? nullptr
                       : OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  ready();
  if (process == nullptr) {
    std::fprintf(out, "exited=1\nexit_code=unknown\n");
    return 0;
  }
  const DWORD waited = WaitForSingleObject(process, timeoutMs);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  if (waited != WAIT_OBJECT_0) {
    std::fprintf(out, "exited=0\nerror=process %lu still runs after %lu ms\n", processId, timeoutMs);
    return 1;
  }
  std::fprintf(out, "exited=1\nexit_code=%lu\n", code);
  return 0;
}

int Usage() {
  std::fprintf(out,
               "error=usage: qp_probe [--out FILE] wait MS | info | until MS KEY=VALUE | gone MS | alive | "
               "exited PID MS [READY] | capture X Y W H FILE.bmp\n");
  return 2;
}

int Run(int argc, char** argv) {
  if (argc < 1) return Usage();
  const std::string command = argv[0];
  if (command == "wait" && argc == 2) return CommandWait(std::strtoul(argv[1], nullptr, 10));
  if (command == "until" && argc == 3) return CommandUntil(std::strtoul(argv[1], nullptr, 10), argv[2]);
  if (command == "gone" && argc == 2) return CommandGone(std::strtoul(argv[1], nullptr, 10));
  if (command == "exited" && (argc == 3 || argc == 4)) {
    return CommandExited(std::strtoul(argv[1], nullptr, 10), std::strtoul(argv[2], nullptr, 10),
                         argc == 4 ? argv[3] : nullptr);
  }
  if (command == "info" && argc == 1) {
    const Info info = Collect();
    PrintInfo(info);
    return info.at("found") == "1" ? 0 : 1;
  }
  if (command == "alive" && argc == 1) {
    const bool alive = FindMain() != nullptr;
    std::fprintf(out, "found=%d\n", alive ? 1 : 0);
    return alive ? 0 : 1;
  }
  if (command == "capture" && argc == 6) {
    return CommandCapture(std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                          argv[5]);
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  std::string outPath;
  std::string partPath;
  if (argc >= 3 && std::strcmp(argv[1], "--out") == 0) {
    // Written beside the result and renamed at the end, so that a reader
    // polling for the file never sees half of it.
    outPath = argv[2];
    partPath = outPath + ".part";
    out = std::fopen(partPath.c_str(), "wb");
    if (out == nullptr) return 2;
    first = 3;
  }
  const int status = Run(argc - first, argv + first);
  std::fprintf(out, "exit=%d\n", status);
  std::fflush(out);
  if (out != stdout) {
    std::fclose(out);
    if (!MoveFileExA(partPath.c_str(), outPath.c_str(), MOVEFILE_REPLACE_EXISTING)) return 2;
  }
  return status;
}

// qp_probe MS CONDITION...: looks at a running Quillpane from outside, as a user sees it. Started in the
// viewer's Wine desktop, it looks again every 40 ms until every CONDITION holds or MS milliseconds have
// passed, then prints its last look as key=value lines and exits with 0 when the conditions held, 1 when the
// time ran out. A CONDITION is KEY=VALUE (KEY has VALUE) or KEY!=VALUE (another); a key not reported has the
// empty value. With QP_PROBE_GRID="TILE MARGIN LABEL" set (the gallery's tile size, margin and label height),
// it also looks at the grid's whole cells in the client area (see GridCells).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace {

using Info = std::map<std::string, std::string>;

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

// The gallery's whole cells at the top-left of `area`, read from the window's pixels: how many (tiles_seen),
// distinct pictures (tiles_distinct, a hash of each picture's square), not drawn yet (tiles_pending: the
// square all in the face colour), named (tiles_named: the label strip is not all the cell's ground), and the
// selected one (tile_selected: the cell on the highlight colour, -1 for none).
void GridCells(HWND window, const RECT& area, Info& info) {
  int tile = 0, margin = 0, label = 0;
  const char* grid = std::getenv("QP_PROBE_GRID");
  if (grid == nullptr || std::sscanf(grid, "%d %d %d", &tile, &margin, &label) != 3 || tile <= 0) return;
  const int cellWidth = tile + 2 * margin, cellHeight = tile + 2 * margin + label;
  const int width = area.right, height = area.bottom, columns = width / cellWidth, rows = height / cellHeight;
  if (columns == 0 || rows == 0) return;
  BITMAPINFO bits = {};
  bits.bmiHeader = {sizeof bits.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* pixels = nullptr;
  HDC windowDC = GetDC(window);
  HDC dc = CreateCompatibleDC(windowDC);
  HBITMAP bitmap = CreateDIBSection(dc, &bits, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap == nullptr) return;
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, windowDC, 0, 0, SRCCOPY);
  const auto at = [&](int x, int y) { return static_cast<const DWORD*>(pixels)[y * width + x] & 0xffffff; };
  const auto pixel = [](DWORD c) {
    return (c & 0xff) << 16 | (c & 0xff00) | (c >> 16 & 0xff);
  };  // of a COLORREF
  const DWORD highlight = pixel(GetSysColor(COLOR_HIGHLIGHT)), face = pixel(GetSysColor(COLOR_BTNFACE));
  std::set<unsigned long long> pictures;
  int named = 0, selected = -1, pending = 0;
  for (int cell = 0; cell < columns * rows; ++cell) {
    const int x = cell % columns * cellWidth, y = cell / columns * cellHeight;
    unsigned long long hash = 1469598103934665603ull;
    bool waiting = true;
    for (int py = y + margin; py < y + margin + tile; ++py)
      for (int px = x + margin; px < x + margin + tile; ++px) {
        hash = (hash ^ at(px, py)) * 1099511628211ull;
        waiting = waiting && at(px, py) == face;
      }
    pictures.insert(hash);
    pending += waiting;
    bool name = false;
    for (int py = y + margin + tile; py < y + cellHeight && !name; ++py)
      for (int px = x; px < x + cellWidth && !name; ++px) name = at(px, py) != at(x, y);
    named += name;
    if (at(x, y) == highlight) selected = cell;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(window, windowDC);
  info["tiles_seen"] = std::to_string(columns * rows);
  info["tiles_distinct"] = std::to_string(pictures.size());
  info["tiles_named"] = std::to_string(named);
  info["tiles_pending"] = std::to_string(pending);
  info["tile_selected"] = std::to_string(selected);
}

// What a user sees of the viewer; rectangles are "left top right bottom" on the screen.
Info Collect() {
  Info info;
  HWND window = FindWindowA("MittLillaFunster", nullptr);
  info["found"] = window != nullptr ? "1" : "0";
  if (window == nullptr) return info;
  char title[1024] = {};
  GetWindowTextA(window, title, sizeof title);
  info["title"] = title;
  info["foreground"] = GetForegroundWindow() == window ? "1" : "0";
  RECT rect, client;
  GetWindowRect(window, &rect);
  info["window"] = Rect(rect);
  info["window_size"] = std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  info["client"] = Rect(client);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (HWND statusBar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr)) {
    info["status0"] = StatusText(process, statusBar, 0);
    info["status1"] = StatusText(process, statusBar, 1);
    // The place in the walk, "i/N", at the end of the right part (after a SAUCE summary).
    info["place"] = info["status1"].substr(info["status1"].find_last_of(' ') + 1);
  }
  if (process != nullptr) CloseHandle(process);
  info["clipboard"] = ClipboardHex();
  // The gallery's part of the client area: above a status bar shown, left of a scroll bar shown.
  RECT area, bar;
  GetClientRect(window, &area);
  for (const char* kind : {STATUSCLASSNAMEA, "ScrollBar"}) {
    HWND child = FindWindowExA(window, nullptr, kind, nullptr);
    if (child == nullptr || !IsWindowVisible(child) || !GetWindowRect(child, &bar)) continue;
    if (kind == STATUSCLASSNAMEA)
      area.bottom -= bar.bottom - bar.top;
    else
      area.right -= bar.right - bar.left;
  }
  GridCells(window, area, info);
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
  HWND about = FindWindowA("#32770", "About");
  if (about != nullptr && IsWindowVisible(about) && GetWindowRect(GetDlgItem(about, 1100), &rect))
    info["about_ok"] = Rect(rect);
  return info;
}

bool Holds(Info& info, const std::string& condition) {
  const size_t equal = condition.find('=');
  if (equal == std::string::npos || equal == 0) return false;
  const bool differ = condition[equal - 1] == '!';
  return (info[condition.substr(0, equal - differ)] == condition.substr(equal + 1)) != differ;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const DWORD ms = std::strtoul(argv[1], nullptr, 10);
  for (const DWORD start = GetTickCount();; Sleep(40)) {
    Info info = Collect();
    bool held = true;
    for (int i = 2; i < argc; ++i) held = held && Holds(info, argv[i]);
    if (held || GetTickCount() - start > ms) {
      for (const auto& [key, value] : info) std::printf("%s=%s\n", key.c_str(), value.c_str());
      return held ? 0 : 1;
    }
  }
}

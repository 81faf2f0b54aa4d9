// The gallery under Wine, in-process, with the real window procedure: from
// Ctrl+G over a pack of the corpus to its first screen of tiles drawn, and
// to every tile drawn (paging down as each screen is complete); then a
// folder of 10,000 files and a pack of 100,000 entries: the grid shown, a
// Page Down of it, and the process's peak memory. The lines
// `gallery-open: ...`, `gallery-10k: ...` and `gallery-100k: ...` are read
// by other tools.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "document/document.h"
#include "test_support.h"
#include "../tests/unit/zip_writer.h"
#include "app/gallery.h"
#include "view/view.h"
#include "win32/viewer_state.h"

namespace {

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool ScreenDrawn() {
  int32_t first = 0, end = 0;
  GalleryVisibleRange(view, viewer, first, end);
  for (int32_t i = first; i < end; ++i)
    if (!GalleryTileOf(i).drawn) return false;
  return true;
}

// Pumps messages until the screen's tiles are drawn, waiting at most a
// minute in all.
bool WaitForScreen() {
  for (int round = 0; round < 1200; ++round) {
    PumpMessages();
    if (ScreenDrawn()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  return false;
}

void OpenGallery(HWND window) {
  SendMessageA(window, WM_COMMAND, IDM_GALLERY, 0);
  UpdateWindow(window);
}

// Shows `path`, then times the gallery's opening and its Page Down (the
// median of 20, the tiles drawn meanwhile taken in outside the steps).
void TimeGrid(MainWindowTest& test, const std::string& path, double& grid, double& page) {
  const HWND window = test.window();
  test.Show(path);
  SetWindowPos(window, nullptr, 0, 0, 1000, 720, SWP_NOMOVE | SWP_NOZORDER);
  PumpMessages();
  const auto shown = std::chrono::steady_clock::now();
  OpenGallery(window);
  grid = Since(shown);
  std::vector<double> pages;
  for (int i = 0; i < 20; ++i) {
    PumpMessages();
    const auto step = std::chrono::steady_clock::now();
    SendMessageA(window, WM_KEYDOWN, VK_NEXT, 0);
    UpdateWindow(window);
    pages.push_back(Since(step));
  }
  std::sort(pages.begin(), pages.end());
  page = pages[pages.size() / 2];
  WaitForScreen();
}

}  // namespace

int main(int argc, char** argv) {
  char pack[MAX_PATH] = {};
  if (argc < 2 || GetFullPathNameA(argv[1], sizeof pack, pack, nullptr) == 0) {
    std::printf("gallery-open: no pack given\n");
    return 1;
  }
  TempDir dir;
  MainWindowTest window;
  window.Show(pack);
  SetWindowPos(window.window(), nullptr, 0, 0, 1000, 720, SWP_NOMOVE | SWP_NOZORDER);
  PumpMessages();
  const int32_t count = viewer.browseLast + 1;
  const auto start = std::chrono::steady_clock::now();
  OpenGallery(window.window());
  if (!WaitForScreen()) return std::printf("gallery-open: the first screen was not drawn\n"), 1;
  const double firstScreen = Since(start);
  while (GallerySelection() < count - 1) {
    SendMessageA(window.window(), WM_KEYDOWN, VK_NEXT, 0);
    UpdateWindow(window.window());
    if (!WaitForScreen()) return std::printf("gallery-open: a screen was not drawn\n"), 1;
  }
  const double all = Since(start);
  int32_t drawn = 0;
  for (int32_t i = 0; i < count; ++i) drawn += GalleryTileOf(i).drawn ? 1 : 0;
  std::printf("gallery-open: first screen of tiles in %.0f ms, all %d in %.0f ms (pack; %d drawn)\n", firstScreen,
              static_cast<int>(count), all, static_cast<int>(drawn));
  SendMessageA(window.window(), WM_KEYDOWN, VK_ESCAPE, 0);

  std::string first;
  for (int i = 0; i < 10000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "piece%05d.asc", i);
    const std::string path = dir.Write(name, "piece " + std::to_string(i) + "\r\n");
    if (i == 0) first = path;
  }
  double grid = 0, page = 0;
  TimeGrid(window, first, grid, page);
  const int32_t files = viewer.browseLast + 1;
  SendMessageA(window.window(), WM_KEYDOWN, VK_ESCAPE, 0);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("gallery-10k: grid shown in %.1f ms, a page of scrolling %.1f ms, peak memory %.0f MB (%d files)\n",
              grid, page, memory.PeakWorkingSetSize / 1048576.0, static_cast<int>(files));

  Pack large{{}, true};  // ZIP64: more entries than the plain end record counts
  for (int i = 0; i < 100000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%06d.nfo", i);
    large.members.push_back(Member{name, std::string("piece ") + name + "\r\n"});
  }
  dir.Write("large.zip", Write(large));
  TimeGrid(window, dir.path() + "large.zip", grid, page);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("gallery-100k: grid shown in %.1f ms, a page of scrolling %.1f ms, peak memory %.0f MB (%d entries)\n",
              grid, page, memory.PeakWorkingSetSize / 1048576.0, static_cast<int>(viewer.browseLast + 1));
  SendMessageA(window.window(), WM_KEYDOWN, VK_ESCAPE, 0);
  return 0;
}

// A pack of the whole corpus browsed in place under Wine, in-process, with
// the real window procedure: the time from the open to the painted page of
// its first art entry, and from each Page Down to the painted page of the
// next entry. The lines `zip-open: ...` and `zip-step: ...` are read by
// other tools.
//
// Each open is of a fresh copy of the pack, so that each reads its list
// anew; the steps then walk the last copy opened.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "document/document.h"
#include "view/view.h"
#include "document/pack_file.h"
#include "app/main_window.h"
#include "win32/viewer_state.h"
#include "test_support.h"

namespace {

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  char pack[MAX_PATH] = {};
  if (argc < 2 || GetFullPathNameA(argv[1], sizeof pack, pack, nullptr) == 0) {
    std::printf("zip-open: no pack given\n");
    return 1;
  }
  size_t entries = 0;
  {
    const DiskPack listed(pack);
    if (listed.Pack() == nullptr) {
      std::printf("zip-open: %s: %s\n", pack, listed.Reason().c_str());
      return 1;
    }
    entries = listed.Pack()->Entries().size();
  }
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExA(pack, GetFileExInfoStandard, &data);

  TempDir dir;
  MainWindowTest window;
  window.Show(dir.Write("start.nfo", "start\n"));
  std::vector<double> opens;
  std::string copy;
  for (int i = 0; i < 5; ++i) {
    copy = dir.path() + "copy" + std::to_string(i) + ".zip";
    CopyFileA(pack, copy.c_str(), FALSE);
    const auto start = std::chrono::steady_clock::now();
    SwitchDocument(view, viewer, settings, copy.c_str());
    UpdateWindow(window.window());
    opens.push_back(Since(start));
    PumpMessages();
    if (viewer.browseIndex != 0 || !ShownDocument().Opened()) {
      std::printf("zip-open: the first art entry was not shown: %s\n", ShownDocument().text.data());
      return 1;
    }
  }
  std::printf("zip-open: first entry of a %.1f MB pack of %u entries shown in %.1f ms (median of 5 opens)\n",
              data.nFileSizeLow / 1048576.0, static_cast<unsigned>(entries), Median(opens));

  const int32_t count = viewer.browseLast + 1;
  std::vector<double> steps;
  for (int32_t i = 1; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    SendMessageA(window.window(), WM_KEYDOWN, VK_NEXT, 0);
    UpdateWindow(window.window());
    steps.push_back(Since(start));
    if (viewer.browseIndex != i) {
      std::printf("zip-step: Page Down number %d showed position %d\n", static_cast<int>(i),
                  static_cast<int>(viewer.browseIndex + 1));
      return 1;
    }
    PumpMessages();  // the status bar's own paint, outside the step
  }
  std::printf("zip-step: median %.1f ms, max %.1f ms over %d entries\n", Median(steps),
              steps.empty() ? 0.0 : *std::max_element(steps.begin(), steps.end()), static_cast<int>(count));
  return 0;
}

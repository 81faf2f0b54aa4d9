// Page Down through a folder of real art under Wine, in-process, with the
// real window procedure: the time from the key message to the end of the
// paint that shows the next file, for every file of the folder.
//
// The folder is a temporary copy of the recognised files (.nfo .diz .ans
// .asc, any case) found anywhere under the corpus. The line
// `browse-step: ...` is read by other tools.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "win32/viewer_state.h"
#include "test_support.h"

namespace {

bool Recognised(std::string name) {
  if (name.size() < 4) return false;
  name = name.substr(name.size() - 4);
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return name == ".nfo" || name == ".diz" || name == ".ans" || name == ".asc";
}

void CollectRecognised(const std::string& folder, std::vector<std::string>& files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CollectRecognised(folder + "\\" + name, files);
    } else if (Recognised(name)) {
      files.push_back(folder + "\\" + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

int main() {
  std::vector<std::string> files;
  CollectRecognised(QP_CORPUS_DIR, files);
  if (files.empty()) {
    std::printf("browse-step: no recognised files under %s\n", QP_CORPUS_DIR);
    return 1;
  }
  TempDir folder;
  for (size_t i = 0; i < files.size(); ++i) {
    // Numbered, since names repeat across the corpus's folders.
    const std::string name = files[i].substr(files[i].find_last_of('\\') + 1);
    char copy[MAX_PATH];
    std::snprintf(copy, sizeof copy, "%s%03u-%s", folder.path().c_str(), static_cast<unsigned>(i),
                  name.c_str());
    CopyFileA(files[i].c_str(), copy, FALSE);
  }

  MainWindowTest window;
  // A file outside the list: the first Page Down shows the list's first.
  window.Show(folder.Write("start.txt", "start\n"));
  const int32_t count = viewer.browseLast + 1;
  std::vector<double> steps;
  for (int32_t i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    SendMessageA(window.window(), WM_KEYDOWN, VK_NEXT, 0);
    UpdateWindow(window.window());
    steps.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (viewer.browseIndex != i) {
      std::printf("browse-step: Page Down number %d showed position %d\n", static_cast<int>(i + 1),
                  static_cast<int>(viewer.browseIndex + 1));
      return 1;
    }
    PumpMessages();  // the status bar's own paint, outside the step
  }
  const double longest = *std::max_element(steps.begin(), steps.end());
  std::sort(steps.begin(), steps.end());
  const size_t n = steps.size();
  const double median = n % 2 ? steps[n / 2] : (steps[n / 2 - 1] + steps[n / 2]) / 2;
  std::printf("browse-step: median %.1f ms, max %.1f ms over %d files\n", median, longest,
              static_cast<int>(count));
  return count == static_cast<int32_t>(files.size()) ? 0 : 1;
}

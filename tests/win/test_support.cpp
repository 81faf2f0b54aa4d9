#include "test_support.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "app/viewer_state.h"
#include "document/document.h"

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  static int counter = 0;
  char name[MAX_PATH];
  std::snprintf(name, sizeof name, "%sqp-test-%lu-%d\\", base, GetCurrentProcessId(), ++counter);
  CreateDirectoryA(name, nullptr);
  path_ = name;
}

TempDir::~TempDir() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileA((path_ + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path_.c_str());
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string file = path_ + name;
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out != nullptr) {
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  return file;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
  std::fclose(in);
  return bytes;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

MainWindowTest::MainWindowTest(const std::string& programDir) {
  static bool registered = false;
  ResetViewerState();
  if (!registered) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    registered = RegisterMainWindowClass(GetModuleHandleA(nullptr));
  } else {
    viewer.appIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(4));
  }
  window_ = CreateMainWindow(GetModuleHandleA(nullptr));
  if (programDir.empty()) {
    GetTempPathA(sizeof viewer.programDir, viewer.programDir);
  } else {
    lstrcpynA(viewer.programDir, programDir.c_str(), sizeof viewer.programDir);
  }
  PumpMessages();
}

MainWindowTest::~MainWindowTest() {
  if (IsWindow(window_)) DestroyWindow(window_);
  PumpMessages();  // the quit message the destruction posts
}

void MainWindowTest::Show(const std::string& path) {
  GetWindowRect(window_, &viewer.windowRect);
  lstrcpynA(viewer.currentPath, path.c_str(), sizeof viewer.currentPath);
  viewer.currentPathRefused = 0;
  ShowCurrentDocument();
  PumpMessages();
}

std::string MainWindowTest::StatusText(int part) const {
  char text[256] = {};
  SendMessageA(viewer.statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string MainWindowTest::Title() const {
  char text[512] = {};
  GetWindowTextA(window_, text, sizeof text);
  return text;
}

#include "test_support.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>

#include "app/main_window.h"
#include "app/viewer_state.h"
#include "document/document.h"

TempDir::TempDir() {
  static int counter = 0;
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  path_ = std::string(base) + "qp-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
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
  std::ofstream(path_ + name, std::ios::binary) << bytes;
  return path_ + name;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ForgetSavedSettings() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Molvo\\Quillpane", 0, KEY_SET_VALUE, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  for (const char* name : {"last.left", "last.top", "last5.0", "last5.1", "last5.2", "last5.3", "last5.4"}) {
    RegDeleteValueA(key, name);
  }
  RegCloseKey(key);
}

MainWindowTest::MainWindowTest(bool keepSavedSettings, const std::string& programDir) {
  static bool registered = false;
  if (!keepSavedSettings) ForgetSavedSettings();
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

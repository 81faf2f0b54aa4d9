#include "test_support.h"

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/main_window.h"
#include "win32/viewer_state.h"
#include "document/document.h"

TempDir::TempDir() {
  static int counter = 0;
  const std::string name = "qp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  path_ = (std::filesystem::temp_directory_path() / name / "").string();
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream(path_ + name, std::ios::binary) << bytes;
  return path_ + name;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ProgramPath() {
  char program[MAX_PATH];
  return std::string(program, GetModuleFileNameA(nullptr, program, sizeof program));
}

std::string RegText(HKEY root, const std::string& key, const char* name) {
  char text[512] = {};
  DWORD size = sizeof text - 1, type = 0;
  if (RegGetValueA(root, key.c_str(), name, RRF_RT_ANY, &type, text, &size) != ERROR_SUCCESS) return "-";
  return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(text)) : text;
}

void KeyWith(HWND window, WPARAM key, std::initializer_list<int> held) {
  BYTE keys[256];
  GetKeyboardState(keys);
  for (int k : held) keys[k] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(window, WM_KEYDOWN, key, 0);
  for (int k : held) keys[k] = 0;
  SetKeyboardState(keys);
}

std::string shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
  shellCalls += std::string(verb) + " " + file + " " + std::to_string(show) + ";";
  return reinterpret_cast<HINSTANCE>(42);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  UpdateWindow(window);
  HDC dc = GetDC(window);
  const COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return pixel;
}

void PumpMessages() {
  for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ForgetSavedSettings() {
  for (const char* name : {"last.left", "last.top", "last5.0", "last5.1", "last5.2", "last5.3", "last5.4",
                           "ansicolours", "letterspacing", "aspect", "playspeed", "Font", "fitwidth", "slidespeed"})
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, name);
}

MainWindowTest::MainWindowTest(bool keepSavedSettings, const std::string& programDir) {
  if (!keepSavedSettings) ForgetSavedSettings();
  // A later run's window: a first run's paint would open the modal Configuration dialog and wait for a user.
  const DWORD runs = 1;
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "Times", REG_DWORD, &runs, sizeof runs);
  ResetMainWindowState();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterMainWindowClass(GetModuleHandleA(nullptr));  // registers once; sets the icon the reset cleared
  window_ = CreateMainWindow(GetModuleHandleA(nullptr));
  GetTempPathA(sizeof viewer.programDir, viewer.programDir);  // after creation read the command line
  if (!programDir.empty()) lstrcpynA(viewer.programDir, programDir.c_str(), sizeof viewer.programDir);
  PumpMessages();
}

MainWindowTest::~MainWindowTest() {
  if (IsWindow(window_)) DestroyWindow(window_);
  PumpMessages();  // the quit message the destruction posts
}

void MainWindowTest::Show(const std::string& path) {
  GetWindowRect(window_, &view.windowRect);
  lstrcpynA(viewer.currentPath, path.c_str(), sizeof viewer.currentPath);
  viewer.currentPathRefused = 0;
  ShowCurrentDocument(view, viewer, settings);
  PumpMessages();
}

std::string MainWindowTest::StatusText(int part) const {
  char text[256] = {};
  SendMessageA(viewer.statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
  return text;
}

// Helpers for the Windows tests: temporary files, and the real main window
// created and driven in this process.
#ifndef QUILLPANE_TESTS_TEST_SUPPORT_H
#define QUILLPANE_TESTS_TEST_SUPPORT_H

#include <windows.h>

#include <string>

// A fresh directory under the temp folder, removed with its files at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // ends with a backslash
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);

// Handles the messages waiting for this thread's windows, paints included.
void PumpMessages();

// Removes the saved window position and recent files, as before a first
// start (every window saves them when it is destroyed).
void ForgetSavedSettings();

// The real main window, created as the program creates it (zero size, shown
// by WM_CREATE) and destroyed at the end of the test. It starts as a first
// start does, unless `keepSavedSettings`. `programDir` is where the first
// paint looks for a fonts folder: by default the temp folder, not the
// build's sheets beside the test program.
class MainWindowTest {
 public:
  explicit MainWindowTest(bool keepSavedSettings = false, const std::string& programDir = std::string());
  ~MainWindowTest();
  MainWindowTest(const MainWindowTest&) = delete;
  MainWindowTest& operator=(const MainWindowTest&) = delete;
  HWND window() const { return window_; }
  // Shows `path` as a change of document does.
  void Show(const std::string& path);
  std::string StatusText(int part) const;
  std::string Title() const;

 private:
  HWND window_;
};

#endif

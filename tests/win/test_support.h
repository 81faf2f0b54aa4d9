// Windows test helpers: temporary files, registry, clipboard, keys, the real main window, the reference page.
#ifndef QUILLPANE_TESTS_TEST_SUPPORT_H
#define QUILLPANE_TESTS_TEST_SUPPORT_H

// The registry calls that name a subkey (RegGetValueA, RegSetKeyValueA...) come with Vista, and Wine has
// them: a test that calls them includes this header before anything else.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "raster/glyph_table.h"
#include "win32/registry.h"  // kSettingsKey, under HKEY_LOCAL_MACHINE

// A fresh directory under the temp folder, removed with its files at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }  // ends with a backslash
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);

std::string ProgramPath();  // this test program's file

// A value's text, a DWORD's number; "-" when it or its key is missing.
std::string RegText(HKEY root, const std::string& key, const char* name = "");

// The clipboard's text in `format`: CF_TEXT as char, CF_UNICODETEXT as wchar_t.
template <typename Char>
std::basic_string<Char> Clipboard(UINT format) {
  OpenClipboard(nullptr);
  HANDLE data = GetClipboardData(format);
  const std::basic_string<Char> text = static_cast<const Char*>(GlobalLock(data));
  GlobalUnlock(data);
  CloseClipboard();
  return text;
}

void KeyWith(HWND window, WPARAM key, std::initializer_list<int> held);  // sent while `held` are down

// Stands in for ShellExecuteA: each call is added to shellCalls as "verb file show;".
extern std::string shellCalls;
HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show);

COLORREF WindowPixel(HWND window, int x, int y);  // once the window has painted

void PumpMessages();  // every message waiting for this thread, paints included

void ForgetSavedSettings();  // the window position and recent files every window saves, and the View settings

// The real main window, created as the program creates it (zero size, shown by WM_CREATE) and destroyed at
// the end of the test; a later run's, with no saved settings unless `keepSavedSettings`. The first paint
// looks for fonts in `programDir`: by default the temp folder, not the build's sheets beside the test
// program.
class MainWindowTest {
 public:
  explicit MainWindowTest(bool keepSavedSettings = false, const std::string& programDir = std::string());
  ~MainWindowTest();
  HWND window() const { return window_; }
  void Show(const std::string& path);  // as a change of document shows it
  std::string StatusText(int part) const;

 private:
  HWND window_;
};

// The plain way to draw a page of a monochrome sheet, one BitBlt per glyph into a bitmap compatible with the
// screen (reference_render.cpp): the fast page must equal it and is timed against it.
HBITMAP RenderReferencePage(const uint8_t* text, int32_t length, HBITMAP sheet, const GlyphPosition* table);

// Any bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int32_t* width, int32_t* height);

#endif

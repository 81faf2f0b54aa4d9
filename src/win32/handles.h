// Owners for Win32 handles: each closes or deletes what it holds when it
// goes or is given another. None can be copied (two owners would free one
// handle twice); they move.
#ifndef QUILLPANE_HANDLES_H
#define QUILLPANE_HANDLES_H

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  constexpr UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  // Gives the handle up without closing it.
  Handle Release() { return std::exchange(handle_, Traits::Empty()); }
  // Closes the handle held (the old one first) and holds `handle`.
  void Reset(Handle handle = Traits::Empty()) {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Empty() && old != handle) Traits::Close(old);
  }
  // For a call that gives its handle through a pointer (RegOpenKeyExA).
  Handle* Receive() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Empty();
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static constexpr Handle Empty() { return nullptr; }
  static void Close(Handle key) { RegCloseKey(key); }
};
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle file) { CloseHandle(file); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle search) { FindClose(search); }
};
template <typename Object>
struct GdiObjectTraits {
  using Handle = Object;
  static constexpr Handle Empty() { return nullptr; }
  static void Close(Handle object) { DeleteObject(object); }
};
struct MemoryDCTraits {
  using Handle = HDC;
  static constexpr Handle Empty() { return nullptr; }
  static void Close(Handle dc) { DeleteDC(dc); }
};

using RegistryKey = UniqueHandle<RegistryKeyTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
template <typename Object>
using GdiObject = UniqueHandle<GdiObjectTraits<Object>>;
// A DC of CreateCompatibleDC.
using MemoryDC = UniqueHandle<MemoryDCTraits>;

// GetDC's DC of a window (null: the screen), released to that window.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a DC for the guard's life; the DC's old object
// is selected again before the guard goes, so that an owner declared
// before it deletes its object unselected.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

#endif

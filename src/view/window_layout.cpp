#include "window_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "../resources/resource_ids.h"
#include "../win32/viewer_state.h"
#include "../core/scroll_steps.h"
#include "../core/window_geometry.h"

namespace {

constexpr int kScrollBarWidth = 18;

// Whether the bar there now is the one the layout would make: at the same
// place and size, with the same range. Under Wine, making a child window
// and destroying it costs several milliseconds of X traffic at each render.
bool SameScrollBar(const View& view, const ViewerState& viewer, const LayoutResult& layout) {
  if (view.scrollBar == nullptr || !layout.scrollBar || !IsWindowVisible(view.scrollBar)) return false;
  RECT placed = {};
  GetWindowRect(view.scrollBar, &placed);
  MapWindowPoints(nullptr, viewer.mainWindow, reinterpret_cast<POINT*>(&placed), 2);
  const RECT wanted = {layout.viewWidth + 2 * kViewOrigin, 0,
                       layout.viewWidth + 2 * kViewOrigin + kScrollBarWidth, layout.viewHeight + 12};
  SCROLLINFO range = {};
  range.cbSize = sizeof range;
  range.fMask = SIF_RANGE | SIF_PAGE;
  return EqualRect(&placed, &wanted) && GetScrollInfo(view.scrollBar, SB_CTL, &range) && range.nMin == 0 &&
         range.nMax == layout.scrollMaximum && range.nPage == static_cast<UINT>(layout.viewHeight) &&
         IsWindowEnabled(view.scrollBar);
}

void ReplaceScrollBar(View& view, const ViewerState& viewer, const LayoutResult& layout) {
  // The range the bar shows, its thumb at the top.
  view.scrollInfo = SCROLLINFO{};
  view.scrollInfo.cbSize = sizeof view.scrollInfo;
  view.scrollInfo.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  view.scrollInfo.nMin = 0;
  view.scrollInfo.nMax = layout.scrollMaximum;
  view.scrollInfo.nPage = static_cast<UINT>(layout.viewHeight);
  view.scrollInfo.nPos = 0;
  // The same bar is kept, its thumb back at the top as a new one's would be.
  if (SameScrollBar(view, viewer, layout)) {
    if (GetScrollPos(view.scrollBar, SB_CTL) != 0)
      SetScrollInfo(view.scrollBar, SB_CTL, &view.scrollInfo, TRUE);
    return;
  }
  if (view.scrollBar != nullptr) DestroyWindow(view.scrollBar);
  view.scrollBar = nullptr;
  if (!layout.scrollBar) return;
  view.scrollBar = CreateWindowExA(
      0, "SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, layout.viewWidth + 2 * kViewOrigin, 0, kScrollBarWidth,
      layout.viewHeight + 12, viewer.mainWindow, nullptr, viewer.appInstance, nullptr);
  ShowWindow(view.scrollBar, SW_SHOW);
  EnableScrollBar(view.scrollBar, SB_CTL, ESB_ENABLE_BOTH);
  SetScrollInfo(view.scrollBar, SB_CTL, &view.scrollInfo, TRUE);
}

ScrollInput CurrentScroll(const View& view) {
  return ScrollInput{view.scrollY,    view.sourceHeight,   view.pageHeight,
                     view.cellHeight, view.pageCellHeight, view.lastThumbRow};
}

// Moves the view as `step` says, puts the thumb at the new row, and removes
// the selection: every scroll does, even one that moves nothing.
void ApplyScroll(View& view, const ViewerState& viewer, const ScrollResult& step) {
  view.scrollY = step.scrollY;
  view.lastThumbRow = step.lastThumbRow;
  if (step.updateBar && view.scrollBar != nullptr) {
    view.scrollInfo.cbSize = sizeof view.scrollInfo;
    view.scrollInfo.fMask = SIF_POS;
    view.scrollInfo.nPos = (view.scrollY / PageRowPixels(view.pageCellHeight)) * view.cellHeight;
    SetScrollInfo(view.scrollBar, SB_CTL, &view.scrollInfo, TRUE);
  }
  if (step.moved) InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
  view.selectionShown = 0;
  InvalidateRect(viewer.mainWindow, &view.selectionRect, TRUE);
}

// The work area of the monitor the window is to stand on: the one it
// covers most, when windowRect holds the window's rectangle as recorded
// before a layout, or else the one nearest its top-left corner (the first
// layout has only the stored left and top). A stored place on a monitor
// that is gone so comes back on the nearest one.
RECT WorkAreaForWindow(const View& view) {
  const RECT& rect = view.windowRect;
  HMONITOR monitor = rect.right > rect.left && rect.bottom > rect.top
                         ? MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST)
                         : MonitorFromPoint(POINT{rect.left, rect.top}, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (monitor != nullptr && GetMonitorInfoA(monitor, &info)) return info.rcWork;
  RECT workArea = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  return workArea;
}

LayoutInput InputFor(const View& view, const RECT& workArea) {
  LayoutInput input{};
  input.pageWidth = view.pageWidth;
  input.pageHeight = view.pageHeight;
  input.cellWidth = view.cellWidth;
  input.pageCellHeight = view.pageCellHeight;
  input.pageCellWidth = view.pageCellWidth;
  input.workLeft = workArea.left;
  input.workTop = workArea.top;
  input.workRight = workArea.right;
  input.workBottom = workArea.bottom;
  input.windowLeft = view.windowRect.left;
  input.windowTop = view.windowRect.top;
  return input;
}

// Sizes the view at the zoom there is and places the window around it.
void PlaceWindow(View& view, ViewerState& viewer) {
  const LayoutResult layout = ComputeWindowLayout(InputFor(view, WorkAreaForWindow(view)));
  view.originX = view.originY = kViewOrigin;

  view.cellHeight = layout.cellHeight;
  view.columnWidth = layout.columnWidth;
  view.viewWidth = layout.viewWidth;
  view.viewHeight = layout.viewHeight;
  ReplaceScrollBar(view, viewer, layout);
  // The window's rectangle as placed: one meaning, whoever reads it next.
  view.windowRect = RECT{layout.windowLeft, layout.windowTop, layout.windowLeft + layout.windowWidth,
                         layout.windowTop + layout.windowHeight};
  view.sourceX = 0;
  view.scrollY = 0;
  view.sourceHeight = layout.sourceHeight;
  view.sourceWidth = layout.sourceWidth;
  // A window already placed so, in front and active, is left as it is: the
  // frame never changes its style, so placing it again would change nothing.
  RECT placed = {};
  GetWindowRect(viewer.mainWindow, &placed);
  if (!EqualRect(&placed, &view.windowRect) || GetForegroundWindow() != viewer.mainWindow ||
      !IsWindowVisible(viewer.mainWindow)) {
    SetWindowPos(viewer.mainWindow, HWND_TOP, layout.windowLeft, layout.windowTop, layout.windowWidth,
                 layout.windowHeight, SWP_FRAMECHANGED);
  }
  GetClientRect(viewer.mainWindow, &view.repaintRect);
  view.repaintRect.right -= 20;
  view.repaintRect.bottom -= 20;
  // The frame takes part of the 30-pixel margin, so 20 pixels short of the
  // client's right edge is short of the view's last columns: reach them.
  if (view.repaintRect.right < kViewOrigin + view.viewWidth) {
    view.repaintRect.right = kViewOrigin + view.viewWidth;
  }
  std::snprintf(viewer.titleText, sizeof viewer.titleText, "%s - Quillpane %s", viewer.currentPath,
                QP_VERSION_TEXT);
  char shownTitle[sizeof viewer.titleText] = {};
  GetWindowTextA(viewer.mainWindow, shownTitle, sizeof shownTitle);
  if (std::strcmp(shownTitle, viewer.titleText) != 0) SetWindowTextA(viewer.mainWindow, viewer.titleText);
}
// Full screen: the window covers its monitor, the view as much of the page
// as whole cells of the zoom there is show on it, centred.
void CoverMonitor(View& view, ViewerState& viewer) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromWindow(viewer.mainWindow, MONITOR_DEFAULTTONEAREST), &info)) {
    info.rcMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const RECT& screen = info.rcMonitor;
  const int32_t width = screen.right - screen.left, height = screen.bottom - screen.top;
  const int32_t rowPixels = PageRowPixels(view.pageCellHeight);
  const int32_t columnPixels = view.pageCellWidth == 9 ? 9 : 8;
  view.cellHeight = ZoomedCellSize(view.cellWidth, rowPixels);
  view.columnWidth = ZoomedCellSize(view.cellWidth, columnPixels);
  const int64_t columns = std::min<int64_t>(view.pageWidth / columnPixels, width / view.columnWidth);
  const int64_t rows = std::min<int64_t>(view.pageHeight / rowPixels, height / view.cellHeight);
  view.viewWidth = static_cast<int32_t>(columns * view.columnWidth);
  view.viewHeight = static_cast<int32_t>(rows * view.cellHeight);
  view.sourceWidth = static_cast<int32_t>(columns * columnPixels);
  view.sourceHeight = static_cast<int32_t>(rows * rowPixels);
  view.originX = (width - view.viewWidth) / 2;
  view.originY = (height - view.viewHeight) / 2;
  view.sourceX = 0;
  view.scrollY = 0;
  view.lastThumbRow = 0;
  // No scroll bar: the keys and the wheel scroll.
  if (view.scrollBar != nullptr) DestroyWindow(view.scrollBar);
  view.scrollBar = nullptr;
  SetWindowPos(viewer.mainWindow, HWND_TOP, screen.left, screen.top, width, height, SWP_FRAMECHANGED);
  GetClientRect(viewer.mainWindow, &view.repaintRect);
  std::snprintf(viewer.titleText, sizeof viewer.titleText, "%s - Quillpane %s", viewer.currentPath,
                QP_VERSION_TEXT);
  SetWindowTextA(viewer.mainWindow, viewer.titleText);
}

}  // namespace

void LayoutWindow(View& view, ViewerState& viewer) {
  if (view.fullScreen) {
    // Each piece fills the screen's width, or keeps a larger zoom.
    const int32_t columnPixels = view.pageCellWidth == 9 ? 9 : 8;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(viewer.mainWindow, MONITOR_DEFAULTTONEAREST), &info);
    view.cellWidth = FullScreenZoom(view.pageWidth / columnPixels, view.pageCellWidth,
                                    info.rcMonitor.right - info.rcMonitor.left, view.cellWidth);
    CoverMonitor(view, viewer);
    return;
  }
  // Fit width sets the zoom of each render; the zoom keys change it until
  // the next.
  if (view.fitWidth) view.cellWidth = FitWidthZoom(InputFor(view, WorkAreaForWindow(view)));
  PlaceWindow(view, viewer);
}

void SetFullScreen(View& view, ViewerState& viewer, bool on) {
  if (on == (view.fullScreen != 0)) return;
  HWND window = viewer.mainWindow;
  if (on) {
    GetWindowRect(window, &view.windowedRect);
    view.windowedZoom = view.cellWidth;
    view.windowedStyle = GetWindowLongPtrA(window, GWL_STYLE);
    view.windowedMenu = GetMenu(window);
    view.fullScreen = 1;
    SetMenu(window, nullptr);
    ShowWindow(viewer.statusBar, SW_HIDE);
    SetWindowLongPtrA(window, GWL_STYLE,
                      (view.windowedStyle & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU |
                                                                   WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) |
                          WS_POPUP);
    LayoutWindow(view, viewer);
  } else {
    view.fullScreen = 0;
    SetWindowLongPtrA(window, GWL_STYLE, view.windowedStyle);
    SetMenu(window, view.windowedMenu);
    ShowWindow(viewer.statusBar, SW_SHOW);
    // The same zoom at the same place gives the same rectangle back.
    view.cellWidth = view.windowedZoom;
    view.windowRect = view.windowedRect;
    SetWindowPos(window, HWND_TOP, view.windowedRect.left, view.windowedRect.top,
                 view.windowedRect.right - view.windowedRect.left,
                 view.windowedRect.bottom - view.windowedRect.top, SWP_FRAMECHANGED);
    PlaceWindow(view, viewer);
  }
  view.selectionShown = 0;
  InvalidateRect(window, nullptr, TRUE);
}

void ShowFitWidthSetting(View& view, const ViewerState& viewer, const Settings& settings) {
  view.fitWidth = settings.fitWidth;
  CheckMenuItem(GetMenu(viewer.mainWindow), IDM_FIT_WIDTH,
                MF_BYCOMMAND | (settings.fitWidth ? MF_CHECKED : MF_UNCHECKED));
}

void ToggleFitWidth(View& view, ViewerState& viewer, Settings& settings) {
  settings.fitWidth = settings.fitWidth ? 0 : 1;
  ShowFitWidthSetting(view, viewer, settings);
  WriteFitWidth(settings);
  GetWindowRect(viewer.mainWindow, &view.windowRect);
  LayoutWindow(view, viewer);
  InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
}

void ZoomStep(View& view, ViewerState& viewer, int direction) {
  const int32_t next = view.cellWidth + direction;
  if (next < kMinCellSize || next > kMaxCellSize) return;
  GetWindowRect(viewer.mainWindow, &view.windowRect);
  view.cellWidth = next;
  if (view.fullScreen) {
    CoverMonitor(view, viewer);
  } else {
    PlaceWindow(view, viewer);
  }  // the cell's height follows, in the page cell's shape
  // When the window is already held at the work area's size in both
  // directions the resize repaints nothing; the view changed all the same.
  InvalidateRect(viewer.mainWindow, &view.repaintRect, TRUE);
}

void OnVScroll(View& view, const ViewerState& viewer, WPARAM wParam) {
  const int32_t code = LOWORD(wParam);
  int32_t thumb = HIWORD(wParam);
  if ((code == SB_THUMBTRACK || code == SB_THUMBPOSITION) && view.scrollBar != nullptr) {
    // The message carries only 16 bits; the bar knows the whole position,
    // which reaches the last rows of very tall documents.
    // A message that was not sent by a drag of the bar itself keeps its own
    // position.
    SCROLLINFO track = {};
    track.cbSize = sizeof track;
    track.fMask = SIF_TRACKPOS;
    if (GetScrollInfo(view.scrollBar, SB_CTL, &track) && (track.nTrackPos & 0xFFFF) == thumb) {
      thumb = track.nTrackPos;
    }
  }
  ApplyScroll(view, viewer, ScrollStep(CurrentScroll(view), code, thumb));
}

void ScrollToPageEdge(View& view, const ViewerState& viewer, bool bottom) {
  ApplyScroll(view, viewer, ScrollToEdge(CurrentScroll(view), bottom));
}

void ScrollByRows(View& view, const ViewerState& viewer, int32_t rows) {
  ApplyScroll(view, viewer, ScrollRows(CurrentScroll(view), rows));
}

void OnMouseWheel(View& view, ViewerState& viewer, WPARAM wParam) {
  const int32_t notches = WheelNotches(view.wheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam));
  if (notches == 0) return;
  if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0) {
    // Each notch goes through the keypad's zoom step, so it ends where the
    // keys would end.
    const int direction = notches > 0 ? +1 : -1;
    for (int32_t i = 0; i < notches * direction; ++i) ZoomStep(view, viewer, direction);
    return;
  }
  // The rows a notch as the user set them (WHEEL_PAGESCROLL: a view's
  // height), all the notches in one step that stops at the page's edge.
  UINT lines = kDefaultWheelRows;
  if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = kDefaultWheelRows;
  ScrollByRows(view, viewer,
               -WheelScrollRows(notches, lines, view.sourceHeight / PageRowPixels(view.pageCellHeight)));
}

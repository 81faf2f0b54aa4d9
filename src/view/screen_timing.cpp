// The colour screen in time: VGA's blink and a modem's delivery. The
// rules (the phase at a time, the bytes at a time, the play itself) are
// pure (art/screen_play.h); this file runs them on the window's timers.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "../art/screen_play.h"
#include "../core/scroll_steps.h"
#include "../resources/resource_ids.h"
#include "../text/status_text.h"
#include "../win32/settings.h"
#include "../win32/viewer_state.h"
#include "view.h"
#include "window_layout.h"

namespace {

// 30 ms between frames: 33 a second where timers are exact, 32 where the
// system's 15.6 ms tick rounds them up. A frame redraws only rows that
// changed, and no row when none did, so a slower play does less work.
constexpr UINT kPlayFrameMilliseconds = 30;

// Runs of rows with blinking cells in the shown screen: first, end.
std::vector<std::pair<int32_t, int32_t>> blinkRows;
DWORD blinkStart = 0;
bool blinkShown = true;

std::unique_ptr<ScreenPlay> play;
int playSpeed = kDefaultPlaySpeed;  // index into kPlaySpeeds
DWORD playStart = 0;                // the tick count at byte 0, pauses left out
DWORD pausedAt = 0;
bool paused = false;

void ArmBlinkTimer(const ViewerState& viewer, DWORD elapsed) {
  SetTimer(viewer.mainWindow, kBlinkTimer, MillisecondsToBlinkChange(elapsed), nullptr);
}

void FollowCursor(View& view, const ViewerState& viewer) {
  const int32_t rowPixels = PageRowPixels(view.pageCellHeight);
  const int32_t viewRows = std::max(view.sourceHeight / rowPixels, 1);
  // A cursor below the page shows its last row.
  const int32_t row = std::min(play->cursorRow(), play->frame().rows - 1);
  const int32_t rows = RowsToShow(row, row, view.scrollY / rowPixels, viewRows);
  if (rows != 0) ScrollByRows(view, viewer, rows);
}

// The page shows the whole screen again.
void EndPlay(View& view, const ViewerState& viewer) {
  if (play == nullptr) return;
  KillTimer(viewer.mainWindow, kPlayTimer);
  DrawScreenFrame(view, viewer, nullptr);
  play.reset();
  paused = false;
}

void PlayStep(View& view, const ViewerState& viewer) {
  const DWORD elapsed = GetTickCount() - playStart;
  const CellRect changed = play->AdvanceTo(
      static_cast<size_t>(std::min<uint64_t>(ModemBytesAt(elapsed, kPlaySpeeds[playSpeed]), play->length())));
  if (!changed.empty()) {
    RedrawScreenRows(view, viewer, changed.firstRow, changed.endRow);
    FollowCursor(view, viewer);
  }
  if (play->finished()) EndPlay(view, viewer);
}

void CheckSpeedItem(const ViewerState& viewer) {
  CheckMenuRadioItem(GetMenu(viewer.mainWindow), IDM_SPEED_FIRST, IDM_SPEED_FIRST + 5,
                     IDM_SPEED_FIRST + playSpeed, MF_BYCOMMAND);
}

}  // namespace

void StartScreenTimers(const ViewerState& viewer) {
  // The render that calls this has stopped them already.
  blinkRows.clear();
  const AnsiScreen* screen = ShownAnsiScreen();
  if (screen == nullptr || screen->iceColours) return;
  for (int32_t row = 0; row < screen->rows; ++row) {
    const AnsiCell* cells =
        screen->cells.data() + static_cast<size_t>(row) * static_cast<size_t>(screen->columns);
    if (std::none_of(cells, cells + screen->columns, [screen](AnsiCell c) { return AnsiBlinks(*screen, c); }))
      continue;
    if (!blinkRows.empty() && blinkRows.back().second == row)
      ++blinkRows.back().second;
    else
      blinkRows.emplace_back(row, row + 1);
  }
  if (blinkRows.empty()) return;
  blinkStart = GetTickCount();
  blinkShown = true;
  ArmBlinkTimer(viewer, 0);
}

void StopScreenTimers(View& view, const ViewerState& viewer) {
  KillTimer(viewer.mainWindow, kBlinkTimer);
  blinkRows.clear();
  SetBlinkShown(true);
  EndPlay(view, viewer);
}

void OnScreenTimer(View& view, const ViewerState& viewer, WPARAM timer) {
  if (timer == kPlayTimer && play != nullptr && !paused) PlayStep(view, viewer);
  if (timer != kBlinkTimer || blinkRows.empty()) return;
  const DWORD elapsed = GetTickCount() - blinkStart;
  if (BlinkShownAt(elapsed) != blinkShown) {
    blinkShown = !blinkShown;
    SetBlinkShown(blinkShown);
    for (const auto& [first, end] : blinkRows) RedrawScreenRows(view, viewer, first, end);
  }
  ArmBlinkTimer(viewer, elapsed);
}

void TogglePlay(View& view, const ViewerState& viewer, const Settings& settings) {
  if (play != nullptr) {
    EndPlay(view, viewer);
    return;
  }
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  if (!ShownColourBytes(view, bytes, length)) return;  // the text layout does not play
  play = std::make_unique<ScreenPlay>(viewer.currentPath, bytes, length, ShownLook(settings));
  DrawScreenFrame(view, viewer, &play->frame());
  playStart = GetTickCount();
  FollowCursor(view, viewer);
  SetTimer(viewer.mainWindow, kPlayTimer, kPlayFrameMilliseconds, nullptr);
}

bool PauseOrResumePlay(const ViewerState& viewer) {
  if (play == nullptr) return false;
  if (paused) {
    playStart += GetTickCount() - pausedAt;
    SetTimer(viewer.mainWindow, kPlayTimer, kPlayFrameMilliseconds, nullptr);
  } else {
    pausedAt = GetTickCount();
    KillTimer(viewer.mainWindow, kPlayTimer);
  }
  paused = !paused;
  return true;
}

void ShowPlaySpeedSetting(const ViewerState& viewer, const Settings& settings) {
  // A value that is none of the speeds starts at 14400.
  const auto known = std::find(std::begin(kPlaySpeeds), std::end(kPlaySpeeds), settings.playSpeed);
  playSpeed =
      known != std::end(kPlaySpeeds) ? static_cast<int>(known - std::begin(kPlaySpeeds)) : kDefaultPlaySpeed;
  CheckSpeedItem(viewer);
}

void SelectPlaySpeed(const ViewerState& viewer, Settings& settings, int command) {
  // A play goes on from where it stands at the new speed.
  const DWORD now = GetTickCount();
  const uint64_t done = play != nullptr ? play->position() : 0;
  playSpeed = std::clamp(command - IDM_SPEED_FIRST, 0, 5);
  if (play != nullptr)
    playStart = (paused ? pausedAt : now) - static_cast<DWORD>(done * 10000 / kPlaySpeeds[playSpeed]);
  CheckSpeedItem(viewer);
  settings.playSpeed = kPlaySpeeds[playSpeed];
  WritePlaySpeed(settings);
}

std::string PlayStatus() { return play != nullptr ? PlayStatusText(paused, kPlaySpeeds[playSpeed]) : ""; }

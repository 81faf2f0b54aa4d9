#include "slideshow.h"

#include <algorithm>
#include <iterator>

#include "../core/scroll_steps.h"
#include "document.h"
#include "../resources/resource_ids.h"
#include "../view/window_layout.h"

namespace {

constexpr DWORD kSlideSpeeds[] = {2, 5, 10, 25};  // rows a second, the menu's order
constexpr int kDefaultSlideSpeed = 1;
static_assert(IDM_SLIDE_SPEED_FIRST + static_cast<int>(std::size(kSlideSpeeds)) - 1 <= IDM_SLIDE_SPEED_LAST,
              "every speed has its command");

bool running = false;
int slideSpeed = kDefaultSlideSpeed;  // index into kSlideSpeeds
int32_t waited = 0;                   // ticks rested at the page's end

void CheckSlideItems(const ViewerState& viewer) {
  HMENU menu = GetMenu(viewer.mainWindow);
  CheckMenuItem(menu, IDM_SLIDESHOW, MF_BYCOMMAND | (running ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuRadioItem(menu, IDM_SLIDE_SPEED_FIRST,
                     IDM_SLIDE_SPEED_FIRST + static_cast<UINT>(std::size(kSlideSpeeds)) - 1,
                     IDM_SLIDE_SPEED_FIRST + slideSpeed, MF_BYCOMMAND);
}

void ArmTimer(const ViewerState& viewer) {
  SetTimer(viewer.mainWindow, kSlideTimer,
           static_cast<UINT>(SlideTickMilliseconds(static_cast<int32_t>(kSlideSpeeds[slideSpeed]))), nullptr);
}

}  // namespace

void ShowSlideSpeedSetting(const ViewerState& viewer, const Settings& settings) {
  const auto known = std::find(std::begin(kSlideSpeeds), std::end(kSlideSpeeds), settings.slideSpeed);
  slideSpeed = known != std::end(kSlideSpeeds) ? static_cast<int>(known - std::begin(kSlideSpeeds))
                                               : kDefaultSlideSpeed;
  CheckSlideItems(viewer);
}

void SelectSlideSpeed(const ViewerState& viewer, Settings& settings, int command) {
  slideSpeed = std::clamp(command - IDM_SLIDE_SPEED_FIRST, 0, static_cast<int>(std::size(kSlideSpeeds)) - 1);
  settings.slideSpeed = kSlideSpeeds[slideSpeed];
  WriteSlideSpeed(settings);
  if (running) ArmTimer(viewer);
  CheckSlideItems(viewer);
}

void ToggleSlideshow(const ViewerState& viewer) {
  if (running) {
    StopSlideshow(viewer);
    return;
  }
  running = true;
  waited = 0;
  ArmTimer(viewer);
  CheckSlideItems(viewer);
}

void StopSlideshow(const ViewerState& viewer) {
  KillTimer(viewer.mainWindow, kSlideTimer);
  if (!running) return;
  running = false;
  CheckSlideItems(viewer);
}

bool SlideshowRunning() { return running; }

void OnSlideTimer(View& view, ViewerState& viewer, Settings& settings) {
  // A piece just opened is laid out at its first paint; its sizes are not
  // known before.
  if (!running || view.needsRender) return;
  const ScrollInput scroll{view.scrollY,    view.sourceHeight,   view.pageHeight,
                           view.cellHeight, view.pageCellHeight, view.lastThumbRow};
  switch (SlideStep(scroll, static_cast<int32_t>(kSlideSpeeds[slideSpeed]), waited)) {
    case SlideAction::kScroll: ScrollByRows(view, viewer, 1); break;
    case SlideAction::kWait: break;
    case SlideAction::kNext:
      // The walk's last piece ends the slideshow; it does not start over.
      if (viewer.browseIndex >= viewer.browseLast) {
        StopSlideshow(viewer);
      } else {
        BrowseStep(view, viewer, settings, +1);
      }
      break;
  }
}

// View > Slideshow (Ctrl+L): the shown piece scrolls from its top to its
// bottom at View > Slideshow speed's rows a second, rests there, and the
// walk's next piece follows (as Page Down opens it), until a key or a
// click, or the end of the walk.
#ifndef QUILLPANE_SLIDESHOW_H
#define QUILLPANE_SLIDESHOW_H

#include <windows.h>

#include "../win32/settings.h"
#include "../win32/viewer_state.h"

constexpr UINT_PTR kSlideTimer = 0x534C;  // "SL"

// View > Slideshow speed: as the settings read at the start say (5 rows a
// second, a 25-row screen in 5 s, when they name none of the speeds),
// with its menu mark; choosing one (IDM_SLIDE_SPEED_FIRST on) writes the
// setting and a running slideshow goes on at it.
void ShowSlideSpeedSetting(const ViewerState& viewer, const Settings& settings);
void SelectSlideSpeed(const ViewerState& viewer, Settings& settings, int command);
void ToggleSlideshow(const ViewerState& viewer);
void StopSlideshow(const ViewerState& viewer);
bool SlideshowRunning();
void OnSlideTimer(View& view, ViewerState& viewer, Settings& settings);

#endif

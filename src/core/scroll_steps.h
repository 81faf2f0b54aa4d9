// The wheel and the start zoom as the system sets them: the rows a wheel
// notch scrolls and the cell size that keeps the art's size on the screen.
#ifndef QUILLPANE_SCROLL_STEPS_H
#define QUILLPANE_SCROLL_STEPS_H

#include <cstdint>

#include "window_geometry.h"

constexpr int32_t kDefaultWheelRows = 3;

// The rows `notches` whole wheel notches scroll (positive: towards the
// top), for the user's rows-a-notch setting `linesSetting` and a view of
// `viewRows` whole rows. Whatever the setting, a notch scrolls at least one
// row and at most a view's height, the way it was turned.
int32_t WheelScrollRows(int32_t notches, uint32_t linesSetting, int32_t viewRows);

// `rows` rows down (negative: up) in one step, as far as that many
// SB_LINEDOWN (SB_LINEUP) steps would go: never below the page's last full
// view, nor above its top. A view already past that edge stays.
ScrollResult ScrollRows(const ScrollInput& in, int32_t rows);

// The rows to scroll (positive: down) so that page rows `first` to `last`
// stand in a view of `viewRows` rows whose top row is `top`: as few as
// that takes. Rows taller than the view show from `first`.
int32_t RowsToShow(int32_t first, int32_t last, int32_t top, int32_t viewRows);

// The slideshow scrolls a row a tick at its speed in rows a second (1 to
// 1000; anything else is taken as the nearest), waits kSlidePauseMs at the
// page's end, then goes on to the next piece.
constexpr int32_t kSlidePauseMs = 2000;
int32_t SlideTickMilliseconds(int32_t rowsPerSecond);
enum class SlideAction { kScroll, kWait, kNext };
// One tick: a row down while the view's bottom is above the page's;
// then as many waiting ticks as make the pause, counted in `waited`
// (set back to 0 by a scroll and by the step to the next piece).
SlideAction SlideStep(const ScrollInput& in, int32_t rowsPerSecond, int32_t& waited);

// The start zoom (cell size in screen pixels) for a screen of `dpi` dots an
// inch: 8 at 96, the nearest whole step in between, held to 1 ... 15.
int32_t StartZoomForDpi(int32_t dpi);

#endif

// The wheel and the start zoom as the system sets them: the rows a wheel
// notch scrolls and the cell size that keeps the art's size on the screen.
#ifndef QUILLPANE_SCROLL_STEPS_H
#define QUILLPANE_SCROLL_STEPS_H

#include <cstdint>

constexpr int32_t kDefaultWheelRows = 3;

// The rows `notches` whole wheel notches scroll (positive: towards the
// top), for the user's rows-a-notch setting `linesSetting` and a view of
// `viewRows` whole rows. Whatever the setting, a notch scrolls at least one
// row and at most a view's height, the way it was turned.
int32_t WheelScrollRows(int32_t notches, uint32_t linesSetting, int32_t viewRows);

// The start zoom (cell size in screen pixels) for a screen of `dpi` dots an
// inch: 8 at 96, the nearest whole step in between, held to 1 ... 15.
int32_t StartZoomForDpi(int32_t dpi);

#endif

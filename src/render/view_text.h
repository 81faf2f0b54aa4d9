// The text the window shows, as the selection reads it: the current
// document's shown rows.
#ifndef QUILLPANE_VIEW_TEXT_H
#define QUILLPANE_VIEW_TEXT_H

#include <windows.h>

#include <cstdint>

#include "shown_rows.h"

// The cells the current page shows, collected at most once a render (on
// first use after it) and kept until the next render.
const ShownRows& CurrentShownRows();
// A render is about to lay a document out: the rows go.
void ForgetShownRows();

#endif

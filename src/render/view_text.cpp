#include "view_text.h"

#include <cstring>

#include "../core/viewer_state.h"

namespace {

struct ShownText {
  bool collected = false;
  ShownRows rows;
};
ShownText shown;

}  // namespace

const ShownRows& CurrentShownRows() {
  if (!shown.collected) {
    // The text layout's page, cut to the size the render drew. The ANSI
    // colour mode fills these rows from its own cell grid instead.
    const auto* text = reinterpret_cast<const uint8_t*>(viewer.textBuffer);
    shown.rows = CollectShownRows(text, static_cast<int32_t>(std::strlen(viewer.textBuffer)),
                                  viewer.pageWidth / 8, viewer.pageHeight / 8);
    shown.collected = true;
  }
  return shown.rows;
}

void ForgetShownRows() { shown = ShownText{}; }

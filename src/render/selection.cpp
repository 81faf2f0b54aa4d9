#include "render.h"

// Mouse selection is not built yet.
void OnSelectionButtonDown(LPARAM) {}
void OnSelectionMouseMove(LPARAM) {}
void OnSelectionButtonUp(LPARAM) {}

#include "layout_interpreter.h"

#include <cstring>

PageMeasure MeasureLayout(const uint8_t* text, int32_t length, int32_t* lineTable) {
  if (lineTable != nullptr) lineTable[0] = lineTable[1] = 0;
  MeasureSink sink(lineTable);
  RunLayoutPass(text, length, sink);
  return sink.measure;
}

int32_t EndWithLineFeed(char* text) {
  int32_t length = static_cast<int32_t>(std::strlen(text));
  if (length == 0 || text[length - 1] != '\n') {
    text[length++] = '\n';
    text[length] = '\0';
  }
  return length;
}

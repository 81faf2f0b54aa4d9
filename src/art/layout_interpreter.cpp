#include "layout_interpreter.h"

PageMeasure MeasureLayout(const uint8_t* text, int32_t length, int32_t* lineTable) {
  if (lineTable != nullptr) lineTable[0] = lineTable[1] = 0;
  MeasureSink sink(lineTable);
  RunLayoutPass(text, length, sink);
  return sink.measure;
}

// A play of a colour screen (ScreenPlay) as an animated PNG.
#ifndef QUILLPANE_SCREEN_ANIMATION_H
#define QUILLPANE_SCREEN_ANIMATION_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// At most this many frames a second of the play.
constexpr uint32_t kAnimationFramesPerSecond = 30;

// The play of the colour screen of `path` (its `length` bytes) at
// `bitsPerSecond` as an animated PNG: the still screen is its image, and
// the frames start from the empty screen, then come at most
// kAnimationFramesPerSecond a second of the play, only where cells
// changed, each the rectangle of the cells that did. Blinking cells show
// their visible phase. `frames`, when given, gets the count, and `note`
// what of the file could not be read. False when it cannot be encoded (not
// enough memory).
bool EncodeScreenPlay(const char* path, const uint8_t* bytes, size_t length, uint32_t bitsPerSecond,
                      std::vector<uint8_t>& png, size_t* frames = nullptr, std::string* note = nullptr,
                      const std::string& font = std::string());

#endif

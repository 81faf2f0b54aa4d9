#include "sauce.h"

#include <cstring>

SauceRecord ReadSauce(const uint8_t* bytes, size_t length) {
  SauceRecord sauce;
  size_t end = length;
  if (length >= 128 && std::memcmp(bytes + length - 128, "SAUCE00", 7) == 0) {
    const uint8_t* r = bytes + length - 128;
    sauce.present = true;
    sauce.dataType = r[94];
    sauce.fileType = r[95];
    sauce.tInfo1 = static_cast<uint16_t>(r[96] | r[97] << 8);
    sauce.tInfo2 = static_cast<uint16_t>(r[98] | r[99] << 8);
    sauce.commentLines = r[104];
    sauce.flags = r[105];
    size_t n = 0;
    while (n < 22 && r[106 + n] != 0) {
      sauce.fontName[n] = static_cast<char>(r[106 + n]);
      ++n;
    }
    while (n > 0 && sauce.fontName[n - 1] == ' ') sauce.fontName[--n] = '\0';
    // Never drawn, even when no 0x1A stands before it (ansilove then draws
    // the comment block and the record as text).
    end = length - 128;
    const size_t block = 5 + 64 * size_t{sauce.commentLines};
    if (sauce.commentLines > 0 && end >= block && std::memcmp(bytes + end - block, "COMNT", 5) == 0)
      end -= block;
  }
  // The standard puts an end-of-file byte before the comments and the
  // record; it is not a cell's.
  sauce.dataLength = sauce.present && end > 0 && bytes[end - 1] == 0x1A ? end - 1 : end;
  const void* eof = end > 0 ? std::memchr(bytes, 0x1A, end) : nullptr;
  sauce.textLength = eof != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(eof) - bytes) : end;
  return sauce;
}

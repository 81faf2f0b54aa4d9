#include "png_writer.h"

#include <libdeflate.h>

#include <algorithm>
#include <atomic>
#include <array>
#include <cstring>
#include <exception>
#include <thread>

namespace {

// ---------------------------------------------------------------------------
// Walking a raw deflate stream: where its final block starts and where it
// ends. libdeflate always ends what it writes with a final block; a part
// that another follows needs that block marked not final and its end
// brought to a whole byte, and both need the bit positions. The walk reads
// every block's codes but writes nothing: on the page of a 512 KB document
// it takes about a fifth of the time of the deflate, for every part but the
// last.

// The bits of a stream, first bit of each byte first, through a 64-bit
// buffer; zeros past the end (counted, so that a walk past it fails).
class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // At least 56 bits in the buffer.
  void Refill() {
    if (size_ - next_ >= 8) {
      // Eight bytes at once: the bits past the whole bytes taken are the
      // next bytes' own, so the next refill puts the same bits there again.
      uint64_t word = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      std::memcpy(&word, data_ + next_, 8);
#else
      for (int i = 0; i < 8; ++i) word |= uint64_t{data_[next_ + i]} << (8 * i);
#endif
      buffer_ |= word << count_;
      next_ += static_cast<size_t>((63 - count_) >> 3);
      count_ |= 56;
      return;
    }
    while (count_ <= 55) {
      uint64_t byte = 0;
      if (next_ < size_) {
        byte = data_[next_++];
      } else {
        ++past_;
      }
      buffer_ |= byte << count_;
      count_ += 8;
    }
  }
  // The next `count` bits (at most 56 after a refill), the first in the lowest bit.
  uint32_t Peek(int count) const { return static_cast<uint32_t>(buffer_ & ((uint64_t{1} << count) - 1)); }
  void Consume(int count) {
    buffer_ >>= count;
    count_ -= count;
  }
  uint32_t Take(int count) {
    if (count_ < count) Refill();
    const uint32_t value = Peek(count);
    Consume(count);
    return value;
  }
  void Align() { Consume(count_ & 7); }
  // Past `bytes` whole bytes, from a byte boundary.
  void SkipBytes(uint32_t bytes) {
    const uint32_t buffered = static_cast<uint32_t>(count_ >> 3);
    const uint32_t inBuffer = std::min(bytes, buffered);
    Consume(static_cast<int>(inBuffer * 8));
    bytes -= inBuffer;
    if (bytes == 0) return;
    // The buffer is empty: on from the bytes themselves.
    buffer_ = 0;
    count_ = 0;
    const size_t left = size_ - next_;
    next_ += std::min<size_t>(bytes, left);
    if (bytes > left) past_ += bytes - left;
  }
  // Bits taken so far.
  uint64_t position() const { return (uint64_t{next_} + past_) * 8 - static_cast<uint64_t>(count_); }
  // Sure to have taken bits past the end: more zero bytes read past it
  // than the buffer holds. A walk through zeros ends here.
  bool FarPastEnd() const { return past_ >= 8; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t next_ = 0;
  uint64_t past_ = 0;  // zero bytes read past the end
  uint64_t buffer_ = 0;
  int count_ = 0;  // bits in the buffer
};

constexpr int kMaxCodeLength = 15;
constexpr int kTableBits = 11;  // codes this long or shorter are found in one look

// A code of the stream with the extra bits that follow each of its
// symbols: a walk takes both at once and never reads their value.
class HuffmanCode {
 public:
  // False when the lengths ask for more codes than there are; a code with
  // some left over is taken (its missing codes fail to decode).
  bool Build(const uint8_t* lengths, int symbols, const uint8_t* extraBits) {
    std::memset(count_, 0, sizeof count_);
    for (int s = 0; s < symbols; ++s) ++count_[lengths[s]];
    count_[0] = 0;
    int left = 1;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
      left = left * 2 - count_[length];
      if (left < 0) return false;
    }
    int offset[kMaxCodeLength + 1] = {};
    for (int length = 1; length < kMaxCodeLength; ++length)
      offset[length + 1] = offset[length] + count_[length];
    for (int s = 0; s < symbols; ++s) {
      if (lengths[s] != 0) symbol_[offset[lengths[s]]++] = static_cast<uint16_t>(s);
    }
    extraBits_ = extraBits;
    // Codes are sent first bit first: the table is read with the bits as
    // they come, so each code goes in reversed.
    std::memset(table_, 0, sizeof table_);
    uint32_t code = 0;
    int index = 0;
    for (int length = 1; length <= kTableBits; ++length, code <<= 1) {
      for (int k = 0; k < count_[length]; ++k, ++code, ++index) {
        uint32_t reversed = 0;
        for (int b = 0; b < length; ++b) reversed |= ((code >> b) & 1) << (length - 1 - b);
        const int symbol = symbol_[index];
        const uint32_t entry = static_cast<uint32_t>(symbol + 1) << 8 | (length + extraBits[symbol]);
        for (uint32_t i = reversed; i < (1u << kTableBits); i += 1u << length) table_[i] = entry;
      }
    }
    return true;
  }

  // Takes the next symbol and its extra bits (at most 28 bits, which a
  // refill leaves); -1 where the bits are no code of this one.
  int Take(BitReader& bits) const {
    const uint32_t entry = table_[bits.Peek(kTableBits)];
    if (entry != 0) {
      bits.Consume(static_cast<int>(entry & 0xFF));
      return static_cast<int>(entry >> 8) - 1;
    }
    // A longer code: one bit at a time through the codes in order.
    const uint32_t next = bits.Peek(kMaxCodeLength);
    int code = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
      code |= static_cast<int>((next >> (length - 1)) & 1);
      if (code - count_[length] < first) {
        const int symbol = symbol_[index + (code - first)];
        bits.Consume(length + extraBits_[symbol]);
        return symbol;
      }
      index += count_[length];
      first = (first + count_[length]) << 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  uint32_t table_[1 << kTableBits];  // (symbol + 1) << 8 | bits taken; 0 for a longer code or none
  uint16_t count_[kMaxCodeLength + 1];
  uint16_t symbol_[288];  // in code order
  const uint8_t* extraBits_ = nullptr;
};

// Extra bits after each symbol: literal and length codes (the last two
// are never sent), distance codes.
constexpr std::array<uint8_t, 288> kLengthExtraBits = [] {
  std::array<uint8_t, 288> bits{};
  for (int s = 265; s < 285; ++s) bits[s] = static_cast<uint8_t>((s - 261) / 4);
  return bits;
}();
constexpr std::array<uint8_t, 30> kDistanceExtraBits = [] {
  std::array<uint8_t, 30> bits{};
  for (int s = 4; s < 30; ++s) bits[s] = static_cast<uint8_t>(s / 2 - 1);
  return bits;
}();
constexpr uint8_t kNoExtraBits[19] = {};

// Past every symbol of a block up to its end code.
bool SkipSymbols(BitReader& bits, const HuffmanCode& lengths, const HuffmanCode& distances) {
  for (;;) {
    if (bits.FarPastEnd()) return false;
    // A length with its extra bits and a distance with its own take at
    // most 48 bits: one refill for both. A literal takes at most 15, so a
    // second symbol is taken from the same refill (a tenth faster), and a
    // distance after it gets its own.
    bits.Refill();
    int symbol = lengths.Take(bits);
    if (symbol < 256) {
      if (symbol < 0) return false;
      symbol = lengths.Take(bits);
      if (symbol < 256) {
        if (symbol < 0) return false;
        continue;
      }
      bits.Refill();
    }
    if (symbol == 256) return true;
    if (symbol > 285 || distances.Take(bits) < 0) return false;
  }
}

bool ReadDynamicCodes(BitReader& bits, HuffmanCode& lengths, HuffmanCode& distances) {
  const int lengthCount = static_cast<int>(bits.Take(5)) + 257;
  const int distanceCount = static_cast<int>(bits.Take(5)) + 1;
  const int codeLengthCount = static_cast<int>(bits.Take(4)) + 4;
  if (lengthCount > 286 || distanceCount > 30) return false;
  static constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  uint8_t codeLengthLengths[19] = {};
  for (int i = 0; i < codeLengthCount; ++i) codeLengthLengths[kOrder[i]] = static_cast<uint8_t>(bits.Take(3));
  HuffmanCode codeLengths;  // its repeat counts are read, not skipped
  if (!codeLengths.Build(codeLengthLengths, 19, kNoExtraBits)) return false;
  uint8_t all[286 + 30] = {};
  const int total = lengthCount + distanceCount;
  for (int i = 0; i < total;) {
    if (bits.FarPastEnd()) return false;
    bits.Refill();
    const int symbol = codeLengths.Take(bits);
    if (symbol < 0) return false;
    if (symbol < 16) {
      all[i++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t value = 0;
    int repeat;
    if (symbol == 16) {
      if (i == 0) return false;
      value = all[i - 1];
      repeat = 3 + static_cast<int>(bits.Take(2));
    } else if (symbol == 17) {
      repeat = 3 + static_cast<int>(bits.Take(3));
    } else {
      repeat = 11 + static_cast<int>(bits.Take(7));
    }
    if (repeat > total - i) return false;
    while (repeat-- > 0) all[i++] = value;
  }
  return all[256] != 0 && lengths.Build(all, lengthCount, kLengthExtraBits.data()) &&
         distances.Build(all + lengthCount, distanceCount, kDistanceExtraBits.data());
}

// The bit at which the final block of the stream in data[0 .. size-1]
// starts (its "final" bit) and the bit after its end code.
bool FindFinalBlock(const uint8_t* data, size_t size, uint64_t& finalBit, uint64_t& endBit) {
  BitReader bits(data, size);
  HuffmanCode lengths, distances;
  for (;;) {
    const uint64_t header = bits.position();
    const bool final = bits.Take(1) != 0;
    const uint32_t type = bits.Take(2);
    if (type == 0) {  // stored
      bits.Align();
      const uint32_t length = bits.Take(16);
      if ((bits.Take(16) ^ length) != 0xFFFF) return false;
      bits.SkipBytes(length);
    } else if (type == 1) {  // the fixed codes
      uint8_t fixed[288];
      std::memset(fixed, 8, 144);
      std::memset(fixed + 144, 9, 112);
      std::memset(fixed + 256, 7, 24);
      std::memset(fixed + 280, 8, 8);
      uint8_t fixedDistances[30];
      std::memset(fixedDistances, 5, sizeof fixedDistances);
      if (!lengths.Build(fixed, 288, kLengthExtraBits.data()) ||
          !distances.Build(fixedDistances, 30, kDistanceExtraBits.data()) ||
          !SkipSymbols(bits, lengths, distances))
        return false;
    } else if (type == 2) {
      if (!ReadDynamicCodes(bits, lengths, distances) || !SkipSymbols(bits, lengths, distances)) return false;
    } else {
      return false;
    }
    if (bits.position() > uint64_t{size} * 8) return false;
    if (final) {
      finalBit = header;
      endBit = bits.position();
      return true;
    }
  }
}

// UnfinishDeflate for the stream that starts at byte `start`.
bool UnfinishDeflateFrom(std::vector<uint8_t>& bytes, size_t start) {
  uint64_t finalBit = 0, endBit = 0;
  if (start > bytes.size() || !FindFinalBlock(bytes.data() + start, bytes.size() - start, finalBit, endBit))
    return false;
  uint8_t* stream = bytes.data() + start;
  stream[finalBit >> 3] &= static_cast<uint8_t>(~(1u << (finalBit & 7)));
  // Nothing may follow the end code: the bits after it in its byte are
  // cleared, and any bytes after that byte dropped.
  const size_t used = static_cast<size_t>((endBit + 7) / 8);
  if ((endBit & 7) != 0) stream[used - 1] &= static_cast<uint8_t>((1u << (endBit & 7)) - 1);
  // The empty stored block: its 3 header bits (all 0: not final, stored)
  // in the rest of that byte or a new one, then a length of 0 and its
  // complement from the next whole byte.
  bytes.resize(start + static_cast<size_t>((endBit + 3 + 7) / 8), 0);
  bytes.insert(bytes.end(), {0x00, 0x00, 0xFF, 0xFF});
  return true;
}

// ---------------------------------------------------------------------------
// The PNG.

// libdeflate's fastest level: on the page of a 512 KB document it deflates
// in about two thirds of the time zlib's fastest level takes, to a file 15%
// smaller (so zlib's streaming would cost more than the walk below saves
// it). libdeflate deflates a whole buffer at a time, so a page is
// deflated a band of rows at a time, each band a raw deflate stream of its
// own made to let the next follow (UnfinishDeflate), one IDAT chunk a
// band. Only the bands being deflated are ever drawn: peak memory is a few
// bands a thread and the deflated file, whatever the page's height, and
// the band's rows stay in the cache between drawing, filtering and
// deflating. A band restarts deflate's window; at a quarter megabyte that
// costs under 1% of the file, and is a little faster than larger bands.
constexpr int kDeflateLevel = 1;
constexpr uint64_t kBandBytes = 256 * 1024;
constexpr unsigned kMaxThreads = 4;
// Rows that are filtered and deflated at most (the limits of a page keep far
// below it), so that no size counted in size_t can overflow on 32 bits.
constexpr uint64_t kMaxFilteredBytes = uint64_t{1} << 30;

// Bytes of a row in the PNG: 32-bit colour loses its fourth byte.
size_t PngRowBytes(const PixelRows& image) {
  return image.format == PixelFormat::kBgrx32 ? static_cast<size_t>(image.width) * 3
                                              : RowBytes(image.format, image.width);
}

struct Part {
  int32_t firstRow = 0;
  int32_t endRow = 0;
  uint64_t filteredBytes = 0;
  uint32_t adler = 1;
  std::vector<uint8_t> data;  // the IDAT chunk's data
  uint32_t crc = 0;           // of the chunk type and the data
  bool done = false;
};

constexpr uint8_t kIdat[4] = {'I', 'D', 'A', 'T'};

// What a thread keeps from one band to the next.
struct BandMemory {
  std::vector<uint8_t> pixels, filtered, deflated, scratch;
  // The band before that was deflated, its filtered rows and what they became.
  std::vector<uint8_t> previous, last;
  uint32_t previousAdler = 1, lastCrc = 0;
};

// Draws, filters, deflates and checks the part's rows. The first part starts
// with the zlib header; every part but the last lets the next one follow.
void DeflatePart(const PixelRows& shape, const RowsDrawer& draw, bool first, bool last, Part& part,
                 libdeflate_compressor* compressor, BandMemory& memory) noexcept {
  try {
    const size_t rowBytes = PngRowBytes(shape);
    const size_t rows = static_cast<size_t>(part.endRow - part.firstRow);
    // Every row with filter 0 (none). On the 1-bit page of line-by-line
    // text each of the other four gives a larger file, from 18% (Sub) to
    // 44% (Average, the only one that deflates faster): a glyph's rows
    // differ from each other and from their neighbours, and deflate finds
    // the glyph rows that repeat without a filter. A thumbnail is too small
    // for a filter to matter. Rows whose bytes are the PNG's own are drawn
    // straight after their filter byte, where the drawer's stride allows.
    std::vector<uint8_t>& filtered = memory.filtered;
    filtered.resize(rows * (rowBytes + 1) + 4);  // room for the padding of the last row drawn in place
    const bool inPlace = shape.format != PixelFormat::kBgrx32 && rowBytes + 1 >= shape.stride;
    if (inPlace) {
      if (!draw(part.firstRow, part.endRow - part.firstRow, filtered.data() + 1, rowBytes + 1, memory.scratch))
        return;
      for (size_t r = 0; r < rows; ++r) filtered[r * (rowBytes + 1)] = 0;
    } else {
      const size_t stride = std::max(shape.stride, RowBytes(shape.format, shape.width));
      memory.pixels.resize(stride * rows);
      if (!draw(part.firstRow, part.endRow - part.firstRow, memory.pixels.data(), stride, memory.scratch))
        return;
      for (size_t r = 0; r < rows; ++r) {
        const uint8_t* from = memory.pixels.data() + r * stride;
        uint8_t* to = filtered.data() + r * (rowBytes + 1);
        *to++ = 0;
        if (shape.format != PixelFormat::kBgrx32) {
          std::memcpy(to, from, rowBytes);
          continue;
        }
        for (int32_t x = 0; x < shape.width; ++x, from += 4, to += 3) {
          to[0] = from[2], to[1] = from[1], to[2] = from[0];
        }
      }
    }
    filtered.resize(rows * (rowBytes + 1));
    // A band whose bytes are those of this thread's band before (the empty
    // rows of a tall page) deflates to the same bytes: they are taken
    // again rather than deflated again.
    if (!first && !last && !memory.last.empty() && memory.previous == filtered) {
      part.filteredBytes = filtered.size();
      part.adler = memory.previousAdler;
      part.data = memory.last;
      part.crc = memory.lastCrc;
      part.done = true;
      return;
    }
    part.filteredBytes = filtered.size();
    part.adler = libdeflate_adler32(1, filtered.data(), filtered.size());

    const size_t header = first ? 2 : 0;
    std::vector<uint8_t>& deflated = memory.deflated;
    deflated.resize(header + libdeflate_deflate_compress_bound(compressor, filtered.size()));
    const size_t written = libdeflate_deflate_compress(compressor, filtered.data(), filtered.size(),
                                                       deflated.data() + header, deflated.size() - header);
    if (written == 0) return;
    deflated.resize(header + written);
    if (!last && !UnfinishDeflateFrom(deflated, header)) return;
    if (first) {
      // Deflate with a 32 KB window, the fastest level; 0x7801 is a
      // multiple of 31 as the header's check needs.
      deflated[0] = 0x78;
      deflated[1] = 0x01;
    }
    // Only the deflated bytes are kept: a band's own memory is used again.
    part.data.assign(deflated.begin(), deflated.end());
    part.crc = libdeflate_crc32(libdeflate_crc32(0, kIdat, 4), part.data.data(), part.data.size());
    part.done = true;
    memory.last.clear();
    if (!first && !last) {
      memory.previous.swap(filtered);
      memory.previousAdler = part.adler;
      memory.last = part.data;
      memory.lastCrc = part.crc;
    }
  } catch (...) {  // out of memory: the part is not done
  }
}

// The Adler-32 of two byte strings one after the other, from the sums of
// each and the length of the second.
uint32_t CombineAdler32(uint32_t first, uint32_t second, uint64_t secondLength) {
  constexpr uint64_t kBase = 65521;
  const uint64_t n = secondLength % kBase;
  const uint64_t a1 = first & 0xFFFF, b1 = first >> 16;
  const uint64_t a2 = second & 0xFFFF, b2 = second >> 16;
  const uint64_t a = (a1 + a2 + kBase - 1) % kBase;
  const uint64_t b = (b1 + b2 + n * a1 + kBase - n) % kBase;
  return static_cast<uint32_t>(b << 16 | a);
}

// Bands taken in turn by each thread: the next free one, drawn and
// deflated; the parts are joined in their order whichever thread made them.
void DeflateBands(const PixelRows& shape, const RowsDrawer& draw, std::vector<Part>& work,
                  std::atomic<size_t>& next) noexcept {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(kDeflateLevel);
  if (compressor == nullptr) return;
  BandMemory memory;
  for (size_t k; (k = next++) < work.size();)
    DeflatePart(shape, draw, k == 0, k + 1 == work.size(), work[k], compressor, memory);
  libdeflate_free_compressor(compressor);
}

// The picture's rows as zlib data cut into parts, one a band. `bands`: how
// many, cut evenly (at most one a row); 0 takes bands of about kBandBytes.
bool DeflateRows(const PixelRows& shape, const RowsDrawer& draw, unsigned bands, std::vector<Part>& work) {
  if (shape.width <= 0 || shape.height <= 0 || (PaletteSize(shape.format) > 0 && shape.palette == nullptr))
    return false;
  const uint64_t filteredBytes = uint64_t{PngRowBytes(shape) + 1} * static_cast<uint64_t>(shape.height);
  if (filteredBytes > kMaxFilteredBytes) return false;
  const auto height = static_cast<uint64_t>(shape.height);
  uint64_t count = std::clamp<uint64_t>(bands, 1, height);
  // Bands of about kBandBytes are all alike, a whole number of rows of
  // cells (8 or 16 pixels) high, so that the same rows make the same band.
  const uint64_t bandRows =
      bands > 0 ? 0 : std::max<uint64_t>(16, (kBandBytes / (filteredBytes / height)) / 16 * 16);
  if (bands == 0) count = (height + bandRows - 1) / bandRows;
  work.assign(static_cast<size_t>(count), Part());
  for (size_t k = 0; k < work.size(); ++k) {
    const uint64_t from = bands > 0 ? height * k / count : bandRows * k;
    const uint64_t to = bands > 0 ? height * (k + 1) / count : std::min(height, bandRows * (k + 1));
    work[k].firstRow = static_cast<int32_t>(from);
    work[k].endRow = static_cast<int32_t>(to);
  }
  // Both cores of these machines where there are bands for them; a single
  // band (a thumbnail, a frame of a play) on the caller's thread.
  const unsigned threads = static_cast<unsigned>(
      std::min<uint64_t>({std::max(1u, std::thread::hardware_concurrency()), kMaxThreads, count}));
  std::atomic<size_t> next{0};
  {
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
      try {
        helpers.emplace_back([&] { DeflateBands(shape, draw, work, next); });
      } catch (const std::exception&) {  // no thread to be had: the others do it
        break;
      }
    }
    DeflateBands(shape, draw, work, next);
    for (std::thread& helper : helpers) helper.join();
  }
  uint32_t adler = work[0].adler;
  for (size_t k = 0; k < work.size(); ++k) {
    if (!work[k].done) return false;
    if (k > 0) adler = CombineAdler32(adler, work[k].adler, work[k].filteredBytes);
  }
  Part& last = work.back();
  const uint8_t check[4] = {static_cast<uint8_t>(adler >> 24), static_cast<uint8_t>(adler >> 16),
                            static_cast<uint8_t>(adler >> 8), static_cast<uint8_t>(adler)};
  last.data.insert(last.data.end(), check, check + 4);
  last.crc = libdeflate_crc32(last.crc, check, 4);
  return true;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  out.insert(out.end(), {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                         static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const uint8_t* data, size_t size) {
  PutBigEndian(png, static_cast<uint32_t>(size));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data, data + size);
  PutBigEndian(png, libdeflate_crc32(0, png.data() + start, size + 4));
}

// Rows of a picture in memory, as a drawer.
RowsDrawer CopyRows(const PixelRows& image) {
  return [image](int32_t first, int32_t count, uint8_t* out, size_t stride, std::vector<uint8_t>&) {
    const size_t bytes = RowBytes(image.format, image.width);
    for (int32_t y = 0; y < count; ++y)
      std::memcpy(out + static_cast<size_t>(y) * stride,
                  image.pixels + static_cast<size_t>(first + y) * image.stride, bytes);
    return true;
  };
}

}  // namespace

bool UnfinishDeflate(std::vector<uint8_t>& deflate) { return UnfinishDeflateFrom(deflate, 0); }

bool EncodePng(const PixelRows& image, std::vector<uint8_t>& png, unsigned parts) {
  png.clear();
  if (!IsReadable(image)) return false;
  return EncodePngDrawn(image, CopyRows(image), png, parts);
}

bool EncodePngDrawn(const PixelRows& shape, const RowsDrawer& draw, std::vector<uint8_t>& png, unsigned bands) {
  png.clear();
  try {
    std::vector<Part> work;
    if (!DeflateRows(shape, draw, bands, work)) return false;
    size_t size = 8 + 25 + (12 + 3 * 16) + 12;
    for (const Part& part : work) size += 12 + part.data.size();
    png.reserve(size);
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.assign(kSignature, kSignature + 8);
    // Bit depth and colour type (3 indexed, 0 grey, 2 RGB); deflate, the
    // adaptive filters, no interlace.
    const int paletteSize = PaletteSize(shape.format);
    const uint8_t depth = shape.format == PixelFormat::kIndexed1   ? 1
                          : shape.format == PixelFormat::kIndexed4 ? 4
                                                                   : 8;
    const uint8_t colourType = paletteSize > 0 ? 3 : shape.format == PixelFormat::kGrey8 ? 0 : 2;
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(shape.width));
    PutBigEndian(header, static_cast<uint32_t>(shape.height));
    header.insert(header.end(), {depth, colourType, 0, 0, 0});
    PutChunk(png, "IHDR", header.data(), header.size());
    if (paletteSize > 0) {
      uint8_t palette[3 * 16];
      for (int i = 0; i < paletteSize; ++i) {
        palette[3 * i] = static_cast<uint8_t>(shape.palette[i] >> 16);
        palette[3 * i + 1] = static_cast<uint8_t>(shape.palette[i] >> 8);
        palette[3 * i + 2] = static_cast<uint8_t>(shape.palette[i]);
      }
      PutChunk(png, "PLTE", palette, static_cast<size_t>(3 * paletteSize));
    }
    for (Part& part : work) {
      PutBigEndian(png, static_cast<uint32_t>(part.data.size()));
      png.insert(png.end(), kIdat, kIdat + 4);
      png.insert(png.end(), part.data.begin(), part.data.end());
      PutBigEndian(png, part.crc);
      std::vector<uint8_t>().swap(part.data);
    }
    PutChunk(png, "IEND", nullptr, 0);
    return true;
  } catch (const std::exception&) {  // out of memory
    png.clear();
    return false;
  }
}

namespace {

uint32_t BigEndianAt(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

bool AnimatedPng::AddFrame(const PixelRows& region, int32_t x, int32_t y) {
  return IsReadable(region) && AddFrameDrawn(region, CopyRows(region), x, y);
}

bool AnimatedPng::AddFrameDrawn(const PixelRows& shape, const RowsDrawer& draw, int32_t x, int32_t y) {
  if (x < 0 || y < 0) return false;
  try {
    std::vector<Part> work;
    if (!DeflateRows(shape, draw, 0, work)) return false;
    Frame frame;
    frame.x = static_cast<uint32_t>(x), frame.y = static_cast<uint32_t>(y);
    frame.width = static_cast<uint32_t>(shape.width), frame.height = static_cast<uint32_t>(shape.height);
    // The zlib stream is the parts' data, joined.
    for (Part& part : work) {
      frame.zlib.insert(frame.zlib.end(), part.data.begin(), part.data.end());
      std::vector<uint8_t>().swap(part.data);
    }
    frames_.push_back(std::move(frame));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void AnimatedPng::SetLastDelay(uint16_t numerator, uint16_t denominator) {
  if (frames_.empty()) return;
  frames_.back().delayNumerator = numerator;
  frames_.back().delayDenominator = denominator;
}

bool AnimatedPng::Finish(const PixelRows& still, std::vector<uint8_t>& png) const {
  png.clear();
  return IsReadable(still) && FinishDrawn(still, CopyRows(still), png);
}

bool AnimatedPng::FinishDrawn(const PixelRows& shape, const RowsDrawer& draw, std::vector<uint8_t>& png) const {
  if (!EncodePngDrawn(shape, draw, png)) return false;
  try {
    // acTL before the first IDAT: the frame count, played once.
    size_t idat = 8;
    while (idat + 12 <= png.size() && std::memcmp(png.data() + idat + 4, kIdat, 4) != 0)
      idat += 12 + BigEndianAt(png.data() + idat);
    std::vector<uint8_t> control;
    PutBigEndian(control, static_cast<uint32_t>(frames_.size()));
    PutBigEndian(control, 1);
    std::vector<uint8_t> head;
    PutChunk(head, "acTL", control.data(), control.size());
    png.insert(png.begin() + static_cast<ptrdiff_t>(idat), head.begin(), head.end());
    // The frames before IEND, the last 12 bytes; fcTL and fdAT number
    // their chunks together from 0.
    std::vector<uint8_t> tail;
    uint32_t sequence = 0;
    for (const Frame& frame : frames_) {
      std::vector<uint8_t> data;
      for (const uint32_t value : {sequence++, frame.width, frame.height, frame.x, frame.y})
        PutBigEndian(data, value);
      data.insert(data.end(), {static_cast<uint8_t>(frame.delayNumerator >> 8),
                               static_cast<uint8_t>(frame.delayNumerator),
                               static_cast<uint8_t>(frame.delayDenominator >> 8),
                               static_cast<uint8_t>(frame.delayDenominator), 0 /* none */, 0 /* source */});
      PutChunk(tail, "fcTL", data.data(), data.size());
      data.clear();
      PutBigEndian(data, sequence++);
      data.insert(data.end(), frame.zlib.begin(), frame.zlib.end());
      PutChunk(tail, "fdAT", data.data(), data.size());
    }
    png.insert(png.end() - 12, tail.begin(), tail.end());
    return true;
  } catch (const std::exception&) {
    png.clear();
    return false;
  }
}

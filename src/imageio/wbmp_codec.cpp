// WBMP type 0: a type byte 0, a fixed-header byte 0, width and height as
// multi-byte integers (7 bits a byte, most significant group first, bit 7 set
// on every byte but the last), then rows of ceil(width / 8) bytes, most
// significant bit first, 1 = white. The writer decides each bit from
// s = R + G + B against 382: plainly, with a 4x4 ordered matrix, or with
// Floyd-Steinberg error diffusion in integers. A reader meeting the end of
// the file inside the rows reads the missing bytes as all ones (white).
#include <algorithm>
#include <vector>

#include "imageio/codecs.h"

namespace quorvane::imageio {

namespace {

constexpr int kThreshold = 382;
constexpr int kWhiteSum = 765;

// The base matrix 15 -1 11 -5 / -8 7 -13 3 / 9 -7 13 -3 / -15 1 -11 5 scaled
// to the sum range: v * 382 / 32, truncated towards zero.
constexpr int kOrdered[4][4] = {
    {179, -11, 131, -59}, {-95, 83, -155, 35}, {107, -83, 155, -35}, {-179, 11, -131, 59}};

inline int channelSum(uint32_t p) {
  return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
}

inline int share(int e, int w) { return (e * w + 8) >> 4; }

void putMultiByte(ByteSink &sink, uint64_t v) {
  uint8_t groups[10];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v != 0);
  while (n > 1) sink.put(static_cast<uint8_t>(groups[--n] | 0x80));
  sink.put(groups[0]);
}

// Values above 65535 are refused as soon as they pass it, so a long run of
// continuation bytes cannot overflow.
bool readMultiByte(ByteSource &source, int64_t &value) {
  value = 0;
  uint8_t b;
  do {
    if (!source.readByte(b)) return false;
    value = (value << 7) | (b & 0x7F);
    if (value > kMaxSide) return false;
  } while (b & 0x80);
  return true;
}

}  // namespace

bool writeWbmp(ByteSink &sink, const ImageView &view) {
  const size_t w = static_cast<size_t>(view.width);
  const size_t rowBytes = (w + 7) / 8;
  sink.put(0);
  sink.put(0);
  putMultiByte(sink, w);
  putMultiByte(sink, static_cast<uint64_t>(view.height));
  std::vector<uint8_t> bits(rowBytes);
  std::vector<int> errorA, errorB;
  int *current = nullptr;
  int *next = nullptr;
  if (view.ditherMethod == 2) {
    errorA.assign(w, 0);
    errorB.assign(w, 0);
    current = errorA.data();
    next = errorB.data();
  }
  for (int y = 0; y < view.height; ++y) {
    std::fill(bits.begin(), bits.end(), 0);
    const uint32_t *row = view.pixels + static_cast<size_t>(y) * w;
    if (view.ditherMethod == 2) std::fill(next, next + w, 0);
    for (size_t x = 0; x < w; ++x) {
      const int s = channelSum(row[x]);
      bool white;
      if (view.ditherMethod == 1) {
        white = s + kOrdered[y & 3][x & 3] > kThreshold;
      } else if (view.ditherMethod == 2) {
        const int v = std::clamp(s + current[x], 0, kWhiteSum);
        white = v > kThreshold;
        const int e = white ? v - kWhiteSum : v;
        next[x] += share(e, 5);
        if (x > 0) next[x - 1] += share(e, 3);
        if (x + 1 < w) {
          current[x + 1] += share(e, 7);
          next[x + 1] += share(e, 1);
        }
      } else {
        white = s > kThreshold;
      }
      if (white) bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    if (view.ditherMethod == 2) std::swap(current, next);
    sink.write(bits.data(), rowBytes);
  }
  return !sink.failed();
}

bool readWbmp(ByteSource &source, DecodedImage &out, const DecodeLimits &limits) {
  uint8_t b;
  if (!source.readByte(b) || b != 0) return false;
  do {
    if (!source.readByte(b)) return false;
  } while (b & 0x80);
  int64_t width, height;
  if (!readMultiByte(source, width) || !readMultiByte(source, height)) return false;
  if (!sizeAllowed(width, height, limits)) return false;
  const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
  const size_t rowBytes = (w + 7) / 8;
  std::vector<uint32_t> pixels(w * h);
  std::vector<uint8_t> bits(rowBytes);
  for (size_t y = 0; y < h; ++y) {
    const size_t got = source.read(bits.data(), rowBytes);
    std::fill(bits.begin() + static_cast<ptrdiff_t>(got), bits.end(), 0xFF);
    uint32_t *px = pixels.data() + y * w;
    for (size_t x = 0; x < w; ++x)
      px[x] = (bits[x / 8] >> (7 - x % 8)) & 1 ? 0x00FFFFFFu : 0x00000000u;
  }
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  out.pixels = std::move(pixels);
  return true;
}

}  // namespace quorvane::imageio

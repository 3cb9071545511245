// The GIF writer. It builds no string table: the image is coded as runs of
// equal indices, and every code it sends is one the decoder's table is known
// to hold at that moment. After a clear, a run of p is sent as p, then the
// codes F, F+1, F+2 ... which the decoder builds one step ahead of use (each
// is the "code not yet in the table" case, meaning previous string + its
// first index), so a run of n(n+1)/2 pixels costs n codes. Later runs of the
// same index reuse the longest run entry made so far. Isolated pixels go out
// as literals, with a clear forced early enough that the code width does not
// grow; the table never fills (codeLimit keeps it below 4096 entries).
// Memory is fixed apart from a copy of the indices in interlace order.
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "imageio/codecs.h"
#include "imageio/palette.h"

namespace quorvane::imageio {

namespace {

// Smallest r with r * (r + 1) >= 2 * count: the codes that send a run of
// count pixels as 1 + 2 + ... + r from a fresh table.
int64_t triangularRoot(int64_t count) {
  auto r = static_cast<int64_t>(std::sqrt(2.0 * static_cast<double>(count)));
  while (r > 0 && r * (r + 1) >= 2 * count) --r;
  while (r * (r + 1) < 2 * count) ++r;
  return r;
}

class RunCoder {
 public:
  RunCoder(ByteSink &sink, int minCodeSize)
      : sink_(sink),
        initialWidth_(minCodeSize + 1),
        clear_(1 << minCodeSize),
        end_(clear_ + 1),
        firstFree_(clear_ + 2),
        codeLimit_(4096 - (clear_ + 3)),
        firstBump_(clear_ - 1),
        firstClear_(initialWidth_ <= 3 ? 9 : clear_ - 2) {}

  void encode(const uint8_t *indices, size_t count) {
    restart();
    emit(clear_);
    size_t i = 0;
    while (i < count) {
      const uint8_t p = indices[i];
      size_t end = i + 1;
      while (end < count && indices[end] == p) ++end;
      flushRun(p, static_cast<int64_t>(end - i));
      i = end;
    }
    emit(end_);
    if (bitCount_ > 0) pushByte(static_cast<uint8_t>(bits_));
    if (blockLength_ > 0) writeBlock();
  }

 private:
  void emit(int code) {
    bits_ |= static_cast<uint64_t>(code) << bitCount_;
    bitCount_ += width_;
    while (bitCount_ >= 8) {
      pushByte(static_cast<uint8_t>(bits_));
      bits_ >>= 8;
      bitCount_ -= 8;
    }
  }
  void pushByte(uint8_t b) {
    block_[1 + blockLength_++] = b;
    if (blockLength_ == 255) writeBlock();
  }
  void writeBlock() {
    block_[0] = static_cast<uint8_t>(blockLength_);
    sink_.write(block_, static_cast<size_t>(blockLength_) + 1);
    blockLength_ = 0;
  }

  void restart() {
    width_ = initialWidth_;
    bumpPoint_ = firstBump_;
    clearPoint_ = firstClear_;
    codeCount_ = 0;
    knownRun_ = 0;
    freshTable_ = true;
  }
  void send(int code) {
    freshTable_ = false;
    emit(code);
    ++codeCount_;
    if (codeCount_ >= bumpPoint_) {
      ++width_;
      bumpPoint_ += 1 << (width_ - 1);
    }
    if (codeCount_ >= clearPoint_) {
      emit(clear_);
      restart();
    }
  }
  void holdClear() { clearPoint_ = codeLimit_; }
  void releaseClear() {
    clearPoint_ = firstClear_;
    if (codeCount_ >= clearPoint_) {
      emit(clear_);
      restart();
    }
  }
  void clearNow() {
    emit(clear_);
    restart();
  }
  // Codes that send a run of count pixels from a cleared table.
  int64_t runCost(int64_t count) const {
    const int64_t k = codeLimit_;
    const int64_t per = k * (k + 1) / 2;
    int64_t cost = count / per * k;
    count %= per;
    if (count > 0) cost += triangularRoot(count);
    return cost;
  }
  int runCode(int64_t length) const { return firstFree_ + static_cast<int>(length) - 2; }

  void sendFresh(uint8_t p, int64_t count) {
    holdClear();
    knownPixel_ = p;
    int64_t n = 1;
    while (count > 0) {
      if (n == 1) {
        knownRun_ = 1;
        send(p);
        count -= 1;
      } else if (count >= n) {
        knownRun_ = n;
        send(runCode(n));
        count -= n;
      } else {
        ++knownRun_;
        send(count == 1 ? p : runCode(count));
        count = 0;
      }
      n = codeCount_ == 0 ? 1 : n + 1;
    }
    releaseClear();
  }
  void sendByCost(uint8_t p, int64_t count) {
    if (1 + runCost(count) < count) {
      clearNow();
      sendFresh(p, count);
      return;
    }
    for (int64_t i = 0; i < count; ++i) send(p);
  }
  void sendKnown(uint8_t p, int64_t count) {
    int64_t rep = count / knownRun_;
    int64_t left = count % knownRun_;
    int64_t repLeft = left > 0 ? 1 : 0;
    if (codeCount_ + rep + repLeft > codeLimit_) {
      rep = codeLimit_ - codeCount_;
      left = count - rep * knownRun_;
      repLeft = 1 + runCost(left);
    }
    if (1 + runCost(count) < rep + repLeft) {
      clearNow();
      sendFresh(p, count);
      return;
    }
    holdClear();
    const int code = runCode(knownRun_);
    for (int64_t i = 0; i < rep; ++i) send(code);
    if (left > 0) {
      if (freshTable_)
        sendFresh(p, left);
      else
        send(left == 1 ? p : runCode(left));
    }
    releaseClear();
  }
  void flushRun(uint8_t p, int64_t length) {
    if (length == 1)
      send(p);
    else if (freshTable_)
      sendFresh(p, length);
    else if (knownRun_ > 1 && knownPixel_ == p)
      sendKnown(p, length);
    else
      sendByCost(p, length);
  }

  ByteSink &sink_;
  const int initialWidth_, clear_, end_, firstFree_, codeLimit_, firstBump_, firstClear_;
  int width_ = 0;
  int bumpPoint_ = 0;
  int clearPoint_ = 0;
  int codeCount_ = 0;
  int64_t knownRun_ = 0;
  int knownPixel_ = -1;
  bool freshTable_ = true;
  uint64_t bits_ = 0;
  int bitCount_ = 0;
  int blockLength_ = 0;
  uint8_t block_[256];
};

void putLe16(ByteSink &sink, int v) {
  const uint8_t b[2] = {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF)};
  sink.write(b, 2);
}

}  // namespace

bool writeGifIndices(ByteSink &sink, const uint8_t *indices, int width, int height,
                     const uint32_t *palette, int count, bool interlace, int background,
                     int transparentIndex) {
  // The format holds 16-bit sizes; a larger area would be written wrongly.
  if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF || count < 1 || count > 256)
    return false;
  int bits = 1;
  while ((1 << bits) < count) ++bits;
  const int minCodeSize = bits < 2 ? 2 : bits;
  const bool hasTransparent = transparentIndex >= 0;
  interlace = interlace && height > 8;

  sink.write(hasTransparent ? "GIF89a" : "GIF87a", 6);
  putLe16(sink, width);
  putLe16(sink, height);
  const uint8_t screen[3] = {static_cast<uint8_t>(0x80 | (bits - 1) << 4 | (bits - 1)),
                             static_cast<uint8_t>(background), 0};
  sink.write(screen, 3);
  uint8_t table[256 * 3] = {};
  for (int k = 0; k < count; ++k) {
    table[k * 3] = static_cast<uint8_t>(palette[k] >> 16);
    table[k * 3 + 1] = static_cast<uint8_t>(palette[k] >> 8);
    table[k * 3 + 2] = static_cast<uint8_t>(palette[k]);
  }
  sink.write(table, static_cast<size_t>(3) << bits);
  if (hasTransparent) {
    const uint8_t control[8] = {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00,
                                static_cast<uint8_t>(transparentIndex), 0x00};
    sink.write(control, 8);
  }
  sink.put(0x2C);
  putLe16(sink, 0);
  putLe16(sink, 0);
  putLe16(sink, width);
  putLe16(sink, height);
  sink.put(interlace ? 0x40 : 0x00);
  sink.put(static_cast<uint8_t>(minCodeSize));

  const size_t w = static_cast<size_t>(width);
  const size_t total = w * static_cast<size_t>(height);
  RunCoder coder(sink, minCodeSize);
  if (!interlace) {
    coder.encode(indices, total);
  } else {
    // Rows in pass order: every 8th from 0, every 8th from 4, every 4th
    // from 2, every 2nd from 1.
    std::vector<uint8_t> ordered(total);
    size_t out = 0;
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < height; y += kStep[pass], out += w)
        std::memcpy(ordered.data() + out, indices + static_cast<size_t>(y) * w, w);
    coder.encode(ordered.data(), total);
  }
  sink.put(0x00);
  sink.put(0x3B);
  return !sink.failed();
}

bool writeGif(ByteSink &sink, const ImageView &view) {
  if (view.width > 0xFFFF || view.height > 0xFFFF) return false;
  uint32_t palette[256];
  // Every byte is written by the reduction.
  std::unique_ptr<uint8_t[]> indices(new uint8_t[static_cast<size_t>(view.width) * static_cast<size_t>(view.height)]);
  int transparentIndex = -1;
  const int count = reducePalette(view, palette, indices.get(), transparentIndex, true);
  return writeGifIndices(sink, indices.get(), view.width, view.height, palette, count,
                         view.interlace, 0, transparentIndex);
}

}  // namespace quorvane::imageio

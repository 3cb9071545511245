// A GIF LZW decoder: variable-width codes (minimum code size + 1 up to 12
// bits, least significant bit first), clear and end codes, at most 4096
// table entries. Every code is checked against the table before use and a
// string is expanded through a bounded stack, so corrupt data ends decoding
// instead of reading outside the table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvane::imageio {

class LzwDecoder {
 public:
  static constexpr int kMaxCodes = 4096;

  // minCodeSize must be 1 ... 11.
  explicit LzwDecoder(int minCodeSize);

  // Feeds the bytes of one data sub-block. Decoded indices go to
  // emit(uint8_t index); emit returns false once it wants no more. Returns
  // false when decoding has ended (end code, invalid code, or emit full).
  template <typename Emit>
  bool feed(const uint8_t *data, size_t n, Emit &&emit);

 private:
  void reset();
  template <typename Emit>
  bool decodeCode(int code, Emit &emit);

  const int minCodeSize_;
  const int clear_;
  const int end_;
  int width_ = 0;
  int next_ = 0;
  int previous_ = -1;
  uint32_t bits_ = 0;
  int bitCount_ = 0;
  bool finished_ = false;
  uint16_t prefix_[kMaxCodes];
  uint8_t suffix_[kMaxCodes];
  uint8_t first_[kMaxCodes];
  uint8_t stack_[kMaxCodes];
};

template <typename Emit>
bool LzwDecoder::feed(const uint8_t *data, size_t n, Emit &&emit) {
  for (size_t i = 0; i < n && !finished_; ++i) {
    bits_ |= static_cast<uint32_t>(data[i]) << bitCount_;
    bitCount_ += 8;
    while (bitCount_ >= width_ && !finished_) {
      const int code = static_cast<int>(bits_ & ((1u << width_) - 1));
      bits_ >>= width_;
      bitCount_ -= width_;
      if (!decodeCode(code, emit)) finished_ = true;
    }
  }
  return !finished_;
}

template <typename Emit>
bool LzwDecoder::decodeCode(int code, Emit &emit) {
  if (code == clear_) {
    reset();
    return true;
  }
  if (code == end_) return false;
  int depth = 0;
  int walk;
  if (code < next_) {
    walk = code;
  } else if (code == next_ && previous_ >= 0) {
    // The code being defined now: the previous string and its first index.
    stack_[depth++] = first_[previous_];
    walk = previous_;
  } else {
    return false;
  }
  const uint8_t firstIndex = first_[walk];
  // Strings are chains of prefixes ending in a literal; a chain never has
  // more links than the table has entries.
  while (walk >= clear_) {
    if (depth >= kMaxCodes - 1) return false;
    stack_[depth++] = suffix_[walk];
    walk = prefix_[walk];
  }
  stack_[depth++] = static_cast<uint8_t>(walk);
  if (previous_ >= 0 && next_ < kMaxCodes) {
    prefix_[next_] = static_cast<uint16_t>(previous_);
    suffix_[next_] = firstIndex;
    first_[next_] = first_[previous_];
    ++next_;
    if (next_ == (1 << width_) && width_ < 12) ++width_;
  }
  previous_ = code;
  while (depth > 0)
    if (!emit(stack_[--depth])) return false;
  return true;
}

}  // namespace quorvane::imageio

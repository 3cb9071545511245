// An open-addressed table from a 32-bit colour to a value, for the censuses
// of smooth drawing's palette levels: a look-up is a multiply and a short
// probe, with no allocation per entry. The table doubles when half full.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace quorvane {

template <typename V>
class ColorKeyedTable {
 public:
  ColorKeyedTable() { slots_.resize(size_t{1} << 6); }

  V *find(uint32_t key) {
    for (size_t i = home(key);; i = (i + 1) & mask()) {
      Slot &s = slots_[i];
      if (!s.isUsed) return nullptr;
      if (s.key == key) return &s.value;
    }
  }
  const V *find(uint32_t key) const { return const_cast<ColorKeyedTable *>(this)->find(key); }

  // The entry of key, added with value if new; the flag tells whether it was.
  std::pair<V *, bool> insert(uint32_t key, const V &value) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    for (size_t i = home(key);; i = (i + 1) & mask()) {
      Slot &s = slots_[i];
      if (s.isUsed && s.key == key) return {&s.value, false};
      if (!s.isUsed) {
        s = Slot{key, true, value};
        ++count_;
        return {&s.value, true};
      }
    }
  }
  size_t size() const { return count_; }
  bool isEmpty() const { return count_ == 0; }

 private:
  struct Slot {
    uint32_t key = 0;
    bool isUsed = false;
    V value{};
  };
  size_t mask() const { return slots_.size() - 1; }
  size_t home(uint32_t key) const {
    return static_cast<size_t>((uint64_t{key} * 0x9E3779B97F4A7C15ull) >> 32) & mask();
  }
  void grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    count_ = 0;
    for (const Slot &s : old)
      if (s.isUsed) insert(s.key, s.value);
  }

  std::vector<Slot> slots_;
  size_t count_ = 0;
};

}  // namespace quorvane

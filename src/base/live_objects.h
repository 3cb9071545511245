// The table of live published objects, by which the scripting door tells a
// handle to a living object from a forged, stale or mistyped one. Each
// object enters under every published interface it can be handed out as
// (a bar layer as "BarLayer" and "Layer"), keyed by that interface's name
// and the address of that interface subobject, with the one generation the
// object was given when made; it enters when constructed and leaves when
// destroyed, so children destroyed with their owner leave too. Generations
// come from one process-wide 64-bit counter that starts at 1 and is never
// reused (at a billion objects a second it lasts centuries), so an object
// made later at a destroyed one's address is told apart from it.
// One mutex guards a hash table: a few hundred nanoseconds per object.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "quorvane.h"

namespace quorvane {

// The published name of each class, as handles and messages write it.
template <class X>
inline constexpr std::string_view kPublishedName{};
template <> inline constexpr std::string_view kPublishedName<DrawArea> = "DrawArea";
template <> inline constexpr std::string_view kPublishedName<TTFText> = "TTFText";
template <> inline constexpr std::string_view kPublishedName<BaseChart> = "BaseChart";
template <> inline constexpr std::string_view kPublishedName<ChartOptions> = "ChartOptions";
template <> inline constexpr std::string_view kPublishedName<DrawObj> = "DrawObj";
template <> inline constexpr std::string_view kPublishedName<Box> = "Box";
template <> inline constexpr std::string_view kPublishedName<TextBox> = "TextBox";
template <> inline constexpr std::string_view kPublishedName<Line> = "Line";
template <> inline constexpr std::string_view kPublishedName<LegendBox> = "LegendBox";
template <> inline constexpr std::string_view kPublishedName<BaseAxis> = "BaseAxis";
template <> inline constexpr std::string_view kPublishedName<XAxis> = "XAxis";
template <> inline constexpr std::string_view kPublishedName<YAxis> = "YAxis";
template <> inline constexpr std::string_view kPublishedName<Mark> = "Mark";
template <> inline constexpr std::string_view kPublishedName<Layer> = "Layer";
template <> inline constexpr std::string_view kPublishedName<DataSet> = "DataSet";
template <> inline constexpr std::string_view kPublishedName<BarLayer> = "BarLayer";
template <> inline constexpr std::string_view kPublishedName<LineLayer> = "LineLayer";
template <> inline constexpr std::string_view kPublishedName<AreaLayer> = "AreaLayer";
template <> inline constexpr std::string_view kPublishedName<HLOCLayer> = "HLOCLayer";
template <> inline constexpr std::string_view kPublishedName<PlotArea> = "PlotArea";
template <> inline constexpr std::string_view kPublishedName<XYChart> = "XYChart";
template <> inline constexpr std::string_view kPublishedName<PieChart> = "PieChart";
template <> inline constexpr std::string_view kPublishedName<Sector> = "Sector";
template <> inline constexpr std::string_view kPublishedName<MemBlock> = "MemBlock";

// The published base of each published class (void: none).
template <class X>
struct PublishedBase {
  using Type = void;
};
template <> struct PublishedBase<Box> { using Type = DrawObj; };
template <> struct PublishedBase<TextBox> { using Type = Box; };
template <> struct PublishedBase<Line> { using Type = DrawObj; };
template <> struct PublishedBase<LegendBox> { using Type = TextBox; };
template <> struct PublishedBase<Mark> { using Type = TextBox; };
template <> struct PublishedBase<XAxis> { using Type = BaseAxis; };
template <> struct PublishedBase<YAxis> { using Type = BaseAxis; };
template <> struct PublishedBase<BarLayer> { using Type = Layer; };
template <> struct PublishedBase<LineLayer> { using Type = Layer; };
template <> struct PublishedBase<AreaLayer> { using Type = Layer; };
template <> struct PublishedBase<HLOCLayer> { using Type = Layer; };
template <> struct PublishedBase<XYChart> { using Type = BaseChart; };
template <> struct PublishedBase<PieChart> { using Type = BaseChart; };

// A new generation, never given before in this process.
inline uint64_t newGeneration() {
  static std::atomic<uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

class LiveObjects {
 public:
  // Names are kPublishedName constants, so the table keeps only views.
  void add(std::string_view name, const void *address, uint64_t generation) {
    const std::lock_guard<std::mutex> lock(mutex_);
    entries_.emplace(Key{name, reinterpret_cast<uintptr_t>(address)}, generation);
  }
  void remove(std::string_view name, const void *address, uint64_t generation) {
    const std::lock_guard<std::mutex> lock(mutex_);
    auto [it, last] = entries_.equal_range(Key{name, reinterpret_cast<uintptr_t>(address)});
    for (; it != last; ++it)
      if (it->second == generation) {
        entries_.erase(it);
        return;
      }
  }
  // Whether the object of that generation lives at address as the published
  // class named name.
  bool contains(std::string_view name, uintptr_t address, uint64_t generation) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    auto [it, last] = entries_.equal_range(Key{name, address});
    for (; it != last; ++it)
      if (it->second == generation) return true;
    return false;
  }
  // The generation of the object living at address as the class named name;
  // 0 (never given) when none does. Should two entries share the place, the
  // newer one answers.
  uint64_t generationAt(std::string_view name, uintptr_t address) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    uint64_t newest = 0;
    auto [it, last] = entries_.equal_range(Key{name, address});
    for (; it != last; ++it) newest = std::max(newest, it->second);
    return newest;
  }

 private:
  struct Key {
    std::string_view name;
    uintptr_t address;
    bool operator==(const Key &) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key &k) const noexcept {
      return std::hash<std::string_view>{}(k.name) ^ (std::hash<uintptr_t>{}(k.address) * 31);
    }
  };
  mutable std::mutex mutex_;
  // A multimap, so that an entry made twice must also leave twice.
  std::unordered_multimap<Key, uint64_t, KeyHash> entries_;
};

// The process-wide table. It is never destroyed, so objects that outlive
// static destruction can still leave it.
inline LiveObjects &liveObjects() {
  static LiveObjects *const table = new LiveObjects;
  return *table;
}

// The generation of object as the published class X; 0 for null or an
// object not in the table.
template <class X>
uint64_t generationOf(const X *object) {
  using Class = std::remove_const_t<X>;
  if (object == nullptr) return 0;
  return liveObjects().generationAt(
      kPublishedName<Class>, reinterpret_cast<uintptr_t>(static_cast<const void *>(object)));
}

// An object lent by its host (an image for a data symbol or a legend key),
// which the host may destroy at any time: it is reached only while the very
// object lent lives, told by its generation, so an object made since at the
// same address is never taken for it.
template <class X>
class Borrowed {
 public:
  Borrowed() = default;
  explicit Borrowed(X *object) : object_(object), generation_(generationOf(object)) {}
  // The object while it lives, else null.
  X *get() const {
    if (object_ == nullptr || generation_ == 0) return nullptr;
    const bool lives = liveObjects().contains(
        kPublishedName<std::remove_const_t<X>>,
        reinterpret_cast<uintptr_t>(static_cast<const void *>(object_)), generation_);
    return lives ? object_ : nullptr;
  }
  bool isSet() const { return object_ != nullptr; }

 private:
  X *object_ = nullptr;
  uint64_t generation_ = 0;
};

// A member of every published implementation: enters the object under its
// interface X and each published base of X, and leaves on destruction. As a
// member it is built after the interface subobject and unwinds with the
// object when a later member's construction throws.
class LiveObject {
 public:
  template <class X>
  explicit LiveObject(X *object)
      : object_(object), generation_(newGeneration()), leave_(&forEach<X, false>) {
    // Out of memory half way, the names entered leave again: the table
    // never names an object that was not made.
    try {
      forEach<X, true>(object, generation_);
    } catch (...) {
      leave_(object_, generation_);
      throw;
    }
  }
  ~LiveObject() { leave_(object_, generation_); }
  LiveObject(const LiveObject &) = delete;
  LiveObject &operator=(const LiveObject &) = delete;

 private:
  template <class X, bool kEnter>
  static void forEach(void *object, uint64_t generation) {
    X *typed = static_cast<X *>(object);
    static_assert(!kPublishedName<X>.empty(), "class without a published name");
    if constexpr (kEnter) liveObjects().add(kPublishedName<X>, typed, generation);
    else liveObjects().remove(kPublishedName<X>, typed, generation);
    using Base = typename PublishedBase<X>::Type;
    if constexpr (!std::is_void_v<Base>)
      forEach<Base, kEnter>(static_cast<Base *>(typed), generation);
  }

  void *object_;
  uint64_t generation_;  // one for every name the object enters under
  void (*leave_)(void *, uint64_t);
};

}  // namespace quorvane

// The table of live published objects, by which the scripting door tells a
// handle to a living object from a forged, stale or mistyped one. Each
// object enters under every published interface it can be handed out as
// (a bar layer as "BarLayer" and "Layer"), keyed by that interface's name
// and the address of that interface subobject; it enters when constructed
// and leaves when destroyed, so children destroyed with their owner leave too.
// One mutex guards a hash set: a few hundred nanoseconds per object.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <type_traits>
#include <unordered_set>

#include "quorvane.h"

namespace quorvane {

// The published name of each class, as handles and messages write it.
template <class X>
inline constexpr std::string_view kPublishedName{};
template <> inline constexpr std::string_view kPublishedName<DrawArea> = "DrawArea";
template <> inline constexpr std::string_view kPublishedName<TTFText> = "TTFText";
template <> inline constexpr std::string_view kPublishedName<BaseChart> = "BaseChart";
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

class LiveObjects {
 public:
  // Names are kPublishedName constants, so the table keeps only views.
  void add(std::string_view name, const void *address) {
    const std::lock_guard<std::mutex> lock(mutex_);
    entries_.insert(Key{name, reinterpret_cast<uintptr_t>(address)});
  }
  void remove(std::string_view name, const void *address) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto it = entries_.find(Key{name, reinterpret_cast<uintptr_t>(address)});
    if (it != entries_.end()) entries_.erase(it);
  }
  // Whether an object lives at address as the published class named name.
  bool contains(std::string_view name, uintptr_t address) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return entries_.find(Key{name, address}) != entries_.end();
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
  // A multiset, so that an entry made twice must also leave twice.
  std::unordered_multiset<Key, KeyHash> entries_;
};

// The process-wide table. It is never destroyed, so objects that outlive
// static destruction can still leave it.
inline LiveObjects &liveObjects() {
  static LiveObjects *const table = new LiveObjects;
  return *table;
}

// Whether object lives as the published class X: a borrowed object (an image
// lent to a data set) is used only while this holds, since its host may
// destroy it at any time. An object made since at the same address passes.
template <class X>
bool isLive(const X *object) {
  using Class = std::remove_const_t<X>;
  return object != nullptr &&
         liveObjects().contains(kPublishedName<Class>,
                                reinterpret_cast<uintptr_t>(static_cast<const void *>(object)));
}

// A member of every published implementation: enters the object under its
// interface X and each published base of X, and leaves on destruction. As a
// member it is built after the interface subobject and unwinds with the
// object when a later member's construction throws.
class LiveObject {
 public:
  template <class X>
  explicit LiveObject(X *object) : object_(object), leave_(&forEach<X, false>) {
    forEach<X, true>(object);
  }
  ~LiveObject() { leave_(object_); }
  LiveObject(const LiveObject &) = delete;
  LiveObject &operator=(const LiveObject &) = delete;

 private:
  template <class X, bool kEnter>
  static void forEach(void *object) {
    X *typed = static_cast<X *>(object);
    static_assert(!kPublishedName<X>.empty(), "class without a published name");
    if constexpr (kEnter) liveObjects().add(kPublishedName<X>, typed);
    else liveObjects().remove(kPublishedName<X>, typed);
    using Base = typename PublishedBase<X>::Type;
    if constexpr (!std::is_void_v<Base>) forEach<Base, kEnter>(static_cast<Base *>(typed));
  }

  void *object_;
  void (*leave_)(void *);
};

}  // namespace quorvane

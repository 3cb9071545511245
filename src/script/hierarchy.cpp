// The fourteen hierarchy edges of the scripting door, each with its pointer
// converter, and the search that chains converters from a handle's type to
// the wanted one.
#include "script/hierarchy.h"

#include "quorvane.h"
#include "script/type_names.h"

namespace quorvane::script {

namespace {

// The chains are at most three edges long; the bound only guards the search
// against a cycle that a wrong edge could introduce.
constexpr int kMaxChain = 16;

template <class Derived, class Base>
void *upcast(void *p) {
  return static_cast<Base *>(static_cast<Derived *>(p));
}

void *toConst(void *p) { return p; }

}  // namespace

template <class Derived, class Base>
void Hierarchy::addEdge() {
  static_assert(std::is_base_of_v<Base, Derived>);
  fallbacks_.emplace(kClassName<Derived>, kClassName<Base>);
  converters_.emplace(typeName<Derived *>(),
                      PointerConverter{typeName<Base *>(), &upcast<Derived, Base>});
}

template <class Class>
void Hierarchy::addConstEdge() {
  fallbacks_.emplace(kClassName<Class>, "const " + std::string(kClassName<Class>));
  converters_.emplace(typeName<Class *>(), PointerConverter{typeName<const Class *>(), &toConst});
}

Hierarchy::Hierarchy() {
  addConstEdge<TTFText>();
  addConstEdge<DrawArea>();
  addEdge<TextBox, Box>();
  addEdge<LegendBox, TextBox>();
  addEdge<PieChart, BaseChart>();
  addConstEdge<BaseAxis>();
  addEdge<XAxis, BaseAxis>();
  addEdge<Mark, TextBox>();
  addEdge<YAxis, BaseAxis>();
  addEdge<BarLayer, Layer>();
  addEdge<LineLayer, Layer>();
  addEdge<AreaLayer, Layer>();
  addEdge<HLOCLayer, Layer>();
  addEdge<XYChart, BaseChart>();
}

std::vector<std::string_view> Hierarchy::fallbacksOf(std::string_view className) const {
  std::vector<std::string_view> out;
  const auto [first, last] = fallbacks_.equal_range(className);
  for (auto it = first; it != last; ++it) out.push_back(it->second);
  return out;
}

bool Hierarchy::canReach(std::string_view from, std::string_view wanted, int depth) const {
  if (depth > kMaxChain) return false;
  const auto [first, last] = converters_.equal_range(from);
  for (auto it = first; it != last; ++it)
    if (it->second.target_ == wanted || canReach(it->second.target_, wanted, depth + 1))
      return true;
  return false;
}

void *Hierarchy::convert(std::string_view from, std::string_view wanted, void *address) const {
  for (int step = 0; step < kMaxChain && address != nullptr; ++step) {
    const auto [first, last] = converters_.equal_range(from);
    const PointerConverter *next = nullptr;
    for (auto it = first; it != last && next == nullptr; ++it)
      if (it->second.target_ == wanted) next = &it->second;
    if (next != nullptr) return next->convert_(address);
    for (auto it = first; it != last && next == nullptr; ++it)
      if (canReach(it->second.target_, wanted, 0)) next = &it->second;
    if (next == nullptr) return nullptr;
    address = next->convert_(address);
    from = next->target_;
  }
  return nullptr;
}

const Hierarchy &hierarchy() {
  static const Hierarchy table;
  return table;
}

}  // namespace quorvane::script

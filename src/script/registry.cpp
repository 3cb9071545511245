// The registry over the row tables: the lookup by name with its depth-first
// fallback through the class hierarchy.
#include "script/registry.h"

#include <algorithm>

#include "script/hierarchy.h"
#include "script/rows.h"

namespace quorvane::script {

namespace {

// Fallback chains are at most three classes deep; the bound only guards the
// search against a cycle.
constexpr int kMaxFallbackDepth = 16;

}  // namespace

Registry::Registry() {
  addRows(drawingRows());
  addRows(chartRows());
  addRows(xyRows());
}

void Registry::addRows(std::span<const Invoker> rows) {
  for (const Invoker &row : rows) {
    if (!row.isSound() || !byName_.emplace(row.name(), &row).second) isComplete_ = false;
    rows_.push_back(&row);
  }
}

const Invoker *Registry::find(std::string_view name) const {
  const auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

const Invoker *Registry::fallback(std::string_view className, std::string_view method,
                                  int depth) const {
  if (depth > kMaxFallbackDepth) return nullptr;
  const std::vector<std::string_view> bases = hierarchy().fallbacksOf(className);
  for (std::string_view base : bases) {
    std::string name(base);
    name.append(".").append(method);
    if (const Invoker *invoker = find(name)) return invoker;
  }
  for (std::string_view base : bases)
    if (const Invoker *invoker = fallback(base, method, depth + 1)) return invoker;
  return nullptr;
}

const Invoker *Registry::resolve(std::string_view name) const {
  if (const Invoker *invoker = find(name)) return invoker;
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return nullptr;
  return fallback(name.substr(0, dot), name.substr(dot + 1), 0);
}

std::vector<std::string_view> Registry::names() const {
  std::vector<std::string_view> out;
  out.reserve(byName_.size());
  for (const auto &[name, row] : byName_) out.push_back(name);
  std::sort(out.begin(), out.end());
  return out;
}

const Registry &registry() {
  static const Registry table;
  return table;
}

}  // namespace quorvane::script

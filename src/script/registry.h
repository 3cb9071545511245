// The method registry: every name the scripting door answers to, mapped to
// its row, and the lookup that falls back through the class hierarchy.
// Built once at load from the row tables and only read afterwards, so any
// thread may look up.
#pragma once

#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/invoker.h"

namespace quorvane::script {

class Registry {
 public:
  Registry();

  // The row registered under name, or null.
  const Invoker *find(std::string_view name) const;
  // The row of name, or for "C.m" the first "B.m" found depth first
  // through the classes C falls back to; null when there is none.
  const Invoker *resolve(std::string_view name) const;
  // Every registered name, in sorted order.
  std::vector<std::string_view> names() const;
  // Every row, table by table in table order.
  std::span<const Invoker *const> rows() const { return rows_; }
  // Whether every row is sound (see Invoker::isSound) and no name is
  // registered twice.
  bool isComplete() const { return isComplete_; }

 private:
  void addRows(std::span<const Invoker> rows);
  const Invoker *fallback(std::string_view className, std::string_view method, int depth) const;

  std::unordered_map<std::string_view, const Invoker *> byName_;
  std::vector<const Invoker *> rows_;
  bool isComplete_ = true;
};

// The process-wide registry.
const Registry &registry();

}  // namespace quorvane::script

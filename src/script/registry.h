// The method registry: every name the scripting door answers to, mapped to
// its invoker, and the lookup that falls back through the class hierarchy.
// Built once at load and only read afterwards, so any thread may look up.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/invoker.h"

namespace quorvane::script {

class Registry {
 public:
  Registry();

  // The invoker registered under name, or null.
  const Invoker *find(std::string_view name) const;
  // The invoker of name, or for "C.m" the first "B.m" found depth first
  // through the classes C falls back to; null when there is none.
  const Invoker *resolve(std::string_view name) const;
  // Every registered name, in order.
  std::vector<std::string_view> names() const;
  // Whether every row was accepted (its array rules fit its signature).
  bool isComplete() const { return isComplete_; }

 private:
  template <class C, class Declared = void, class Target>
  void add(const char *name, Target target, std::vector<ArrayRule> rules = {});
  template <class Target>
  void addFunction(const char *name, Target target);
  void addDrawingRows();
  void addChartRows();
  void addXYRows();
  const Invoker *fallback(std::string_view className, std::string_view method, int depth) const;

  std::map<std::string, std::unique_ptr<Invoker>, std::less<>> invokers_;
  bool isComplete_ = true;
};

// The process-wide registry.
const Registry &registry();

}  // namespace quorvane::script

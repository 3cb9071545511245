// The class hierarchy as the scripting door sees it: for each class, the
// names a method lookup falls back to, and for each pointer type name, the
// converters that turn such a pointer into a base (or const) pointer.
// Built once at load and only read afterwards.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::script {

// Turns a pointer of the source type into one of target_ (address adjusted
// for the object layout); null stays null.
struct PointerConverter {
  std::string target_;
  void *(*convert_)(void *);
};

class Hierarchy {
 public:
  Hierarchy();

  // The classes that className falls back to, in registration order.
  std::vector<std::string_view> fallbacksOf(std::string_view className) const;

  // address, a pointer of the type named from, as a pointer of the type named
  // wanted; null when no chain of converters leads there.
  void *convert(std::string_view from, std::string_view wanted, void *address) const;

 private:
  template <class Derived, class Base>
  void addEdge();
  template <class Class>
  void addConstEdge();
  bool canReach(std::string_view from, std::string_view wanted, int depth) const;

  std::multimap<std::string, std::string, std::less<>> fallbacks_;
  std::multimap<std::string, PointerConverter, std::less<>> converters_;
};

// The process-wide hierarchy.
const Hierarchy &hierarchy();

}  // namespace quorvane::script

// The documentation of the published header, read as its reader sees it: the
// comment written above each class and each operation. A comment belongs to
// the declaration right below it; one ended by a blank line heads a section
// and belongs to nothing. An overload without a comment of its own shares the
// one of the first overload that has one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::tools {

struct DeclarationDoc {
  std::string className;  // empty for a library function
  std::string name;
  std::vector<std::string> params;
  std::string comment;  // its lines joined by '\n'; empty when it has none
};

struct HeaderDocs {
  std::vector<DeclarationDoc> declarations;
  std::vector<DeclarationDoc> classes;  // name and comment only
};

// Reads the header's text; throws std::runtime_error on a declaration it
// cannot take apart.
HeaderDocs readHeaderDocs(std::string_view text);

// The comment of className::name taking params (separated by single spaces):
// the overload with those parameter names, else the first with as many, else
// any; an overload without a comment takes the first overload's that has
// one. Empty when there is none.
std::string commentOf(const HeaderDocs &docs, std::string_view className, std::string_view name,
                      std::string_view params);

}  // namespace quorvane::tools

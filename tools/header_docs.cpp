// Takes include/quorvane.h apart line by line: class blocks by brace depth,
// declarations from "virtual" or "QUORVANE_API" to their semicolon, and the
// run of "//" lines above each. Only the header's own regular layout is
// understood; that is all the generator needs.
#include "header_docs.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace quorvane::tools {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The last identifier of text ("const char *const *labels" gives "labels").
std::string lastWord(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && !isWordChar(text[end - 1])) --end;
  size_t begin = end;
  while (begin > 0 && isWordChar(text[begin - 1])) --begin;
  return std::string(text.substr(begin, end - begin));
}

// name and parameter names of one whole declaration.
DeclarationDoc parseDeclaration(std::string_view text) {
  const size_t open = text.find('(');
  const size_t close = text.find(')', open);
  if (open == std::string_view::npos || close == std::string_view::npos)
    throw std::runtime_error("cannot read the declaration " + std::string(text));
  DeclarationDoc d;
  d.name = lastWord(text.substr(0, open));
  std::string_view list = trimmed(text.substr(open + 1, close - open - 1));
  while (!list.empty() && list != "void") {
    const size_t comma = list.find(',');
    std::string_view param = list.substr(0, comma);
    param = param.substr(0, param.find('='));
    d.params.push_back(lastWord(param));
    if (comma == std::string_view::npos) break;
    list = list.substr(comma + 1);
  }
  return d;
}

std::string joined(const std::vector<std::string> &lines) {
  std::string out;
  for (const std::string &line : lines) out += (out.empty() ? "" : "\n") + line;
  return out;
}

}  // namespace

HeaderDocs readHeaderDocs(std::string_view text) {
  HeaderDocs docs;
  std::istringstream in{std::string(text)};
  std::string line, declaration, className;
  std::vector<std::string> comment;
  int depth = 0;
  while (std::getline(in, line)) {
    const std::string_view t = trimmed(line);
    if (!declaration.empty() || t.starts_with("virtual ") || t.starts_with("QUORVANE_API ")) {
      declaration += std::string(t) + " ";
      if (t.find(';') == std::string_view::npos) continue;
      DeclarationDoc d = parseDeclaration(declaration);
      d.className = className;
      d.comment = joined(comment);
      docs.declarations.push_back(std::move(d));
      declaration.clear();
      comment.clear();
      continue;
    }
    if (t.starts_with("// ") || t == "//") {
      comment.emplace_back(t.size() > 3 ? t.substr(3) : "");
      continue;
    }
    if (depth == 0 && t.starts_with("class ") && t.find('{') != std::string_view::npos) {
      className = lastWord(t.substr(0, t.find_first_of(":{")));
      docs.classes.push_back({className, className, {}, joined(comment)});
    }
    for (char c : t) depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    if (depth == 0) className.clear();
    comment.clear();
  }
  return docs;
}

std::string commentOf(const HeaderDocs &docs, std::string_view className, std::string_view name,
                      std::string_view params) {
  std::vector<std::string> wanted;
  std::istringstream words{std::string(params)};
  for (std::string w; words >> w;) wanted.push_back(w);
  const DeclarationDoc *byNames = nullptr, *byCount = nullptr, *any = nullptr,
                       *commented = nullptr;
  for (const DeclarationDoc &d : docs.declarations) {
    if (d.className != className || d.name != name) continue;
    if (!byNames && d.params == wanted) byNames = &d;
    if (!byCount && d.params.size() == wanted.size()) byCount = &d;
    if (!any) any = &d;
    if (!commented && !d.comment.empty()) commented = &d;
  }
  const DeclarationDoc *best = byNames ? byNames : byCount ? byCount : any;
  if (best == nullptr) return {};
  return !best->comment.empty() ? best->comment : commented ? commented->comment : std::string();
}

}  // namespace quorvane::tools

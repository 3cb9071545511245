// The text of a value label (data labels and y axis tick labels): a format
// of "&value" fields, "&value&" when the format is empty.
#pragma once

#include <string>
#include <string_view>

#include "chart/label_template.h"

namespace quorvane {

inline std::string valueLabelText(std::string_view format, double value) {
  LabelTemplate t(format.empty() ? std::string_view("&value&") : format);
  t.replaceAmpersandNumber("&value", value, "");
  return t.text();
}

}  // namespace quorvane

// Field replacement orders of the items that templates describe.
#include "chart/item_fields.h"

#include <string>

namespace quorvane {

void expandLegendKeyFields(LabelTemplate &t, int keyIndex, std::string_view keyText) {
  t.replaceText("{dataSet}", std::to_string(keyIndex));
  t.replaceText("{dataSetName}", keyText);
}

void expandSectorFields(LabelTemplate &t, int sector, std::string_view label, double value,
                        double percent) {
  t.replaceText("{sector}", std::to_string(sector));
  t.replaceText("{label}", label);
  t.replaceNumber("{value", value);
  t.replacePercent(percent);
}

void expandSectorLabel(LabelTemplate &t, std::string_view label, double value, double percent) {
  t.replaceText("&label&", label);
  t.replaceAmpersandNumber("&value", value, "");
  t.replaceAmpersandNumber("&percent", percent, "2");
}

}  // namespace quorvane

// Field replacement orders of the items that templates describe.
#include "chart/item_fields.h"

#include <string>

namespace quorvane {

void expandLegendKeyFields(LabelTemplate &t, int keyIndex, std::string_view keyText) {
  t.replaceText("{dataSet}", std::to_string(keyIndex));
  t.replaceText("{dataSetName}", keyText);
}

void expandXYPointFields(LabelTemplate &t, const XYPointFields &f) {
  t.replaceText("{x}", std::to_string(f.x));
  t.replaceText("{xLabel}", f.xLabel);
  t.replaceText("{x2Label}", f.x2Label);
  t.replaceNumber("{totalValue", f.totalValue);
  if (!f.hasDataSet) return;
  t.replaceText("{dataSet}", std::to_string(f.dataSet));
  t.replaceText("{dataSetName}", f.dataSetName);
  t.replaceNumber("{value", f.value);
  t.replaceNumber("{accValue", f.accValue);
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

void expandValueLabel(LabelTemplate &t, double value) {
  t.replaceAmpersandNumber("&value", value, "");
}

}  // namespace quorvane

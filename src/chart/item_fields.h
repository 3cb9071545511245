// The fields of each kind of image-map item and drawn label, replaced in the
// order their context fixes. A later field is also expanded inside the values
// of earlier ones (a data-set name holding "{value}" shows the value).
#pragma once

#include <string_view>

#include "chart/label_template.h"

namespace quorvane {

// Query template of legend maps when the caller gives none.
inline constexpr std::string_view kLegendDefaultQuery =
    "dataSet={dataSet}&dataSetName={dataSetName}";

// "{dataSet}", "{dataSetName}".
void expandLegendKeyFields(LabelTemplate &t, int keyIndex, std::string_view keyText);

// A point of an XY layer: "{x}", "{xLabel}", "{x2Label}", "{totalValue}", then,
// for an area of a single data set, "{dataSet}", "{dataSetName}", "{value}",
// "{accValue}".
struct XYPointFields {
  int x = 0;
  std::string_view xLabel;
  std::string_view x2Label;
  double totalValue = 0;
  bool hasDataSet = false;
  int dataSet = 0;
  std::string_view dataSetName;
  double value = 0;
  double accValue = 0;
};
void expandXYPointFields(LabelTemplate &t, const XYPointFields &f);

// A pie sector: "{sector}", "{label}", "{value}", "{percent}".
void expandSectorFields(LabelTemplate &t, int sector, std::string_view label, double value,
                        double percent);

// A drawn pie label: "&label&", then "&value" (automatic precision) and
// "&percent" (two decimals unless the field gives a spec).
void expandSectorLabel(LabelTemplate &t, std::string_view label, double value, double percent);

// A drawn axis or data label: "&value" with automatic precision unless the
// field gives a spec.
void expandValueLabel(LabelTemplate &t, double value);

}  // namespace quorvane

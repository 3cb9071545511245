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

// A pie sector: "{sector}", "{label}", "{value}", "{percent}".
void expandSectorFields(LabelTemplate &t, int sector, std::string_view label, double value,
                        double percent);

// A drawn pie label: "&label&", then "&value" (automatic precision) and
// "&percent" (two decimals unless the field gives a spec).
void expandSectorLabel(LabelTemplate &t, std::string_view label, double value, double percent);

}  // namespace quorvane

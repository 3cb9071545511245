// High-low lines with open and close ticks: data sets 0 to 3 hold the high,
// low, open and close values. The image map has one area per point, with
// the four values as fields.
#pragma once

#include <cstdint>

#include "xychart/layer.h"

namespace quorvane {

// The query template of HLOC layer maps when the caller gives none.
inline constexpr std::string_view kHLOCDefaultQuery =
    "x={x}&xLabel={xLabel}&high={high}&low={low}&open={open}&close={close}";

class HLOCLayerImpl final : public LayerBase<HLOCLayer> {
 public:
  // Lines that later lines of their column paint over are left out, unless
  // this is turned off (to compare with drawing every line).
  void setLeavesOutCovered(bool isOn) { leavesOutCovered_ = isOn; }
  // The lines the last drawing drew.
  uint64_t strokesDrawn() const { return strokesDrawn_; }

 protected:
  void drawLayer(DrawArea &area) override;
  std::string_view defaultQuery() const override { return kHLOCDefaultQuery; }
  bool refersToDataSets(std::string_view) const override { return false; }
  std::span<const TemplateField> mapFields() const override;
  void mapFieldValues(std::span<FieldValue> values, int d, int i,
                      const ItemSums &sums) const override;

 private:
  bool leavesOutCovered_ = true;
  uint64_t strokesDrawn_ = 0;
};

}  // namespace quorvane

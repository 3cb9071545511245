// Areas between each data set's line and the zero line, flat or with a 3D
// top, or stacked as bands between consecutive running totals.
#pragma once

#include "xychart/layer.h"

namespace quorvane {

class AreaLayerImpl final : public LayerBase<AreaLayer> {
 protected:
  void drawLayer(DrawArea &area) override;
  bool stacksBySign() const override { return false; }
};

}  // namespace quorvane

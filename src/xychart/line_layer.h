// Lines joining the points of each data set, flat or as 3D ribbons with one
// depth step per data set, with the data sets' symbols at the points.
#pragma once

#include "xychart/layer.h"

namespace quorvane {

class LineLayerImpl final : public LayerBase<LineLayer> {
 protected:
  void drawLayer(DrawArea &area) override;
  // A line key: the data set's line width and symbol.
  void addLegendKey(LegendBox &legend, DataSetImpl &ds) override;
};

}  // namespace quorvane

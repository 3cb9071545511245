// Lines joining the points of each data set, flat or as 3D ribbons with one
// depth step per data set, with the data sets' symbols at the points.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "xychart/layer.h"

namespace quorvane {

class LineLayerImpl final : public LayerBase<LineLayer> {
 protected:
  void drawLayer(DrawArea &area) override;
  // A line key: the data set's line width and symbol.
  void addLegendKey(LegendBox &legend, DataSetImpl &ds) override;

 private:
  // A data set's point in image coordinates, before its depth shift.
  struct Point {
    int x;
    int y;
  };
  // The depth shift of data set d in 3D; zero when the layer is flat.
  struct Shift {
    int64_t x = 0;
    int64_t y = 0;  // upward
  };

  // Point i of ds, or nothing when its value is missing.
  std::optional<Point> pointOf(const DataSetImpl &ds, int i) const;
  int lineWidthOf(const DataSetImpl &ds) const;
  // Joins consecutive points by lines, or by ribbons swept by step in 3D.
  void drawLines(DrawArea &area, const DataSetImpl &ds, Shift shift, Shift step);
  // The data set's symbol merged centred on each of its points.
  void mergeSymbols(DrawArea &area, const DataSetImpl &ds, const DrawArea &symbol, Shift shift);
  // Records the band around the line near each point, and widens the
  // group records (left, top, right, bottom) to hold it.
  void recordBands(int d, Shift shift, int halfBand, std::vector<int64_t> &groups);
  // The label alignment in force for ds, turned inwards at the layer's ends.
  int labelAlignmentAt(const DataSetImpl &ds, int x) const;
};

}  // namespace quorvane

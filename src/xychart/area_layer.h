// Areas between each data set's line and the zero line, flat or with a 3D
// top, or stacked as bands between consecutive running totals.
#pragma once

#include <cstddef>

#include "xychart/layer.h"

namespace quorvane {

class AreaLayerImpl final : public LayerBase<AreaLayer> {
 protected:
  void drawLayer(DrawArea &area) override;
  bool stacksBySign() const override { return false; }

 private:
  struct Curves;
  // The stages of a drawing: where each area lies, the fills, then the
  // shape records and labels.
  Curves curvesOf(size_t points) const;
  // A stack's tops: each data set's on the running total of its y axis.
  void stackCurves(Curves &c, size_t points) const;
  void fillAreas(DrawArea &area, const Curves &c) const;
  void recordAndLabel(DrawArea &area, const Curves &c);
  void labelPoint(DrawArea &area, const Curves &c, size_t d, size_t i, double v) const;
  // A stack's total at point i, above the last data set there.
  void labelTotal(DrawArea &area, const Curves &c, size_t topSet, size_t i) const;
};

}  // namespace quorvane

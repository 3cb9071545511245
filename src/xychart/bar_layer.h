// Bars from the zero line of their y axis to each value, centred on the
// point's x, flat or 3D: overlaid, stacked (positives up, negatives down) or
// side by side within each category slot.
#pragma once

#include <cstdint>

#include "xychart/layer.h"

namespace quorvane {

class BarLayerImpl final : public LayerBase<BarLayer> {
 public:
  void setBarGap(double barGap, double subBarGap) override {
    barGap_ = barGap;
    subBarGap_ = subBarGap;
  }

  // Boxes that later boxes of their slot paint over are left out, unless
  // this is turned off (to compare with drawing every box).
  void setLeavesOutCovered(bool isOn) { leavesOutCovered_ = isOn; }
  // The boxes the last drawing painted.
  uint64_t boxesPainted() const { return boxesPainted_; }

 protected:
  void drawLayer(DrawArea &area) override;

 private:
  class Sink;
  // The zero line's offset from the layer bottom.
  int zeroOffset() const;

  double barGap_ = 0.25;
  double subBarGap_ = 0.2;
  bool leavesOutCovered_ = true;
  uint64_t boxesPainted_ = 0;
};

}  // namespace quorvane

// A chart's ChartOptions: the settings added after the first release, one
// object per chart, living and dying with it.
#pragma once

#include "base/live_objects.h"
#include "quorvane.h"

namespace quorvane {

class ChartOptionsImpl final : public ChartOptions {
 public:
  // chart is the published chart that owns these options; area is its
  // drawing area, which lives as long as the chart.
  ChartOptionsImpl(BaseChart &chart, DrawArea &area) : chart_(chart), area_(area) {}
  ChartOptionsImpl(const ChartOptionsImpl &) = delete;
  ChartOptionsImpl &operator=(const ChartOptionsImpl &) = delete;

  BaseChart *getChart() override { return &chart_; }
  int getAntiAlias() override;

 private:
  BaseChart &chart_;
  DrawArea &area_;
  LiveObject live_{static_cast<ChartOptions *>(this)};  // in the table while alive
};

}  // namespace quorvane

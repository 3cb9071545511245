// A chart's ChartOptions: the settings added after the first release, one
// object per chart, living and dying with it.
#pragma once

#include "base/last_error.h"
#include "base/live_objects.h"
#include "quorvane.h"

namespace quorvane {

class ChartOptionsImpl final : public ChartOptions {
 public:
  // chart is the published chart that owns these options; area is its
  // drawing area and lastError the reason of its last failed output, which
  // live as long as the chart.
  ChartOptionsImpl(BaseChart &chart, DrawArea &area, const LastError &lastError)
      : chart_(chart), area_(area), lastError_(lastError) {}
  ChartOptionsImpl(const ChartOptionsImpl &) = delete;
  ChartOptionsImpl &operator=(const ChartOptionsImpl &) = delete;

  BaseChart *getChart() override { return &chart_; }
  int getAntiAlias() override;
  const char *getLastError() override { return lastError_.text(); }

 private:
  BaseChart &chart_;
  DrawArea &area_;
  const LastError &lastError_;
  LiveObject live_{static_cast<ChartOptions *>(this)};  // in the table while alive
};

}  // namespace quorvane

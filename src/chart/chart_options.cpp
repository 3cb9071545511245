#include "chart/chart_options.h"

#include "drawing/area_access.h"

namespace quorvane {

int ChartOptionsImpl::getAntiAlias() { return shapeModeOf(area_); }

}  // namespace quorvane

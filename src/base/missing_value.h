// Missing values. A value given as NoValue, NaN or an infinity stands for no
// value: a data point that is not drawn, a label field left empty, a scale
// limit left to the data.
#pragma once

#include <cmath>

#include "quorvane.h"

namespace quorvane {

inline bool hasValue(double v) { return v != NoValue && std::isfinite(v); }

}  // namespace quorvane

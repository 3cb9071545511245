// Scaling of a value axis: validation of the user's limits, the linear and
// base-10 logarithmic scaling of a data range, tick lists and the mapping of
// values and categories to pixel offsets.
// Hostile input (NaN, infinities, ranges that overflow, lengths and densities
// below 1) fails the scaling or saturates the offsets; no loop runs past
// kMaxTicks values.
#include "xychart/value_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/int_math.h"
#include "base/missing_value.h"

namespace quorvane {

namespace {

// Limits and steps are held as a value or NoValue: NaN and the infinities are
// as good as unset.
double finiteOrUnset(double v) { return hasValue(v) ? v : NoValue; }

// Tick intervals: the requested count, else one per density pixels.
int tickCount(int requestedTicks, int density, int workLength, int withoutDensity) {
  if (requestedTicks > 0) return requestedTicks;
  if (density < 1) return withoutDensity;
  return std::max(workLength / density, 1);
}

// A flat range is opened by half its value each way; flat zero becomes 0..100.
void widenFlat(double &min, double &max) {
  double half = std::fabs(min * 0.5);
  max += half;
  min -= half;
  if (min == 0) max = 100;
}

// first, first + step, ... while a value lies at most slack steps above last.
// Each value is first + i * step rather than a running sum, so rounding does
// not accumulate.
std::vector<double> arithmeticRun(double first, double last, double step, double slack) {
  std::vector<double> run;
  for (int i = 0; i < ValueScale::kMaxTicks; ++i) {
    double v = first + i * step;
    if ((v - last) / step > slack) break;
    run.push_back(v);
  }
  return run;
}

}  // namespace

double niceStep(double rawStep) {
  if (!(rawStep > 0) || !std::isfinite(rawStep)) return 0;
  double exponent = std::log10(rawStep);
  double power = std::floor(exponent);
  double mantissa = std::pow(10.0, exponent - power);
  double factor = mantissa < 2 ? 2 : mantissa < 5 ? 5 : 10;
  return std::pow(10.0, power) * factor;
}

void ValueScale::setLinearScale(double lower, double upper, double step) {
  userLower_ = finiteOrUnset(lower);
  userUpper_ = finiteOrUnset(upper);
  userStep_ = step > 0 && std::isfinite(step) ? step : NoValue;
  isLog_ = false;
  dropUnusableLimits();
}

void ValueScale::setLogScale(bool isLog) {
  userLower_ = userUpper_ = userStep_ = NoValue;
  isLog_ = isLog;
}

void ValueScale::setLogScale2(double lower, double upper, double step) {
  auto positive = [](double v) { return v > 0 && std::isfinite(v) ? v : NoValue; };
  userLower_ = positive(lower);
  userUpper_ = positive(upper);
  userStep_ = step > 1 && std::isfinite(step) ? step : NoValue;
  isLog_ = true;
  dropUnusableLimits();
}

void ValueScale::dropUnusableLimits() {
  if (userLower_ == userUpper_) {
    userLower_ = NoValue;
    return;
  }
  if (!hasValue(userLower_) || !hasValue(userUpper_) || !hasValue(userStep_)) return;
  const double intervals = isLog_ ? std::log10(userUpper_ / userLower_) / std::log10(userStep_)
                                  : (userUpper_ - userLower_) / userStep_;
  if (intervals > 500) userStep_ = NoValue;
}

void ValueScale::setAutoScale(double topExtension, double bottomExtension) {
  topExtension_ = topExtension;
  bottomExtension_ = bottomExtension;
}

bool ValueScale::scale(double dataMin, double dataMax, int requestedTicks, int length) {
  lower_ = userLower_;
  upper_ = userUpper_;
  step_ = userStep_;
  scale_ = 0;
  logMode_ = 0;
  length_ = length;
  // The top margin is left out only while it takes less than half the axis.
  int workLength = std::max(length, 0);
  if (topMargin_ > 0 && int64_t{topMargin_} * 2 < workLength) workLength -= topMargin_;
  dataMin = finiteOrUnset(dataMin);
  dataMax = finiteOrUnset(dataMax);

  bool isFitted = isLog_ ? scaleLog(dataMin, dataMax, requestedTicks, workLength)
                         : scaleLinear(dataMin, dataMax, requestedTicks, workLength);
  // Ranges that overflowed, reversed user limits and vanished steps all end
  // here, before any of them reaches a tick loop or an int.
  isScaled_ = isFitted && std::isfinite(lower_) && std::isfinite(upper_) && lower_ < upper_ &&
              std::isfinite(step_) && step_ > 0 && std::isfinite(scale_);
  if (!isScaled_) scale_ = 0;
  return isScaled_;
}

int ValueScale::fixedCount(int requestedTicks) const {
  return (requestedTicks > 0) + hasValue(userStep_) + hasValue(userLower_) + hasValue(userUpper_);
}

// With three or four of tick count, step and limits fixed by the user, the
// computed bounds and step already hold them (in log units on a log axis);
// the one left open follows from the others. A tick count is requested in
// every case that divides or multiplies by it.
void ValueScale::fitFixed(int requestedTicks) {
  if (fixedCount(requestedTicks) == 4 || !hasValue(userStep_))
    step_ = (upper_ - lower_) / requestedTicks;
  else if (!hasValue(userUpper_))
    upper_ = requestedTicks * step_ + lower_;
  else if (hasValue(userLower_))
    upper_ = std::ceil((upper_ - lower_) / step_) * step_ + lower_;
  else
    lower_ = upper_ - requestedTicks * step_;
}

bool ValueScale::scaleLinear(double dataMin, double dataMax, int requestedTicks, int workLength) {
  if (fixedCount(requestedTicks) >= 3) {
    fitFixed(requestedTicks);
    scale_ = workLength / (upper_ - lower_);
    return true;
  }

  // An axis of positive data starts at 0 unless the data sit high above it,
  // and likewise for negative data below 0.
  double min = dataMin;
  double max = dataMax;
  if (hasValue(userLower_) && userLower_ <= dataMax)
    min = userLower_;
  else if (dataMin > 0 && dataMin <= 0.8 * dataMax)
    min = 0;
  if (hasValue(userUpper_) && userUpper_ >= min)
    max = userUpper_;
  else if (dataMax < 0 && dataMax >= 0.8 * min)
    max = 0;
  if (!hasValue(min) || !hasValue(max) || max < min) return false;

  double top = topExtension_;
  double bottom = bottomExtension_;
  if ((top != 0 || bottom != 0) && top + bottom < 1) {
    // The extensions are fractions of the extended range, not of the data.
    double range = max - min;
    double rest = 1 - top - bottom;
    bool isAboveZero = min >= 0;
    bool isBelowZero = max <= 0;
    max += range * top / rest;
    min -= range * bottom / rest;
    // An extension never carries a bound across zero.
    if (isAboveZero) min = std::max(min, 0.0);
    if (isBelowZero) max = std::min(max, 0.0);
  }
  if (min == max) widenFlat(min, max);

  int ticks = tickCount(requestedTicks, tickDensity_, workLength, 5);
  if (!hasValue(userStep_)) {
    double rawStep = (max - min) / ticks;
    if (min < 0 && max > 0) {
      // The ticks are shared out between the two sides of zero so that one
      // falls on it: k intervals above, the rest below, each side at least one.
      ticks = std::max(ticks, 2);
      double k = std::clamp(std::round(max / (max - min) * ticks), 1.0, ticks - 1.0);
      rawStep = std::max(-min / (ticks - k), max / k);
    }
    step_ = niceStep(rawStep);
  }

  // A requested count fixes the number of intervals from the end nearer zero.
  if (requestedTicks <= 0) {
    upper_ = std::ceil(max / step_) * step_;
    lower_ = std::floor(min / step_) * step_;
  } else if (max > 0) {
    lower_ = std::floor(min / step_) * step_;
    upper_ = lower_ + ticks * step_;
  } else {
    upper_ = std::ceil(max / step_) * step_;
    lower_ = upper_ - ticks * step_;
  }
  scale_ = workLength / (upper_ - lower_);
  return true;
}

// Modes: 0 for under 0.8 decades, with a step in data units; 1 for ticks at
// 1, 2 and 5 in each decade; 2 for a whole number of decades per step.
bool ValueScale::scaleLog(double dataMin, double dataMax, int requestedTicks, int workLength) {
  if (fixedCount(requestedTicks) >= 3) {
    logMode_ = 2;
    for (double *v : {&lower_, &upper_, &step_})
      if (hasValue(*v)) *v = std::log10(*v);
    fitFixed(requestedTicks);
  } else {
    double min = dataMin;
    double max = dataMax;
    if (hasValue(userLower_) && userLower_ <= dataMax) min = userLower_;
    if (hasValue(userUpper_) && userUpper_ >= min) max = userUpper_;
    if (!hasValue(min) || !hasValue(max) || max < min || max <= 0) return false;
    if (min == max) widenFlat(min, max);
    // Zero and below have no logarithm: the axis spans four decades instead.
    if (min <= 0) min = max * 0.0001;

    int ticks = tickCount(requestedTicks, tickDensity_, workLength, 6);
    lower_ = std::log10(min);
    upper_ = std::log10(max);
    if (hasValue(userStep_)) {
      logMode_ = 2;
      step_ = std::log10(userStep_);
    } else if (upper_ - lower_ < 0.8) {
      logMode_ = 0;
      step_ = niceStep((max - min) / ticks);
    } else {
      double decades = (upper_ - lower_) / ticks;
      logMode_ = decades >= 0.3 ? 2 : 1;
      step_ = std::ceil(decades);
    }

    if (logMode_ == 0) {
      double low = std::floor(min / step_) * step_;
      double high = std::ceil(max / step_) * step_;
      // A bottom tick at 0 has no logarithm; the axis starts at a tenth of
      // the top and the top moves up by as much.
      if (low == 0) {
        low = high * 0.1;
        high += low;
      }
      lower_ = std::log10(low);
      upper_ = std::log10(high);
    } else if (logMode_ == 1) {
      lower_ = std::floor(lower_);
      upper_ = std::ceil(upper_);
    } else {
      lower_ = std::floor(lower_);
      upper_ = requestedTicks > 0 ? lower_ + ticks * step_
                                  : std::ceil((upper_ - lower_) / step_) * step_ + lower_;
    }
  }

  if (requestedTicks <= 0 && logMode_ == 2) {
    // Whole pixels per step, so that every decade is drawn the same height.
    double steps = std::round((upper_ - lower_) / step_);
    if (steps >= 1) {
      scale_ = std::trunc(workLength / steps) / step_;
      return true;
    }
  }
  scale_ = workLength / (upper_ - lower_);
  return true;
}

std::vector<double> ValueScale::tickValues() const {
  if (!isScaled_) return {};
  // The slack takes in a top tick that rounding pushed just past the top.
  if (!isLog_) return arithmeticRun(lower_, upper_, step_, 0.001);
  if (logMode_ == 0)
    return arithmeticRun(std::pow(10.0, lower_), std::pow(10.0, upper_), step_, 0.0001);

  std::vector<double> ticks;
  if (logMode_ == 1) {
    // 1, 2, 5, 10, 20, 50, ...: from a decade to its 2, from the 2 to the 5,
    // from the 5 to the next decade.
    for (double v = lower_; v <= upper_ && ticks.size() < size_t{kMaxTicks};) {
      ticks.push_back(std::pow(10.0, v));
      double decade = std::floor(v);
      double fraction = v - decade;
      v = fraction < 0.2   ? decade + std::log10(2.0)
          : fraction < 0.5 ? decade + std::log10(5.0)
                           : std::ceil(v);
    }
    return ticks;
  }
  ticks = arithmeticRun(lower_, upper_, step_, 1e-9);
  for (double &v : ticks) v = std::pow(10.0, v);
  return ticks;
}

int ValueScale::coor(double v) const {
  if (!isScaled_) return 0;
  if (isLog_) {
    if (v == 0) return -65535;
    if (v < 0) return -65536;
    v = std::log10(v);
  }
  return truncToInt(std::round((v - lower_) * scale_));
}

int categoryCoor(double v, double min, double max, int length, bool indent) {
  // With indent, n categories fill n slots and each sits mid-slot; without,
  // the first and last sit on the ends. Taking 0.0001 off the length keeps
  // the far end on the last pixel rather than one past it.
  double offset = indent ? 0.5 : 0.0;
  double span = max - min + 2 * offset;
  if (span == 0) return 0;
  return truncToInt((v - min + offset) / span * (length - 0.0001));
}

}  // namespace quorvane

// The scale of a value (y) axis: the user's limits as validated, linear and
// base-10 logarithmic scaling to a data range, tick values and the mapping of
// a value to a pixel offset counted upwards from the bottom of the axis, and
// the mapping of a category index to a pixel offset along an x axis.
//
// Steps are 2, 5 or 10 times a power of ten. On a log axis the computed
// bounds and step are log10 values, except in mode 0 (a range of under 0.8
// decades), whose step is in data units.
#pragma once

#include <vector>

#include "quorvane.h"

namespace quorvane {

class ValueScale {
 public:
  // No tick list grows beyond this, whatever step the data or user chose.
  static constexpr int kMaxTicks = 4096;

  // The user's settings, validated as they are stored.
  void setLinearScale(double lower, double upper, double step);
  void setLogScale(bool isLog);
  void setLogScale2(double lower, double upper, double step);
  void setAutoScale(double topExtension, double bottomExtension);
  void setTickDensity(int pixelsPerTick) { tickDensity_ = pixelsPerTick; }
  void setTopMargin(int pixels) { topMargin_ = pixels; }

  // Scales to the data range dataMin..dataMax (NoValue-free when there is
  // data) over length pixels with the requested number of tick intervals (0:
  // from the tick density). False when there is no usable range: the axis
  // then has no ticks.
  bool scale(double dataMin, double dataMax, int requestedTicks, int length);

  bool isScaled() const { return isScaled_; }
  bool isLog() const { return isLog_; }
  // Tick values in data units, lowest first; empty unless scaled.
  std::vector<double> tickValues() const;
  // Pixel offset of v from the bottom, rounded half away from zero and
  // saturated to int; 0 unless scaled. On a log axis 0 maps to -65535 and
  // negative values to -65536.
  int coor(double v) const;

  // Computed state, for tests and the axis's own use.
  int logMode() const { return logMode_; }
  int length() const { return length_; }

  // User settings as validated.
  double userLower() const { return userLower_; }
  double userUpper() const { return userUpper_; }
  double userStep() const { return userStep_; }

 private:
  bool scaleLinear(double dataMin, double dataMax, int requestedTicks, int workLength);
  bool scaleLog(double dataMin, double dataMax, int requestedTicks, int workLength);
  int fixedCount(int requestedTicks) const;
  void fitFixed(int requestedTicks);
  // Equal limits leave the bottom to the data; the interval count is known
  // only with both limits and the step, and more than 500 of them is no
  // usable step.
  void dropUnusableLimits();

  double userLower_ = NoValue;
  double userUpper_ = NoValue;
  double userStep_ = NoValue;
  bool isLog_ = false;
  double topExtension_ = 0;
  double bottomExtension_ = 0;
  int tickDensity_ = 20;
  int topMargin_ = 0;

  bool isScaled_ = false;
  double lower_ = NoValue;
  double upper_ = NoValue;
  double step_ = NoValue;
  double scale_ = 0;
  int logMode_ = 0;
  int length_ = 0;
};

// The "nice" step for a raw step: 2, 5 or 10 times the power of ten at or
// below it (a mantissa of exactly 1 gives 2); 0 for a raw step that is not
// positive and finite.
double niceStep(double rawStep);

// Pixel offset of category v on an x axis of length pixels spanning
// min..max; with indent each category sits in the middle of an equal slot.
int categoryCoor(double v, double min, double max, int length, bool indent);

}  // namespace quorvane

// The stacking rule every layer kind shares. The values of one point are
// taken in data set order; each is added to a running sum and drawn from the
// sum before it (the zero line for the first) to the sum after it. Bars keep
// two sums, positives piled up and negatives down from the zero line; areas
// keep one running total. Sums are formed from the first data set up, never
// taken off a grand total, so that a large value above cannot swallow small
// ones below by rounding.
#pragma once

namespace quorvane {

class StackSums {
 public:
  // bySign: a pile per sign (bars), else one running total (areas).
  explicit StackSums(bool bySign) : bySign_(bySign) {}

  // Where a value lands: on pile (0 up, or the only one; 1 down), from base
  // to end; hasBase is false for the first value of its pile, which starts
  // from the zero line.
  struct Step {
    int pile;
    bool hasBase;
    double base;
    double end;
  };
  // Adds v, a value to draw.
  Step add(double v) {
    const int pile = bySign_ && v < 0 ? 1 : 0;
    const Step s{pile, isStarted_[pile], sums_[pile], sums_[pile] + v};
    sums_[pile] = s.end;
    isStarted_[pile] = true;
    return s;
  }
  // The running sum of a pile, 0 before its first value.
  double sum(int pile) const { return sums_[pile]; }
  bool isStarted(int pile) const { return isStarted_[pile]; }
  // Both piles together: where the stack's values net out.
  double total() const { return sums_[0] + sums_[1]; }

 private:
  bool bySign_;
  double sums_[2] = {0, 0};
  bool isStarted_[2] = {false, false};
};

}  // namespace quorvane

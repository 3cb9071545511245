// The midpoint (Bresenham) line in closed form, so that a line can be clipped
// to any part of its length and still cover exactly the pixels of the whole
// line. The line is walked from the end with the smaller major coordinate;
// at step k the minor offset is
//   q(k) = floor((2 dm k + dM) / (2 dM)),
// which is what the incremental rule (error 2dm - dM; on error >= 0 move the
// minor coordinate and add 2(dm - dM), else add 2dm) produces. Every line and
// straight edge steps by this one rule: a walk starts anywhere in closed form
// (cursorAt) and then advances incrementally, one addition a step. Arithmetic
// on products of coordinates is done in 128 bits where 64 could overflow.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace quorvane {

struct LineStepper {
  bool xMajor;
  bool reversed;   // the walk runs from the caller's second point to the first
  int64_t major0;  // major coordinate at k = 0
  int64_t minor0;  // minor coordinate at k = 0
  int64_t dMajor;  // |major difference| (k runs 0 ... dMajor)
  int64_t dMinor;  // |minor difference|
  int64_t step;    // minor direction, +1 or -1

  LineStepper(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    const int64_t adx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int64_t ady = y2 > y1 ? y2 - y1 : y1 - y2;
    xMajor = adx >= ady;
    int64_t m1 = xMajor ? x1 : y1, n1 = xMajor ? y1 : x1;
    int64_t m2 = xMajor ? x2 : y2, n2 = xMajor ? y2 : x2;
    reversed = m2 < m1;
    if (reversed) {
      int64_t t = m1; m1 = m2; m2 = t;
      t = n1; n1 = n2; n2 = t;
    }
    major0 = m1;
    minor0 = n1;
    dMajor = m2 - m1;
    dMinor = n2 > n1 ? n2 - n1 : n1 - n2;
    step = n2 >= n1 ? 1 : -1;
  }

  // q(k) for 0 <= k <= dMajor.
  int64_t offsetAt(int64_t k) const {
    if (dMajor == 0) return 0;
    const __int128 num = static_cast<__int128>(2) * dMinor * k + dMajor;
    return static_cast<int64_t>(num / (static_cast<__int128>(2) * dMajor));
  }
  int64_t minorAt(int64_t k) const { return minor0 + step * offsetAt(k); }

  // The error term that decides the move from step k to k + 1.
  int64_t errorAt(int64_t k) const {
    const __int128 e = static_cast<__int128>(2) * dMinor * (k + 1) - dMajor -
                       static_cast<__int128>(2) * dMajor * offsetAt(k);
    return static_cast<int64_t>(e);
  }

  // A walk along the line: the minor coordinate at the current step and the
  // error term that decides the next move.
  struct Cursor {
    int64_t minor;
    int64_t error;
  };
  Cursor cursorAt(int64_t k) const { return {minorAt(k), errorAt(k)}; }
  // One major step by the incremental rule; true when the minor coordinate
  // moved.
  bool advance(Cursor &c) const {
    if (c.error >= 0) {
      c.minor += step;
      c.error += 2 * (dMinor - dMajor);
      return true;
    }
    c.error += 2 * dMinor;
    return false;
  }

  // Smallest k >= 0 with q(k) >= t (may exceed dMajor when no step reaches t).
  int64_t firstStepReaching(int64_t t) const {
    if (t <= 0) return 0;
    if (dMinor == 0) return dMajor + 1;
    // q(k) >= t  <=>  k >= dM (2t - 1) / (2 dm)
    const __int128 num = static_cast<__int128>(dMajor) * (2 * static_cast<__int128>(t) - 1);
    const __int128 den = static_cast<__int128>(2) * dMinor;
    return static_cast<int64_t>((num + den - 1) / den);
  }

  // Steps whose minor coordinate lies in [lo, hi], intersected with
  // [kLo, kHi]; returns false when none does.
  bool clipMinor(int64_t lo, int64_t hi, int64_t &kLo, int64_t &kHi) const {
    // minor = minor0 + step * q, so the allowed offsets are [qLo, qHi].
    int64_t qLo, qHi;
    if (step > 0) {
      qLo = lo - minor0;
      qHi = hi - minor0;
    } else {
      qLo = minor0 - hi;
      qHi = minor0 - lo;
    }
    if (qHi < 0 || qLo > dMinor) return false;
    const int64_t first = firstStepReaching(qLo);
    const int64_t last = qHi >= dMinor ? dMajor : firstStepReaching(qHi + 1) - 1;
    if (first > kLo) kLo = first;
    if (last < kHi) kHi = last;
    return kLo <= kHi;
  }

  // The steps [kLo, kHi] whose pixels lie in a width x height area, along
  // both axes; false when there are none.
  bool clipToArea(int64_t width, int64_t height, int64_t &kLo, int64_t &kHi) const {
    const int64_t majorSize = xMajor ? width : height;
    const int64_t minorSize = xMajor ? height : width;
    kLo = major0 < 0 ? -major0 : 0;
    kHi = dMajor < majorSize - 1 - major0 ? dMajor : majorSize - 1 - major0;
    return kLo <= kHi && clipMinor(0, minorSize - 1, kLo, kHi);
  }
};

}  // namespace quorvane

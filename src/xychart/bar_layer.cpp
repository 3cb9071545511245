// Bar drawing: the slot each point index gets on the x axis, one bar box
// (front face, 3D side and top faces, outline, label anchor) and the three
// ways the data sets of a slot share it: overlaid, stacked or side by side.
// Offsets count up from the layer's bottom row, as the y axes give them;
// sums of positions are formed in 64 bits and saturate into int.
// The groups of a run of points that share a slot are queued and drawn
// together, leaving out each box that later boxes of the run paint over
// (BoxPainter::isCovered): a layer of many points a column paints about
// as much as one of a point a column, and the pixels are the same.
#include "xychart/bar_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/colors.h"
#include "base/int_math.h"
#include "drawing/area_access.h"
#include "xychart/axes.h"
#include "xychart/cover_scan.h"
#include "xychart/stacking.h"

namespace quorvane {

namespace {

// Columns left .. left + width - 1, from offset base to offset top; top lies
// below base for a value under the zero line.
struct Box {
  int left;
  int width;
  int base;
  int top;
  // Shows the 3D top face: each side-by-side sub-bar does, and of an
  // overlaid or stacked group only the flat box that closes it.
  bool drawsTop;
};

struct LabelSpot {
  int x;
  int y;
  int alignment;
};

// Left, top, right, bottom in image coordinates.
using RectCoords = std::array<int, 4>;

// Draws boxes for one layer: its bottom row, 3D depth and bevel.
//
// What a box paints, on rows r1 ... r2 (r1 <= r2) of columns x1 ... x2: its
// front face, the rectangle itself (border and bevel inside it); with depth
// d its side face, the pixels (x2 + u, y) with 0 <= u <= d and
// r1 <= y + u <= r2; with a top face the pixels (x1 + s ... x2 + s, r1 - s),
// 0 <= s <= d. These sets are exact for faces at 45 degrees: the edge list
// fills strictly between the runs of the edges, which step one pixel a row
// along the slopes, and the outline draws the runs themselves (without it a
// face is that set less its border). So a box whose face, side face and
// side outline are opaque paints every pixel of its rows r1 ... r2 and of
// its side face, and the later boxes of the same columns paint over all an
// earlier box painted when their rows together hold
//   - every row r1 - d ... r2 (r1 ... r2 with no top face): a pixel of its
//     side or top face at x2 + u on row y lies in the side face of the box
//     holding row y + u, one at x <= x2 in that box's front; or
//   - every row t ... r2, where a later opaque top face (outline and all)
//     stands on row t <= r1: what the top face of the box reaches above
//     row t lies in that top face or in a side face.
// Smooth faces and other slopes are never left out.
class BoxPainter {
 public:
  BoxPainter(DrawArea &area, int64_t bottomRow, int dx, int dy, int raisedEffect)
      : area_(area),
        bottomRow_(bottomRow),
        dx_(dx),
        dy_(dy),
        raisedEffect_(raisedEffect),
        tracksCover_(!hasDepth() || (dx == dy && dx > 0 && shapeModeOf(area) == 0)) {}

  bool hasDepth() const { return dx_ != 0 && dy_ != 0; }
  // Whether covered boxes can be told: no depth, or aliased 45-degree faces.
  bool tracksCover() const { return tracksCover_; }
  // Whether the boxes added to later (those drawn after it) paint over all
  // that box r paints.
  bool isCovered(const RectCoords &r, bool drawsTop, const CoverScan &later) const {
    const bool hasTopFace = hasDepth() && drawsTop;
    if (later.covers(r[0], r[2], int64_t{r[1]} - (hasTopFace ? dx_ : 0), r[3])) return true;
    if (!hasTopFace) return false;
    const int64_t t = later.topFaceRow(r[0], r[2]);
    return t <= r[1] && later.covers(r[0], r[2], t, r[3]);
  }

  // Cuts off the rows at either end of box r (not flat) that later boxes
  // paint over, keeping at least two. The rows left are painted as before:
  // the new border row and the new end of the side face lie in the part cut
  // off. Not with a bevel, which is laid out by the whole rectangle, nor at
  // the end that carries a top face.
  void trim(RectCoords &r, bool drawsTop, const CoverScan &later) const {
    const std::optional<CoverScan::Rows> rows = later.rowsOf(r[0], r[2]);
    if (!rows || raisedEffect_ != 0) return;
    const int64_t top = r[1], bottom = r[3];
    if (rows->top <= bottom && bottom <= rows->bottom) {
      const int64_t newBottom = std::max(rows->top, top + 1);
      if (newBottom < bottom) r[3] = static_cast<int>(newBottom);
    } else if (!(hasDepth() && drawsTop) && rows->top <= top && top <= rows->bottom) {
      const int64_t newTop = std::min(rows->bottom, bottom - 1);
      if (newTop > top) r[1] = static_cast<int>(newTop);
    }
  }

  int row(int64_t offset) const { return clampToInt(bottomRow_ - offset); }

  RectCoords rectOf(int64_t left, int64_t right, int64_t offset1, int64_t offset2) const {
    return {clampToInt(left), row(std::max(offset1, offset2)), clampToInt(right),
            row(std::min(offset1, offset2))};
  }

  RectCoords rectOf(const Box &b) const {
    return rectOf(b.left, int64_t{b.left} + b.width - 1, b.base, b.top);
  }

  // Box b on rows r (its own, or trimmed).
  void draw(const Box &b, const RectCoords &r, const FaceColors &k) const {
    const auto [x1, top, x2, bottom] = r;
    const bool isFlat = b.base == b.top;
    const bool hasDepth = this->hasDepth();
    if (hasDepth) {
      if (!isFlat) area_.surface(x2, top, x2, bottom, dx_, dy_, Transparent, k.shadow);
      if (b.drawsTop) area_.surface(x1, top, x2, top, dx_, dy_, Transparent, k.face);
    }
    if (!isFlat) area_.rect(x1, top, x2, bottom, k.face, k.face, raisedEffect_);
    if (k.edge == Transparent && k.shadowEdge == Transparent) return;
    // A flat closing box is only its top face: an outline would put a line
    // across the top of the bar below it.
    if (!isFlat || !b.drawsTop) area_.rect(x1, top, x2, bottom, k.edge, Transparent, 0);
    if (hasDepth) {
      if (!isFlat) area_.surface(x2, top, x2, bottom, dx_, dy_, k.shadowEdge, Transparent);
      if (b.drawsTop) area_.surface(x1, top, x2, top, dx_, dy_, k.edge, Transparent);
    }
  }

  // Inside the box at its far end (the end away from the base).
  LabelSpot labelInside(const Box &b) const {
    return {centreOf(b), row(b.top), b.top - int64_t{b.base} >= 1 ? AlignTopCentre
                                                                   : AlignBottomCentre};
  }

  // Beyond the far end: standing on the box and its top face, or hanging
  // under a box that goes down.
  LabelSpot labelBeyond(const Box &b) const {
    const int x = clampToInt(int64_t{centreOf(b)} + dx_ - 1);
    if (b.top >= b.base) return {x, clampToInt(int64_t{row(b.top)} - dy_), AlignBottomCentre};
    return {x, row(b.top), AlignTopCentre};
  }

 private:
  static int centreOf(const Box &b) { return clampToInt(int64_t{b.left} + b.width / 2); }

  DrawArea &area_;
  int64_t bottomRow_;
  int dx_;
  int dy_;
  int raisedEffect_;
  bool tracksCover_;
};

// What a group hands back to its layer while it is drawn, in drawing order.
class GroupSink {
 public:
  virtual void record(int d, const RectCoords &r) = 0;
  // Box b in data set d's colours.
  virtual void box(int d, const Box &b) = 0;
  virtual void dataLabel(int d, double value, const LabelSpot &at) = 0;
  virtual void aggregateLabel(double value, const LabelSpot &at) = 0;

 protected:
  ~GroupSink() = default;
};

// The columns of one point index.
struct Slot {
  int left;
  int width;
};

// The slots of the points from left to right: barWidth centred on each
// point's column, cut to the layer.
struct SlotWalk {
  int64_t barWidth;
  bool closesGaps;  // widens a slot to meet the one before (no bar gap)
  int64_t layerLeft;
  int64_t layerRight;
  int64_t previousRight = 0;

  // The slot of point i at column, if any of it is on the layer.
  std::optional<Slot> next(int i, int64_t column) {
    int64_t left = column - barWidth / 2;
    int64_t w = barWidth;
    // Without a gap, rounding must not leave a column of background between
    // neighbours: a gap after the previous group is closed by widening.
    if (closesGaps && i > 0 && left > previousRight + 1) {
      w += left - (previousRight + 1);
      left = previousRight + 1;
    }
    previousRight = left + w - 1;
    if (left < layerLeft) {
      w -= layerLeft - left;
      left = layerLeft;
    }
    if (left + w - 1 > layerRight) w = layerRight - left + 1;
    if (w < 1) return std::nullopt;
    return Slot{static_cast<int>(left), static_cast<int>(w)};
  }
};

class GroupDrawer {
 public:
  GroupDrawer(const BoxPainter &painter, GroupSink &sink,
              const std::vector<std::unique_ptr<DataSetImpl>> &dataSets, YAxisImpl &primary,
              YAxisImpl &secondary, int zero)
      : painter_(painter),
        sink_(sink),
        dataSets_(dataSets),
        primary_(primary),
        secondary_(secondary),
        zero_(zero) {}

  // Lowest first, each positive box on the one below it, negative boxes from
  // the zero line; the most negative is drawn first so that shorter ones stay
  // in view.
  void overlay(int i, const Slot &s) {
    entries_.clear();
    for (size_t d = 0; d < dataSets_.size(); ++d) {
      const double v = dataSets_[d]->value(i);
      if (hasValue(v)) entries_.push_back({static_cast<int>(d), v, coorOf(d, v)});
    }
    if (entries_.empty()) return;
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry &a, const Entry &b) { return a.coor < b.coor; });
    int positiveTop = zero_;
    for (const Entry &e : entries_) {
      const bool isBelow = e.coor < zero_;
      const Box b{s.left, s.width, isBelow ? zero_ : positiveTop, e.coor, false};
      if (!isBelow) positiveTop = e.coor;
      drawDataBox(e.d, b, e.value, painter_.labelInside(b));
    }
    // The top face and the group's label sit on the highest box; a box under
    // the zero line has its top on that line.
    const Entry &highest = entries_.back();
    closeGroup(s, highest.d, positiveTop, highest.value);
    sink_.record(-1, painter_.rectOf(s.left, int64_t{s.left} + s.width - 1, zero_, positiveTop));
  }

  // Positive values pile up from the zero line and negative ones down from
  // it, each box in its data set's own axis.
  void stack(int i, const Slot &s) {
    StackSums sums(true);
    int ends[2] = {zero_, zero_};  // the offsets the piles reach
    int last = -1;
    for (size_t d = 0; d < dataSets_.size(); ++d) {
      const double v = dataSets_[d]->value(i);
      if (!hasValue(v)) continue;
      const StackSums::Step step = sums.add(v);
      const int base = step.hasBase ? coorOf(d, step.base) : zero_;
      ends[step.pile] = coorOf(d, step.end);
      const Box b{s.left, s.width, base, ends[step.pile], false};
      drawDataBox(static_cast<int>(d), b, v, painter_.labelInside(b));
      last = static_cast<int>(d);
    }
    if (last < 0) return;
    closeGroup(s, last, ends[0], sums.sum(0));
    sink_.record(-1, painter_.rectOf(s.left, int64_t{s.left} + s.width - 1,
                                     std::max({zero_, ends[0], ends[1]}),
                                     std::min({zero_, ends[0], ends[1]})));
  }

  // Sub-bars of width S spaced G apart, each with its own top face and label.
  void side(int i, const Slot &s, double subBarGap) {
    const int64_t m = static_cast<int64_t>(dataSets_.size());
    int64_t width = s.width;
    int64_t spacing = 0;
    if (m > 1) {
      width = std::max(1, truncToInt(s.width / (static_cast<double>(m - 1) * subBarGap +
                                                static_cast<double>(m))));
      spacing = std::max<int64_t>(0, (s.width - m * width) / (m - 1));
    }
    bool any = false;
    int highest = 0;
    for (int64_t j = 0; j < m; ++j) {
      const double v = dataSets_[static_cast<size_t>(j)]->value(i);
      if (!hasValue(v)) continue;
      const int coor = coorOf(static_cast<size_t>(j), v);
      const Box b{clampToInt(s.left + j * (width + spacing)), static_cast<int>(width), zero_,
                  coor, true};
      drawDataBox(static_cast<int>(j), b, v, painter_.labelBeyond(b));
      highest = any ? std::max(highest, coor) : coor;
      any = true;
    }
    if (!any) return;
    const int64_t right = s.left + (m - 1) * (width + spacing) + width - 1;
    sink_.record(-1, painter_.rectOf(s.left, right, zero_, highest));
  }

 private:
  struct Entry {
    int d;
    double value;
    int coor;
  };

  int coorOf(size_t d, double v) const {
    return (dataSets_[d]->usesPrimaryAxis() ? primary_ : secondary_).getCoor(v);
  }

  void drawDataBox(int d, const Box &b, double value, const LabelSpot &label) {
    sink_.record(d, painter_.rectOf(b));
    sink_.box(d, b);
    sink_.dataLabel(d, value, label);
  }

  // A flat box at offset top in data set d's colours: the group's 3D top
  // face and its aggregate label.
  void closeGroup(const Slot &s, int d, int top, double value) {
    const Box b{s.left, s.width, top, top, true};
    sink_.box(d, b);
    sink_.aggregateLabel(value, painter_.labelBeyond(b));
  }

  const BoxPainter &painter_;
  GroupSink &sink_;
  const std::vector<std::unique_ptr<DataSetImpl>> &dataSets_;
  YAxisImpl &primary_;
  YAxisImpl &secondary_;
  int zero_;
  std::vector<Entry> entries_;  // reused by every overlaid group
};

// How a data set's boxes take part in covering. Only boxes of plain colours
// are left out: a special colour carries state from shape to shape (a dash
// its phase, each 3D face a new shear of it). A box covers its rows when it
// paints them opaquely: its face and, with depth, its side face and its
// outline; its top face when the face and the edge are opaque.
struct CoverRole {
  bool isPlain;
  bool isSolid;
  bool hasSolidTop;
};

CoverRole coverRoleOf(DrawArea &area, const FaceColors &k, bool hasDepth) {
  auto opaque = [&](int c) { return isOpaque(static_cast<uint32_t>(area.getARGBColor(c))); };
  bool isPlain = true;
  for (const int c : {k.face, k.edge, k.shadow, k.shadowEdge})
    if (isSpecialColor(static_cast<uint32_t>(area.getARGBColor(c)))) isPlain = false;
  const bool hasSolidSide = !hasDepth || (opaque(k.shadow) && opaque(k.shadowEdge));
  return {isPlain, isPlain && opaque(k.face) && hasSolidSide,
          isPlain && hasDepth && opaque(k.face) && opaque(k.edge)};
}

// A box or label of a run, queued until the run is complete.
struct Step {
  enum class Kind : uint8_t { Box, DataLabel, AggregateLabel };
  Kind kind;
  bool isCovered;  // by later boxes of the run: left out
  int d;
  Box box;
  RectCoords rows;  // the box's, or those left by trimming
  double value;
  LabelSpot at;
};

}  // namespace

// Hands the records of point i's group to the layer at once and queues its
// boxes and labels; flush draws the queue in order, less the covered boxes.
class BarLayerImpl::Sink final : public GroupSink {
 public:
  Sink(BarLayerImpl &layer, DrawArea &area, const BoxPainter &painter,
       std::vector<FaceColors> colors)
      : layer_(layer), area_(area), painter_(painter), colors_(std::move(colors)) {
    for (const FaceColors &k : colors_) roles_.push_back(coverRoleOf(area, k, painter.hasDepth()));
  }
  void record(int d, const RectCoords &r) override { layer_.recordShape(d, i_, r); }
  void box(int d, const Box &b) override {
    queue({Step::Kind::Box, false, d, b, painter_.rectOf(b), 0, {}});
  }
  void dataLabel(int d, double value, const LabelSpot &at) override {
    queue({Step::Kind::DataLabel, false, d, {}, {}, value, at});
  }
  void aggregateLabel(double value, const LabelSpot &at) override {
    queue({Step::Kind::AggregateLabel, false, -1, {}, {}, value, at});
  }
  void setPoint(int i) { i_ = i; }
  void flush();

 private:
  // A longer run is drawn in parts, each on its own: the queue stays small.
  static constexpr size_t kMaxSteps = 4096;

  void queue(const Step &s) {
    steps_.push_back(s);
    if (steps_.size() >= kMaxSteps) flush();
  }
  // From the last box to the first: covered by the boxes after it?
  void markCovered();

  BarLayerImpl &layer_;
  DrawArea &area_;
  const BoxPainter &painter_;
  std::vector<FaceColors> colors_;
  std::vector<CoverRole> roles_;
  std::vector<Step> steps_;
  CoverScan cover_;
  int i_ = 0;
};

void BarLayerImpl::Sink::markCovered() {
  cover_.clear();
  for (size_t k = steps_.size(); k-- > 0;) {
    Step &s = steps_[k];
    if (s.kind != Step::Kind::Box) continue;
    const RectCoords r = s.rows;
    const CoverRole role = roles_[static_cast<size_t>(s.d)];
    const bool isFlat = s.box.base == s.box.top;
    s.isCovered = role.isPlain && painter_.isCovered(r, s.box.drawsTop, cover_);
    if (role.isPlain && !s.isCovered && !isFlat) painter_.trim(s.rows, s.box.drawsTop, cover_);
    if (role.isSolid && !isFlat) cover_.add(r[0], r[2], r[1], r[3]);
    if (role.hasSolidTop && s.box.drawsTop) cover_.addTopFace(r[0], r[2], r[1]);
  }
}

void BarLayerImpl::Sink::flush() {
  if (layer_.leavesOutCovered_ && painter_.tracksCover()) markCovered();
  for (const Step &s : steps_) {
    const auto d = static_cast<size_t>(s.d);
    switch (s.kind) {
      case Step::Kind::Box:
        if (s.isCovered) break;
        painter_.draw(s.box, s.rows, colors_[d]);
        ++layer_.boxesPainted_;
        break;
      case Step::Kind::DataLabel:
        layer_.drawDataLabel(area_, *layer_.dataSets()[d], s.value, s.at.x, s.at.y,
                             s.at.alignment);
        break;
      case Step::Kind::AggregateLabel:
        layer_.drawAggregateLabel(area_, s.value, s.at.x, s.at.y, s.at.alignment);
        break;
    }
  }
  steps_.clear();
}

int BarLayerImpl::zeroOffset() const {
  // The shared zero line of the axes in use, or the layer bottom when two
  // axes put zero in different places; kept within the layer.
  bool usesPrimary = false;
  bool usesSecondary = false;
  for (const auto &ds : dataSets()) (ds->usesPrimaryAxis() ? usesPrimary : usesSecondary) = true;
  int zero = 0;
  if (!usesSecondary) {
    zero = yAxisOf(true).getCoor(0);
  } else if (!usesPrimary) {
    zero = yAxisOf(false).getCoor(0);
  } else {
    const int a = yAxisOf(true).getCoor(0);
    zero = a == yAxisOf(false).getCoor(0) ? a : 0;
  }
  if (zero < 0) zero = 0;
  if (zero > height()) zero = height();
  return zero;
}

void BarLayerImpl::drawLayer(DrawArea &area) {
  boxesPainted_ = 0;
  const auto &sets = dataSets();
  const int n = pointCount();
  if (n <= 0 || sets.empty()) return;

  const BoxPainter painter(area, int64_t{y()} + height() - 1, depthX(), depthY(),
                           raisedEffect());
  std::vector<FaceColors> colors;
  colors.reserve(sets.size());
  for (const auto &ds : sets)
    colors.push_back(faceColorsOf(area, *ds, borderColor(), kDefaultFaceColor));
  Sink sink(*this, area, painter, std::move(colors));
  GroupDrawer groups(painter, sink, sets, yAxisOf(true), yAxisOf(false), zeroOffset());

  const int64_t barWidth =
      std::max(1, truncToInt((1 - barGap_) * xAxis().getLength() / static_cast<double>(n)));
  SlotWalk walk{barWidth, barGap_ == 0, x(), int64_t{x()} + width() - 1};
  std::optional<Slot> run;  // the slot of the queued groups
  for (int i = 0; i < n; ++i) {
    const std::optional<Slot> slot = walk.next(i, walk.layerLeft + xAxis().getCoor(i));
    if (!slot) continue;
    if (run && (run->left != slot->left || run->width != slot->width)) sink.flush();
    run = slot;
    sink.setPoint(i);
    switch (combineMethod()) {
      case Layer::Overlay:
        groups.overlay(i, *slot);
        break;
      case Layer::Stack:
        groups.stack(i, *slot);
        break;
      default:
        groups.side(i, *slot, subBarGap_);
        break;
    }
  }
  sink.flush();
}

}  // namespace quorvane

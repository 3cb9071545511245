// SectorImpl: one value of a pie chart with its colours, explosion and label
// settings, and, once the chart is laid out, its geometry. The chart draws it
// in four passes (side faces, walls, top face, label); each pass is a member
// here so that the chart only fixes the order.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "base/live_objects.h"
#include "chart/color_table.h"
#include "chart/text_box.h"
#include "piechart/pie_math.h"
#include "quorvane.h"

namespace quorvane {

// Text of a label box when no format is given.
inline constexpr const char *kDefaultSectorLabelFormat = "&label&\n&percent&%";

// The label settings a pie and its sectors share, on their label box: the
// format (null or empty: the default), and the font (null: the fallback
// font), size (-1: 8 points) and colour, returning the box (null when memory
// runs out).
void setLabelBoxFormat(TextBoxImpl &box, const char *format);
TextBox *setLabelBoxStyle(TextBoxImpl &box, const char *font, double fontSize, int fontColor);

// Where a sector stands after layout.
struct SectorGeometry {
  int cx = 0;
  int cy = 0;
  int rx = 0;
  int ry = 0;
  double start = 0;  // radians in [0, 2π)
  double end = 0;
  int depth = 0;
  double depthAngle = pie::kPi;  // direction θ the depth is drawn towards
};

// One radial side face of a 3D sector. Faces are drawn from the farthest
// from the depth direction to the nearest, so nearer faces cover farther ones.
struct SideFace {
  double distance = 0;  // angle between the face and the depth direction, 0 to π
  int x1, y1, x2, y2;
  int depthX, depthY;  // depthY counts upwards
  int edgeColor, fillColor;
};

// The radial faces a sector shows: its start and end edges where they face
// the depth direction.
struct SideFaces {
  SideFace face[2];
  int count = 0;
};

class SectorImpl final : public Sector {
 public:
  SectorImpl(int index, double value, const char *label);
  SectorImpl(const SectorImpl &) = delete;
  SectorImpl &operator=(const SectorImpl &) = delete;

  void setExplode(int distance) override { explode_ = distance; }
  void setLabelFormat(const char *format) override;
  TextBox *setLabelStyle(const char *font, double fontSize, int fontColor) override;
  void setLabelPos(int pos, int lineColor) override;
  void setColor(int color, int edgeColor) override;
  const char *getImageCoor() override;
  const char *getLabelCoor() override;

  // Layout: geometry with the explode offset applied.
  void place(const SectorGeometry &g, double fraction);
  // Takes the chart's style, format, position and line colour where the
  // sector has none of its own.
  void resolveLabelDefaults(const TextBoxImpl &chartBox, int chartPos, int chartLineColor);

  // Drawing passes; colours are resolved through area.
  SideFaces sideFaces(DrawArea &area) const;
  void drawWalls(DrawArea &area) const;
  void drawTop(DrawArea &area) const;
  void drawLabel(DrawArea &area);

  double value() const { return value_; }
  double fraction() const { return fraction_; }
  const std::string &label() const { return label_; }
  int fillColor() const { return fillColor_; }

 private:
  // getImageCoor's body.
  const char *imageCoor();
  // The depth offset (dx, dy), dy counting upwards.
  void depthOffset(int &dx, int &dy) const;
  // Side colours from the fill and edge colours resolved through area.
  void sideColors(DrawArea &area, int &edge, int &fill) const;

  double value_;
  double fraction_ = 0;
  std::string label_;
  TextBoxImpl labelBox_;
  bool isLabelStyleSet_ = false;
  int labelPos_ = -1;
  int labelLineColor_ = -1;
  int fillColor_;
  int edgeColor_ = kLineColor;
  int explode_ = 0;
  SectorGeometry g_;
  std::string imageCoor_;
  std::optional<TextBoxGeometry> labelRect_;  // where the label was drawn
  std::string labelCoor_;
  LiveObject live_{static_cast<Sector *>(this)};  // in the table while alive
};

}  // namespace quorvane

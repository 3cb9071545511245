// PieChartImpl: the pie chart type. Layout turns the values into angles on an
// ellipse (flat, tilted, or round with a depth towards a chosen direction)
// once; drawing runs four passes over the sectors so that nearer surfaces
// cover farther ones: radial side faces, curved walls, top faces, labels.
#pragma once

#include <memory>
#include <vector>

#include "chart/base_chart_impl.h"
#include "piechart/sector.h"

namespace quorvane {

class PieChartImpl final : public BaseChartImpl<PieChart> {
 public:
  PieChartImpl();

  void setPieSize(int x, int y, int r) override;
  void set3D(int depth, double angle, bool shadowMode) override;
  void setStartAngle(double startAngle, bool clockwise) override;
  void setLabelFormat(const char *format) override;
  TextBox *setLabelStyle(const char *font, double fontSize, int fontColor) override;
  void setLabelPos(int pos, int lineColor) override;
  void setData(int n, const double *data, const char *const *labels) override;
  Sector *sector(int i) override;
  ChartOptions *options() override { return chartOptions(); }

  // The start angle as stored: its sign carries the direction.
  double storedStartAngle() const { return startAngle_; }
  double depth() const { return depth_; }
  double angle3D() const { return angle3D_; }

 protected:
  void layoutChart() override;
  void drawChartBody(DrawArea &area) override;
  bool appendImageMap(std::string &out, const char *url, const char *queryFormat,
                      const char *extraAttr) override;

 private:
  ~PieChartImpl() override = default;
  // setData's body: replaces the sectors.
  void replaceData(int n, const double *data, const char *const *labels);

  int centreX_ = 150;
  int centreY_ = 100;
  int radius_ = 70;
  double depth_ = 0;
  double angle3D_ = 0;
  bool isShadowMode_ = false;
  double startAngle_ = 0;
  TextBoxImpl labelBox_;
  int labelPos_ = -1;
  int labelLineColor_ = Transparent;
  std::vector<std::unique_ptr<SectorImpl>> sectors_;
};

}  // namespace quorvane

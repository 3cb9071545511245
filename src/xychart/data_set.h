// A data set: a named series of values (NoValue marks a missing point) with
// its colours, the y axis it is drawn against, its symbol and its own label
// settings. It is owned by its layer; colours of -1 are resolved when the
// chart is laid out. A symbol type is drawn into an image of its own once,
// when it is first wanted, and kept until the data set goes.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "base/live_objects.h"
#include "base/missing_value.h"
#include "chart/handles.h"
#include "chart/text_box.h"

namespace quorvane {

class DataSetImpl final : public DataSet {
 public:
  DataSetImpl() = default;
  ~DataSetImpl();
  DataSetImpl(const DataSetImpl &) = delete;
  DataSetImpl &operator=(const DataSetImpl &) = delete;

  void setData(int count, const double *values) override;
  void setDataName(const char *name) override;
  void setDataColor(int color, int edgeColor, int shadowColor, int shadowEdgeColor) override;
  void setDataSymbol(SymbolType symbol, int size, int fillColor, int edgeColor) override;
  void setDataSymbol3(const DrawArea *image) override;
  void setDataSymbol2(const char *filename) override;
  void setLineWidth(int width) override { lineWidth_ = width; }
  void setDataLabelFormat(const char *format) override;
  TextBox *setDataLabelStyle(const char *font, double fontSize, int fontColor,
                             double fontAngle) override;
  void setUseYAxis2(bool useYAxis2) override { usesPrimaryAxis_ = !useYAxis2; }

  int size() const { return static_cast<int>(values_.size()); }
  // Value of point i; NoValue beyond the data.
  double value(int i) const {
    return i >= 0 && i < size() ? values_[static_cast<size_t>(i)] : NoValue;
  }
  const std::string &name() const { return name_; }
  int color() const { return color_; }
  int edgeColor() const { return edgeColor_; }
  int shadowColor() const { return shadowColor_; }
  int shadowEdgeColor() const { return shadowEdgeColor_; }
  // Layout resolves the automatic colours.
  void setResolvedColors(int color, int edgeColor) {
    color_ = color;
    edgeColor_ = edgeColor;
  }
  bool usesPrimaryAxis() const { return usesPrimaryAxis_; }
  int lineWidth() const { return lineWidth_; }
  // The image drawn at each point: the given or loaded one, else the symbol
  // type drawn with colours of -1 taking the data set's colour and edge
  // colour, looked up in the table of palette (the chart's area). Null when
  // there is no symbol. A generated image stays at the same address for the
  // data set's life, so a legend key may keep it.
  const DrawArea *symbolImage(DrawArea &palette);
  // The data set's own label format and style, used once a format is set.
  bool hasOwnLabels() const { return hasOwnLabels_; }
  const std::string &labelFormat() const { return labelFormat_; }
  const TextBoxImpl &labelStyle() const { return labelStyle_; }

 private:
  std::vector<double> values_;
  std::string name_;
  int color_ = -1;
  int edgeColor_ = -1;
  int shadowColor_ = -1;
  int shadowEdgeColor_ = -1;
  bool usesPrimaryAxis_ = true;
  int lineWidth_ = -1;
  SymbolType symbol_ = NoSymbol;
  int symbolSize_ = 5;
  int symbolFillColor_ = -1;
  int symbolEdgeColor_ = -1;
  Borrowed<const DrawArea> borrowedImage_;
  AreaHandle ownedImage_;
  // The generated symbol and what it was drawn from; drawn again in place
  // when the symbol settings or the resolved colours change.
  struct SymbolKey {
    int type = NoSymbol;
    int side = 0;
    int fillColor = 0;
    int edgeColor = 0;
    int shapeMode = 0;  // DrawArea::setAntiAlias of the chart's area
    bool operator==(const SymbolKey &) const = default;
  };
  AreaHandle generatedImage_;
  SymbolKey generatedKey_;
  bool hasOwnLabels_ = false;  // a format of its own is set
  bool hasOwnStyle_ = false;
  std::string labelFormat_;
  TextBoxImpl labelStyle_;
  LiveObject live_{static_cast<DataSet *>(this)};  // in the table while alive
};

}  // namespace quorvane

// Data set settings and the symbol image it may own.
#include "xychart/data_set.h"

#include "base/guarded.h"
#include "chart/color_table.h"

namespace quorvane {

DataSetImpl::~DataSetImpl() = default;

void DataSetImpl::setData(int count, const double *values) {
  // Running out of memory leaves the values as they were.
  completes([&] {
    if (count <= 0 || values == nullptr) {
      values_.clear();
      return;
    }
    values_.assign(values, values + count);
  });
}

void DataSetImpl::setDataName(const char *name) {
  completes([&] { name_ = name != nullptr ? name : ""; });
}

void DataSetImpl::setDataColor(int color, int edgeColor, int shadowColor, int shadowEdgeColor) {
  color_ = color;
  edgeColor_ = edgeColor;
  shadowColor_ = shadowColor;
  shadowEdgeColor_ = shadowEdgeColor;
}

void DataSetImpl::setDataSymbol(SymbolType symbol, int size, int fillColor, int edgeColor) {
  symbol_ = symbol;
  symbolSize_ = size;
  symbolFillColor_ = fillColor;
  symbolEdgeColor_ = edgeColor;
  borrowedImage_ = nullptr;
  ownedImage_.reset();
}

void DataSetImpl::setDataSymbol3(const DrawArea *image) {
  ownedImage_.reset();
  borrowedImage_ = image;
  symbol_ = NoSymbol;
}

void DataSetImpl::setDataSymbol2(const char *filename) {
  completes([&] {
    AreaHandle image(DrawArea::create());
    if (!image) return;
    // A file that cannot be read leaves no symbol at all.
    borrowedImage_ = nullptr;
    ownedImage_.reset();
    symbol_ = NoSymbol;
    if (image->load(filename)) ownedImage_ = std::move(image);
  });
}

const DrawArea *DataSetImpl::symbolImage() const {
  return ownedImage_ ? ownedImage_.get() : borrowedImage_;
}

void DataSetImpl::setDataLabelFormat(const char *format) {
  completes([&] {
    labelFormat_ = format != nullptr ? format : "";
    if (!hasOwnStyle_) setDataLabelStyle(nullptr, 8, kTextColor, 0);
    hasOwnLabels_ = true;
  });
}

TextBox *DataSetImpl::setDataLabelStyle(const char *font, double fontSize, int fontColor,
                                        double fontAngle) {
  return guarded<TextBox *>(nullptr, [&] {
    TextBoxData &d = labelStyle_.data();
    d.font = font != nullptr ? font : "";
    d.fontHeight = fontSize;
    d.fontColor = fontColor;
    d.angleDeg = fontAngle;
    hasOwnStyle_ = true;
    return &labelStyle_;
  });
}

}  // namespace quorvane

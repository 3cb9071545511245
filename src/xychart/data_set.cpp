// Data set settings and the symbol image it may own.
#include "xychart/data_set.h"

#include "base/guarded.h"
#include "chart/color_table.h"
#include "drawing/area_access.h"
#include "xychart/symbol.h"

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
  borrowedImage_ = {};
  ownedImage_.reset();
}

void DataSetImpl::setDataSymbol3(const DrawArea *image) {
  ownedImage_.reset();
  borrowedImage_ = Borrowed<const DrawArea>(image);
  symbol_ = NoSymbol;
}

void DataSetImpl::setDataSymbol2(const char *filename) {
  completes([&] {
    AreaHandle image = holdNewArea();
    if (!image) return;
    // A file that cannot be read leaves no symbol at all.
    borrowedImage_ = {};
    ownedImage_.reset();
    symbol_ = NoSymbol;
    if (image->load(filename)) ownedImage_ = std::move(image);
  });
}

const DrawArea *DataSetImpl::symbolImage(DrawArea &palette) {
  if (ownedImage_) return ownedImage_.get();
  // A lent image is the host's, which may destroy it before the chart draws.
  if (borrowedImage_.isSet()) return borrowedImage_.get();
  const int side = symbolSide(symbolSize_);
  if (!isShapeSymbol(symbol_) || side == 0) return nullptr;
  const SymbolKey key{symbol_, side,
                      palette.getARGBColor(symbolFillColor_ == -1 ? color_ : symbolFillColor_),
                      palette.getARGBColor(symbolEdgeColor_ == -1 ? edgeColor_ : symbolEdgeColor_),
                      shapeModeOf(palette)};
  if (generatedImage_ && key == generatedKey_) return generatedImage_.get();
  if (!generatedImage_) {
    generatedImage_ = holdNewArea();
    if (!generatedImage_) return nullptr;
  }
  // A symbol left half drawn is drawn again on the next request.
  generatedKey_ = SymbolKey{};
  const FailureWatch watch;
  generatedImage_->setAntiAlias(key.shapeMode);
  drawSymbol(*generatedImage_, key.type, key.side, key.fillColor, key.edgeColor);
  watch.throwIfFailed();
  generatedKey_ = key;
  return generatedImage_.get();
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
    labelStyle_.data().setStyle(font, fontSize, fontColor, fontAngle);
    hasOwnStyle_ = true;
    return &labelStyle_;
  });
}

}  // namespace quorvane

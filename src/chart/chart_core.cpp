// The common chart pipeline: state, creation sequence, titles and free
// drawables, canvas preparation, the one drawing and its outputs.
#include "chart/chart_core.h"

#include <algorithm>
#include <new>
#include <string>

#include "base/alignment.h"
#include "base/guarded.h"
#include "base/int_math.h"
#include "chart/color_table.h"
#include "chart/text_box.h"
#include "drawing/area_access.h"
#include "drawing/surface_limits.h"

namespace quorvane {

namespace {

constexpr const char *kTitleFont = "arialbd.ttf";

// The end of a list read from a bare pointer: up to 65535 entries for the -1.
constexpr size_t kUnboundedList = static_cast<size_t>(-1);

}  // namespace

ChartCore::ChartCore(ChartTypeHooks &hooks)
    : hooks_(hooks), area_(holdNewArea()), legend_(std::make_unique<LegendBoxImpl>()) {
  if (!area_) throw std::bad_alloc();
  legend_->setChart(this);
  const FailureWatch watch;
  setTableColors(*area_, 0, kDefaultColorTable, std::size(kDefaultColorTable));
  watch.throwIfFailed();
}

ChartCore::~ChartCore() {
  // A drawable added twice is destroyed once, and the legend, should the host
  // have added it, only as the legend; erasing from the set allocates
  // nothing. The library's own drawables ignore destroy(), so the chart that
  // made them deletes them. The legend's texts and the drawables go before
  // the area they were drawn on.
  for (DrawObj *obj : drawables_) {
    if (owned_.erase(obj) == 0) continue;
    if (libraryDrawable(obj) != nullptr) delete obj;
    else obj->destroy();
  }
  legend_.reset();
}

void ChartCore::create(int width, int height, int bgColor, int edgeColor) {
  const FailureWatch watch;
  setSize(width, height);
  if (bgColor != kBackgroundColor) setColor(kBackgroundColor, bgColor);
  setBorder(edgeColor);
  watch.throwIfFailed();
}

void ChartCore::setSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void ChartCore::setBackground(int color, int edgeColor, int raisedEffect) {
  setColor(kBackgroundColor, color);
  borderColor_ = edgeColor;
  raisedEffect_ = raisedEffect;
}

void ChartCore::setWallpaper(const char *img) { setBgImage(img, -1); }

void ChartCore::setBgImage(const char *img, int align) {
  bgImage_ = img != nullptr ? img : "";
  bgImagePlacement_ = align;
}

TextBox *ChartCore::addTitle2(int alignment, const char *text, const char *font,
                              double fontSize, int fontColor, int bgColor, int edgeColor) {
  if (font == nullptr || *font == '\0') font = kTitleFont;
  // Along the edge that the alignment names, as wide as the chart (or, turned
  // at the left and right, as high); the size is the chart's at this call.
  const int w = width_, h = height_;
  int x = 0, y = 0, angle = 0;
  int boxWidth = 0, boxHeight = 0;
  switch (alignment) {
    case 1: case 2: case 3:
      y = clampToInt(int64_t{h} - 1);
      boxWidth = w;
      break;
    case 4:
      angle = 90;
      boxHeight = h;
      break;
    case 5:
      x = w / 2;
      y = h / 2;
      break;
    case 6:
      x = clampToInt(int64_t{w} - 1);
      angle = 90;
      boxHeight = h;
      break;
    default:
      boxWidth = w;
      break;
  }
  TextBox *box = addText(x, y, text, font, fontSize, fontColor, alignment, angle, false);
  if (alignment != 5) box->setSize(boxWidth, boxHeight);
  box->setBackground(bgColor, edgeColor, 0);
  return box;
}

TextBox *ChartCore::addText(int x, int y, const char *text, const char *font, double fontSize,
                            int fontColor, int alignment, double angle, bool vertical) {
  const FailureWatch watch;
  auto box = std::make_unique<TextBoxImpl>();
  box->setPos(x, y);
  box->setFontAngle(angle, vertical);
  box->setFontSize(fontSize, 0);
  box->setAlignment(alignment);
  box->setFontColor(fontColor);
  box->setText(text);
  box->setFontStyle(font, 0);
  watch.throwIfFailed();  // a box without its text or font is not handed out
  box->setChart(this);
  adopt(box.get());
  return box.release();
}

Line *ChartCore::addLine(int x1, int y1, int x2, int y2, int color, int lineWidth) {
  auto line = std::make_unique<LineImpl>();
  line->setPos(x1, y1, x2, y2);
  line->setColor(color);
  line->setWidth(lineWidth);
  line->setChart(this);
  adopt(line.get());
  return line.release();
}

DrawObj *ChartCore::addDrawObj(DrawObj *obj) {
  if (obj == nullptr) return nullptr;
  // A drawable of the library stays with the owner that made it: a chart
  // takes its own again (drawn twice, deleted once), never another's.
  if (const LibraryDrawable *own = libraryDrawable(obj); own != nullptr && own->chart() != this)
    return nullptr;
  adopt(obj);
  return obj;
}

void ChartCore::adopt(DrawObj *obj) {
  // Either both lists take the object or, running out of memory, neither.
  const bool isNew = obj != legend_.get() && owned_.insert(obj).second;
  try {
    drawables_.push_back(obj);
  } catch (...) {
    if (isNew) owned_.erase(obj);
    throw;
  }
}

LegendBox *ChartCore::addLegend(int x, int y, bool vertical, const char *font, double fontSize) {
  LegendBoxImpl &legend = *legend_;
  const FailureWatch watch;
  legend.setFontStyle(font, 0);  // the one step that allocates goes first
  watch.throwIfFailed();
  legend.setVisible(true);
  legend.setPos(x, y);
  legend.setVertical(vertical);
  legend.setFontSize(fontSize, 0);
  legend.data().edgeColor = kLineColor;
  return &legend;
}

LegendBox *ChartCore::getLegend() { return legend_->isVisible() ? legend_.get() : nullptr; }

void ChartCore::setColor(int paramId, int color) { area_->setColorTable(&color, 1, paramId & 0xFFFF); }

void ChartCore::setColors2(int paramId, const int *colors) {
  setTableColors(*area_, paramId, colors, kUnboundedList);
}

bool ChartCore::hasDrawableSize() const {
  return surfaceSizeAllowed(std::max(width_, 1), std::max(height_, 1));
}

template <class Stage>
void ChartCore::runStage(Stage &&stage) {
  // Broken until the stage completes, so a stage that throws leaves it so.
  const FailureWatch watch;
  const bool wasBroken = isBroken_;
  isBroken_ = true;
  stage();
  isBroken_ = wasBroken || watch.sawFailure();
}

DrawArea *ChartCore::getDrawArea() {
  if (!isCanvasReady_ && !hasDrawableSize()) return nullptr;
  prepareCanvas();
  return isBroken_ ? nullptr : area_.get();
}

void ChartCore::prepareCanvas() {
  if (isCanvasReady_) return;
  isCanvasReady_ = true;
  runStage([this] {
    area_->setSize(width_, height_, kBackgroundColor);
    if (bgImage_.empty()) return;
    // An image that cannot be read is not placed: the background colour stays.
    AreaHandle image = holdNewArea();
    if (!image || !image->load(bgImage_.c_str())) return;
    const int placement = bgImagePlacement_;
    if (placement < 1 || placement > 9) {
      area_->tile(image.get(), 0);
      return;
    }
    // The chart corner, edge centre or centre that the placement names.
    const int w = area_->getWidth(), h = area_->getHeight();
    const int x = static_cast<int>(alignedOffsetX(placement, w));
    const int y = static_cast<int>(alignedOffsetY(placement, h));
    area_->merge(image.get(), x, y, placement, 0);
  });
}

void ChartCore::layout() {
  if (isLaidOut_) return;
  isLaidOut_ = true;
  runStage([this] {
    hooks_.layoutChart();
    if (legend_->isVisible()) legend_->layout(*area_);
  });
}

bool ChartCore::draw() {
  if (!isDrawn_) {
    if (!hasDrawableSize()) return false;  // nothing drawn: a smaller size may still draw
    isDrawn_ = true;
    runStage([this] {
      layout();
      prepareCanvas();
      {
        // Sectors, bars and area bands meet edge to edge: with smooth shapes
        // their shares of a shared pixel add up to the whole of it.
        const SeamGroup seams(*area_);
        hooks_.drawChartBody(*area_);
      }
      legend_->draw(area_.get());  // nothing while hidden
      // Only what was added before this drawing: a host drawable that adds
      // drawables while it draws does not get them drawn.
      const size_t count = drawables_.size();
      for (size_t i = 0; i < count; ++i) drawables_[i]->draw(area_.get());
      area_->rect(0, 0, clampToInt(int64_t{width_} - 1), clampToInt(int64_t{height_} - 1),
                  borderColor_, Transparent, raisedEffect_);
    });
  }
  return !isBroken_;
}

bool ChartCore::drawForOutput() {
  if (draw()) return true;
  if (isBroken_) {
    lastError_.setFixed(
        "the chart is broken: memory ran out while it was laid out or drawn; destroy it and "
        "build it again");
  } else {
    lastError_.set("the chart is ", std::to_string(width_), " x ", std::to_string(height_),
                   " pixels, above the size limits (", std::to_string(kMaxSurfaceSide),
                   " a side, ", std::to_string(kMaxSurfacePixels), " pixels in all)");
  }
  return false;
}

void ChartCore::takeAreaError() {
  const char *reason = area_->getLastError();
  if (*reason != '\0') lastError_.set(reason);
}

DrawArea *ChartCore::makeChart3() { return drawForOutput() ? area_.get() : nullptr; }

bool ChartCore::makeChart2(int format, const char **data, int *len) {
  if (data != nullptr) *data = nullptr;
  if (len != nullptr) *len = 0;
  if (!drawForOutput()) return false;
  const char *bytes = nullptr;
  int count = 0;
  bool ok;
  switch (format) {
    case BaseChart::GIF: ok = area_->outGIF2(&bytes, &count); break;
    case BaseChart::JPG: ok = area_->outJPG2(&bytes, &count, 80); break;
    case BaseChart::WMP: ok = area_->outWMP2(&bytes, &count); break;
    default: ok = area_->outPNG2(&bytes, &count); break;
  }
  if (data != nullptr) *data = bytes;
  if (len != nullptr) *len = count;
  if (!ok) takeAreaError();
  return ok;
}

MemBlock ChartCore::makeChart2(int format) {
  const char *data = nullptr;
  int len = 0;
  if (!makeChart2(format, &data, &len)) return MemBlock{0, nullptr};
  return MemBlock{len, data};
}

bool ChartCore::makeChart(const char *filename) {
  if (!drawForOutput()) return false;
  if (filename == nullptr || *filename == '\0') return true;
  if (area_->out(filename)) return true;
  takeAreaError();
  return false;
}

const char *ChartCore::getHTMLImageMap(const char *url, const char *queryFormat,
                                       const char *extraAttr) {
  // A map built while one of its parts failed would be incomplete.
  const FailureWatch watch;
  imageMap_.clear();
  if (isBroken_ || !hooks_.appendImageMap(imageMap_, url, queryFormat, extraAttr) ||
      watch.sawFailure())
    return nullptr;
  return imageMap_.c_str();
}

}  // namespace quorvane

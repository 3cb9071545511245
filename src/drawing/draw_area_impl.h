// DrawAreaImpl: the published DrawArea over a raster surface. It keeps the
// area's colours (AreaColors) and its pixels with their writers (Surface),
// the shape and text modes, the encoder settings and the shapes' work
// buffers. Shapes look their colours up once per primitive and write through
// the surface, the aliased ones in spans and columns, the smooth ones in
// coverage runs from the rasteriser; texts and the codecs reach the surface
// through their own narrow views. An area that an owner inside the library
// holds (a chart's own area, a data set's symbol) ignores destroy(): its
// handle may reach a host, which must not free it.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "base/guarded.h"
#include "base/last_error.h"
#include "base/live_objects.h"
#include "drawing/area_access.h"
#include "drawing/area_colors.h"
#include "drawing/coverage.h"
#include "drawing/edge_list.h"
#include "drawing/surface.h"
#include "quorvane.h"
#include "text/text_canvas.h"

namespace quorvane {

namespace imageio {
struct ImageView;
}

class DrawAreaImpl final : public DrawArea {
 public:
  DrawAreaImpl();
  ~DrawAreaImpl() override;
  DrawAreaImpl(const DrawAreaImpl &) = delete;
  DrawAreaImpl &operator=(const DrawAreaImpl &) = delete;

  // DrawArea
  void destroy() override;
  void setSize(int width, int height, int bgColor) override;
  int getWidth() override;
  int getHeight() override;
  void setBgColor(int color) override;
  void pixel(int x, int y, int color) override;
  int getPixel(int x, int y) override;
  void hline(int x1, int x2, int y, int color) override;
  void vline(int y1, int y2, int x, int color) override;
  void line(int x1, int y1, int x2, int y2, int color, int lineWidth) override;
  void arc(int cx, int cy, int rx, int ry, double a1, double a2, int color) override;
  void rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor,
            int raisedEffect) override;
  void polygon(const int *x, const int *y, int n, int edgeColor, int fillColor) override;
  void surface(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor,
               int fillColor) override;
  void sector(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor,
              int fillColor) override;
  void cylinder(int cx, int cy, int rx, int ry, double a1, double a2, int depthX, int depthY,
                int edgeColor, int fillColor) override;
  void circle(int cx, int cy, int rx, int ry, int edgeColor, int fillColor) override;
  void fill(int x, int y, int color) override;
  void fill2(int x, int y, int color, int borderColor) override;
  TTFText *text3(const char16_t *text, const char *font, double fontSize) override;
  TTFText *text3(const char *text, const char *font, double fontSize) override;
  TTFText *text4(const char *text, const char *font, int fontIndex, double fontHeight,
                 double fontWidth, double angle, int vertical) override;
  TTFText *text4(const char16_t *text, const char *font, int fontIndex, double fontHeight,
                 double fontWidth, double angle, int vertical) override;
  void text(const char16_t *text, const char *font, double fontSize, int x, int y,
            int color) override;
  void text(const char *text, const char *font, double fontSize, int x, int y,
            int color) override;
  void text2(const char16_t *text, const char *font, int fontIndex, double fontHeight,
             double fontWidth, double angle, int vertical, int x, int y, int color,
             int alignment) override;
  void text2(const char *text, const char *font, int fontIndex, double fontHeight,
             double fontWidth, double angle, int vertical, int x, int y, int color,
             int alignment) override;
  void close(TTFText *text) override;
  void merge(const DrawArea *src, int x, int y, int alignment, int transparency) override;
  void tile(const DrawArea *src, int transparency) override;
  bool loadGIF(const char *filename) override;
  bool loadPNG(const char *filename) override;
  bool loadJPG(const char *filename) override;
  bool loadWMP(const char *filename) override;
  bool load(const char *filename) override;
  bool out(const char *filename) override;
  MemBlock outGIF2() override;
  bool outGIF2(const char **data, int *len) override;
  bool outGIF(const char *filename) override;
  MemBlock outPNG2() override;
  bool outPNG2(const char **data, int *len) override;
  bool outPNG(const char *filename) override;
  MemBlock outJPG2(int quality) override;
  bool outJPG2(const char **data, int *len, int quality) override;
  bool outJPG(const char *filename, int quality) override;
  MemBlock outWMP2() override;
  bool outWMP2(const char **data, int *len) override;
  bool outWMP(const char *filename) override;
  void setPaletteMode(int mode) override;
  void setDitherMethod(int method) override;
  void setTransparentColor(int color) override;
  void setAntiAliasText(int mode) override;
  void setInterlace(int flag) override;
  void setColorTable(const int *colors, int n, int offset) override;
  int getColorAt(int color, int x, int y) override;
  int getARGBColor(int color) override;
  int dashLineColor(int color, int dashPattern) override;
  int patternColor2(const char *filename, int startX, int startY) override;
  int patternColor(const int *pixels, int width, int height, int startX, int startY) override;
  int gradientColor(int x1, int y1, int x2, int y2, int color1, int color2) override;
  int gradientColor2(const int *stops, double angle, double scale, int startX,
                     int startY) override;
  void setAntiAlias(int shapeMode) override {
    isSmooth_ = shapeMode != 0;
    surface_.setFineCoverage(shapeMode == 2);
  }
  const char *getLastError() override { return lastError_.text(); }

  // Internal operations for the other subsystems.

  // gradientColor2 over a list of known length (stopInts ints), used where
  // the length is known, so that a short list is never read past.
  int gradientColor2Bounded(const int *stops, size_t stopInts, double angle, double scale,
                            int startX, int startY);
  // The n points (more than two) joined as one smooth stroke.
  void polyline(const int *x, const int *y, int n, int color, int lineWidth);
  // The text mode in effect: grey levels for smooth shapes unless a text
  // mode was chosen.
  int antiAliasMode() const {
    return isSmooth_ && !isTextModeChosen_ ? TTFText::AntiAliasOn : antiAliasMode_;
  }
  // The mode setAntiAlias was given, as far as it matters (0, 1 or 2).
  int shapeMode() const { return !isSmooth_ ? 0 : surface_.hasFineCoverage() ? 2 : 1; }
  // The text mode set with setAntiAliasText (the automatic one until then).
  int chosenTextMode() const { return antiAliasMode_; }
  // Whether texts are grey because of smooth shapes in steps.
  bool hasSteppedTextLevels() const {
    return isSmooth_ && !isTextModeChosen_ && !surface_.hasFineCoverage();
  }
  // Replaces size and pixels at once with a decoded image (width * height
  // values, both sides at least 1).
  void adoptImage(int width, int height, std::vector<uint32_t> &&pixels);
  // Keeps the bytes of a memory output, releasing the previous one, and
  // returns them as a block; an empty block when the encoder failed or the
  // bytes do not fit an int length.
  MemBlock keepMemoryOutput(bool encoded, std::vector<char> &&bytes);

  // The ellipse quarter table for radii rx, ry (1 ... kMaxRadius), rebuilt only
  // when the radii change.
  const std::vector<QuarterRow> &quarterTable(int64_t rx, int64_t ry);

  // Whether an ellipse is degenerate or lies wholly outside the area.
  bool ellipseMissesArea(int cx, int cy, int rx, int ry) const;

  // Fills and outlines a closed list of edges (polygons, sectors, walls).
  void drawEdges(EdgeList &edges, uint32_t edgeColor, uint32_t fillColor);

  // Seam groups (drawing/area_access.h) keep their bookkeeping in the surface.
  using SeamGroup = quorvane::SeamGroup;
  friend class quorvane::SeamGroup;

  // Held by an owner inside the library: only release() deletes it then.
  void hold() { isHeld_ = true; }
  void release() { delete this; }

  // The view through which this area's texts draw; made at the first text.
  // Texts keep it weakly, so a text that outlives the area draws nothing.
  const std::shared_ptr<text::TextCanvas> &textCanvas();

  // Radii above this draw nothing: the quarter table is ry + 1 rows and its
  // integer arithmetic stays within 64 bits up to here.
  static constexpr int64_t kMaxRadius = int64_t{1} << 20;
  // Polygons of more points draw nothing: the edge list takes under 200
  // bytes a point, so one polygon stays below 200 MB.
  static constexpr int kMaxPolygonPoints = 1 << 20;

 private:
  // The pixels and settings the encoders read.
  imageio::ImageView imageView() const;
  // Settles stepped smooth blends into a palette before a palette output.
  void settleSmoothLevels(bool isPalette);
  // A file output through encode(sink): the file is created or truncated,
  // and closed even when encoding fails.
  template <typename Encode>
  bool encodeToFile(const char *filename, const char *format, Encode encode);
  // A memory output through encode(sink, view), kept as keepMemoryOutput does.
  template <typename Encode>
  MemBlock encodeToMemory(const char *format, Encode encode);
  // Sets the last error for a format's encoder that failed (encoded false)
  // or whose bytes could not be kept (encoded true).
  void explainEncoderFailure(const char *format, bool encoded);
  template <typename Fillable, typename Paint>
  void floodFill(int x, int y, Fillable fillable, Paint paint);

  AreaColors colors_;
  Surface surface_{colors_};
  std::vector<char> memoryOutput_;  // bytes of the last memory output
  LastError lastError_;             // why the last output failed
  int interlace_ = 0;
  uint32_t transparentColor_ = kTransparent;
  int antiAliasMode_ = 2;
  bool isTextModeChosen_ = false;  // setAntiAliasText was called
  bool isSmooth_ = false;          // shapes anti-aliased
  int paletteMode_ = 0;
  int ditherMethod_ = 2;
  std::vector<QuarterRow> quarter_;  // shape work buffer: the last quarter table
  std::vector<uint8_t> visited_;     // flood-fill marks, reused
  CoverageScratch coverageScratch_;  // smooth shapes' work buffers, reused
  std::shared_ptr<text::TextCanvas> textCanvas_;
  bool isHeld_ = false;
  LiveObject live_{static_cast<DrawArea *>(this)};  // in the table while alive
};

}  // namespace quorvane

// quorvane.h: the published interface of the Quorvane chart library.
// Every class is an interface of pure virtual operations; the library's own
// implementation classes derive from them. The order of the operations is part
// of the binary interface: never insert, drop or reorder one.
// Objects come from DrawArea::create, XYChart::create and PieChart::create or
// from their owner, and are released only by destroy() of the object or its owner.
//
// No operation lets an exception out, whatever it is passed. An operation that
// runs out of memory fails as its declaration says, or where it says nothing:
// a pointer result is null, a bool false, a MemBlock empty, a colour value
// Transparent, and an operation without a result does nothing (what it had
// drawn of a shape before may stay). The object stays usable.
//
// Size limits: a drawing surface (a DrawArea, a chart, a pattern) is at most
// 65535 pixels a side and 2^28 (268,435,456) pixels in all, which holds a
// 16384 x 16384 image; image files read are at most 2^26 pixels.

#ifndef QUORVANE_H
#define QUORVANE_H

#ifndef __cplusplus
#error "quorvane.h is a C++ header"
#endif

// The library is built with hidden symbols; only the seven entry points below
// are exported. The classes are not: callers reach them through virtual calls.
#if defined(__GNUC__)
#define QUORVANE_API __attribute__((visibility("default")))
#else
#define QUORVANE_API
#endif

class DrawArea;
class TTFText;
class BaseChart;
class ChartOptions;
class DrawObj;
class Box;
class TextBox;
class Line;
class LegendBox;
class BaseAxis;
class XAxis;
class YAxis;
class Mark;
class Layer;
class DataSet;
class BarLayer;
class LineLayer;
class AreaLayer;
class HLOCLayer;
class PlotArea;
class XYChart;
class PieChart;
class Sector;

// ---------------------------------------------------------------------------
// Shared values
// ---------------------------------------------------------------------------

// A colour is an int read as 0xAARRGGBB, AA being transparency (0 opaque,
// 255 invisible). 0xFFFF0000 + n names entry n of the area's colour table,
// 0xFFFE0000 + n its special colour n (dash, pattern, gradient). Colours are
// resolved only when pixels are drawn.
// Transparent means "no colour": an operation given it draws nothing for that role.
inline constexpr int Transparent = static_cast<int>(0xFF000000u);

// Marks a missing data point, and an unset limit or step; numeric label and
// image-map fields holding it expand to the empty string.
inline constexpr double NoValue = 1.7e+308;

// Encoded image bytes owned by the DrawArea that produced them, valid until its
// next memory output or its destruction. An empty block is {0, nullptr}.
struct MemBlock {
    int len;
    const char *data;
};

// The reference point of a text, box or merged image, laid out like a numeric
// keypad. Any other value acts as AlignTopLeft. The enumerations have int as
// their underlying type so that every int received from a caller is a value.
enum Alignment : int {
    AlignBottomLeft = 1,
    AlignBottomCentre = 2,
    AlignBottomRight = 3,
    AlignLeft = 4,
    AlignCentre = 5,
    AlignRight = 6,
    AlignTopLeft = 7,
    AlignTopCentre = 8,
    AlignTopRight = 9
};

// Data symbols, drawn into a square of side s (the symbol size) centred on the point.
enum SymbolType : int {
    NoSymbol = 0,
    SquareSymbol = 1,
    DiamondSymbol = 2,
    TriangleSymbol = 3,          // apex up
    LeftTriangleSymbol = 4,      // apex left
    RightTriangleSymbol = 5,     // apex right
    InvertedTriangleSymbol = 6,  // apex down
    CircleSymbol = 7,
    CrossSymbol = 8,             // upright cross in the fill colour
    Cross2Symbol = 9             // diagonal cross in the fill colour
};

// ---------------------------------------------------------------------------
// Drawing surface
// ---------------------------------------------------------------------------

// A raster image of 32-bit colour values, at least 1 x 1, with the settings its
// encoders read, a colour table and a list of special colours. Drawing clips to
// the area and blends by the transparency byte; nothing is anti-aliased except
// text. Angles of arcs and sectors are degrees clockwise from 12 o'clock.
class DrawArea {
public:
    // How the PNG writer stores colours. GIF output always reduces as ForcePalette.
    // Any other value acts as TryPalette.
    enum PaletteMode : int {
        TryPalette = 0,    // palette when at most 256 colours, else RGBA
        ForcePalette = 1,  // always a palette; more colours go to a 6x6x6 cube
        NoPalette = 2      // always RGBA
    };

    // How more than 256 colours (or one bit, for WBMP) are reached. Any other
    // value acts as Quantize.
    enum DitherMethod : int {
        Quantize = 0,       // nearest colour
        OrderedDither = 1,  // 4 x 4 ordered dither
        ErrorDiffusion = 2  // Floyd-Steinberg
    };

    // How shapes are drawn (setAntiAlias). Any other value acts as SmoothQuarters.
    enum SmoothMode : int {
        SmoothOff = 0,       // pixel-exact and aliased
        SmoothQuarters = 1,  // edge coverage in 16ths, quarters for rare colour pairs
        SmoothFine = 2       // edge coverage in 255 steps: the finest edges
    };

    // A new 1 x 1 area painted opaque white; null only when memory runs out.
    QUORVANE_API static DrawArea *create();

    // Deletes the area with its special colours and its last memory output.
    virtual void destroy() = 0;
    virtual ~DrawArea() = default;
    // Resizes to width x height (a size below 1 becomes 1), keeping the pixels of
    // the overlap and setting new ones to bgColor unblended; a 1 x 1 area is repainted whole.
    // A size above 65535 a side or 2^28 pixels in all is refused, as is one that
    // memory cannot hold: the area keeps its size and pixels.
    virtual void setSize(int width, int height, int bgColor) = 0;
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    // Sets every pixel to color without blending; a special colour is evaluated per pixel.
    virtual void setBgColor(int color) = 0;
    // Blends color into pixel (x, y); outside the area, or with Transparent, nothing happens.
    virtual void pixel(int x, int y, int color) = 0;
    // The stored value of pixel (x, y), transparency byte included; Transparent outside the area.
    virtual int getPixel(int x, int y) = 0;

    // Pixels x1..x2 (either order) of row y.
    virtual void hline(int x1, int x2, int y, int color) = 0;
    // Pixels y1..y2 (either order) of column x.
    virtual void vline(int y1, int y2, int x, int color) = 0;
    // A line lineWidth pixels thick across its major axis, with flat ends; a width
    // below 1 draws nothing. A dash colour starts its pattern at (x1, y1).
    virtual void line(int x1, int y1, int x2, int y2, int color, int lineWidth) = 0;
    // The outline of the ellipse at (cx, cy) with radii rx, ry, clockwise from a1 to a2.
    virtual void arc(int cx, int cy, int rx, int ry, double a1, double a2, int color) = 0;
    // Outlines the rectangle in edgeColor and fills its interior with fillColor; a
    // non-zero raisedEffect adds that many light and dark bevel rings (negative: sunken).
    virtual void rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor,
                      int raisedEffect) = 0;
    // Fills and outlines the polygon of the n points (x[i], y[i]); n < 3 or
    // n > 1,048,576 draws nothing.
    virtual void polygon(const int *x, const int *y, int n, int edgeColor, int fillColor) = 0;
    // The face swept by the segment (x1, y1)-(x2, y2) moved by (depthX, -depthY);
    // special colours are sheared so that they run along the face.
    virtual void surface(int x1, int y1, int x2, int y2, int depthX, int depthY,
                         int edgeColor, int fillColor) = 0;
    // The pie slice of the ellipse from a1 clockwise to a2.
    virtual void sector(int cx, int cy, int rx, int ry, double a1, double a2,
                        int edgeColor, int fillColor) = 0;
    // The curved wall of a 3D pie slice: the arc a1..a2 and its copy moved by
    // (depthX, depthY), joined at both ends.
    virtual void cylinder(int cx, int cy, int rx, int ry, double a1, double a2,
                          int depthX, int depthY, int edgeColor, int fillColor) = 0;
    // The axis-aligned ellipse with radii rx, ry; a radius below 1 draws nothing.
    virtual void circle(int cx, int cy, int rx, int ry, int edgeColor, int fillColor) = 0;
    // Replaces the 4-connected region of the seed pixel's value by color,
    // unblended; a dash, pattern or gradient colour is evaluated at each pixel.
    virtual void fill(int x, int y, int color) = 0;
    // Draws color over the 4-connected region around (x, y) bounded by pixels
    // equal to color or borderColor.
    virtual void fill2(int x, int y, int color, int borderColor) = 0;

    // Text: font is a font file name (empty or not found: the fallback font), sizes
    // are points at 96 dpi, angles degrees anticlockwise, a line feed starts a new
    // line. Byte strings are UTF-8, else the process's multi-byte code page;
    // char16_t strings are UTF-16. Texts returned here belong to the caller.

    // text4(text, font, 0, fontSize, fontSize, 0, 0).
    virtual TTFText *text3(const char16_t *text, const char *font, double fontSize) = 0;
    virtual TTFText *text3(const char *text, const char *font, double fontSize) = 0;
    // Lays out text at fontHeight x fontWidth points (fontWidth 0: the height), turned
    // by angle, stacked top to bottom when vertical; fontIndex is accepted and unused.
    // Release it with close().
    virtual TTFText *text4(const char *text, const char *font, int fontIndex,
                           double fontHeight, double fontWidth, double angle,
                           int vertical) = 0;
    virtual TTFText *text4(const char16_t *text, const char *font, int fontIndex,
                           double fontHeight, double fontWidth, double angle,
                           int vertical) = 0;
    // text2(text, font, 0, fontSize, fontSize, 0, 0, x, y, color, AlignTopLeft).
    virtual void text(const char16_t *text, const char *font, double fontSize,
                      int x, int y, int color) = 0;
    virtual void text(const char *text, const char *font, double fontSize,
                      int x, int y, int color) = 0;
    // Lays out, draws with the point named by alignment at (x, y), and discards a
    // text; Transparent or a size not above 0 draws nothing.
    virtual void text2(const char16_t *text, const char *font, int fontIndex,
                       double fontHeight, double fontWidth, double angle, int vertical,
                       int x, int y, int color, int alignment) = 0;
    virtual void text2(const char *text, const char *font, int fontIndex,
                       double fontHeight, double fontWidth, double angle, int vertical,
                       int x, int y, int color, int alignment) = 0;
    // Destroys a text made by text3 or text4; null is ignored.
    virtual void close(TTFText *text) = 0;

    // Draws src with its point named by alignment at (x, y), through pixel(); its
    // opacity is multiplied by (255 - transparency) / 255, and above 254 nothing is drawn.
    virtual void merge(const DrawArea *src, int x, int y, int alignment,
                       int transparency) = 0;
    // Merges src top-left aligned at every multiple of its size, covering the area.
    virtual void tile(const DrawArea *src, int transparency) = 0;

    // Loaders replace size and pixels by the file's (first) image. They return false,
    // leaving the area unchanged, for an unreadable or invalid file or an image
    // outside 1..65535 per side or above 2^26 pixels. Pixel data that is cut short
    // after a valid GIF or WBMP header ends decoding early and still loads.
    virtual bool loadGIF(const char *filename) = 0;
    virtual bool loadPNG(const char *filename) = 0;
    virtual bool loadJPG(const char *filename) = 0;
    virtual bool loadWMP(const char *filename) = 0;
    // Chooses the loader by the name's ending, ignoring case: .gif, .jpg or .jpeg,
    // .png, .wbmp or .wmp; any other name is read as GIF.
    virtual bool load(const char *filename) = 0;

    // Writes by the name's ending, ignoring case: .gif, .jpg or .jpeg (quality 80),
    // .png, .wbmp or .wmp; any other name is written as PNG.
    virtual bool out(const char *filename) = 0;

    // Memory outputs encode into a buffer owned by the area, valid until its next
    // memory output or destroy; an empty block on failure. The out-parameter forms
    // deliver the same bytes through data and len, and on failure return false with
    // null and 0. File outputs return false when the file cannot be written or the
    // codec fails. getLastError tells why.

    // GIF: at most 256 colours; more are reduced to the 6x6x6 cube by the dither method.
    // The format holds sizes up to 65535: a larger area fails.
    virtual MemBlock outGIF2() = 0;
    virtual bool outGIF2(const char **data, int *len) = 0;
    virtual bool outGIF(const char *filename) = 0;
    // PNG: palette or 8-bit RGBA by the palette mode.
    virtual MemBlock outPNG2() = 0;
    virtual bool outPNG2(const char **data, int *len) = 0;
    virtual bool outPNG(const char *filename) = 0;
    // JPEG at quality 0..100; a negative quality takes the codec's default.
    virtual MemBlock outJPG2(int quality) = 0;
    virtual bool outJPG2(const char **data, int *len, int quality) = 0;
    virtual bool outJPG(const char *filename, int quality) = 0;
    // WBMP: one bit per pixel, white or black by R + G + B and the dither method.
    virtual MemBlock outWMP2() = 0;
    virtual bool outWMP2(const char **data, int *len) = 0;
    virtual bool outWMP(const char *filename) = 0;

    // A PaletteMode; stored unchecked.
    virtual void setPaletteMode(int mode) = 0;
    // A DitherMethod; stored unchecked.
    virtual void setDitherMethod(int method) = 0;
    // The colour (by its RGB) that GIF and PNG output mark transparent; a table
    // colour is looked up now. Transparent means none.
    virtual void setTransparentColor(int color) = 0;
    // A TTFText::AntiAliasMode for texts created afterwards.
    virtual void setAntiAliasText(int mode) = 0;
    // Non-zero writes interlaced GIF and PNG and progressive JPEG.
    virtual void setInterlace(int flag) = 0;
    // Stores colors[0..n-1] unchanged as table entries offset.., growing the table
    // with Transparent entries; at most 0xFFFE entries. n < 1 or offset < 0 does nothing.
    virtual void setColorTable(const int *colors, int n, int offset) = 0;
    // The colour that color draws at (x, y): table lookup, then special-colour
    // evaluation (which advances a dash pattern).
    virtual int getColorAt(int color, int x, int y) = 0;
    // A table colour's entry (Transparent outside the table); one level only. Any
    // other value is returned unchanged.
    virtual int getARGBColor(int color) = 0;

    // Special colours: each call appends one to the area and returns its colour
    // value 0xFFFE0000 + index. Colours given to them are stored unresolved.

    // color along dashPattern: four bytes from the top give dash, gap, dash, gap
    // lengths in pixels; 0 means 0x0505. Connected runs continue the pattern.
    virtual int dashLineColor(int color, int dashPattern) = 0;
    // Tiles the image in filename with its top-left at (startX, startY); a file
    // that fails to load gives 1 x 1 white.
    virtual int patternColor2(const char *filename, int startX, int startY) = 0;
    // Tiles a copy of width x height pixels with its top-left at (startX, startY);
    // a size outside 1..65535 a side or above 2^28 pixels draws nothing.
    virtual int patternColor(const int *pixels, int width, int height, int startX,
                             int startY) = 0;
    // A linear ramp from color1 at (x1, y1) to color2 at (x2, y2), repeating beyond.
    virtual int gradientColor(int x1, int y1, int x2, int y2, int color1, int color2) = 0;
    // A ramp from (position, colour) pairs in stops, positions rising from at most 0
    // to at least 255; it runs at angle degrees (0: downwards) with one of its 256
    // entries per scale pixels from (startX, startY), repeating.
    virtual int gradientColor2(const int *stops, double angle, double scale, int startX,
                               int startY) = 0;

    // Operations added after the first release; they follow all the others so
    // that the slots above keep their places.

    // A SmoothMode for the shapes drawn afterwards. SmoothOff (the default):
    // every shape is drawn pixel-exact and aliased, as described above.
    // SmoothQuarters (or any value but 0 and 2): slanted lines (every width,
    // dashed or not), polygons, surfaces, ellipses, arcs, sectors and cylinders
    // are drawn with exact-area coverage and blended over what is there, their
    // outlines running through the centres of the pixels named by the
    // coordinates and their edges drawn with a one-pixel pen; special colours
    // are evaluated per pixel and dashes along the outline. Coverage is rounded
    // to the nearest 16th of a pixel, each partly covered pixel being a mix of
    // a pair of colours (the shape's over what lay under it). When a PNG or GIF
    // is written, an image of more than 256 colours has its rarest pairs (those
    // blending the fewest pixels) put on quarters, until it fits (ties round
    // to the even level). When the pairs
    // are too many even for quarters (chains of blends over blends), the
    // commonest pairs keep 16 levels while they fit, the others quarters, and
    // the rarest blends past 256 colours take the nearest colour kept, so
    // that a chart stays a palette image and those pixels change to what the
    // image holds. SmoothFine: coverage in 255 steps, the finest edges, at the cost
    // of many more colours (a PNG then usually holds true colour).
    // Points, runs, rectangles, fills and lines along a row or a column are
    // drawn as in the default mode, so they stay sharp. Texts made while the mode
    // is on use grey anti-aliasing (AntiAliasOn) unless setAntiAliasText chose
    // a mode for this area.
    virtual void setAntiAlias(int shapeMode) = 0;

    // Why the area's last output operation (out, outGIF, outPNG, outJPG,
    // outWMP, or a memory output) failed, as one line of plain text: "cannot
    // write /no/such/dir/x.png: No such file or directory" (the system's
    // message for the error, the name exactly as given), "cannot encode a
    // 65501 x 10 image as JPEG: JPEG holds at most 65500 pixels a side",
    // "out of memory". Empty until an output fails, and again after one
    // succeeds; never null. The text is the area's, not the thread's: an
    // output of another area leaves it alone. Valid until the area's next
    // output or destroy. A name is returned as it was given: a host that
    // shows the text in a page must escape it.
    virtual const char *getLastError() = 0;
};

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

// A piece of text laid out once in one font, size and angle, measured and drawn
// any number of times into the DrawArea that made it. A text without a usable
// font measures 0 x 0 and draws nothing.
class TTFText {
public:
    // Glyph rendering. Any value other than 0 and 1 acts as AntiAliasAuto.
    enum AntiAliasMode : int {
        AntiAliasOff = 0,  // one-bit glyphs
        AntiAliasOn = 1,   // 256 grey levels
        AntiAliasAuto = 2  // one-bit for small text at a right angle, not Type 1, else grey
    };

    // Deletes the text (as DrawArea::close does).
    virtual void destroy() = 0;
    virtual ~TTFText() = default;
    // Width of the bounding box of all lines, in pixels.
    virtual int getWidth() = 0;
    // Height of the bounding box of all lines, in pixels.
    virtual int getHeight() = 0;
    // Height of one line (of the last line of a multi-line text).
    virtual int getLineHeight() = 0;
    // Distance between the baselines of consecutive lines (of the last line).
    virtual int getLineDistance() = 0;
    // Draws the text in color with the bounding-box point named by alignment at (x, y).
    virtual void draw(int x, int y, int color, Alignment alignment) = 0;
};

// ---------------------------------------------------------------------------
// Chart framework
// ---------------------------------------------------------------------------

// What every chart has: size, background, border, titles, free texts and
// lines, legend, colour table and output. A chart lays itself out and draws
// itself once, at its first output; later outputs re-encode that drawing, so
// changes made after it do not show. Handles it returns die with it.
// A chart whose layout or drawing runs out of memory part way is broken: it
// never passes off a partial picture or image map, so from then on
// getDrawArea, makeChart3 and getHTMLImageMap return null, makeChart2 an
// empty block and makeChart false. Destroy it and build it again.
class BaseChart {
public:
    // The encoding of makeChart2. Any other value acts as PNG.
    enum ImgFormat : int {
        PNG = 0,
        GIF = 1,
        JPG = 2,  // quality 80
        WMP = 3
    };

    virtual ~BaseChart() = default;
    // Deletes the chart and everything it owns; handles, texts and MemBlocks
    // obtained from it become invalid.
    virtual void destroy() = 0;
    // Chart size in pixels (480 x 360 until set); a size below 1 counts as 1. A
    // chart above the surface limits (65535 a side, 2^28 pixels) draws nothing
    // and its outputs fail until it is made smaller.
    virtual void setSize(int width, int height) = 0;
    // Background colour (colour table entry 0), border colour and border bevel.
    virtual void setBackground(int color, int edgeColor, int raisedEffect) = 0;
    // Border colour; Transparent (the default) draws none.
    virtual void setBorder(int color) = 0;
    // Tiles the image file img over the background.
    virtual void setWallpaper(const char *img) = 0;
    // Places the image file img at the chart corner, edge centre or centre that
    // align names; any other value tiles it. An image file that cannot be read
    // is left out and the background colour shows.
    virtual void setBgImage(const char *img, int align) = 0;
    // DrawArea::setTransparentColor on the chart's area.
    virtual void setTransparentColor(int c) = 0;
    // addTitle2(AlignTopCentre, ...).
    virtual TextBox *addTitle(const char *text, const char *font, double fontSize,
                              int fontColor, int bgColor, int edgeColor) = 0;
    // A title box along the chart edge that alignment names, as wide (or, turned
    // 90 degrees at the left and right, as high) as the chart; 5 centres it. A null
    // or empty font is "arialbd.ttf".
    virtual TextBox *addTitle2(int alignment, const char *text, const char *font,
                               double fontSize, int fontColor, int bgColor,
                               int edgeColor) = 0;
    // Shows the legend with its top-left at (x, y), one key per row when vertical,
    // and returns it.
    virtual LegendBox *addLegend(int x, int y, bool vertical, const char *font,
                                 double fontSize) = 0;
    // The legend, or null before addLegend.
    virtual LegendBox *getLegend() = 0;
    // The chart's area, sized and painted with the background at the first call;
    // what the host draws on it lies under the chart body. Null for a chart above
    // the size limits (before its canvas was made) or a broken one.
    virtual DrawArea *getDrawArea() = 0;
    // Appends obj to the objects drawn after the chart body and takes ownership of
    // it (the chart calls its destroy, once even if obj was added twice); returns
    // obj. Null is ignored. Out of memory it returns null and obj stays the caller's.
    virtual DrawObj *addDrawObj(DrawObj *obj) = 0;
    // A free text box with the point named by alignment at (x, y).
    virtual TextBox *addText(int x, int y, const char *text, const char *font,
                             double fontSize, int fontColor, int alignment,
                             double angle, bool vertical) = 0;
    // A free straight line.
    virtual Line *addLine(int x1, int y1, int x2, int y2, int color, int lineWidth) = 0;

    // Colour table: paramId is an index or a table colour; its low 16 bits are
    // used. Entries 0 background, 1 lines, 2 text, 8 onwards automatic data colours.

    // Sets one entry.
    virtual void setColor(int paramId, int color) = 0;
    // Writes the entries before the first -1 from entry 0; with no -1 among the
    // first 65535 entries nothing is written.
    virtual void setColors(const int *colors) = 0;
    // As setColors, from entry paramId on.
    virtual void setColors2(int paramId, const int *colors) = 0;
    // A table colour's entry (Transparent outside the table); any other value unchanged.
    virtual int getColor(int paramId) = 0;

    // The DrawArea operations of the same names, on the chart's area.
    virtual int dashLineColor(int color, int patternCode) = 0;
    virtual int patternColor2(const char *filename, int startX, int startY) = 0;
    virtual int patternColor(const int *pixels, int width, int height, int startX,
                             int startY) = 0;
    virtual int gradientColor(int x1, int y1, int x2, int y2, int color1, int color2) = 0;
    virtual int gradientColor2(const int *stops, double angle, double scale, int startX,
                               int startY) = 0;

    // Lays the chart out (once) without drawing it.
    virtual void layout() = 0;
    // Draws the chart (once) and returns its area, still owned by the chart; null
    // when the chart cannot be drawn (above the size limits, or broken).
    virtual DrawArea *makeChart3() = 0;
    // Draws the chart (once) and encodes it in memory as an ImgFormat; the bytes
    // belong to the chart's area. An empty block on failure.
    virtual MemBlock makeChart2(int format) = 0;
    // The same through data and len; false, with null and 0, on failure.
    virtual bool makeChart2(int format, const char **data, int *len) = 0;
    // Draws the chart (once) and writes it as DrawArea::out does; a null or empty
    // name writes nothing and returns whether the chart could be drawn. On
    // failure ChartOptions::getLastError tells why.
    virtual bool makeChart(const char *filename) = 0;
    // HTML image-map areas of the drawn chart, legend excluded; null when there is
    // nothing to map. The text is owned by the chart and replaced on each call.
    // Values the templates insert are escaped: percent-encoded in the link's
    // query, HTML-escaped in the extra attributes; url and templates stay as given.
    // A field is recognised only where all of it comes from one source (the
    // template, or one inserted value), so an inserted label can hold whole
    // fields but never open one that the template closes.
    virtual const char *getHTMLImageMap(const char *url, const char *queryFormat,
                                        const char *extraAttr) = 0;

    // Operations added after the first release. The slot added here moved the
    // slots of the operations XYChart and PieChart add, so C++ programs built
    // against an earlier header must be rebuilt (callers through runMethod name
    // the operations and are unaffected). BaseChart grows no further: later
    // chart-level settings go on ChartOptions, reached by XYChart::options and
    // PieChart::options.

    // DrawArea::setAntiAlias (a DrawArea::SmoothMode) for everything the chart
    // draws (its area, data symbols and texts); takes effect at the next
    // drawing. SmoothOff by default.
    virtual void setAntiAlias(int shapeMode) = 0;
};

// The chart-level settings added after the first release, one object per chart,
// owned by it. New settings are appended here only, so that no slot of
// BaseChart, XYChart or PieChart moves; runMethod names them as operations of
// ChartOptions ("ChartOptions.getAntiAlias" on what "XYChart.options" returns).
class ChartOptions {
public:
    // The chart these settings belong to.
    virtual BaseChart *getChart() = 0;
    // The DrawArea::SmoothMode that BaseChart::setAntiAlias last gave the chart
    // (SmoothOff until then).
    virtual int getAntiAlias() = 0;
    // Why the chart's last makeChart, makeChart2 or makeChart3 failed, as one
    // line of plain text; empty until one fails, and again after one
    // succeeds; never null. A file that cannot be written gives the reason of
    // DrawArea::getLastError ("cannot write /no/such/dir/x.png: No such file
    // or directory"); a chart above the size limits, or broken, says so. The
    // text belongs to the chart, not to the thread, so each of several charts
    // keeps its own; valid until the chart's next output or destroy.
    virtual const char *getLastError() = 0;

protected:
    // The options are owned by their chart.
    ~ChartOptions() = default;
};

// Anything the chart draws after its body and legend: its titles, texts and
// lines, and host objects given to addDrawObj. The chart owns its drawables.
class DrawObj {
public:
    virtual ~DrawObj() = default;
    // Deletes the object; a chart calls it for each of its drawables when destroyed.
    virtual void destroy() = 0;
    // Draws the object on area.
    virtual void draw(DrawArea *area) = 0;
};

// A rectangle with a fill colour, an edge colour and a bevel.
class Box : public DrawObj {
public:
    // Top-left corner; for a text box of automatic size, the point named by its alignment.
    virtual void setPos(int x, int y) = 0;
    // Size in pixels; 0 or less makes a text box fit its text and margins.
    virtual void setSize(int w, int h) = 0;
    // Fill colour, edge colour (-1: the fill colour) and bevel depth (as DrawArea::rect).
    virtual void setBackground(int color, int edgeColor, int raisedEffect) = 0;
    // The box as drawn, as image-map text shape="rect" coords="left,top,right,bottom";
    // owned by the box and replaced on each call.
    virtual const char *getImageCoor() = 0;
};

// A box holding one text, placed inside it by an alignment and four margins.
// An empty text draws nothing at all, box included.
class TextBox : public Box {
public:
    // The text; null is empty.
    virtual void setText(const char *text) = 0;
    // An Alignment: where the text sits in the box, and for a box of automatic size
    // which of its points lies at the position.
    virtual void setAlignment(int a) = 0;
    // Font file name (null or empty: the fallback font); fontIndex is accepted and unused.
    virtual void setFontStyle(const char *font, int fontIndex) = 0;
    // Font size in points; a width of 0 takes the height.
    virtual void setFontSize(double height, double width) = 0;
    // Text angle in degrees anticlockwise, and top-to-bottom layout when vertical.
    virtual void setFontAngle(double angle, bool vertical) = 0;
    virtual void setFontColor(int color) = 0;
    // setMargin2(m, m, m, m).
    virtual void setMargin(int m) = 0;
    // Space between edge and text; -1 takes half the font width (left, right) or a
    // quarter of the font height (top, bottom). The bevel depth is added to each.
    virtual void setMargin2(int left, int right, int top, int bottom) = 0;
};

// A free straight line (DrawArea::line).
class Line : public DrawObj {
public:
    virtual void setPos(int x1, int y1, int x2, int y2) = 0;
    virtual void setColor(int color) = 0;
    // Width in pixels; below 1 draws nothing.
    virtual void setWidth(int width) = 0;
};

// The chart's legend: a text box listing keys, each a colour sample and a text.
// Layers and sectors add their keys at layout; keys added later are not shown.
class LegendBox : public TextBox {
public:
    // Appends a key with a line sample of lineWidth and an optional symbol image
    // (not owned). Once any key with lineWidth > 0 has a special colour or a symbol,
    // all such keys are drawn as lines and the automatic key width doubles; else
    // every key is a box.
    virtual void addKey(const char *text, int color, int lineWidth, DrawArea *symbol) = 0;
    // Appends a key drawn as a box of color; null text is empty.
    virtual void addKey(const char *text, int color) = 0;
    // Sample width and height, and the gap between sample and text; -1 keeps each automatic.
    virtual void setKeySize(int width, int height, int gap) = 0;
    // Image-map area of key i, sample and text: null when i is out of range, ""
    // before layout. Owned by the legend, replaced on each call.
    virtual const char *getImageCoor(int i) = 0;
    // Image-map areas of the keys, with fields {dataSet} and {dataSetName} (escaped
    // as in BaseChart::getHTMLImageMap); owned by the legend and replaced on each call.
    virtual const char *getHTMLImageMap(const char *url, const char *queryFormat,
                                        const char *extraAttr) = 0;

    // The legend's own rectangle, as for any box.
    using Box::getImageCoor;
};

// ---------------------------------------------------------------------------
// XY charts
// ---------------------------------------------------------------------------

// What the four axes of an XY chart share: label style, title, colours, ticks,
// marks and zones, and the mapping from value to pixel.
class BaseAxis {
public:
    // Font, size, colour and angle of the tick labels; returns the label style box.
    virtual TextBox *setLabelStyle(const char *font, double fontSize, int fontColor,
                                   double fontAngle) = 0;
    // Pixels between the end of a tick and its label.
    virtual void setLabelGap(int gap) = 0;
    // Sets the axis title; returns its box.
    virtual TextBox *setTitle(const char *text, const char *font, double fontSize,
                              int fontColor) = 0;
    // Where the title stands beside the axis, and its distance from it.
    virtual void setTitlePos(Alignment alignment, int gap) = 0;
    // Axis line (-1: automatic), labels, title (-1: label colour) and ticks
    // (-1: axis colour).
    virtual void setColors(int axisColor, int labelColor, int titleColor, int tickColor) = 0;
    // Tick lengths: positive outward, negative into the plot area. Y axes draw no minor ticks.
    virtual void setTickLength2(int majorTickLength, int minorTickLength) = 0;
    // The minor length becomes (major + 1) / 2, or (major - 1) / 2 for a negative major.
    virtual void setTickLength(int majorTickLength) = 0;
    // A line across the plot area at value, labelled at the axis; returns it.
    virtual Mark *addMark(double value, int lineColor, const char *text, const char *font,
                          double fontSize) = 0;
    // Fills the band of the plot area between the two values.
    virtual void addZone(double startValue, double endValue, int color) = 0;
    // Pixel offset of value v along the axis (y axes: upwards from the bottom).
    virtual int getCoor(double v) = 0;
    // Axis length in pixels, set by the chart's layout.
    virtual int getLength() = 0;

protected:
    // Axes are owned by their chart.
    ~BaseAxis() = default;
};

// A category axis: point i of every layer sits at label i.
class XAxis : public BaseAxis {
public:
    // Replaces the labels (null entries are empty); returns the label style box. A
    // leading "-" draws a minor tick and "~" none, and is not shown; a leading
    // backslash shows either. An empty label has neither tick nor grid line.
    virtual TextBox *setLabels(int count, const char *const *labels) = 0;
    // Label i as stored (empty for a null label); null out of range.
    virtual const char *getLabel(int i) = 0;
    // Puts each category in the middle of an equal slot instead of spreading the
    // categories from end to end; bar and HLOC layers turn it on unless set.
    virtual void setIndent(bool indent) = 0;

protected:
    ~XAxis() = default;
};

// A value axis, scaled to the data of the layers bound to it with steps of 2, 5
// or 10 times a power of ten, linear or base-10 logarithmic.
class YAxis : public BaseAxis {
public:
    // Linear scale with fixed limits and step, each NoValue for automatic (a step of
    // 0 too); a step giving more than 500 intervals is dropped.
    virtual void setLinearScale(double lowerLimit, double upperLimit, double tickStep) = 0;
    // Clears the user limits and step and turns the logarithmic scale on or off.
    virtual void setLogScale(bool logScale) = 0;
    // Logarithmic scale with limits (> 0) and a step factor (> 1); other values, and
    // a step giving more than 500 intervals, are automatic.
    virtual void setLogScale2(double lowerLimit, double upperLimit, double tickStep) = 0;
    // Fractions of the data range added above and below the data.
    virtual void setAutoScale(double topExtension, double bottomExtension) = 0;
    // Pixels per tick interval when the tick count is automatic (20 until set).
    virtual void setTickDensity(int density) = 0;
    // Pixels at the top of the axis left out of the scale.
    virtual void setTopMargin(int margin) = 0;
    // Tick label template with "&value&" or "&value|2,.&" fields; empty is "&value&".
    virtual void setLabelFormat(const char *format) = 0;

protected:
    ~YAxis() = default;
};

// A labelled line across the plot area at a value of its axis.
class Mark : public TextBox {
public:
    virtual void setValue(double value) = 0;
    // Line, label text and tick colours; a tick colour of -1 takes the line colour.
    virtual void setMarkColor(int lineColor, int textColor, int tickColor) = 0;
    // Line width; 0 or less draws no line.
    virtual void setLineWidth(int width) = 0;
    // Draws the mark over the layers instead of under them.
    virtual void setDrawOnTop(bool onTop) = 0;
};

// One graphic representation of one or more data sets in the plot area. Layers
// belong to their chart; the chart places them and gives them their 3D offsets.
class Layer {
public:
    // How the data sets of a layer share one x position. Bars treat any other
    // value as Side.
    enum DataCombineMethod : int {
        Overlay = 0,  // drawn over each other
        Stack = 1,    // positives stacked up from 0, negatives down
        Side = 2      // bars side by side
    };

    virtual ~Layer() = default;
    // The layer's rectangle, set by the chart's layout. An x depth of -1 is then
    // chosen from the size, and y depth and steps of -1 follow it.
    virtual void setSize(int x, int y, int width, int height) = 0;
    // 3D depth, and the step to the next layer: depth plus gap, per direction.
    virtual void set3D2(int xDepth, int yDepth, int xGap, int yGap) = 0;
    // set3D2(depth, depth, gap, gap).
    virtual void set3D(int depth, int gap) = 0;
    // Line width of lines and HLOC items (1 until set).
    virtual void setLineWidth(int width) = 0;
    // Edge colour of data sets whose own is -1, and the bevel of bars.
    virtual void setBorderColor(int color, int raisedEffect) = 0;
    virtual void setDataCombineMethod(DataCombineMethod method) = 0;
    // Appends a data set of count values (NoValue: missing point) in color (-1:
    // the next automatic colour at layout), named for the legend; returns it.
    virtual DataSet *addDataSet(int count, const double *values, int color,
                                const char *name) = 0;
    // Smallest point count of the data sets; 2147483647 with none.
    virtual double getMinX() = 0;
    // Largest point count of the data sets; 0 with none.
    virtual double getMaxX() = 0;
    // Largest value (stack totals included) of the data sets on the primary or
    // the secondary y axis; -NoValue with none.
    virtual double getMaxY(bool primaryAxis) = 0;
    // Smallest value, likewise; NoValue with none.
    virtual double getMinY(bool primaryAxis) = 0;
    // Offset of the next layer: x depth plus x gap.
    virtual int getDepthX() = 0;
    // Offset of the next layer: y depth plus y gap.
    virtual int getDepthY() = 0;
    // Image x of category v; the layer's x before layout.
    virtual int getXCoor(double v) = 0;
    // Image y of value v on yAxis (primaryAxis) or yAxis2; the layer's y before layout.
    virtual int getYCoor(double v, bool primaryAxis) = 0;
    // Image-map shape of the whole group at point i; null where nothing was drawn.
    virtual const char *getImageCoor2(int i) = 0;
    // Image-map shape of point i of a data set; null where nothing was drawn.
    virtual const char *getImageCoor(int dataSet, int i) = 0;
    // Image-map areas, one per data set and point when the templates use
    // {dataSet}, {dataSetName}, {value} or {accValue}, else one per point; a comment
    // before the chart is laid out. Owned by the layer, replaced on each call.
    virtual const char *getHTMLImageMap(const char *url, const char *queryFormat,
                                        const char *extraAttr) = 0;
    // Called by the chart's layout: binds the layer to chart, gives data sets of
    // colour -1 the automatic colour *colorCounter (advancing it) and adds legend keys.
    virtual void attach(XYChart *chart, int *colorCounter) = 0;
    // Called by the chart's drawing: draws the layer and records its image-map shapes.
    virtual void draw(XYChart *chart) = 0;
    // Label drawn at every point, with "&value&" fields; setting it shows the labels.
    virtual void setDataLabelFormat(const char *format) = 0;
    // Style of the point labels; returns its box.
    virtual TextBox *setDataLabelStyle(const char *font, double fontSize, int fontColor,
                                       double fontAngle) = 0;
    // Label of each whole bar group (stack or overlay); setting it shows the labels.
    virtual void setAggregateLabelFormat(const char *format) = 0;
    // Style of the group labels; returns its box.
    virtual TextBox *setAggregateLabelStyle(const char *font, double fontSize,
                                            int fontColor, double fontAngle) = 0;
};

// A named series of values with its colours, symbol and label settings.
class DataSet {
public:
    // Replaces the values by count copied values.
    virtual void setData(int count, const double *values) = 0;
    // The legend text; null or empty adds no key.
    virtual void setDataName(const char *name) = 0;
    // Face colour (-1: automatic), edge colour (-1: the layer's border colour), and
    // the side and top face colours of 3D shapes (-1: half brightness).
    virtual void setDataColor(int color, int edgeColor, int shadowColor,
                              int shadowEdgeColor) = 0;
    // Symbol drawn at each point of a line layer; colours of -1 take the data set's
    // colour and edge colour. Drops any symbol image.
    virtual void setDataSymbol(SymbolType symbol, int size, int fillColor,
                               int edgeColor) = 0;
    // An image (not owned) drawn centred on each point instead of a symbol.
    virtual void setDataSymbol3(const DrawArea *image) = 0;
    // As setDataSymbol3 with an image loaded from a file and owned by the data set.
    virtual void setDataSymbol2(const char *filename) = 0;
    // Line width; 0 or less takes the layer's.
    virtual void setLineWidth(int width) = 0;
    // Point labels of this data set, replacing the layer's format and style for it.
    virtual void setDataLabelFormat(const char *format) = 0;
    // Style of this data set's point labels; returns its box.
    virtual TextBox *setDataLabelStyle(const char *font, double fontSize, int fontColor,
                                       double fontAngle) = 0;
    // Plots the data set against yAxis2 instead of yAxis.
    virtual void setUseYAxis2(bool useYAxis2) = 0;

protected:
    // Data sets are owned by their layer.
    ~DataSet() = default;
};

// Bars from the zero line to each value, centred on the point's x.
class BarLayer : public Layer {
public:
    // Fraction of a category slot left empty between bar groups (0.25 until set), and
    // the gap between the bars of a Side group as a fraction of one bar (0.2).
    virtual void setBarGap(double barGap, double subBarGap) = 0;
};

// Points joined by straight segments (ribbons in 3D), with optional data symbols.
class LineLayer : public Layer {
};

// The region between each data set's line and the zero line, filled.
class AreaLayer : public Layer {
};

// High-low lines with open and close ticks: data sets 0 to 3 hold high, low,
// open and close.
class HLOCLayer : public Layer {
};

// The plot area of an XY chart: background, alternate bands, grid and border.
class PlotArea {
public:
    // An image file drawn on the back plane at the point that align names, instead
    // of the background colour; an align outside 1..9 tiles it over the chart.
    virtual void setBackground2(const char *img, Alignment align) = 0;
    // Background, colour of every second band between y ticks, and border colour.
    virtual void setBackground(int color, int altBgColor, int edgeColor) = 0;
    // Grid colours; -1 takes the other one. Transparent hides a grid.
    virtual void setGridColor(int hGridColor, int vGridColor) = 0;
    // Grid widths; a vertical width of -1 takes the horizontal one, 0 hides a grid.
    virtual void setGridWidth(int hGridWidth, int vGridWidth) = 0;

protected:
    // The plot area is owned by its chart.
    ~PlotArea() = default;
};

// A chart of layers drawn against category x axes (bottom xAxis, top xAxis2)
// and value y axes (yAxis, yAxis2). It follows the layers in this file because
// its layer factories take Layer::DataCombineMethod.
class XYChart : public BaseChart {
public:
    // A new chart of width x height with background bgColor (0xFFFF0000 keeps the
    // default white) and border edgeColor; null only when memory runs out.
    QUORVANE_API static XYChart *create(int width, int height, int bgColor, int edgeColor);

    // The primary y axis, on the left unless setYAxisOnRight.
    virtual YAxis *yAxis() = 0;
    // The secondary y axis, on the other side.
    virtual YAxis *yAxis2() = 0;
    // Makes yAxis2 follow yAxis: value2 = slope * value + intercept.
    virtual void syncYAxis(double slope, double intercept) = 0;
    // Puts yAxis on the right and yAxis2 on the left.
    virtual void setYAxisOnRight(bool onRight) = 0;
    // The bottom x axis.
    virtual XAxis *xAxis() = 0;
    // The top x axis; drawn only when it has labels.
    virtual XAxis *xAxis2() = 0;
    // Places the plot area and sets its colours; returns it.
    virtual PlotArea *setPlotArea(int x, int y, int width, int height, int bgColor,
                                  int altBgColor, int edgeColor, int hGridColor,
                                  int vGridColor) = 0;
    // Appends layer, which the chart then owns; returns it. Earlier layers stand in
    // front, later ones behind by the 3D steps of those before them.
    virtual Layer *addLayer(Layer *layer) = 0;
    // A new bar layer combining its data sets by dataCombineMethod, depth pixels
    // deep; turns the xAxis indent on unless set.
    virtual BarLayer *addBarLayer2(Layer::DataCombineMethod dataCombineMethod,
                                   int depth) = 0;
    // A bar layer with one data set per value, so that each bar has its own colour
    // (colors null or -1: automatic) and legend key (names may be null).
    virtual BarLayer *addBarLayer3(int count, const double *data, const int *colors,
                                   const char *const *names, int depth) = 0;
    // An Overlay bar layer with one data set.
    virtual BarLayer *addBarLayer(int count, const double *data, int color,
                                  const char *name, int depth) = 0;
    // A new line layer; the xAxis indent is left as it is.
    virtual LineLayer *addLineLayer2(Layer::DataCombineMethod dataCombineMethod,
                                     int depth) = 0;
    // An Overlay line layer with one data set.
    virtual LineLayer *addLineLayer(int count, const double *data, int color,
                                    const char *name, int depth) = 0;
    // A new area layer; the xAxis indent is left as it is.
    virtual AreaLayer *addAreaLayer2(Layer::DataCombineMethod dataCombineMethod,
                                     int depth) = 0;
    // An Overlay area layer with one data set.
    virtual AreaLayer *addAreaLayer(int count, const double *data, int color,
                                    const char *name, int depth) = 0;
    // An HLOC layer with four data sets in color (-1: the next automatic colour);
    // open and close may be null.
    virtual HLOCLayer *addHLOCLayer(int count, const double *high, const double *low,
                                    const double *open, const double *close,
                                    int color) = 0;
    // An HLOC layer without data sets; turns the xAxis indent on unless set.
    virtual HLOCLayer *addHLOCLayer2() = 0;

    // Operations added after the first release, appended so that no slot moves.

    // The chart's later settings; owned by the chart.
    virtual ChartOptions *options() = 0;
};

// ---------------------------------------------------------------------------
// Pie charts
// ---------------------------------------------------------------------------

// A flat, tilted or 3D pie of sectors, one per data value, with labels.
class PieChart : public BaseChart {
public:
    // A new chart of width x height with background bgColor (0xFFFF0000 keeps the
    // default white) and border edgeColor; null only when memory runs out.
    QUORVANE_API static PieChart *create(int width, int height, int bgColor, int edgeColor);

    // Centre and horizontal radius, unchecked.
    virtual void setPieSize(int x, int y, int r) = 0;
    // Depth in pixels (-1: the chart height at this call / 20, at least 1) and
    // angle in degrees (-1: 45 when depth is not 0). The pie tilts by angle, or in
    // shadow mode stays round with its depth drawn towards angle.
    virtual void set3D(int depth, double angle, bool shadowMode) = 0;
    // Where the first sector starts, in degrees clockwise from 12 o'clock, and the
    // direction in which sectors follow.
    virtual void setStartAngle(double startAngle, bool clockwise) = 0;
    // Default label template with "&label&", "&value&" and "&percent&" fields; null
    // or empty restores "&label&\n&percent&%". Resolved into the sectors at layout.
    virtual void setLabelFormat(const char *format) = 0;
    // Default label style (fontSize -1: 8); returns the default label box.
    virtual TextBox *setLabelStyle(const char *font, double fontSize, int fontColor) = 0;
    // Label distance out from the rim (-1: radius / 10; other negatives: centred
    // inside), and the colour of the line joining outside labels to the rim.
    virtual void setLabelPos(int pos, int lineColor) = 0;
    // Replaces all sectors by n new ones (earlier Sector handles die); labels may be null.
    // Negative, NaN and infinite values count as 0 (a sliver of 0%); values too
    // large to sum still share the circle in proportion.
    virtual void setData(int n, const double *data, const char *const *labels) = 0;
    // Sector i; null out of range.
    virtual Sector *sector(int i) = 0;

    // Operations added after the first release, appended so that no slot moves.

    // The chart's later settings; owned by the chart.
    virtual ChartOptions *options() = 0;
};

// One sector of a pie chart, coloured from table entry 8 + its index until set.
class Sector {
public:
    // Pulls the sector out by distance pixels; -1 takes a quarter of the radius.
    virtual void setExplode(int distance) = 0;
    // Own label template; null or empty gives "&label&\n&percent&%".
    virtual void setLabelFormat(const char *format) = 0;
    // Own label style instead of the chart's; returns the sector's label box.
    virtual TextBox *setLabelStyle(const char *font, double fontSize, int fontColor) = 0;
    // As PieChart::setLabelPos for this sector; -1 for either takes the chart's.
    virtual void setLabelPos(int pos, int lineColor) = 0;
    // Fill colour, and edge colour unless -1.
    virtual void setColor(int color, int edgeColor) = 0;
    // Image-map polygon of the drawn sector; null before drawing. Owned by the
    // sector, replaced on each call.
    virtual const char *getImageCoor() = 0;
    // Image-map rectangle of the drawn label; null when the label has no text.
    virtual const char *getLabelCoor() = 0;

protected:
    // Sectors are owned by their chart.
    ~Sector() = default;
};

// ---------------------------------------------------------------------------
// Scripting boundary
// ---------------------------------------------------------------------------

// The callbacks through which runMethod reads the host's opaque values and
// stores the result; supplied by the binding, in this order. Every get returns
// non-zero on success, as does every set. Strings and arrays from the gets stay
// the host's until the matching free; the library copies them first.
struct HostAccessor {
    int (*getDouble)(void *value, double *out);
    int (*getInt)(void *value, int *out);
    // Any non-zero int is true.
    int (*getBool)(void *value, int *out);
    // A NUL-terminated string; success with a null string counts as failure.
    int (*getString)(void *value, const char **out);
    void (*freeString)(const char *s);
    int (*getStringArray)(void *value, const char ***out, int *count);
    void (*freeStringArray)(const char **array);
    int (*getDoubleArray)(void *value, const double **out, int *count);
    void (*freeDoubleArray)(const double *array);
    int (*getIntArray)(void *value, const int **out, int *count);
    void (*freeIntArray)(const int *array);
    int (*setDoubleResult)(double v, void *result);
    // Also receives bool results, as 0 or 1.
    int (*setIntResult)(int v, void *result);
    // Never called; holds the place of the entries after it.
    void (*reserved)();
    // The host copies s before returning; object results arrive as handle texts.
    int (*setStringResult)(const char *s, void *result);
    // The host copies the len bytes before returning.
    int (*setMemBlockResult)(const char *data, int len, void *result);
};

static_assert(sizeof(HostAccessor) == 16 * sizeof(void (*)()),
              "HostAccessor is a table of 16 function pointers");

extern "C" {

// The library version, one byte per part from the most significant: 0x02000000 is 2.0.0.0.
QUORVANE_API int getVersion();
// The product name, "Quorvane".
QUORVANE_API const char *getDescription();
// A one-line copyright notice.
QUORVANE_API const char *getCopyright();
// Runs the method named by argv[0], "Class.method" or a library function name,
// falling back through base classes. For a class method argv[1] is the object
// handle and the arguments follow. Returns 1, or 0 with a message in errorBuffer
// (which must hold 1024 bytes; it is emptied on success). Never throws.
QUORVANE_API int runMethod(const HostAccessor *accessor, int argc, void *const *argv,
                           void *result, char *errorBuffer);

}  // extern "C"

#endif  // QUORVANE_H

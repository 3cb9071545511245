// Every name of the scripting door with its invoker, the lookup with its
// depth-first fallback through the class hierarchy, and the table built at
// load. Where a published method is overloaded the row picks the overload
// the script reaches; where the script passes an enumeration or a bool that
// the method takes as int, the row states the script's signature.
#include "script/registry.h"

#include "script/hierarchy.h"

namespace quorvane::script {

namespace {

using K = ArrayRule::Kind;

// Fallback chains are at most three classes deep; the bound only guards the
// search against a cycle.
constexpr int kMaxFallbackDepth = 16;

ArrayRule limit(int array, int count) { return {K::kLimitCount, array, count}; }
ArrayRule limitIfGiven(int array, int count) { return {K::kLimitCountIfGiven, array, count}; }
ArrayRule pad(int array, int count) { return {K::kPadToCount, array, count}; }
ArrayRule endWithMinusOne(int array) { return {K::kEndWithMinusOne, array}; }
ArrayRule fullRamp(int array) { return {K::kEndWithFullRamp, array}; }
ArrayRule coverArea(int array, int width, int height) {
  return {K::kCoverArea, array, width, height};
}

}  // namespace

template <class C, class Declared, class Target>
void Registry::add(const char *name, Target target, std::vector<ArrayRule> rules) {
  std::unique_ptr<Invoker> invoker = makeInvoker<C, Declared>(target, std::move(rules));
  if (invoker == nullptr) {
    isComplete_ = false;
    return;
  }
  invokers_.emplace(name, std::move(invoker));
}

template <class Target>
void Registry::addFunction(const char *name, Target target) {
  invokers_.emplace(name, makeInvoker<void, void>(target, {}));
}

void Registry::addDrawingRows() {
  add<TTFText>("TTFText.getWidth", &TTFText::getWidth);
  add<TTFText>("TTFText.getHeight", &TTFText::getHeight);
  add<TTFText>("TTFText.getLineHeight", &TTFText::getLineHeight);
  add<TTFText>("TTFText.getLineDistance", &TTFText::getLineDistance);
  add<TTFText>("TTFText.draw", &TTFText::draw);
  add<TTFText>("TTFText.destroy", &TTFText::destroy);

  using D = DrawArea;
  addFunction("DrawArea.create", &D::create);
  add<D>("DrawArea.destroy", &D::destroy);
  add<D>("DrawArea.setSize", &D::setSize);
  add<D>("DrawArea.getWidth", &D::getWidth);
  add<D>("DrawArea.getHeight", &D::getHeight);
  add<D>("DrawArea.setBgColor", &D::setBgColor);
  add<D>("DrawArea.pixel", &D::pixel);
  add<D>("DrawArea.getPixel", &D::getPixel);
  add<D>("DrawArea.hline", &D::hline);
  add<D>("DrawArea.vline", &D::vline);
  add<D>("DrawArea.line", &D::line);
  add<D>("DrawArea.arc", &D::arc);
  add<D>("DrawArea.rect", &D::rect);
  add<D>("DrawArea.polygon", &D::polygon, {limit(0, 2), limit(1, 2)});
  add<D>("DrawArea.surface", &D::surface);
  add<D>("DrawArea.sector", &D::sector);
  add<D>("DrawArea.cylinder", &D::cylinder);
  add<D>("DrawArea.circle", &D::circle);
  add<D>("DrawArea.fill", &D::fill);
  add<D>("DrawArea.fill2", &D::fill2);
  add<D>("DrawArea.text",
         static_cast<void (D::*)(const char *, const char *, double, int, int, int)>(&D::text));
  add<D, void(const char *, const char *, int, double, double, double, bool, int, int, int,
              Alignment)>(
      "DrawArea.text2",
      static_cast<void (D::*)(const char *, const char *, int, double, double, double, int, int,
                              int, int, int)>(&D::text2));
  add<D>("DrawArea.text3",
         static_cast<TTFText *(D::*)(const char *, const char *, double)>(&D::text3));
  add<D, TTFText *(const char *, const char *, int, double, double, double, bool)>(
      "DrawArea.text4",
      static_cast<TTFText *(D::*)(const char *, const char *, int, double, double, double, int)>(
          &D::text4));
  add<D>("DrawArea.close", &D::close);
  add<D, void(const DrawArea *, int, int, Alignment, int)>("DrawArea.merge", &D::merge);
  add<D>("DrawArea.tile", &D::tile);
  add<D>("DrawArea.loadGIF", &D::loadGIF);
  add<D>("DrawArea.loadPNG", &D::loadPNG);
  add<D>("DrawArea.loadJPG", &D::loadJPG);
  add<D>("DrawArea.loadWMP", &D::loadWMP);
  add<D>("DrawArea.load", &D::load);
  add<D>("DrawArea.out", &D::out);
  add<D>("DrawArea.outGIF", &D::outGIF);
  add<D>("DrawArea.outPNG", &D::outPNG);
  add<D>("DrawArea.outJPG", &D::outJPG);
  add<D>("DrawArea.outWMP", &D::outWMP);
  add<D>("DrawArea.outGIF2", static_cast<MemBlock (D::*)()>(&D::outGIF2));
  add<D>("DrawArea.outPNG2", static_cast<MemBlock (D::*)()>(&D::outPNG2));
  add<D>("DrawArea.outJPG2", static_cast<MemBlock (D::*)(int)>(&D::outJPG2));
  add<D>("DrawArea.outWMP2", static_cast<MemBlock (D::*)()>(&D::outWMP2));
  add<D, void(DrawArea::PaletteMode)>("DrawArea.setPaletteMode", &D::setPaletteMode);
  add<D, void(DrawArea::DitherMethod)>("DrawArea.setDitherMethod", &D::setDitherMethod);
  add<D>("DrawArea.setTransparentColor", &D::setTransparentColor);
  add<D, void(TTFText::AntiAliasMode)>("DrawArea.setAntiAliasText", &D::setAntiAliasText);
  add<D, void(bool)>("DrawArea.setInterlace", &D::setInterlace);
  add<D>("DrawArea.setColorTable", &D::setColorTable, {limit(0, 1)});
  add<D>("DrawArea.getARGBColor", &D::getARGBColor);
  add<D>("DrawArea.dashLineColor", &D::dashLineColor);
  add<D>("DrawArea.patternColor", &D::patternColor, {coverArea(0, 1, 2)});
  add<D>("DrawArea.patternColor2", &D::patternColor2);
  add<D>("DrawArea.gradientColor", &D::gradientColor);
  add<D>("DrawArea.gradientColor2", &D::gradientColor2, {fullRamp(0)});
  add<D>("DrawArea.setAntiAlias", &D::setAntiAlias);
}

void Registry::addChartRows() {
  add<Box>("Box.setPos", &Box::setPos);
  add<Box>("Box.setSize", &Box::setSize);
  add<Box>("Box.setBackground", &Box::setBackground);
  add<Box>("Box.getImageCoor", &Box::getImageCoor);

  add<TextBox>("TextBox.setText", &TextBox::setText);
  add<TextBox, void(Alignment)>("TextBox.setAlignment", &TextBox::setAlignment);
  add<TextBox>("TextBox.setFontStyle", &TextBox::setFontStyle);
  add<TextBox>("TextBox.setFontSize", &TextBox::setFontSize);
  add<TextBox>("TextBox.setFontAngle", &TextBox::setFontAngle);
  add<TextBox>("TextBox.setFontColor", &TextBox::setFontColor);
  add<TextBox>("TextBox.setMargin", &TextBox::setMargin);
  add<TextBox>("TextBox.setMargin2", &TextBox::setMargin2);

  add<Line>("Line.setPos", &Line::setPos);
  add<Line>("Line.setColor", &Line::setColor);
  add<Line>("Line.setWidth", &Line::setWidth);

  using L = LegendBox;
  add<L>("LegendBox.addKey", static_cast<void (L::*)(const char *, int)>(&L::addKey));
  add<L>("LegendBox.setKeySize", &L::setKeySize);
  add<L>("LegendBox.getImageCoor", static_cast<const char *(L::*)(int)>(&L::getImageCoor));
  add<L>("LegendBox.getHTMLImageMap", &L::getHTMLImageMap);

  using B = BaseChart;
  add<B>("BaseChart.destroy", &B::destroy);
  add<B>("BaseChart.setSize", &B::setSize);
  add<B>("BaseChart.setBorder", &B::setBorder);
  add<B>("BaseChart.setBackground", &B::setBackground);
  add<B>("BaseChart.setWallpaper", &B::setWallpaper);
  add<B, void(const char *, Alignment)>("BaseChart.setBgImage", &B::setBgImage);
  add<B>("BaseChart.addTitle", &B::addTitle);
  add<B, TextBox *(Alignment, const char *, const char *, double, int, int, int)>(
      "BaseChart.addTitle2", &B::addTitle2);
  add<B>("BaseChart.addLegend", &B::addLegend);
  add<B>("BaseChart.getLegend", &B::getLegend);
  add<B>("BaseChart.getDrawArea", &B::getDrawArea);
  add<B>("BaseChart.addDrawObj", &B::addDrawObj);
  add<B, TextBox *(int, int, const char *, const char *, double, int, Alignment, double, bool)>(
      "BaseChart.addText", &B::addText);
  add<B>("BaseChart.addLine", &B::addLine);
  add<B>("BaseChart.setColor", &B::setColor);
  add<B>("BaseChart.setColors", &B::setColors, {endWithMinusOne(0)});
  add<B>("BaseChart.setColors2", &B::setColors2, {endWithMinusOne(1)});
  add<B>("BaseChart.getColor", &B::getColor);
  add<B>("BaseChart.layout", &B::layout);
  add<B>("BaseChart.makeChart", &B::makeChart);
  add<B, MemBlock(BaseChart::ImgFormat)>("BaseChart.makeChart2",
                                         static_cast<MemBlock (B::*)(int)>(&B::makeChart2));
  add<B>("BaseChart.makeChart3", &B::makeChart3);
  add<B>("BaseChart.getHTMLImageMap", &B::getHTMLImageMap);
  add<B>("BaseChart.setTransparentColor", &B::setTransparentColor);
  add<B>("BaseChart.dashLineColor", &B::dashLineColor);
  add<B>("BaseChart.patternColor", &B::patternColor, {coverArea(0, 1, 2)});
  add<B>("BaseChart.patternColor2", &B::patternColor2);
  add<B>("BaseChart.gradientColor", &B::gradientColor);
  add<B>("BaseChart.gradientColor2", &B::gradientColor2, {fullRamp(0)});
  add<B>("BaseChart.setAntiAlias", &B::setAntiAlias);

  add<Sector>("Sector.setExplode", &Sector::setExplode);
  add<Sector>("Sector.setLabelFormat", &Sector::setLabelFormat);
  add<Sector>("Sector.setLabelStyle", &Sector::setLabelStyle);
  add<Sector>("Sector.setLabelPos", &Sector::setLabelPos);
  add<Sector>("Sector.setColor", &Sector::setColor);
  add<Sector>("Sector.getImageCoor", &Sector::getImageCoor);
  add<Sector>("Sector.getLabelCoor", &Sector::getLabelCoor);

  using P = PieChart;
  addFunction("PieChart.create", &P::create);
  add<P>("PieChart.setPieSize", &P::setPieSize);
  add<P>("PieChart.set3D", &P::set3D);
  add<P>("PieChart.setStartAngle", &P::setStartAngle);
  add<P>("PieChart.setLabelFormat", &P::setLabelFormat);
  add<P>("PieChart.setLabelStyle", &P::setLabelStyle);
  add<P>("PieChart.setLabelPos", &P::setLabelPos);
  add<P>("PieChart.setData", &P::setData, {limit(1, 0), pad(2, 0)});
  add<P>("PieChart.sector", &P::sector);
}

void Registry::addXYRows() {
  using A = BaseAxis;
  add<A>("BaseAxis.setLabelStyle", &A::setLabelStyle);
  add<A>("BaseAxis.setLabelGap", &A::setLabelGap);
  add<A>("BaseAxis.setTitle", &A::setTitle);
  add<A>("BaseAxis.setTitlePos", &A::setTitlePos);
  add<A>("BaseAxis.setColors", &A::setColors);
  add<A>("BaseAxis.setTickLength", &A::setTickLength);
  add<A>("BaseAxis.setTickLength2", &A::setTickLength2);
  add<A>("BaseAxis.getCoor", &A::getCoor);
  add<A>("BaseAxis.getLength", &A::getLength);
  add<A>("BaseAxis.addMark", &A::addMark);
  add<A>("BaseAxis.addZone", &A::addZone);

  add<XAxis>("XAxis.setLabels", &XAxis::setLabels, {limit(1, 0)});
  add<XAxis>("XAxis.setIndent", &XAxis::setIndent);

  add<Mark>("Mark.setValue", &Mark::setValue);
  add<Mark>("Mark.setMarkColor", &Mark::setMarkColor);
  add<Mark>("Mark.setLineWidth", &Mark::setLineWidth);
  add<Mark>("Mark.setDrawOnTop", &Mark::setDrawOnTop);

  add<YAxis>("YAxis.setLinearScale", &YAxis::setLinearScale);
  add<YAxis>("YAxis.setLogScale2", &YAxis::setLogScale2);
  add<YAxis>("YAxis.setLogScale", &YAxis::setLogScale);
  add<YAxis>("YAxis.setAutoScale", &YAxis::setAutoScale);
  add<YAxis>("YAxis.setTickDensity", &YAxis::setTickDensity);
  add<YAxis>("YAxis.setTopMargin", &YAxis::setTopMargin);
  add<YAxis>("YAxis.setLabelFormat", &YAxis::setLabelFormat);

  using S = DataSet;
  add<S>("DataSet.setData", &S::setData, {limit(1, 0)});
  add<S>("DataSet.setDataName", &S::setDataName);
  add<S>("DataSet.setDataColor", &S::setDataColor);
  add<S>("DataSet.setUseYAxis2", &S::setUseYAxis2);
  add<S>("DataSet.setLineWidth", &S::setLineWidth);
  add<S>("DataSet.setDataLabelFormat", &S::setDataLabelFormat);
  add<S>("DataSet.setDataLabelStyle", &S::setDataLabelStyle);
  add<S>("DataSet.setDataSymbol", &S::setDataSymbol);
  add<S>("DataSet.setDataSymbol2", &S::setDataSymbol2);
  add<S>("DataSet.setDataSymbol3", &S::setDataSymbol3);

  add<Layer>("Layer.setSize", &Layer::setSize);
  add<Layer>("Layer.set3D", &Layer::set3D);
  add<Layer>("Layer.set3D2", &Layer::set3D2);
  add<Layer>("Layer.setLineWidth", &Layer::setLineWidth);
  add<Layer>("Layer.setDataCombineMethod", &Layer::setDataCombineMethod);
  add<Layer>("Layer.addDataSet", &Layer::addDataSet, {limit(1, 0)});
  add<Layer>("Layer.getMinX", &Layer::getMinX);
  add<Layer>("Layer.getMaxX", &Layer::getMaxX);
  add<Layer>("Layer.getMaxY", &Layer::getMaxY);
  add<Layer>("Layer.getMinY", &Layer::getMinY);
  add<Layer>("Layer.getDepthX", &Layer::getDepthX);
  add<Layer>("Layer.getDepthY", &Layer::getDepthY);
  add<Layer>("Layer.getXCoor", &Layer::getXCoor);
  add<Layer>("Layer.getYCoor", &Layer::getYCoor);
  add<Layer>("Layer.setDataLabelFormat", &Layer::setDataLabelFormat);
  add<Layer>("Layer.setDataLabelStyle", &Layer::setDataLabelStyle);
  add<Layer>("Layer.setAggregateLabelFormat", &Layer::setAggregateLabelFormat);
  add<Layer>("Layer.setAggregateLabelStyle", &Layer::setAggregateLabelStyle);
  add<Layer>("Layer.setBorderColor", &Layer::setBorderColor);
  add<Layer>("Layer.getImageCoor", &Layer::getImageCoor);
  add<Layer>("Layer.getImageCoor2", &Layer::getImageCoor2);
  add<Layer>("Layer.getHTMLImageMap", &Layer::getHTMLImageMap);

  add<BarLayer>("BarLayer.setBarGap", &BarLayer::setBarGap);

  add<PlotArea>("PlotArea.setBackground", &PlotArea::setBackground);
  add<PlotArea>("PlotArea.setBackground2", &PlotArea::setBackground2);
  add<PlotArea>("PlotArea.setGridColor", &PlotArea::setGridColor);
  add<PlotArea>("PlotArea.setGridWidth", &PlotArea::setGridWidth);

  using X = XYChart;
  addFunction("XYChart.create", &X::create);
  add<X>("XYChart.yAxis", &X::yAxis);
  add<X>("XYChart.yAxis2", &X::yAxis2);
  add<X>("XYChart.syncYAxis", &X::syncYAxis);
  add<X>("XYChart.setYAxisOnRight", &X::setYAxisOnRight);
  add<X>("XYChart.xAxis", &X::xAxis);
  add<X>("XYChart.xAxis2", &X::xAxis2);
  add<X>("XYChart.setPlotArea", &X::setPlotArea);
  add<X>("XYChart.addBarLayer", &X::addBarLayer, {limit(1, 0)});
  add<X>("XYChart.addBarLayer2", &X::addBarLayer2);
  add<X>("XYChart.addBarLayer3", &X::addBarLayer3, {limit(1, 0), pad(2, 0), pad(3, 0)});
  add<X>("XYChart.addLineLayer", &X::addLineLayer, {limit(1, 0)});
  add<X>("XYChart.addLineLayer2", &X::addLineLayer2);
  add<X>("XYChart.addAreaLayer", &X::addAreaLayer, {limit(1, 0)});
  add<X>("XYChart.addAreaLayer2", &X::addAreaLayer2);
  add<X>("XYChart.addHLOCLayer", &X::addHLOCLayer,
         {limit(1, 0), limit(2, 0), limitIfGiven(3, 0), limitIfGiven(4, 0)});
  add<X>("XYChart.addHLOCLayer2", &X::addHLOCLayer2);
}

Registry::Registry() {
  addDrawingRows();
  addChartRows();
  addXYRows();
  addFunction("getVersion", &::getVersion);
  addFunction("getCopyright", &::getCopyright);
  addFunction("getDescription", &::getDescription);
}

const Invoker *Registry::find(std::string_view name) const {
  const auto it = invokers_.find(name);
  return it == invokers_.end() ? nullptr : it->second.get();
}

const Invoker *Registry::fallback(std::string_view className, std::string_view method,
                                  int depth) const {
  if (depth > kMaxFallbackDepth) return nullptr;
  const std::vector<std::string_view> bases = hierarchy().fallbacksOf(className);
  for (std::string_view base : bases) {
    std::string name(base);
    name.append(".").append(method);
    if (const Invoker *invoker = find(name)) return invoker;
  }
  for (std::string_view base : bases)
    if (const Invoker *invoker = fallback(base, method, depth + 1)) return invoker;
  return nullptr;
}

const Invoker *Registry::resolve(std::string_view name) const {
  if (const Invoker *invoker = find(name)) return invoker;
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return nullptr;
  return fallback(name.substr(0, dot), name.substr(dot + 1), 0);
}

std::vector<std::string_view> Registry::names() const {
  std::vector<std::string_view> out;
  for (const auto &[name, invoker] : invokers_) out.push_back(name);
  return out;
}

const Registry &registry() {
  static const Registry table;
  return table;
}

}  // namespace quorvane::script

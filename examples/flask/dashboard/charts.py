# The dashboard's three charts, built per request from a View (the filters
# region, product, month and day) with the library's own styling calls: the
# bar chart of revenue over time (months, or the days of the chosen month),
# the line chart of the monthly trend, and the pie of the period's shares.
# Each request makes its own chart, draws it and destroys it; separate charts
# need no lock between threads.
#
# Image-map links are the dashboard's URL with the current filters and the
# clicked item's own: a bar picks its month (or day), a line point its series
# and month, a sector its region (or product), a legend key its series. The
# URL and templates are our fixed text; the values the library inserts are
# percent-encoded in the href and HTML-escaped in the attributes.
from typing import NamedTuple

import quorvane

from . import sales

WHITE = 0xFFFFFF
TEXT = 0x1E293B
MUTED = 0x64748B
GRID = 0xE9EDF3
AXIS = 0xCBD5E1
# The band behind the chosen month or day.
ZONE = 0xEEF2FF
PALETTE = (0x6366F1, 0x0EA5E9, 0x10B981, 0xF59E0B, 0xF43F5E)
FONT = "arial.ttf"

# kind: (default width, default height)
SIZES = {"bar": (1080, 300), "line": (640, 300), "pie": (380, 300)}


class View(NamedTuple):
    """The dashboard's filters; None where a filter is not set."""
    region: str = None
    product: str = None
    month: int = None
    day: int = None

    def query(self, *drop):
        """The filters as query fields (a list of (name, text)), except those in drop."""
        fields = (("region", self.region), ("product", self.product),
                  ("month", self.month and sales.MONTHS[self.month - 1]), ("day", self.day))
        return [(name, str(value)) for name, value in fields
                if value is not None and name not in drop]


def series_of(view):
    """(dimension, names) the XY charts split into: regions until one is chosen,
    then products until one is chosen, then the single chosen pair."""
    if view.region is None:
        return "region", sales.REGIONS
    if view.product is None:
        return "product", sales.PRODUCTS
    return None, (view.product,)


def color_of(name):
    """A region's or product's colour, the same in every chart."""
    names = sales.REGIONS if name in sales.REGIONS else sales.PRODUCTS
    return PALETTE[names.index(name) % len(PALETTE)]


def _series_values(view, dimension, name, month):
    region = name if dimension == "region" else view.region
    product = name if dimension == "product" else view.product
    return sales.by_time(month, region, product)


def _style_xy(c, width, height):
    c.setAntiAlias(quorvane.SmoothFine)
    c.setPlotArea(58, 42, width - 78, height - 76, WHITE, quorvane.Transparent,
                  quorvane.Transparent, GRID, quorvane.Transparent)
    legend = c.addLegend(50, 6, False, FONT, 9)
    legend.setBackground(quorvane.Transparent, quorvane.Transparent, 0)
    legend.setFontColor(TEXT)
    legend.setKeySize(10, 10, 6)
    x, y = c.xAxis(), c.yAxis()
    x.setLabelStyle(FONT, 9, MUTED, 0)
    y.setLabelStyle(FONT, 9, MUTED, 0)
    x.setColors(AXIS, MUTED, MUTED, quorvane.Transparent)
    y.setColors(quorvane.Transparent, MUTED, MUTED, quorvane.Transparent)
    x.setTickLength(0)
    y.setTickLength(0)
    y.setLabelFormat("&value|0,&")
    y.setTickDensity(40)


def _bar(c, view, width, height):
    _style_xy(c, width, height)
    dimension, names = series_of(view)
    if view.month is None:
        c.xAxis().setLabels(list(sales.MONTHS))
    else:
        c.xAxis().setLabels([str(d) for d in range(1, sales.days_in(view.month) + 1)])
        if view.day is not None:
            c.xAxis().addZone(view.day - 1.5, view.day - 0.5, ZONE)
    layer = c.addBarLayer2(quorvane.Stack, 0)
    layer.setBarGap(0.35 if view.month is None else 0.25, 0)
    layer.setBorderColor(quorvane.Transparent, 0)
    for name in names:
        layer.addDataSet(_series_values(view, dimension, name, view.month), color_of(name), name)


def _line(c, view, width, height):
    _style_xy(c, width, height)
    dimension, names = series_of(view)
    c.xAxis().setLabels(list(sales.MONTHS))
    c.xAxis().setIndent(True)
    if view.month is not None:
        c.xAxis().addZone(view.month - 1.5, view.month - 0.5, ZONE)
    layer = c.addLineLayer2(quorvane.Overlay, 0)
    layer.setLineWidth(2)
    for name in names:
        ds = layer.addDataSet(_series_values(view, dimension, name, None), color_of(name), name)
        ds.setDataSymbol(quorvane.CircleSymbol, 7, -1, WHITE)


def pie_items(view):
    """(dimension, names, values) of the pie: the period's revenue per region
    until a region is chosen, then per product of that region."""
    if view.region is None:
        names = sales.REGIONS
        values = [sales.revenue(r, view.product, view.month, view.day) for r in names]
        return "region", names, values
    names = sales.PRODUCTS
    values = [sales.revenue(view.region, p, view.month, view.day) for p in names]
    return "product", names, values


def _pie(c, view, width, height):
    c.setAntiAlias(quorvane.SmoothFine)
    _, names, values = pie_items(view)
    # Room for a two-line label 14 pixels off the rim of a sector pulled out by 10.
    radius = max(30, min(width // 2 - 90, height // 2 - 58))
    c.setPieSize(width // 2, height // 2, radius)
    c.setData(values, list(names))
    c.setStartAngle(0, True)
    c.setLabelFormat("&label&\n&percent|1&%")
    c.setLabelStyle(FONT, 9, TEXT)
    c.setLabelPos(14, AXIS)
    for i, name in enumerate(names):
        c.sector(i).setColor(color_of(name), WHITE)
        if name == view.product:
            c.sector(i).setExplode(10)


_BUILDERS = {"bar": _bar, "line": _line, "pie": _pie}


def build(kind, view, width, height):
    """The chart of kind for view, not drawn yet; the caller destroys it."""
    chart = quorvane.PieChart(width, height) if kind == "pie" else quorvane.XYChart(width, height)
    try:
        _BUILDERS[kind](chart, view, width, height)
    except BaseException:
        chart.destroy()
        raise
    return chart


def png(kind, view, width, height):
    """The chart as PNG bytes."""
    with build(kind, view, width, height) as c:
        data = c.makeChart2(quorvane.PNG)
    if not data:
        raise RuntimeError(f"the {kind} chart could not be drawn")
    return data


def _link(view, names, fields):
    """The URL and query template that keep view's filters but names (a month
    drops the day too) and set each of names to its field, written for an
    HTML attribute."""
    drop = names + (("day",) if "month" in names else ())
    kept = "&amp;".join(f"{name}={value}" for name, value in view.query(*drop))
    url = f"/?{kept}" if kept else "/"
    return url, ("&amp;" if kept else "?") + "&amp;".join(
        f"{name}={{{field}}}" for name, field in zip(names, fields))


_ITEM = "alt='{dataSetName} {xLabel}' title='{dataSetName}, {xLabel}: {value|1,}k'"
_SECTOR = "alt='{label}' title='{label}: {value|1,}k ({percent}%)'"
_KEY = "alt='{dataSetName}' title='Show {dataSetName} only'"


def _map_areas(kind, c, view):
    if kind == "pie":
        dimension = pie_items(view)[0]
        return c.getHTMLImageMap(*_link(view, (dimension,), ("label",)), _SECTOR) or ""
    dimension = series_of(view)[0]
    if kind == "bar":
        link = _link(view, ("day",) if view.month else ("month",), ("xLabel",))
    elif dimension:
        link = _link(view, (dimension, "month"), ("dataSetName", "xLabel"))
    else:
        link = _link(view, ("month",), ("xLabel",))
    areas = c.getHTMLImageMap(*link, _ITEM) or ""
    legend = c.getLegend()
    if legend and dimension:
        areas += legend.getHTMLImageMap(*_link(view, (dimension,), ("dataSetName",)), _KEY) or ""
    return areas


def image_map(kind, view, width, height):
    """The HTML areas of the chart as drawn (the picture is not encoded)."""
    with build(kind, view, width, height) as c:
        c.makeChart3()
        return _map_areas(kind, c, view)

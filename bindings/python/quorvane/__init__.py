# Quorvane for Python: charts built by calling the library's published methods
# by name through runMethod, over ctypes and the standard library alone. The
# library is $QUORVANE_LIBRARY, else the one `make install` put beside this
# package, else build/ or build-demo/ of this checkout, else libquorvane20.so
# wherever the dynamic loader finds it.
#
#     c = quorvane.XYChart(300, 200)
#     c.addBarLayer([3, 5, 2], 0xFF0000, "North")
#     c.addLineLayer(data=[2, 4, 3], color=0x202020)
#     png = c.makeChart2(quorvane.PNG)
#
# Methods take the header's parameter names as keywords; help() shows each
# with its defaults and the header's comment. A chart, DrawArea or text the
# caller made is freed when Python collects it; `with` or destroy() frees it
# at once. What a chart hands out (its layers, axes, its DrawArea) is the
# chart's and keeps the chart alive.
from ._tables import *  # noqa: F401,F403
from ._checks import QuorvaneWarning
from ._native import ArgumentError, Error, library_path
from ._objects import (AreaLayer, BarLayer, BaseAxis, BaseChart, Box, ChartOptions, DataSet,
                       DrawArea, DrawObj, FUNCTIONS, HLOCLayer, Layer, LegendBox, Line, LineLayer,
                       Mark, Object, PieChart, PlotArea, Sector, TextBox, TTFText, XAxis, XYChart,
                       YAxis, call)

getVersion = FUNCTIONS["getVersion"]
getCopyright = FUNCTIONS["getCopyright"]
getDescription = FUNCTIONS["getDescription"]
del FUNCTIONS

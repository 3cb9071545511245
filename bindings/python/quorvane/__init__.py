# Quorvane for Python: charts built by calling the library's published methods
# by name through runMethod, over ctypes and the standard library alone. The
# library is $QUORVANE_LIBRARY, else build/libquorvane20.so of this checkout.
#
#     c = quorvane.XYChart(300, 200)
#     c.addBarLayer([3, 5, 2], 0xFF0000, "North", 0)
#     png = c.makeChart2(quorvane.PNG)
#
# A chart, DrawArea or text the caller made is freed when Python collects it;
# `with` or destroy() frees it at once. What a chart hands out (its layers,
# axes, its DrawArea) is the chart's and keeps the chart alive.
from ._tables import *  # noqa: F401,F403
from ._checks import QuorvaneWarning
from ._native import Error, library_path
from ._objects import (AreaLayer, BarLayer, BaseAxis, BaseChart, Box, ChartOptions, DataSet,
                       DrawArea, DrawObj, HLOCLayer, Layer, LegendBox, Line, LineLayer, Mark,
                       Object, PieChart, PlotArea, Sector, TextBox, TTFText, XAxis, XYChart,
                       YAxis, call)

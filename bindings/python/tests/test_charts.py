# Charts through the Python binding: a bar and a pie chart rendered to PNG
# bytes with their image maps, methods that fall back to a base class, lists
# with implied counts, smooth drawing switched on, host values the library
# refuses, and its messages.
import os
import re
import struct
import sys
import unittest
from decimal import Decimal
from fractions import Fraction

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import quorvane  # noqa: E402


def png_size(data):
    # The signature, then the IHDR chunk: length 13, type, width, height.
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise AssertionError(f"not a PNG: {data[:16]!r}")
    return struct.unpack(">II", data[16:24])


def queries(image_map, url):
    return re.findall(r'<area [^>]*href="' + re.escape(url) + r'\?([^"]*)"', image_map)


class ChartTest(unittest.TestCase):
    def test_bar_chart(self):
        with quorvane.XYChart(300, 200) as c:
            self.assertIsInstance(c.addTitle("Sales", "", 12, 0, quorvane.Transparent,
                                             quorvane.Transparent), quorvane.TextBox)
            c.setPlotArea(40, 30, 240, 140, 0xFFFFFF, quorvane.Transparent, 0xC0C0C0,
                          quorvane.Transparent, quorvane.Transparent)
            legend = c.addLegend(50, 30, False, "", 8)
            self.assertIsInstance(legend, quorvane.LegendBox)
            legend.setPos(60, 30)  # LegendBox -> TextBox -> Box
            self.assertIsInstance(c.xAxis(), quorvane.XAxis)
            c.xAxis().setLabels(["Jan", "Feb", "Mar"])
            north = c.addBarLayer([3, 5, 2], 0xFF0000, "North", 0)
            self.assertIsInstance(north, quorvane.BarLayer)
            c.addBarLayer([1, None, 4], 0x0000FF, "South", 0)  # None: a missing point
            self.assertEqual(north.getMaxY(True), 5.0)
            self.assertEqual(png_size(c.makeChart2(quorvane.PNG)), (300, 200))
            # One area per drawn bar, layer by layer; the missing point has none.
            self.assertEqual(queries(c.getHTMLImageMap("b.html", "{xLabel}", ""), "b.html"),
                             ["Jan", "Feb", "Mar", "Jan", "Mar"])
            self.assertEqual(legend.getHTMLImageMap("k", "{dataSetName}", "").count("<area"), 2)

    def test_pie_chart_falls_back_to_base_chart(self):
        with quorvane.PieChart(250, 200) as pie:
            pie.setPieSize(125, 100, 70)
            pie.setData([25, 18, 15, 12], ["A", "B", "C", "D"])
            pie.setSize(260, 210)  # PieChart.setSize runs BaseChart.setSize
            self.assertEqual(png_size(pie.makeChart2(quorvane.PNG)), (260, 210))
            # Each sector and then its label.
            self.assertEqual(queries(pie.getHTMLImageMap("p", "{label}", ""), "p"),
                             ["A", "A", "B", "B", "C", "C", "D", "D"])
            self.assertIsInstance(pie.sector(3), quorvane.Sector)
            self.assertFalse(pie.sector(4))  # a null handle

    def test_any_real_number_and_any_sequence_stand_for_values(self):
        # What Django models and data libraries hold: Decimal, Fraction,
        # tuples and ranges (numpy scalars and arrays too, where installed).
        cases = [
            ([Decimal("3.5"), Decimal("5"), Decimal("2.25")], ["3.5", "5", "2.25"]),
            ((Fraction(7, 2), 5, Fraction(9, 4)), ["3.5", "5", "2.25"]),
            (range(1, 4), ["1", "2", "3"]),
        ]
        try:
            import numpy
            cases.append((numpy.array([3.5, 5, 2.25]), ["3.5", "5", "2.25"]))
            cases.append(([numpy.int64(1), numpy.float32(2.5), 3], ["1", "2.5", "3"]))
        except ImportError:
            pass
        for data, shown in cases:
            with self.subTest(data=repr(data)), quorvane.XYChart(200, 120) as chart:
                chart.setPlotArea(20, 10, 160, 90, 0xFFFFFF, -1, -1, -1, -1)
                chart.xAxis().setLabels(("a", "b", "c"))
                chart.addBarLayer(data, 0x4060E0, "s", 0)
                chart.makeChart2(quorvane.PNG)
                self.assertEqual(queries(chart.getHTMLImageMap("d", "{xLabel}={value}", ""), "d"),
                                 [f"{x}={v}" for x, v in zip("abc", shown)])

    def test_charts_show_themselves_as_png_until_destroyed(self):
        for chart in (quorvane.XYChart(200, 120), quorvane.PieChart(200, 120)):
            png = chart._repr_png_()
            self.assertEqual(png_size(png), (200, 120))
            self.assertEqual(chart._repr_png_(), png)  # drawn once, shown again
            chart.destroy()
            self.assertIsNone(chart._repr_png_())

    def test_draw_area_colours_as_unsigned(self):
        area = quorvane.DrawArea()
        try:
            area.setSize(7, 5, 0x123456)
            self.assertEqual((area.getWidth(), area.getHeight()), (7, 5))
            self.assertEqual(area.getPixel(6, 4), 0x123456)
            area.setBgColor(0x80FF0000)
            self.assertEqual(area.getPixel(0, 0), 0x80FF0000 - (1 << 32))
        finally:
            area.destroy()

    def test_smooth_drawing_is_set_through_the_binding(self):
        def pie_png(shape_mode):
            with quorvane.PieChart(200, 160) as pie:
                pie.setPieSize(100, 80, 50)
                pie.setData([3, 2, 1], ["A", "B", "C"])
                self.assertIsNone(pie.setAntiAlias(shape_mode))  # PieChart -> BaseChart
                return pie.makeChart2(quorvane.PNG)

        # Smooth sectors, and labels that turn from one-bit to grey glyphs.
        aliased, smooth = pie_png(0), pie_png(1)
        self.assertEqual(png_size(aliased), png_size(smooth))
        self.assertNotEqual(aliased, smooth)
        with quorvane.XYChart(100, 100) as c:
            self.assertIsNone(c.setAntiAlias(1))  # XYChart -> BaseChart

    def test_smooth_area_draws_grey_text_unless_a_text_mode_was_chosen(self):
        def levels(*settings):
            area = quorvane.DrawArea()
            try:
                area.setSize(40, 16, 0xFFFFFF)
                for name, value in settings:
                    self.assertIsNone(getattr(area, name)(value))
                # 8-point upright text is one-bit in the automatic text mode.
                area.text("Wage", "", 8, 2, 2, 0x000000)
                return len({area.getPixel(x, y) for x in range(40) for y in range(16)})
            finally:
                area.destroy()

        self.assertEqual(levels(), 2)
        self.assertEqual(levels(("setAntiAlias", 0)), 2)
        self.assertGreater(levels(("setAntiAlias", 1)), 2)
        self.assertGreater(levels(("setAntiAlias", -7)), 2)  # any value but 0
        self.assertEqual(levels(("setAntiAliasText", quorvane.AntiAliasOff),
                                ("setAntiAlias", 1)), 2)
        self.assertEqual(levels(("setAntiAlias", 1),
                                ("setAntiAliasText", quorvane.AntiAliasAuto)), 2)

    def test_smooth_drawing_refuses_wrong_arguments(self):
        count = "{}.setAntiAlias(shapeMode) takes 1 argument ({} given)"
        not_int = "{}.setAntiAlias: argument 1 (shapeMode) must be an int of 32 bits, not {}"
        library_not_int = "Error converting argument 1 to type int"
        area = quorvane.DrawArea()
        try:
            with quorvane.PieChart(100, 100) as pie:
                cases = [
                    (lambda: pie.setAntiAlias(), count.format("PieChart", 0)),
                    (lambda: pie.setAntiAlias(1, 1), count.format("PieChart", 2)),
                    (lambda: area.setAntiAlias(), count.format("DrawArea", 0)),
                    (lambda: pie.setAntiAlias("on"), not_int.format("PieChart", "str")),
                    (lambda: area.setAntiAlias(0.5), not_int.format("DrawArea", "float")),
                    (lambda: quorvane.call("PieChart.setAntiAlias", pie, None), library_not_int),
                    (lambda: quorvane.call("BaseChart.setAntiAlias", area, 1),
                     "Error converting object pointer to type class BaseChart *"),
                    (lambda: quorvane.call("DrawArea.setAntiAlias", pie, 1),
                     "Error converting object pointer to type class DrawArea *"),
                ]
                for run, message in cases:
                    with self.subTest(message=message):
                        with self.assertRaises(quorvane.Error) as caught:
                            run()
                        self.assertEqual(str(caught.exception), message)
        finally:
            area.destroy()

    def test_errors_carry_the_library_message(self):
        with quorvane.XYChart(100, 100) as c:
            cases = [
                (lambda: quorvane.call("XYChart.explode", c), "unknown method XYChart.explode"),
                (lambda: quorvane.call(5), "first argument must be the method name (a text string)"),
                # Through runMethod the library judges the arguments itself.
                (lambda: quorvane.call("BaseChart.setSize", c, 1),
                 "Wrong number of arguments; expecting 2 but received 1"),
                (lambda: quorvane.call("BaseChart.setSize", c, "wide", 1),
                 "Error converting argument 1 to type int"),
                # The implied count is argument 1, so the list is argument 2.
                (lambda: quorvane.call("XYChart.addBarLayer", c, 1, ["x"], 0, "n", 0),
                 "Error converting argument 2 to type double const *"),
                (lambda: quorvane.call("PieChart.setData", c, 0, [], []),
                 "Error converting object pointer to type class PieChart *"),
            ]
            for run, message in cases:
                with self.subTest(message=message):
                    with self.assertRaises(quorvane.Error) as caught:
                        run()
                    self.assertEqual(str(caught.exception), message)


if __name__ == "__main__":
    unittest.main()

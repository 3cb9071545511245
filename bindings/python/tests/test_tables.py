# The binding's tables (quorvane/_tables.py, generated from the library's own
# and kept current by a ctest) against the library: the implied counts and
# every method's argument count reach it, the wrapper classes follow the
# fallback edges, and the constants hold their published values.
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
import quorvane  # noqa: E402
from quorvane import _objects, _tables  # noqa: E402


class TableTest(unittest.TestCase):
    def test_implied_counts_stand_before_their_lists(self):
        # A count is an int argument before the list it counts, which the
        # caller passes without it.
        for name, pairs in _objects.IMPLIED_COUNTS.items():
            params = _tables.METHODS[name].params
            for count, array in pairs:
                with self.subTest(name=name, count=count):
                    self.assertLess(count, array)
                    self.assertEqual(params[count][1], "int")
                    self.assertTrue(params[array][1].startswith("list["), params[array])

    def test_every_method_takes_its_listed_parameters(self):
        # Three arguments too many: the library names the count it expects
        # before reading any of them.
        for name, method in _tables.METHODS.items():
            with self.subTest(name=name):
                extra = [0] * (len(method.params) + 3 + (0 if method.static else 1))
                with self.assertRaises(quorvane.Error) as caught:
                    quorvane.call(name, *extra)
                self.assertEqual(str(caught.exception),
                                 f"Wrong number of arguments; expecting {len(method.params)} "
                                 f"but received {len(method.params) + 3}")

    def test_implied_counts_reach_the_library(self):
        with quorvane.XYChart(200, 150) as c, quorvane.PieChart(200, 150) as pie:
            layer = c.addBarLayer2(quorvane.Side, 0)
            data_set = layer.addDataSet([1, 2], -1, "a")
            calls = {
                "PieChart.setData": lambda: pie.setData([1, 2], ["a"]),
                "XAxis.setLabels": lambda: c.xAxis().setLabels(["a", "b"]),
                "DataSet.setData": lambda: data_set.setData([3, 4, 5]),
                "Layer.addDataSet": lambda: layer.addDataSet([1, 2], -1, "b"),
                "XYChart.addBarLayer": lambda: c.addBarLayer([1, 2], -1, "c", 0),
                "XYChart.addBarLayer3": lambda: c.addBarLayer3([1, 2], [-1], ["d"], 0),
                "XYChart.addLineLayer": lambda: c.addLineLayer([1, 2], -1, "e", 0),
                "XYChart.addAreaLayer": lambda: c.addAreaLayer([1, 2], -1, "f", 0),
                "XYChart.addHLOCLayer": lambda: c.addHLOCLayer([4, 5], [1, 2], [2, 3], [3, 4], -1),
            }
            self.assertEqual(set(calls), set(_objects.IMPLIED_COUNTS))
            for name, run in calls.items():
                with self.subTest(name=name):
                    run()

    def test_wrapper_classes_follow_the_fallback_edges(self):
        edges = [(name, base) for name, base in _tables.CLASSES if base is not None]
        self.assertEqual(len(edges), 11)
        self.assertEqual(len(_objects._CLASSES), 23)
        for derived, base in edges:
            self.assertEqual(getattr(quorvane, derived).__bases__, (getattr(quorvane, base),))
        derived_names = {d for d, _ in edges}
        for name, cls in _objects._CLASSES.items():
            if name not in derived_names:
                self.assertEqual(cls.__bases__, (quorvane.Object,), name)

    def test_chart_options_come_as_their_own_class(self):
        with quorvane.XYChart(200, 150) as c, quorvane.PieChart(200, 150) as pie:
            for chart in (c, pie):
                options = chart.options()
                self.assertIsInstance(options, quorvane.ChartOptions)
                chart.setAntiAlias(quorvane.SmoothFine)
                self.assertEqual(options.getAntiAlias(), quorvane.SmoothFine)

    def test_constants_hold_their_published_values(self):
        self.assertEqual(quorvane.Transparent, 0xFF000000 - (1 << 32))
        self.assertEqual(quorvane.NoValue, 1.7e308)
        # Alignment, SymbolType, five enumerations of three, ImgFormat.
        self.assertEqual(len(_tables.__all__) - 2, 9 + 10 + 3 * 5 + 4)
        for name, value in (("AlignBottomLeft", 1), ("AlignTopRight", 9), ("NoSymbol", 0),
                            ("Cross2Symbol", 9), ("Side", 2), ("ErrorDiffusion", 2),
                            ("SmoothFine", 2), ("AntiAliasAuto", 2), ("WMP", 3)):
            self.assertEqual(getattr(quorvane, name), value, name)
        nested = {"DrawArea": "TryPalette ForcePalette NoPalette Quantize OrderedDither "
                              "ErrorDiffusion SmoothOff SmoothQuarters SmoothFine",
                  "TTFText": "AntiAliasOff AntiAliasOn AntiAliasAuto",
                  "Layer": "Overlay Stack Side", "BaseChart": "PNG GIF JPG WMP"}
        for owner, names in nested.items():
            for name in names.split():
                self.assertEqual(getattr(getattr(quorvane, owner), name), getattr(quorvane, name))


if __name__ == "__main__":
    unittest.main()

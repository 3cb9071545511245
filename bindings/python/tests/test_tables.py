# The binding's tables against the library: the implied counts against the
# registry's array rules and the library itself, the wrapper classes against
# the fallback edges, and the constants against the published header.
import os
import re
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
import quorvane  # noqa: E402
from quorvane import _objects  # noqa: E402

CHECKOUT = os.path.join(HERE, "..", "..", "..")


def source(*path):
    with open(os.path.join(CHECKOUT, *path), encoding="utf-8") as f:
        return f.read()


class TableTest(unittest.TestCase):
    def test_implied_counts_match_the_registry_rules(self):
        # A count is implied where a rule ties it to an array after it; it is
        # the length of the first such array.
        expected = {}
        for row in re.finditer(r'add<[^;]*?"(\w+\.\w+)"[^;]*;', source("src/script/registry.cpp")):
            pairs = {}
            for array, count in re.findall(r"\b(?:limit|limitIfGiven|pad)\((\d+), (\d+)\)", row[0]):
                if int(count) < int(array):
                    pairs[int(count)] = min(int(array), pairs.get(int(count), int(array)))
            if pairs:
                expected[row[1]] = tuple(sorted(pairs.items()))
        self.assertEqual(_objects.IMPLIED_COUNTS, expected)

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
        edges = re.findall(r"addEdge<(\w+), (\w+)>", source("src/script/hierarchy.cpp"))
        self.assertEqual(len(edges), 11)
        for derived, base in edges:
            self.assertEqual(getattr(quorvane, derived).__bases__, (getattr(quorvane, base),))
        derived_names = {d for d, _ in edges}
        for name, cls in _objects._CLASSES.items():
            if name not in derived_names:
                self.assertEqual(cls.__bases__, (quorvane.Object,), name)

    def test_constants_match_the_header(self):
        self.assertEqual(quorvane.Transparent, 0xFF000000 - (1 << 32))
        self.assertEqual(quorvane.NoValue, 1.7e308)
        header = source("include/quorvane.h")
        enumerators = 0
        for body in re.findall(r"enum \w+ : int \{(.*?)\};", header, re.S):
            for name, value in re.findall(r"(\w+) = (\d+)", body):
                enumerators += 1
                self.assertEqual(getattr(quorvane, name), int(value), name)
        self.assertEqual(enumerators, 9 + 10 + 3 * 5 + 4)
        nested = {"DrawArea": "TryPalette ForcePalette NoPalette Quantize OrderedDither "
                              "ErrorDiffusion SmoothOff SmoothQuarters SmoothFine",
                  "TTFText": "AntiAliasOff AntiAliasOn AntiAliasAuto",
                  "Layer": "Overlay Stack Side", "BaseChart": "PNG GIF JPG WMP"}
        for owner, names in nested.items():
            for name in names.split():
                self.assertEqual(getattr(getattr(quorvane, owner), name), getattr(quorvane, name))


if __name__ == "__main__":
    unittest.main()

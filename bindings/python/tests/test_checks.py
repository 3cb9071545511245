# What the binding adds to the library's quiet answers: a makeChart that
# fails raises Error with the chart's reason; a file name without an image
# ending is written as PNG with a warning; counts that differ and pies with
# nothing to share are drawn as before, with one warning per chart.
import errno
import os
import re
import sys
import tempfile
import unittest
import warnings

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import quorvane  # noqa: E402

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def caught(action):
    with warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        action()
    return [w for w in seen if issubclass(w.category, quorvane.QuorvaneWarning)]


class CheckTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.addCleanup(self.scratch.cleanup)
        self.dir = self.scratch.name

    def test_make_chart_that_fails_raises_the_reason(self):
        os.mkdir(os.path.join(self.dir, "folder.png"))
        causes = [(os.path.join(self.dir, "missing", "x.png"), errno.ENOENT),
                  (os.path.join(self.dir, "folder.png"), errno.EISDIR),
                  ("/dev/null/x.png", errno.ENOTDIR)]
        for make in (quorvane.XYChart, quorvane.PieChart):
            for path, code in causes:
                with self.subTest(chart=make.__name__, path=path), make(60, 40) as chart:
                    with self.assertRaises(quorvane.Error) as raised:
                        chart.makeChart(path)
                    reason = f"cannot write {path}: {os.strerror(code)}"
                    self.assertEqual(str(raised.exception), reason)
                    self.assertEqual(chart.options().getLastError(), reason)
                    self.assertEqual(chart.makeChart(""), 1)
                    self.assertEqual(chart.options().getLastError(), "")

    def test_unknown_endings_are_written_as_png_with_a_warning(self):
        with quorvane.XYChart(30, 20) as chart, quorvane.DrawArea() as area:
            area.setSize(5, 4, 0xFF0000)
            for name, warns in (("a.bmp", True), ("b.tiff", True), ("plain", True),
                                ("c.GIF", False), ("d.Jpeg", False)):
                for write in (chart.makeChart, area.out):
                    path = os.path.join(self.dir, name)
                    with self.subTest(name=name, write=write.__name__):
                        seen = caught(lambda: self.assertTrue(write(path)))
                        self.assertEqual(len(seen), int(warns))
                        if warns:
                            self.assertIn("written as PNG", str(seen[0].message))
                            self.assertIn(repr(path), str(seen[0].message))
                            self.assertEqual(seen[0].filename, __file__)
                            with open(path, "rb") as f:
                                self.assertEqual(f.read(8), PNG_SIGNATURE)
            self.assertTrue(issubclass(quorvane.QuorvaneWarning, UserWarning))

    def test_counts_that_differ_and_empty_pies_warn_once_per_chart(self):
        def xy(labels, values):
            chart = quorvane.XYChart(200, 120)
            chart.xAxis().setLabels(labels)
            chart.addBarLayer(values[:1], -1, "first", 0)
            chart.addLineLayer(values, -1, "second", 0)
            return chart

        def pie(values, labels):
            chart = quorvane.PieChart(200, 120)
            chart.setData(values, labels)
            return chart

        cases = [
            (lambda: xy(list("abc"), [1, 2, 3, 4, 5]), "3 labels and the data 5 points: the points "
                                                 "past the labels are drawn without one"),
            (lambda: xy(list("abcde"), [1, 2, 3]), "5 labels and the data 3 points: the labels past "
                                             "the data mark empty slots"),
            (lambda: pie([1, 2, 3], ["a", "b"]), "3 values and 2 labels"),
            (lambda: pie([0, 0, -1, 0], ["a", "b", "c", "d"]), "equal share (25.00%)"),
            (lambda: pie([None] * 8, []), "missing (None): each of the 8 sectors is drawn as "
                                            "an equal share (12.50%)"),
            (lambda: pie([3, None, 5], []), "take the whole pie"),
            (lambda: xy(list("abc"), [1, 2, 3]), None),
            (lambda: pie([1, 2], ["a", "b"]), None),
        ]
        for make, phrase in cases:
            with self.subTest(phrase=phrase), make() as chart:
                seen = caught(lambda: [chart.getHTMLImageMap("u", "", ""), chart.makeChart3(),
                                       chart.makeChart2(quorvane.PNG), chart.getHTMLImageMap(
                                           "u", "", ""), chart.makeChart("")])
                self.assertEqual(len(seen), 0 if phrase is None else 1)
                if phrase is not None:
                    self.assertIn(phrase, str(seen[0].message))
                    self.assertEqual(seen[0].filename, __file__)
        # What the warnings say is what is drawn: equal shares for no values.
        with pie([0, 0, 0, 0], []) as chart:
            caught(chart.makeChart3)
            # Each of the 4 sectors and its label.
            self.assertEqual(re.findall(r'href="u\?([^"]*)"',
                                        chart.getHTMLImageMap("u", "{percent}", "")),
                             ["25.00"] * 8)


if __name__ == "__main__":
    unittest.main()

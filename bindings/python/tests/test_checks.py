# What the binding adds to the library's quiet answers: a makeChart that
# fails raises Error with the chart's reason; a name without an image ending
# is written as PNG with a warning; counts that differ and pies with nothing
# to share are drawn as before, with one warning per chart.
import errno
import os
import re
import sys
import tempfile
import unittest
import warnings

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import quorvane  # noqa: E402


def caught(action):
    with warnings.catch_warnings(record=True) as seen:
        warnings.simplefilter("always")
        action()
    return [w for w in seen if issubclass(w.category, quorvane.QuorvaneWarning)]


class CheckTest(unittest.TestCase):
    def test_make_chart_that_fails_raises_its_reason(self):
        for make in (quorvane.XYChart, quorvane.PieChart):
            with self.subTest(make.__name__), make(60, 40) as chart:
                with self.assertRaises(quorvane.Error) as raised:
                    chart.makeChart("/dev/null/x.png")
                self.assertEqual(str(raised.exception),
                                 f"cannot write /dev/null/x.png: {os.strerror(errno.ENOTDIR)}")
                self.assertEqual(chart.makeChart(""), 1)

    def test_unknown_endings_are_written_as_png_with_a_warning(self):
        with tempfile.TemporaryDirectory() as folder, quorvane.XYChart(30, 20) as chart, \
                quorvane.DrawArea() as area:
            for name, warns in (("a.bmp", 1), ("b.tiff", 1), ("plain", 1), ("c.GIF", 0)):
                for write in (chart.makeChart, area.out):
                    path = os.path.join(folder, name)
                    seen = caught(lambda: self.assertTrue(write(path)))
                    self.assertEqual(len(seen), warns, (name, write.__name__))
                    for w in seen:
                        self.assertIn(f"{path!r} does not end in", str(w.message))
                        self.assertEqual(w.filename, __file__)
                        with open(path, "rb") as f:
                            self.assertEqual(f.read(8), b"\x89PNG\r\n\x1a\n")

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
            (xy(list("abc"), [1, 2, 3, 4, 5]), "xAxis has 3 labels and the data 5 points: the "
                                               "points past the labels are drawn without one"),
            (xy(list("abcde"), [1, 2, 3]), "the labels past the data mark empty slots"),
            (pie([1, 2, 3], ["a", "b"]), "the pie has 3 values and 2 labels"),
            (pie([0, 0, -1, 0], list("abcd")), "no pie value is above 0: each of the 4 sectors "
                                               "is drawn as an equal share (25.00%)"),
            (pie([None] * 8, []), "every pie value is missing (None): each of the 8 sectors"),
            (pie([3, None, 5], []), "take the whole pie"),
            (xy(list("abc"), [1, 2, 3]), None),
            (pie([1, 2], ["a", "b"]), None),
        ]
        for chart, phrase in cases:
            with self.subTest(phrase), chart:
                seen = caught(lambda: [chart.getHTMLImageMap("u", "", ""), chart.makeChart3(),
                                       chart.makeChart2(quorvane.PNG), chart.makeChart("")])
                self.assertEqual([str(w.message) for w in seen if phrase in str(w.message)],
                                 [str(w.message) for w in seen])
                self.assertEqual(len(seen), phrase is not None)
                self.assertEqual({w.filename for w in seen}, {__file__} if phrase else set())
        # As warned, a pie of no values is drawn in equal shares: 4 sectors, 4 labels.
        with pie([0, 0, 0, 0], []) as chart:
            caught(chart.makeChart3)
            self.assertEqual(re.findall(r'href="u\?([^"]*)"',
                                        chart.getHTMLImageMap("u", "{percent}", "")),
                             ["25.00"] * 8)


if __name__ == "__main__":
    unittest.main()

# Object lifetime in the binding: what the caller made is freed when Python
# collects it, by destroy() (once) or by a with block; what a chart hands out
# keeps the chart alive; a chart keeps what it was lent; use after destroy is
# refused by the wrapper, naming the class.
import gc
import os
import sys
import unittest
import weakref

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
import quorvane  # noqa: E402
from quorvane import _native  # noqa: E402

# A method each kind answers while it lives, called by bare handle text so
# that only the library's own table of live objects decides.
_PROBES = {"XYChart": "BaseChart.getLegend", "PieChart": "BaseChart.getLegend",
           "DrawArea": "DrawArea.getWidth", "TTFText": "TTFText.getWidth"}


def lives(handle):
    kind = handle.split("class ", 1)[1].split(" ", 1)[0]
    try:
        quorvane.call(_PROBES[kind], handle)
        return True
    except quorvane.Error:
        return False


def resident_pages():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1])


def sanitized():
    with open("/proc/self/maps") as f:
        return "libasan" in f.read()


def bar_chart(width=200, height=150):
    c = quorvane.XYChart(width, height)
    c.addBarLayer([3, 5, 2, 7], 0x4060E0, "s", 0)
    return c


class LifetimeTest(unittest.TestCase):
    def test_dropped_objects_are_freed(self):
        # 2,000 charts drawn to memory and 2,000 areas, none destroyed. Without
        # a free each keeps over 100 KB (a 200 x 150 canvas is 120 KB), some
        # 400 MB in all; 16 MB leaves room for the allocator's and the
        # interpreter's caches. The sanitizer runtime holds freed memory in
        # quarantine, so under it a shorter loop runs for its use-after-free
        # and double-free checks alone.
        charts = [lambda: bar_chart().makeChart2(quorvane.PNG),
                  lambda: quorvane.PieChart(200, 150).makeChart2(quorvane.PNG)]
        bound_pages = 16 * 2**20 // os.sysconf("SC_PAGE_SIZE")
        bounded = not sanitized()
        for i in range(2000 if bounded else 200):
            if i == 40:
                start = resident_pages()  # after the caches have filled
            charts[i % 2]()
            quorvane.DrawArea().setSize(200, 150, 0xFFFFFF)
            if bounded and i % 250 == 249:
                self.assertLess(resident_pages() - start, bound_pages, f"after {i + 1}")

    def test_destroyed_objects_and_their_children_refuse_use(self):
        cases = [
            # (make, a child or None, end, class names refused)
            (bar_chart, lambda c: c.xAxis(), "destroy", ("XYChart", "XAxis")),
            (bar_chart, lambda c: c.addTitle("t", "", 10, 0, -1, -1), "destroy twice",
             ("XYChart", "TextBox")),
            (lambda: quorvane.PieChart(100, 100), lambda c: c.getDrawArea(), "with",
             ("PieChart", "DrawArea")),
            (quorvane.DrawArea, None, "with", ("DrawArea",)),
        ]
        for make, child_of, end, names in cases:
            with self.subTest(make=names[0], end=end):
                obj = make()
                child = child_of(obj) if child_of else None
                handle = obj._handle
                if end == "with":
                    with obj:
                        self.assertTrue(lives(handle))
                else:
                    obj.destroy()
                    if end == "destroy twice":
                        obj.destroy()
                self.assertFalse(lives(handle))
                for refused, name in zip((obj, child), names):
                    # Refused before the library looks the method up.
                    with self.assertRaises(quorvane.Error) as caught:
                        refused.setSize(10, 10)
                    self.assertEqual(str(caught.exception), f"{name} has been destroyed")
                obj.destroy()  # still nothing

    def test_children_keep_their_chart_and_the_chart_keeps_what_it_was_lent(self):
        image = quorvane.DrawArea()
        image.setSize(5, 5, 0xFF0000)
        image_handle = image._handle
        layer = bar_chart().addLineLayer2(quorvane.Overlay, 0)
        layer.addDataSet([1, 4, 2], 0x00A000, "l").setDataSymbol3(image)
        chart = weakref.ref(layer._keeper)
        area = chart().getDrawArea()
        del image
        area.destroy()  # the chart's own area: nothing happens
        gc.collect()
        self.assertIsNotNone(chart())
        chart_handle = chart()._handle
        self.assertTrue(lives(image_handle))
        layer.addDataSet([2, 2, 2], -1, "more")
        self.assertEqual(chart().makeChart2(quorvane.PNG)[1:4], b"PNG")
        del layer
        gc.collect()
        self.assertIsNotNone(chart())  # the area still holds it
        del area
        gc.collect()
        self.assertIsNone(chart())
        self.assertFalse(lives(chart_handle))
        self.assertFalse(lives(image_handle))

    def test_charts_lent_to_each_other_are_freed_by_the_collector(self):
        a, b = bar_chart(), bar_chart()
        a.addLineLayer2(0, 0).addDataSet([1], 0, "a").setDataSymbol3(b.getDrawArea())
        b.addLineLayer2(0, 0).addDataSet([1], 0, "b").setDataSymbol3(a.getDrawArea())
        handles = (a._handle, b._handle)
        del a, b
        self.assertEqual([lives(h) for h in handles], [True, True])
        gc.collect()
        self.assertEqual([lives(h) for h in handles], [False, False])

    def test_a_text_is_the_callers_and_keeps_its_area(self):
        area = quorvane.DrawArea()
        area.setSize(40, 20, 0xFFFFFF)
        text = area.text3("Hi", "", 10)
        closed = area.text3("Yo", "", 10)
        handles = (area._handle, text._handle, closed._handle)
        area.close(closed)
        area.close(closed)  # a closed text is not closed again
        with self.assertRaises(quorvane.Error) as caught:
            closed.getWidth()
        self.assertEqual(str(caught.exception), "TTFText has been destroyed")
        del area
        gc.collect()
        self.assertEqual([lives(h) for h in handles], [True, True, False])
        text.draw(0, 0, 0, quorvane.AlignTopLeft)
        del text, closed
        self.assertEqual([lives(h) for h in handles], [False, False, False])

    def test_a_collection_inside_a_call_frees_after_it(self):
        # The collector may run inside a callback of the library; the free then
        # waits, as no call may start inside another.
        _native._run_method()
        area = quorvane.DrawArea()
        handle = area._handle
        _native._inside.depth += 1
        try:
            del area
            self.assertEqual([p[1] for p in _native._inside.pending], [handle])
        finally:
            _native._inside.depth -= 1
        self.assertTrue(lives(handle))  # this call's return frees it
        self.assertFalse(lives(handle))


if __name__ == "__main__":
    unittest.main()

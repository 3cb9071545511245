# A careless or hostile Python host: values whose conversions destroy the
# object being called, handles kept past destroy() while a new object takes
# the old address, threads sharing one chart, and the web app example's bounds
# on slow and idle connections.
import gc
import os
import socket
import struct
import sys
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "examples", "webapp"))
import quorvane  # noqa: E402
from quorvane import _native, _objects  # noqa: E402


def png_size(data):
    return struct.unpack(">II", data[16:24])


def stale(type_name):
    return f"Error converting object pointer to type class {type_name} *"


class DestroyingFloat(float):
    victim = None

    def __float__(self):
        self.victim.destroy()
        return 3.0


class DestroyingInt(int):
    victim = None

    def __int__(self):
        self.victim.destroy()
        return 3

    __index__ = __int__


class DestroyingStr(str):
    victim = None

    def encode(self, *args):
        self.victim.destroy()
        return b"title"


class DestroyingList(list):
    victim = None

    def __iter__(self):
        self.victim.destroy()
        return iter([1.0, 2.0])


class ConversionTest(unittest.TestCase):
    def test_a_value_that_destroys_its_chart_while_converted(self):
        # The value runs its conversion before the call, so the call meets a
        # destroyed chart and is refused like any stale handle.
        # The message names the class whose method runs (setSize is BaseChart's).
        cases = [
            (DestroyingFloat(1.5), "XYChart",
             lambda c, v: c.setPlotArea(v, 10, 100, 80, 0xFFFFFF, -1, -1, -1, -1)),
            (DestroyingInt(7), "BaseChart", lambda c, v: c.setSize(v, 100)),
            (DestroyingStr("x"), "BaseChart", lambda c, v: c.addTitle(v, "", 10, 0, -1, -1)),
            (DestroyingList([1.0]), "XYChart", lambda c, v: c.addBarLayer(v, 0xFF0000, "n", 0)),
        ]
        for value, type_name, use in cases:
            with self.subTest(kind=type(value).__name__):
                chart = quorvane.XYChart(200, 150)
                type(value).victim = chart
                with self.assertRaises(quorvane.Error) as caught:
                    use(chart, value)
                self.assertEqual(str(caught.exception), stale(type_name))

    def test_an_object_argument_destroyed_by_another_argument(self):
        with quorvane.XYChart(200, 150) as chart:
            area = quorvane.DrawArea()
            area.setSize(20, 20, 0xFF0000)
            DestroyingInt.victim = area
            with self.assertRaises(quorvane.Error) as caught:
                chart.getDrawArea().merge(area, 0, 0, 7, DestroyingInt(0))
            self.assertIn("Error converting", str(caught.exception))
            self.assertEqual(png_size(chart.makeChart2(quorvane.PNG)), (200, 150))

    def test_values_are_plain_before_the_library_sees_them(self):
        plain = _native._plain
        self.assertEqual(plain([]), ())
        self.assertIs(type(plain(True)), bool)
        self.assertIs(type(plain(2**40)), int)
        self.assertIs(type(plain("é")), str)
        # Anything that is neither number, text, list nor object is refused
        # without running any of its code.
        class Sneaky:
            def __float__(self):
                raise AssertionError("ran during the call")
        self.assertIs(plain(Sneaky()), _native._REFUSED)
        self.assertEqual(plain([1, 2.5, None, "a"]), (1, 2.5, None, "a"))


class StaleHandleTest(unittest.TestCase):
    def test_a_destroyed_chart_does_not_drive_the_one_at_its_address(self):
        old = quorvane.XYChart(300, 200)
        old_handle, old_address = old._handle, old._address
        old.destroy()
        # Make charts until one sits where the destroyed one sat.
        made, reused = [], None
        for _ in range(200):
            chart = quorvane.XYChart(300, 200)
            if chart._address == old_address:
                reused = chart
                break
            made.append(chart)
        try:
            if reused is None:
                self.skipTest("the allocator gave the address to no new chart")
            self.assertNotEqual(reused._handle, old_handle)
            # The wrapper knows its object is gone; the bare handle is refused
            # by the library.
            with self.assertRaises(quorvane.Error) as caught:
                old.setSize(123, 45)
            self.assertEqual(str(caught.exception), "XYChart has been destroyed")
            with self.assertRaises(quorvane.Error) as caught:
                quorvane.call("BaseChart.setSize", old_handle, 123, 45)
            self.assertEqual(str(caught.exception), stale("BaseChart"))
            self.assertEqual(png_size(reused.makeChart2(quorvane.PNG)), (300, 200))
        finally:
            for chart in made + ([reused] if reused else []):
                chart.destroy()

    def test_a_handle_without_its_generation_is_refused(self):
        with quorvane.XYChart(100, 100) as chart:
            bare = chart._handle.rsplit(":", 1)[0]
            with self.assertRaises(quorvane.Error) as caught:
                quorvane.call("BaseChart.setSize", bare, 10, 10)
            self.assertEqual(str(caught.exception), stale("BaseChart"))


class _CountingEntry:
    """Stands in for runMethod: counts the calls inside at once, per owner
    key, and lets a test hold calls until others arrive."""

    def __init__(self, barrier=None):
        self.lock = threading.Lock()
        self.inside = {}
        self.most = 0
        self.barrier = barrier

    def __call__(self, accessor, argc, argv, result, message):
        handle = _native._values[argv[1]][1]
        with self.lock:
            self.inside[handle] = self.inside.get(handle, 0) + 1
            self.most = max(self.most, sum(self.inside.values()))
        try:
            if self.barrier is not None:
                self.barrier.wait()
            time.sleep(0.002)
        finally:
            with self.lock:
                self.inside[handle] -= 1
        return 1


def fake_object(cls, handle, owner):
    obj = _objects.Object.__new__(cls)
    obj._adopt(handle, owner)
    return obj


class ThreadTest(unittest.TestCase):
    # Some tests put a counting entry in place of the library's. Garbage left
    # by earlier tests is collected first and the collector stays off until
    # the real entry is back, so that no real object is freed through the
    # counting one.
    def setUp(self):
        _native._run_method()  # the real entry, restored after each test
        self.saved = _native._run_method_entry
        gc.collect()
        gc.disable()

    def tearDown(self):
        _native._run_method_entry = self.saved
        gc.enable()

    def run_threads(self, calls):
        threads = [threading.Thread(target=c) for c in calls]
        for t in threads:
            t.start()
        for t in threads:
            t.join(30)

    def test_calls_on_one_chart_and_its_objects_take_turns(self):
        entry = _CountingEntry()
        _native._run_method_entry = entry
        owner = _native.Owner()
        chart = fake_object(quorvane.XYChart, "$$pointer$$class XYChart *@10:1", owner)
        layer = fake_object(quorvane.BarLayer, "$$pointer$$class BarLayer *@20:2", owner)

        def work(obj, *size):
            return lambda: [obj.setSize(*size) for _ in range(20)]
        self.run_threads([work(chart, 1, 2), work(chart, 1, 2), work(layer, 1, 2, 3, 4),
                          work(layer, 1, 2, 3, 4)])
        self.assertEqual(entry.most, 1)

    def test_two_charts_are_not_serialised(self):
        entry = _CountingEntry(threading.Barrier(2, timeout=10))
        _native._run_method_entry = entry
        a = fake_object(quorvane.XYChart, "$$pointer$$class XYChart *@10:1", _native.Owner())
        b = fake_object(quorvane.XYChart, "$$pointer$$class XYChart *@30:3", _native.Owner())
        self.run_threads([lambda: a.setSize(1, 2), lambda: b.setSize(1, 2)])
        self.assertEqual(entry.most, 2)
        self.assertFalse(entry.barrier.broken)

    def test_four_threads_drive_one_real_chart(self):
        chart = quorvane.XYChart(320, 200)
        chart.xAxis().setLabels(["a", "b", "c", "d"])
        layer = chart.addBarLayer([1, 2, 3, 4], 0x4060E0, "s", 0)
        errors = []

        def work(k):
            def run():
                for i in range(40):
                    try:
                        if k == 3 and i == 30:
                            chart.destroy()
                        layer.addDataSet([i, 1, 2, 3], -1, f"set {k}.{i}")
                        chart.setSize(320 + i, 200)
                        chart.getHTMLImageMap("u", "", "")
                    except quorvane.Error as e:
                        errors.append(str(e))
            return run
        self.run_threads([work(k) for k in range(4)])
        # Every call after the destroy is refused, by the wrapper or, for a call
        # already past its check, by the library; none reaches freed memory.
        self.assertTrue(errors)
        self.assertTrue(all(e.startswith("Error converting object pointer") or
                            e.endswith(" has been destroyed") or
                            "makeChart" in e for e in errors), errors[:3])


class WebAppBoundsTest(unittest.TestCase):
    def setUp(self):
        import app
        self.server = app.Server(("127.0.0.1", 0), request_seconds=0.5, max_connections=2)
        app.Handler.quiet = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()
        self.address = self.server.server_address

    def tearDown(self):
        self.server.shutdown()
        self.server.server_close()

    def connect(self):
        s = socket.create_connection(self.address, timeout=10)
        self.addCleanup(s.close)
        return s

    def test_a_trickling_request_is_cut_at_its_deadline(self):
        s = self.connect()
        start = time.monotonic()
        # A byte every 0.2 s never lets a per-read timeout fire.
        for byte in b"GET / HTTP/1.1\r\nHost: x\r\n"[:12]:
            try:
                s.send(bytes([byte]))
            except OSError:
                break
            time.sleep(0.2)
        s.settimeout(10)
        try:
            rest = s.recv(1024)
        except ConnectionResetError:
            rest = b""
        self.assertEqual(rest, b"")
        self.assertLess(time.monotonic() - start, 8)

    def test_connections_past_the_limit_are_closed_unanswered(self):
        idle = [self.connect() for _ in range(2)]
        for s in idle:
            s.send(b"GET")
        time.sleep(0.1)
        extra = self.connect()
        extra.send(b"GET / HTTP/1.0\r\n\r\n")
        try:
            self.assertEqual(extra.recv(1024), b"")
        except ConnectionResetError:
            pass


if __name__ == "__main__":
    unittest.main()

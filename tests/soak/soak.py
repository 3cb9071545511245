# Soak run of the Python binding: renders XY and pie charts one after another
# with their image maps, samples resident memory from /proc/self/statm, and
# fails when memory at the end exceeds memory at the end of the first tenth
# by more than a bound.
#   python3 tests/soak/soak.py [--charts N] [--max-growth-mb M]
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "bindings", "python"))
import quorvane  # noqa: E402


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def series(chart, salt, count):
    return [1 + (chart * 7 + salt * 13 + i * 5) % 23 for i in range(count)]


def render_xy(chart):
    n = 4 + chart % 5
    with quorvane.XYChart(320, 220) as c:
        c.addTitle(f"Chart {chart}", "arialbd.ttf", 10, 0, quorvane.Transparent,
                   quorvane.Transparent)
        c.addLegend(40, 18, False, "arial.ttf", 7)
        c.setPlotArea(40, 40, 250, 150, 0xF8F8F8, -1, 0, 0xC0C0C0, -1)
        c.xAxis().setLabels([f"P{chart % 100 + i}" for i in range(n)])
        c.yAxis().addMark(10, 0xFF0000, "Goal", "arial.ttf", 7)
        bars = c.addBarLayer2(quorvane.Layer.Stack, chart % 8)
        bars.addDataSet(series(chart, 1, n), -1, "North")
        bars.addDataSet(series(chart, 2, n), -1, "South")
        line = c.addLineLayer(series(chart, 3, n), 0x0000C0, "Trend", 0)
        line.setDataLabelFormat("&value&")
        image = c.makeChart2(quorvane.PNG)
        image_map = c.getHTMLImageMap("detail", "", "title='{value}'")
        return bool(image) and bool(image_map)


def render_pie(chart):
    n = 3 + chart % 5
    with quorvane.PieChart(300, 220) as c:
        c.addTitle("Regions", "arialbd.ttf", 10, 0, quorvane.Transparent, quorvane.Transparent)
        c.setPieSize(150, 120, 70)
        if chart % 2 == 0:
            c.set3D(-1, -1, False)
        c.setData(series(chart, 4, n), [f"Region {chart % 50 + i}" for i in range(n)])
        image = c.makeChart2(quorvane.GIF if chart % 3 == 0 else quorvane.PNG)
        image_map = c.getHTMLImageMap("detail", "", "title='{label}'")
        return bool(image) and bool(image_map)


def main():
    parser = argparse.ArgumentParser(description="Soak run of the Python binding.")
    parser.add_argument("--charts", type=int, default=2000)
    parser.add_argument("--max-growth-mb", type=float, default=4.0)
    args = parser.parse_args()
    start = time.monotonic()
    before = resident_bytes()
    every = max(1, args.charts // 100)
    at_tenth = peak = before
    failed = 0
    for i in range(args.charts):
        if not (render_xy(i // 2) if i % 2 == 0 else render_pie(i // 2)):
            failed += 1
        if (i + 1) % every == 0 or i + 1 == args.charts:
            now = resident_bytes()
            peak = max(peak, now)
            if i + 1 <= args.charts // 10:
                at_tenth = now
    after = resident_bytes()
    mb = 1024.0 * 1024.0
    growth = (after - at_tenth) / mb
    print(f"python binding (XY and pie): {args.charts} charts in {time.monotonic() - start:.1f} s, "
          f"{failed} failed; resident MB: start {before / mb:.1f}, after 10% {at_tenth / mb:.1f}, "
          f"peak {peak / mb:.1f}, end {after / mb:.1f}; growth after 10%: {growth:+.2f} MB "
          f"(bound {args.max_growth_mb:.1f})")
    ok = failed == 0 and growth <= args.max_growth_mb
    print(f"soak: {'passed' if ok else 'FAILED'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())

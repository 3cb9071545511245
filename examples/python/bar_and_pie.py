#!/usr/bin/env python3
# A bar chart and a pie chart from Python: each is written as a PNG beside an
# HTML page that shows it with its image map. Usage: bar_and_pie.py [out_dir]
# (the current directory by default); the library is $QUORVANE_LIBRARY, else
# build/libquorvane20.so or build-demo/libquorvane20.so of this checkout.
import html
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "bindings", "python"))
import quorvane  # noqa: E402


def bar_chart():
    c = quorvane.XYChart(400, 260)
    c.addTitle("Sales by month", "", 12, 0x000000, quorvane.Transparent, quorvane.Transparent)
    c.setPlotArea(50, 50, 320, 170, 0xFFFFFF, 0xF4F4F4, 0xC0C0C0, 0xE0E0E0, quorvane.Transparent)
    c.addLegend(55, 24, False, "", 8)
    c.xAxis().setLabels(["Jan", "Feb", "Mar", "Apr"])
    # Earlier layers stand in front: the target line over the bars.
    c.addLineLayer([2, 4, 4, 5], 0x202020, "Target", 0).setLineWidth(2)
    c.addBarLayer([3, 5, 2, 6], 0x4060E0, "Sales", 0)
    return c


def pie_chart():
    c = quorvane.PieChart(360, 260)
    c.addTitle("Market share", "", 12, 0x000000, quorvane.Transparent, quorvane.Transparent)
    c.setPieSize(180, 140, 80)
    c.set3D(-1, -1, False)
    c.setData([35, 25, 20, 12, 8], ["North", "South", "East", "West", "Other"])
    return c


def write(chart, name, out_dir):
    with chart:
        png = chart.makeChart2(quorvane.PNG)
        areas = chart.getHTMLImageMap(f"{name}.html", "", "") or ""
    with open(os.path.join(out_dir, f"{name}.png"), "wb") as f:
        f.write(png)
    with open(os.path.join(out_dir, f"{name}.html"), "w", encoding="utf-8") as f:
        f.write(f'<!DOCTYPE html>\n<title>{html.escape(name)}</title>\n'
                f'<img src="{name}.png" usemap="#{name}" alt="{name} chart">\n'
                f'<map name="{name}">\n{areas}</map>\n')
    print(f"{name}: {len(png)} bytes, {areas.count('<area')} map areas")


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out_dir, exist_ok=True)
    write(bar_chart(), "bar", out_dir)
    write(pie_chart(), "pie", out_dir)


if __name__ == "__main__":
    main()

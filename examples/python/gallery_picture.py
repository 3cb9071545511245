#!/usr/bin/env python3
# Composes the README's gallery picture from the demo's charts (run `make demo`
# first): six charts in a grid, merged into one area by the library itself.
# Usage: gallery_picture.py [demo_dir] [out.png]
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "bindings", "python"))
import quorvane  # noqa: E402

CHARTS = ["bars_overlay_3d", "lines_symbols", "areas_stacked_3d",
          "bars_marks_zones", "combined", "pie_tilted"]
CELL_W, CELL_H, COLUMNS = 560, 340, 3


def main():
    demo = sys.argv[1] if len(sys.argv) > 1 else "build/demo"
    out = sys.argv[2] if len(sys.argv) > 2 else "docs/gallery.png"
    rows = (len(CHARTS) + COLUMNS - 1) // COLUMNS
    picture = quorvane.DrawArea()
    picture.setSize(CELL_W * COLUMNS, CELL_H * rows, 0xFFFFFF)
    for k, name in enumerate(CHARTS):
        chart = quorvane.DrawArea()
        if not chart.load(os.path.join(demo, name + ".png")):
            raise SystemExit(f"cannot read {name}.png: run make demo first")
        # Each chart centred in its cell.
        x = (k % COLUMNS) * CELL_W + CELL_W // 2
        y = (k // COLUMNS) * CELL_H + CELL_H // 2
        picture.merge(chart, x, y, quorvane.AlignCentre, 0)
        chart.destroy()
    if not picture.outPNG(out):
        raise SystemExit(f"cannot write {out}")
    picture.destroy()
    print(out)


if __name__ == "__main__":
    main()

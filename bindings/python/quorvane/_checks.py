# What the binding adds to the library's quiet answers, looking only at what
# the caller passed and at the layers' point counts:
#   - a makeChart that returns false raises Error with the chart's reason;
#   - a file name without a known image ending is written as PNG, with a
#     QuorvaneWarning saying so;
#   - at a chart's first drawing, one QuorvaneWarning for x labels and data of
#     different lengths, pie labels and values of different lengths, and pie
#     values with nothing to share or with missing ones.
# The charts are drawn exactly as without the checks. A chart's record holds
# handle texts, never wrappers, so it makes no reference cycle.
import math
import os
import sys
import warnings

from ._native import Error, is_sequence, run


class QuorvaneWarning(UserWarning):
    """A chart drawn as the library describes, but most likely not as meant."""

    __module__ = "quorvane"


_IMAGE_ENDINGS = (".gif", ".jpg", ".jpeg", ".png", ".wbmp", ".wmp")
_PACKAGE_DIR = os.path.dirname(os.path.abspath(__file__))


def _in_package(filename):
    return os.path.dirname(os.path.abspath(filename)) == _PACKAGE_DIR


def _warn(message):
    # Attributed to the caller's line: the first frame outside this package.
    level, frame = 2, sys._getframe(1)
    while frame is not None and _in_package(frame.f_code.co_filename):
        frame, level = frame.f_back, level + 1
    warnings.warn(message, QuorvaneWarning, stacklevel=level)


class _Record:
    """What the checks know of one chart: its layers, the label counts of its
    x axes (by axis handle), its pie data, and whether it was checked."""
    __slots__ = ("layers", "labels", "pie", "checked")

    def __init__(self):
        self.layers = []
        self.labels = {}
        self.pie = None
        self.checked = False


def _record(obj):
    chart = obj._owning()
    record = getattr(chart, "_checks_record", None)
    if record is None:
        record = chart._checks_record = _Record()
    return record


def _text(value):
    if isinstance(value, bytes):
        return value.decode("utf-8", "replace")
    return value if isinstance(value, str) else None


def _check_ending(args):
    name = _text(args[0]) if args else None
    if name and not name.lower().endswith(_IMAGE_ENDINGS):
        _warn(f"{name!r} does not end in .png, .gif, .jpg, .jpeg, .wbmp or .wmp: "
              "it was written as PNG")


def _make_chart(chart, args, result):
    if chart._class not in _CHART_CLASSES:
        return
    if not result:
        try:
            options = run([f"{chart._class}.options", chart._handle])[0]
            reason = run(["ChartOptions.getLastError", options])[0]
        except Error:
            reason = ""
        raise Error(reason or "makeChart failed")
    _check_ending(args)
    _check_drawing(chart, args, result)


def _out(area, args, result):
    if result:
        _check_ending(args)


def _add_layer(chart, args, result):
    if result:
        _record(chart).layers.append(result._handle)


def _set_labels(axis, args, result):
    labels = args[0] if args else None
    _record(axis).labels[axis._handle] = len(labels) if is_sequence(labels) else 0


def _shares(value):
    # What a sector's value counts for: None (a missing value, which reaches
    # the library as NoValue), else whether it is a positive finite number;
    # the library counts every other value as 0.
    if value is None:
        return None
    try:
        number = float(value)
    except (TypeError, ValueError):
        return False
    return math.isfinite(number) and number > 0


def _set_data(obj, args, result):
    # Summed up now, so that the record keeps no copy of the data.
    if obj._class != "PieChart" or not args or not is_sequence(args[0]):
        return
    shares = {_shares(v) for v in args[0]}
    # No labels at all (an empty list) is no mismatch.
    label_count = len(args[1]) if len(args) > 1 and is_sequence(args[1]) else 0
    _record(obj).pie = (len(args[0]), label_count or None, shares)


def _pie_problems(n, label_count, shares):
    problems = []
    if label_count is not None and label_count != n:
        problems.append(f"the pie has {n} values and {label_count} labels: " +
                        ("the sectors past the labels have none" if label_count < n
                         else "the labels past the values are not shown"))
    if n == 0:
        return problems
    equal = f"each of the {n} sectors is drawn as an equal share ({100 / n:.2f}%)"
    if shares == {None}:
        problems.append(f"every pie value is missing (None): {equal}, its value shown empty")
    elif None in shares:
        problems.append("pie values missing (None) count as 1.7e308 and take the whole pie")
    elif True not in shares:
        problems.append(f"no pie value is above 0: {equal}")
    return problems


def _xy_problems(chart, record):
    if not record.labels or not record.layers:
        return []
    points = max(int(run(["Layer.getMaxX", layer])[0]) for layer in record.layers)
    names = {run([f"XYChart.{name}", chart._handle])[0]: name for name in ("xAxis", "xAxis2")}
    problems = []
    for axis, count in record.labels.items():
        if count and points and count != points:
            problems.append(f"{names.get(axis, 'an x axis')} has {count} labels and the data "
                            f"{points} points: " +
                            ("the points past the labels are drawn without one" if points > count
                             else "the labels past the data mark empty slots"))
    return problems


def _check_drawing(chart, args, result):
    """Warns once per chart, at its first drawing, of what it drew that was
    most likely not meant."""
    record = getattr(chart, "_checks_record", None)
    if chart._class not in _CHART_CLASSES or record is None or record.checked or not result:
        return
    record.checked = True
    try:
        problems = _xy_problems(chart, record) + (_pie_problems(*record.pie) if record.pie else [])
    except Error:  # the chart went while it was looked at: nothing to say
        return
    if problems:
        _warn("; ".join(problems))


_LAYER_FACTORIES = ("addBarLayer", "addBarLayer2", "addBarLayer3", "addLineLayer",
                    "addLineLayer2", "addAreaLayer", "addAreaLayer2", "addHLOCLayer",
                    "addHLOCLayer2")
_CHART_CLASSES = frozenset(("XYChart", "PieChart", "BaseChart"))
_AFTER = {
    "makeChart": _make_chart,
    "makeChart2": _check_drawing,
    "makeChart3": _check_drawing,
    "getHTMLImageMap": _check_drawing,
    "out": _out,
    "setLabels": _set_labels,
    "setData": _set_data,
    **{name: _add_layer for name in _LAYER_FACTORIES},
}


def after(obj, name, args, result):
    """Runs the check of method name, just called on obj with args and
    returning result, if it has one: it may raise Error or warn."""
    check = _AFTER.get(name)
    if check is not None:
        check(obj, args, result)

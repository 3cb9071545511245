# Library objects as Python objects: one wrapper class per published class,
# related as the library's fallback edges relate them (both from _tables), a
# method call that forwards to runMethod by "Class.method", and the counts
# that a call takes from the length of the list they count.
import re

from . import _tables
from ._native import Error, Handle, Owner, adopt, run

# Per method, the arguments that count an array, each with that array, as
# 0-based positions among the method's arguments. A count stands before its
# array there and the caller leaves it out: it is the length of the list.
# Where one count governs several arrays, it is the length of the data array,
# the first one; the library cuts it to the shortest and pads the optional ones.
IMPLIED_COUNTS = _tables.IMPLIED_COUNTS

# "$$pointer$$class XYChart *@<address>:<generation>", both in hexadecimal.
_HANDLE = re.compile(r"\$\$pointer\$\$class (\w+)(?: const)? \*@([0-9a-f]+):[0-9a-f]+\Z")


class Object:
    """A library object reached through its handle; any method of its class or
    of a class it falls back to is called by name, e.g. chart.setSize(300, 200).
    A null object (address 0) is false. An object and everything it was handed
    out by share one lock, taken by every call on any of them."""

    _class_name = None

    def __init__(self, *args):
        raise TypeError(f"{type(self).__name__} objects come from their owner's methods")

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)

        def method(*args):
            return _wrap(*run([f"{self._class}.{name}", self._handle,
                               *_with_counts(type(self), self._class, name, args)]))
        method.__name__ = name
        return method

    def destroy(self):
        """Destroys the object (and, for a chart, everything it owns)."""
        run([f"{self._class}.destroy", self._handle])

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.destroy()

    def __bool__(self):
        return self._address != 0

    def __eq__(self, other):
        return isinstance(other, Object) and self._handle == other._handle

    def __hash__(self):
        return hash(self._handle)

    def __repr__(self):
        return f"<quorvane.{self._class} at 0x{self._address:x}>"

    def _adopt(self, handle, owner):
        match = _HANDLE.match(handle)
        if match is None:
            raise Error(f"not an object handle: {handle}")
        self._handle = str(handle)
        self._class = match[1]
        self._address = int(match[2], 16)
        self._owner = owner
        adopt(self._handle, owner)


def _with_counts(cls, class_name, name, args):
    counts = None
    for base in cls.__mro__:
        counts = IMPLIED_COUNTS.get(f"{base._class_name or class_name}.{name}")
        if counts is not None or base is Object:
            break
    if not counts:
        return args
    full = list(args)
    for count, array in sorted(counts):
        # The array's place among the caller's arguments, which lack the counts.
        index = array - sum(1 for c, _ in counts if c < array)
        # A list missing from the call leaves its count out too, so the
        # library's argument count message tells what is missing.
        if index >= len(args):
            break
        items = args[index]
        full.insert(count, len(items) if isinstance(items, (list, tuple)) else 0)
    return full


def _wrap(value, owner):
    if not isinstance(value, Handle):
        return value
    match = _HANDLE.match(value)
    if match is None:
        return str(value)
    obj = Object.__new__(_CLASSES.get(match[1], Object))
    obj._adopt(value, owner)
    return obj


def call(name, *args):
    """Runs runMethod for name with args as given (counts included); returns an
    int, float, str, bytes, a wrapped object or None."""
    return _wrap(*run([name, *args]))


def _created(self, name, *args):
    # A null object from create means the library ran out of memory.
    obj = call(name, *args)
    if not obj:
        raise Error("out of memory")
    self._adopt(obj._handle, obj._owner)


def _chart_init(name):
    def __init__(self, width, height, bgColor=0xFFFFFF, edgeColor=_tables.Transparent):
        _created(self, name, width, height, bgColor, edgeColor)
    return __init__


def _draw_area_init(self):
    _created(self, "DrawArea.create")


# What the wrapper classes add to the tables: constructors.
_CONSTRUCTORS = {
    "DrawArea": _draw_area_init,
    "XYChart": _chart_init("XYChart.create"),
    "PieChart": _chart_init("PieChart.create"),
}


def _make_classes():
    classes = {}
    for name, base in _tables.CLASSES:
        namespace = {"_class_name": name, "__module__": __name__, "__qualname__": name}
        for constant in _tables.NESTED.get(name, ()):
            namespace[constant] = getattr(_tables, constant)
        if name in _CONSTRUCTORS:
            namespace["__init__"] = _CONSTRUCTORS[name]
        classes[name] = type(name, (classes[base] if base else Object,), namespace)
    return classes


_CLASSES = _make_classes()
globals().update(_CLASSES)

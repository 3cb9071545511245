# Library objects as Python objects: one wrapper class per published class,
# related as the library's fallback edges relate them (both from _tables), a
# method call that forwards to runMethod by "Class.method", and the counts
# that a call takes from the length of the list they count.
#
# Lifetime: an object the caller made (a chart, a DrawArea, a text from
# text3/text4) is freed by destroy(), by leaving its with block, or when
# Python collects its wrapper. Everything a chart hands out is the chart's:
# its wrapper never frees it and keeps the chart's wrapper alive, and a chart
# keeps alive what it was lent (an image given to setDataSymbol3). Frees run
# from weakref.finalize rather than __del__: the callback holds only the
# handle and the lock, so a wrapper in a reference cycle is still collected
# and freed, and the objects still alive at interpreter exit are freed by
# finalize's exit hook while the modules are intact, before teardown.
import re
import weakref

from . import _checks, _tables
from ._native import Error, Handle, Owner, adopt, free, is_sequence, run

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
    # The finalizer that frees an object the caller made (None: the object is
    # its owner's); the wrapper this one keeps alive, its owner or, for a
    # text, the area that made it; and what an owner was lent, kept alive.
    _finalizer = None
    _keeper = None
    _lent = None

    def __init__(self, *args):
        raise TypeError(f"{type(self).__name__} objects come from their owner's methods")

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)

        def method(*args):
            self._check(args)
            result = _wrap(*run([f"{self._class}.{name}", self._handle,
                                 *_with_counts(type(self), self._class, name, args)]),
                           self, f"{self._class}.{name}")
            if name not in _USED_DURING_CALL:
                self._keep_lent(args)
            _checks.after(self, name, args, result)
            return result
        method.__name__ = name
        return method

    def destroy(self):
        """Frees an object the caller made (a chart with everything it owns);
        a second call does nothing. On an object a chart owns it does nothing:
        the chart frees it."""
        if self._finalizer is not None:
            self._finalizer()
            self._lent = None

    def _is_destroyed(self):
        # The first finalizer up the keepers decides: the object's own, else
        # its owner's. An object with none (a bare handle) is never known dead.
        obj = self
        while obj is not None:
            if obj._finalizer is not None:
                return not obj._finalizer.alive
            obj = obj._keeper
        return False

    def _check(self, args=()):
        for obj in (self, *args):
            if isinstance(obj, Object) and obj._is_destroyed():
                raise Error(f"{obj._class} has been destroyed")

    def _owning(self):
        """The wrapper that owns this object: itself when the caller made it."""
        obj = self
        while obj._finalizer is None and obj._keeper is not None:
            obj = obj._keeper
        return obj

    def _keep_lent(self, args):
        owning = self._owning()
        for obj in args:
            # What the owner handed out itself needs no keeping (and keeping it
            # would make a cycle).
            if isinstance(obj, Object) and obj._owning() is not owning:
                if owning._lent is None:
                    owning._lent = set()
                owning._lent.add(obj)

    def _own(self):
        self._finalizer = weakref.finalize(self, free, f"{self._class}.destroy", self._handle,
                                           self._owner)

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
        full.insert(count, len(items) if is_sequence(items) else 0)
    return full


# The methods whose objects belong to the caller; every other object a method
# returns belongs to the object it was called on, or to that one's owner.
_CALLER_OWNS = frozenset(("DrawArea.create", "XYChart.create", "PieChart.create",
                          "DrawArea.text3", "DrawArea.text4"))
# The methods that use an object argument only while they run; any other
# method may keep it, so its owner keeps the argument's wrapper.
_USED_DURING_CALL = frozenset(("merge", "tile", "close"))


def _wrap(value, owner, parent=None, name=None):
    if not isinstance(value, Handle):
        return value
    match = _HANDLE.match(value)
    if match is None:
        return str(value)
    obj = Object.__new__(_CLASSES.get(match[1], Object))
    obj._adopt(value, owner)
    if name in _CALLER_OWNS:
        if obj:
            obj._own()
        obj._keeper = parent
    elif parent is not None:
        obj._keeper = parent._owning()
    return obj


def call(name, *args):
    """Runs runMethod for name with args as given (counts included); returns an
    int, float, str, bytes, a wrapped object or None. An object made by create,
    text3 or text4 is freed with its wrapper; one handed out by an object
    passed first keeps that object's wrapper alive."""
    parent = args[0] if args and isinstance(args[0], Object) else None
    if parent is not None:
        parent._check(args)
    return _wrap(*run([name, *args]), parent, name)


def _created(self, name, *args):
    value, owner = run([name, *args])
    match = _HANDLE.match(value) if isinstance(value, Handle) else None
    # A null object from create means the library ran out of memory.
    if match is None or int(match[2], 16) == 0:
        raise Error("out of memory")
    self._adopt(value, owner)
    self._own()


def _close(self, text):
    """Destroys a text made by text3 or text4 (as its destroy does); None
    is ignored."""
    self._check()
    if isinstance(text, Object) and text._finalizer is not None:
        text.destroy()
    elif text is not None:
        run(["DrawArea.close", self._handle, text])


def _chart_init(name):
    def __init__(self, width, height, bgColor=0xFFFFFF, edgeColor=_tables.Transparent):
        _created(self, name, width, height, bgColor, edgeColor)
    return __init__


def _draw_area_init(self):
    _created(self, "DrawArea.create")


def _repr_png(self):
    """The chart as PNG bytes, so that Jupyter and other rich displays show
    it; None once it is destroyed (the display then falls back to repr)."""
    if self._is_destroyed():
        return None
    return self.makeChart2(_tables.PNG)


# What the wrapper classes add to the tables: constructors, close, which
# must mark the text's wrapper destroyed, and the charts' rich display.
_ADDED = {
    "DrawArea": {"__init__": _draw_area_init, "close": _close},
    "XYChart": {"__init__": _chart_init("XYChart.create"), "_repr_png_": _repr_png},
    "PieChart": {"__init__": _chart_init("PieChart.create"), "_repr_png_": _repr_png},
}


def _make_classes():
    classes = {}
    for name, base in _tables.CLASSES:
        namespace = {"_class_name": name, "__module__": __name__, "__qualname__": name}
        for constant in _tables.NESTED.get(name, ()):
            namespace[constant] = getattr(_tables, constant)
        namespace.update(_ADDED.get(name, {}))
        classes[name] = type(name, (classes[base] if base else Object,), namespace)
    return classes


_CLASSES = _make_classes()
globals().update(_CLASSES)

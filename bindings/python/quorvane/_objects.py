# Library objects as Python objects: one wrapper class per published class,
# related as the library's fallback edges relate them (both from _tables),
# with one function per method of the tables, called with the header's
# parameter names (see _signatures) and forwarded to runMethod by
# "Class.method" with the counts that a call takes from the length of the
# list they count.
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
from ._native import Error, Handle, Owner, adopt, free, run, run_plain
from ._signatures import Spec, function_for, library_function

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

    __module__ = "quorvane"
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
        # A name the tables do not list goes to the library as it is, which
        # refuses it ("unknown method XYChart.nope") or runs a row that this
        # binding does not know yet.
        if name.startswith("_"):
            raise AttributeError(name)

        def method(*args):
            self._check(args)
            return _wrap(*run([f"{self._class}.{name}", self._handle, *args]), self,
                         f"{self._class}.{name}")
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


def _call_method(self, spec, args, kwargs):
    """Runs spec's method on self: the arguments checked and made plain, the
    call, its result wrapped, and what the method may keep kept alive."""
    self._check((*args, *kwargs.values()) if kwargs else args)
    name = f"{self._class}.{spec.method}"
    bound, values = spec.arguments(args, kwargs, self._is_destroyed, name)
    result = _wrap(*run_plain([name, self._handle, *values]), self, name)
    if spec.result == "bool":
        result = bool(result)
    if spec.method not in _USED_DURING_CALL:
        self._keep_lent((*args, *kwargs.values()))
    _checks.after(self, spec.method, bound, result)
    return result


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


def _created(self, name, *values):
    value, owner = run_plain([name, *values])
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


def _constructor(spec):
    def __init__(self, *args, **kwargs):
        _created(self, spec.library_name, *spec.arguments(args, kwargs)[1])
    return __init__


def _repr_png(self):
    """The chart as PNG bytes, so that Jupyter and other rich displays show
    it; None once it is destroyed (the display then falls back to repr)."""
    if self._is_destroyed():
        return None
    return self.makeChart2(_tables.PNG)


# What the wrapper classes add to the tables: close, which must mark the
# text's wrapper destroyed, and the charts' rich display.
_ADDED = {
    "DrawArea": {"close": _close},
    "XYChart": {"_repr_png_": _repr_png},
    "PieChart": {"_repr_png_": _repr_png},
}


def _make_classes():
    classes = {}
    for name, base in _tables.CLASSES:
        namespace = {"_class_name": name, "__module__": "quorvane", "__qualname__": name,
                     "__doc__": _tables.CLASS_DOCS.get(name)}
        for constant in _tables.NESTED.get(name, ()):
            namespace[constant] = getattr(_tables, constant)
        classes[name] = type(name, (classes[base] if base else Object,), namespace)
    return classes


def _add_methods(classes):
    """Gives each class the methods of its rows (create as the constructor),
    and returns the library functions that take no object."""
    functions = {}
    for library_name, method in _tables.METHODS.items():
        class_name, _, name = library_name.rpartition(".")
        cls = classes.get(class_name)
        if cls is None:
            spec = Spec(name, library_name, method, classes)
            functions[name] = library_function(spec)
            continue
        if name == "create":
            spec = Spec(class_name, library_name, method, classes)
            spec.signature = spec.signature.replace(return_annotation=None)
            function = function_for(spec, None, _constructor(spec))
            function.__name__, function.__qualname__ = "__init__", f"{class_name}.__init__"
            setattr(cls, "__init__", function)
            continue
        if name == "destroy":
            continue  # Object.destroy, which frees through the finalizer
        spec = Spec(f"{class_name}.{name}", library_name, method, classes)
        setattr(cls, name, function_for(spec, _call_method, _ADDED.get(class_name, {}).get(name)))
    for class_name, added in _ADDED.items():
        for name, function in added.items():
            if name.startswith("_"):
                setattr(classes[class_name], name, function)
    return functions


_CLASSES = _make_classes()
FUNCTIONS = _add_methods(_CLASSES)
globals().update(_CLASSES)

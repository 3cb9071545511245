# Methods as a Python caller sees them: the parameters of the header by name,
# without the counts that a list's length gives, the values that may be left
# out, and the checks that name a misfit in those terms before the library is
# called ("XYChart.addBarLayer: argument 1 (data) must be a sequence of
# numbers, not str"). What only the library can judge (a stale handle, an
# object of the wrong class) keeps the library's message.
#
# A call's arguments are made plain once, here (see _native.plain), and the
# plain values are what is checked and handed to the library.
import functools
import inspect
import typing

from . import _tables
from ._native import ArgumentError, is_handle, plain

_INT_RANGE = range(-(1 << 31), 1 << 32)


def _fits_int(v):
    # Colours are written 0xAARRGGBB: up to 0xFFFFFFFF stands for the negative
    # int of the same 32 bits.
    return type(v) in (int, bool) and v in _INT_RANGE


def _fits_double(v):
    return v is None or type(v) in (float, int, bool)


def _fits_text(v):
    return isinstance(v, (str, bytes)) and ("\0" not in v if isinstance(v, str) else b"\0" not in v)


def _fits_text_item(v):
    return v is None or _fits_text(v)


# Per parameter type of the tables: what a plain value must be, how that is
# said, and the type hint shown by help() and inspect.signature.
_SCALARS = {
    "int": (_fits_int, "an int of 32 bits", int),
    "bool": (_fits_int, "a bool", bool),
    "float": (_fits_double, "a number or None", float),
    "str": (_fits_text, "a str", str),
}
_ARRAYS = {
    "list[int]": (_fits_int, "a sequence of ints", typing.Sequence[int]),
    "list[float]": (_fits_double, "a sequence of numbers", typing.Sequence[typing.Optional[float]]),
    "list[str]": (_fits_text_item, "a sequence of str", typing.Sequence[typing.Optional[str]]),
}


def _type_name(value):
    return getattr(value, "_class", None) or type(value).__name__


# Whole arrays of numbers are judged by their element types and extremes in
# C loops (the plain form of "every item fits"); the items are walked one by
# one only where that cannot tell.
_NUMBER_TYPES = {"list[int]": frozenset((int, bool)),
                 "list[float]": frozenset((int, bool, float, type(None)))}


def _array_fits(item_fits, kind, plain_value):
    """Whether a plain array fits; None is the null array."""
    if plain_value is None:
        return True
    if type(plain_value) is not tuple:
        return False
    types = _NUMBER_TYPES.get(kind)
    if types is not None and types.issuperset(map(type, plain_value)):
        if kind == "list[float]" or not plain_value or (
                min(plain_value) >= _INT_RANGE.start and max(plain_value) < _INT_RANGE.stop):
            return True
    return all(map(item_fits, plain_value))


def _first_misfit(item_fits, plain_value):
    """The index of the first item of an array that does not fit; -1 when
    the value is not an array at all."""
    if type(plain_value) is not tuple:
        return -1
    return next(i for i, item in enumerate(plain_value) if not item_fits(item))


class Spec:
    """One method, constructor or library function as Python calls it."""

    __slots__ = ("shown", "library_name", "method", "params", "size", "least", "checks", "counts",
                 "defaults", "result", "signature", "doc", "arrays")

    def __init__(self, shown, library_name, method, classes):
        self.shown = shown
        self.library_name = library_name
        self.method = library_name.rpartition(".")[2]
        implied = dict(_tables.IMPLIED_COUNTS.get(library_name, ()))
        # The caller's parameters: (name, type), counts left out; and where
        # each count goes among the library's arguments, with its list's index
        # among the caller's.
        self.params = [p for i, p in enumerate(method.params) if i not in implied]
        self.counts = [(count, array - sum(1 for c in implied if c < array))
                       for count, array in sorted(implied.items())]
        self.size = len(self.params)
        self.defaults = tuple(method.defaults)
        self.least = self.size - len(self.defaults)
        self.checks = [self._check_of(kind) for _, kind in self.params]
        self.arrays = [i for i, (_, kind) in enumerate(self.params) if kind in _ARRAYS]
        self.result = method.result
        self.doc = method.doc
        self.signature = self._signature(classes)

    @staticmethod
    def _check_of(kind):
        """(whether a plain value fits, what it must be, whether an item of
        an array fits or None)."""
        if kind in _SCALARS:
            return (_SCALARS[kind][0], _SCALARS[kind][1], None)
        if kind in _ARRAYS:
            item_fits = _ARRAYS[kind][0]
            return (functools.partial(_array_fits, item_fits, kind), _ARRAYS[kind][1], item_fits)
        # An object: any wrapper or handle text; its class is the library's to judge.
        return (is_handle, f"a {kind}", None)

    def _signature(self, classes):
        def hint(kind):
            known = _SCALARS.get(kind) or _ARRAYS.get(kind)
            return known[2] if known else classes.get(kind, kind)

        params = [inspect.Parameter("self", inspect.Parameter.POSITIONAL_OR_KEYWORD)]
        for i, (name, kind) in enumerate(self.params):
            extra = {}
            if i >= self.least:
                extra["default"] = self.defaults[i - self.least]
            annotation = hint(kind)
            if extra.get("default", 0) is None:
                annotation = typing.Optional[annotation]
            params.append(inspect.Parameter(name, inspect.Parameter.POSITIONAL_OR_KEYWORD,
                                            annotation=annotation, **extra))
        result = None if self.result is None else hint(self.result)
        return inspect.Signature(params, return_annotation=result)

    def names(self):
        return ", ".join(name for name, _ in self.params)

    def _count_error(self, given, shown):
        if self.least == self.size:
            takes = ("no arguments" if self.size == 0 else
                     f"{self.size} argument{'s' if self.size != 1 else ''}")
        else:
            takes = f"{self.least} to {self.size} arguments"
        return ArgumentError(f"{shown}({self.names()}) takes {takes} ({given} given)")

    def bind(self, args, kwargs, shown):
        """The caller's arguments in order, keywords placed and defaults
        filled in; the names they were given by (None: by position)."""
        if len(args) > self.size or (not kwargs and len(args) < self.least):
            raise self._count_error(len(args) + len(kwargs), shown)
        values = list(args) + [_MISSING] * (self.size - len(args))
        by_name = {name: i for i, (name, _) in enumerate(self.params)}
        for name, value in kwargs.items():
            i = by_name.get(name)
            if i is None:
                raise ArgumentError(f"{shown}() got an unexpected keyword argument "
                                    f"'{name}' (its parameters: {self.names()})")
            if i < len(args):
                raise ArgumentError(f"{shown}() got multiple values for argument '{name}'")
            values[i] = value
        for i, value in enumerate(values):
            if value is _MISSING:
                if i < self.least:
                    missing = [n for (n, _), v in zip(self.params, values) if v is _MISSING
                               and by_name[n] < self.least]
                    raise ArgumentError(f"{shown}({self.names()}) missing argument"
                                        f"{'s' if len(missing) > 1 else ''}: "
                                        + ", ".join(f"'{n}'" for n in missing))
                values[i] = self.defaults[i - self.least]
        return values

    def arguments(self, args, kwargs, is_gone=None, shown=None):
        """The caller's arguments in order (keywords placed, left-out values
        filled in), and the plain values the library takes, counts included;
        raises ArgumentError naming the first argument that does not fit.
        is_gone, when given, tells whether the object called has died while
        the values were made plain: the library then refuses the call as it
        refuses any stale handle, and the arguments are not judged. Messages
        name the method as shown (by default as the class that defines it)."""
        shown = shown or self.shown
        bound = args if not kwargs and len(args) == self.size else self.bind(args, kwargs, shown)
        values = [plain(v) for v in bound]
        for i, (fits, _, _) in enumerate(self.checks):
            if not fits(values[i]) and not (is_gone and is_gone()):
                raise self._argument_error(i, args, kwargs, values[i], shown)
        # None for a list is the null the header allows: an empty array.
        for i in self.arrays:
            if values[i] is None:
                values[i] = ()
        for count, array in self.counts:
            items = values[array]
            values.insert(count, len(items) if type(items) is tuple else 0)
        return bound, values

    def _argument_error(self, i, args, kwargs, plain_value, shown):
        name, kind = self.params[i]
        _, wanted, item_fits = self.checks[i]
        if i < len(args):
            where, original = f"argument {i + 1} ({name})", args[i]
        else:
            where, original = f"argument '{name}'", kwargs.get(name)
        given = _type_name(original)
        at = -1 if item_fits is None else _first_misfit(item_fits, plain_value)
        if at >= 0:
            item = original[at] if isinstance(original, (list, tuple)) else plain_value[at]
            given = f"{given} (item {at} is {_type_name(item)})"
        elif kind == "int" and type(plain_value) in (int, bool):
            given = str(plain_value)
        elif kind in ("str", "list[str]") and isinstance(original, (str, bytes)):
            given = f"{given} holding NUL"
        return ArgumentError(f"{shown}: {where} must be {wanted}, not {given}")


_MISSING = object()


def function_for(spec, run, function=None):
    """The function a class offers for spec: function (which takes the
    parameters by their names), else one that passes its arguments to
    run(self, spec, args, kwargs); with spec's name, signature and doc."""
    if function is None:
        def function(self, *args, **kwargs):
            return run(self, spec, args, kwargs)
    function.__name__ = spec.method
    function.__qualname__ = spec.shown
    function.__doc__ = spec.doc
    function.__signature__ = spec.signature
    function.__module__ = "quorvane"
    return function


def library_function(spec):
    """A library function without an object, such as getVersion."""
    from ._native import run_plain

    def function(*args, **kwargs):
        return run_plain([spec.library_name, *spec.arguments(args, kwargs)[1]])[0]
    function.__name__ = function.__qualname__ = spec.shown
    function.__doc__ = spec.doc
    function.__signature__ = spec.signature.replace(
        parameters=list(spec.signature.parameters.values())[1:])
    function.__module__ = "quorvane"
    return function


__all__ = ("Error", "Spec", "function_for", "library_function")

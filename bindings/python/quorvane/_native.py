# The library door: loads libquorvane20.so, implements the host accessor table
# over Python values with ctypes callbacks, and runs one runMethod call.
# Values reach the library as small integer keys into a table of the calls in
# progress; every buffer handed to the library stays referenced by its call
# until the call ends, and the callbacks themselves live as long as the module.
#
# No code of the caller's runs while the library works on a call: every value
# is made plain (built-in numbers, bytes, tuples, handle texts) before the
# call, so a value's __float__, __index__, encode or element cannot destroy the
# object the call is working on. A call holds the locks of the objects it
# names (see run). For the same reason an object the collector frees while a
# call of this thread is inside the library is freed when that call returns
# (see free).
import collections.abc
import contextlib
import ctypes
import decimal
import itertools
import numbers
import os
import threading
import weakref

_ERROR_BUFFER_SIZE = 1024
_HANDLE_PREFIX = "$$pointer$$"


class Error(Exception):
    """A failed library call; str(error) is the library's message."""

    __module__ = "quorvane"


class ArgumentError(Error, TypeError):
    """Arguments that do not fit the method's parameters: a wrong count, an
    unknown or repeated keyword, or a value of the wrong type. The message
    names the method as called and the argument by position or keyword."""

    __module__ = "quorvane"


# The calls in progress: key -> (call, Python value); the void* of a value is its key.
_values = {}
_keys = itertools.count(1)


class Handle(str):
    """An object handle delivered as a result, told apart from plain text."""


class _Refused:
    """A value the accessor refuses whatever type the library asks for."""


_REFUSED = _Refused()
_EXACT = (type(None), bool, int, float, str, bytes, Handle)


def _plain_scalar(value):
    # Exact built-in values stay; subclasses are turned into their built-in
    # value here, once, by their own conversions; anything else is refused
    # (an object that is not a number or text never becomes one).
    if type(value) in _EXACT:
        return value
    text = _handle_text(value)
    if text is not None:
        return text
    try:
        if isinstance(value, str):
            data = value.encode("utf-8")
            return data if type(data) is bytes else _REFUSED
        if isinstance(value, bool):
            return bool(value)
        if isinstance(value, int):
            return int(value)
        if isinstance(value, float):
            return float(value)
        if isinstance(value, bytes):
            return bytes(value)
        # Other real numbers (Decimal, Fraction, numpy scalars) by their own
        # conversions: whole ones as int, the rest as float.
        if isinstance(value, numbers.Integral):
            return int(value)
        if isinstance(value, (numbers.Real, decimal.Decimal)):
            return float(value)
    except Exception:
        pass
    return _REFUSED


def is_sequence(value):
    """Whether a value stands for an array: a list, tuple, range or other
    sequence that is not text, or a one-dimensional array such as numpy's."""
    if isinstance(value, (str, bytes, bytearray)):
        return False
    if isinstance(value, collections.abc.Sequence):
        return True
    return hasattr(type(value), "__array__") and getattr(value, "ndim", None) == 1


def _plain(value):
    """The value as the accessor reads it, with no code of the caller's left to
    run: a sequence becomes a tuple of plain elements."""
    try:
        if is_sequence(value) and _handle_text(value) is None:
            return tuple(_plain_scalar(v) for v in list(value))
    except Exception:
        return _REFUSED
    return _plain_scalar(value)


plain = _plain


def is_handle(value):
    """Whether a plain value is an object's handle text."""
    return isinstance(value, str) and value.startswith(_HANDLE_PREFIX)


class _Call:
    """One runMethod call: its result and every buffer handed to the library."""
    __slots__ = ("value", "buffers")

    def __init__(self):
        self.value = None
        self.buffers = []

    def keep(self, buffer):
        self.buffers.append(buffer)
        return ctypes.addressof(buffer)


def _guarded(function):
    # A callback must never let an exception unwind into the library: any
    # failure becomes the refusal the library already reports.
    def call(*args):
        try:
            return function(*args)
        except Exception:
            return 0
    return call


def _handle_text(value):
    handle = getattr(value, "_handle", None)
    return handle if isinstance(handle, str) else None


def _to_int32(value):
    # Colours are written 0xAARRGGBB; values up to 0xFFFFFFFF stand for the
    # negative int with the same 32 bits.
    if not isinstance(value, int):
        raise TypeError(value)
    if not -(1 << 31) <= value < (1 << 32):
        raise OverflowError(value)
    return value - (1 << 32) if value >= (1 << 31) else int(value)


def _to_double(value):
    if value is None:
        return 1.7e308  # NoValue: a missing point, an unset limit
    if isinstance(value, (int, float)):
        return float(value)
    raise TypeError(value)


def _to_bytes(value):
    if isinstance(value, str):
        data = value.encode("utf-8")
    elif isinstance(value, bytes):
        data = value
    else:
        raise TypeError(value)
    if b"\0" in data:
        raise ValueError("a text holding NUL would be cut short")
    return data


def _sequence(value):
    if not isinstance(value, tuple):
        raise TypeError(value)
    return value


@_guarded
def _get_double(key, out):
    out[0] = _to_double(_values[key][1])
    return 1


@_guarded
def _get_int(key, out):
    out[0] = _to_int32(_values[key][1])
    return 1


@_guarded
def _get_string(key, out):
    call, value = _values[key]
    out[0] = call.keep(ctypes.create_string_buffer(_to_bytes(value)))
    return 1


def _put_array(key, element, convert, out, count):
    # An empty array is handed over as null with no element, and never released.
    call, value = _values[key]
    items = [convert(v) for v in _sequence(value)]
    count[0] = len(items)
    out[0] = call.keep((element * len(items))(*items)) if items else None
    return 1


def _to_text(value):
    return None if value is None else _to_bytes(value)


@_guarded
def _get_string_array(key, out, count):
    return _put_array(key, ctypes.c_char_p, _to_text, out, count)


@_guarded
def _get_double_array(key, out, count):
    return _put_array(key, ctypes.c_double, _to_double, out, count)


@_guarded
def _get_int_array(key, out, count):
    return _put_array(key, ctypes.c_int, _to_int32, out, count)


def _release(address):
    # Buffers stay with their call until it ends: the library copies each one
    # as soon as it gets it, so holding them a little longer costs little.
    pass


@_guarded
def _set_number(v, key):
    _values[key][0].value = v
    return 1


@_guarded
def _set_string(s, key):
    text = s.decode("utf-8", "replace") if s is not None else ""
    _values[key][0].value = Handle(text) if text.startswith(_HANDLE_PREFIX) else text
    return 1


@_guarded
def _set_mem_block(data, length, key):
    if length < 0 or (length > 0 and not data):
        return 0
    _values[key][0].value = ctypes.string_at(data, length) if length else b""
    return 1


def _reserved():
    pass


def _scalar_getter(kind):
    return ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.POINTER(kind))


_ARRAY_GETTER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.POINTER(ctypes.c_void_p),
                             ctypes.POINTER(ctypes.c_int))
_RELEASE = ctypes.CFUNCTYPE(None, ctypes.c_void_p)


class _HostAccessor(ctypes.Structure):
    _fields_ = [
        ("getDouble", _scalar_getter(ctypes.c_double)),
        ("getInt", _scalar_getter(ctypes.c_int)),
        ("getBool", _scalar_getter(ctypes.c_int)),
        ("getString", _scalar_getter(ctypes.c_void_p)),
        ("freeString", _RELEASE),
        ("getStringArray", _ARRAY_GETTER),
        ("freeStringArray", _RELEASE),
        ("getDoubleArray", _ARRAY_GETTER),
        ("freeDoubleArray", _RELEASE),
        ("getIntArray", _ARRAY_GETTER),
        ("freeIntArray", _RELEASE),
        ("setDoubleResult", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_double, ctypes.c_void_p)),
        ("setIntResult", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_int, ctypes.c_void_p)),
        ("reserved", ctypes.CFUNCTYPE(None)),
        ("setStringResult", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p)),
        ("setMemBlockResult", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_int,
                                               ctypes.c_void_p)),
    ]


def _make_accessor():
    functions = [_get_double, _get_int, _get_int, _get_string, _release, _get_string_array,
                 _release, _get_double_array, _release, _get_int_array, _release, _set_number,
                 _set_number, _reserved, _set_string, _set_mem_block]
    # The structure keeps the callback objects, and so the C thunks, alive.
    return _HostAccessor(*(kind(f) for (_, kind), f in zip(_HostAccessor._fields_, functions)))


_accessor = _make_accessor()
_run_method_entry = None
_load_lock = threading.Lock()


def library_path():
    """The library file used: $QUORVANE_LIBRARY, else the one an installed
    package names in _library.txt (relative to its folder), else that of the
    checkout the package sits in (build/, then build-demo/ that `make demo`
    writes), else the bare name, which the dynamic loader looks up in its
    usual places (LD_LIBRARY_PATH, the ldconfig cache)."""
    path = os.environ.get("QUORVANE_LIBRARY")
    if path:
        return path
    here = os.path.dirname(os.path.abspath(__file__))
    try:
        with open(os.path.join(here, "_library.txt"), encoding="utf-8") as f:
            return os.path.normpath(os.path.join(here, f.read().strip()))
    except FileNotFoundError:
        pass
    for folder in ("build", "build-demo"):
        path = os.path.normpath(os.path.join(here, "..", "..", "..", folder, _LIBRARY_NAME))
        if os.path.isfile(path):
            return path
    return _LIBRARY_NAME


_LIBRARY_NAME = "libquorvane20.so"


def _run_method():
    global _run_method_entry
    with _load_lock:
        if _run_method_entry is None:
            path = library_path()
            try:
                run_method = ctypes.CDLL(path).runMethod
            except (OSError, AttributeError) as e:
                raise Error(f"cannot load runMethod from {path}: {e}; set QUORVANE_LIBRARY "
                            f"to the library's file") from None
            run_method.argtypes = [ctypes.POINTER(_HostAccessor), ctypes.c_int,
                                   ctypes.POINTER(ctypes.c_void_p), ctypes.c_void_p,
                                   ctypes.c_char_p]
            run_method.restype = ctypes.c_int
            _run_method_entry = run_method
    return _run_method_entry


class Owner:
    """The lock of one unit of ownership: a chart or drawing area made by a
    factory together with every object it hands out. Calls on any of them,
    and their destroy, take it, so threads that share a chart take turns
    instead of racing inside the library."""
    __slots__ = ("lock", "__weakref__")

    def __init__(self):
        self.lock = threading.RLock()


# Handle text -> the owner of that object, for as long as a wrapper holds the
# owner; handles that arrive as plain text find their lock here.
_owners = weakref.WeakValueDictionary()


def adopt(handle, owner):
    """Records that the object of handle belongs to owner."""
    _owners[handle] = owner


def _owners_named(values):
    """The owners of the objects that values name, in the order their locks
    are taken, and the owner of the first object named (or None)."""
    owners = {}
    first = None
    for value in values:
        if isinstance(value, str) and value.startswith(_HANDLE_PREFIX):
            owner = _owners.get(value)
            if owner is not None:
                owners[id(owner)] = owner
                first = first or owner
    # One order for every call, so two calls that share owners cannot each hold
    # one lock and wait for the other's.
    return [owners[k] for k in sorted(owners)], first


# Per thread: how deep it is inside runMethod, and the frees put off until it
# leaves.
_inside = threading.local()


def free(destroy_name, handle, owner):
    """Runs destroy_name on handle for a wrapper that is destroyed or collected
    (owner, its lock, is passed so that it outlives the wrapper). A refusal is
    ignored: the object may have gone already through a call that names it
    only by handle text. Inside a call of this thread's the free waits for the
    call to return, so the collector never runs a nested call."""
    if getattr(_inside, "depth", 0):
        _inside.pending.append((destroy_name, handle, owner))
        return
    try:
        run([destroy_name, handle])
    except Error:
        pass


def _free_pending():
    pending, _inside.pending = _inside.pending, []
    for item in pending:
        free(*item)


def run(argv):
    """Runs runMethod over the Python values argv; returns (result, owner): the
    delivered result (None when the method has none) and the owner that a
    returned object joins (that of the first object named, or a new one).
    Raises Error with the library's message."""
    return run_plain([_plain(value) for value in argv])


def run_plain(argv):
    """run for values that are plain already (see plain)."""
    run_method = _run_method()
    owners, first = _owners_named(argv)
    call = _Call()
    keys = [next(_keys) for _ in range(len(argv) + 1)]
    for key, value in zip(keys, argv):
        _values[key] = (call, value)
    _values[keys[-1]] = (call, None)
    pointers = (ctypes.c_void_p * len(argv))(*keys[:-1])
    message = ctypes.create_string_buffer(_ERROR_BUFFER_SIZE)
    with contextlib.ExitStack() as held:
        for owner in owners:
            held.enter_context(owner.lock)
        if not hasattr(_inside, "depth"):
            _inside.depth, _inside.pending = 0, []
        _inside.depth += 1
        try:
            ok = run_method(ctypes.byref(_accessor), len(argv), pointers, keys[-1], message)
        finally:
            _inside.depth -= 1
            for key in keys:
                del _values[key]
    if not _inside.depth and _inside.pending:
        _free_pending()
    if not ok:
        raise Error(message.value.decode("utf-8", "replace"))
    return call.value, (first or Owner())

# The query parameters, taken as hostile: the raw query string is read at
# most MAX_QUERY_BYTES long, plain ASCII, with each name known and given once
# and each value one of a fixed list or a bounded number of plain digits.
# Anything else raises BadRequest, whose text names the parameter and shows
# at most a short piece of the value (the page escapes it).
import re
import urllib.parse

from . import sales
from .charts import SIZES, View

MAX_QUERY_BYTES = 256
FILTERS = ("region", "product", "month", "day")
# Picture size limits in pixels: name: (smallest, largest).
SIZE_LIMITS = {"w": (240, 1200), "h": (160, 800)}


class BadRequest(Exception):
    """A query the dashboard refuses; str() says which parameter and why."""


def _shown(text):
    return repr(text if len(text) <= 24 else text[:24] + "...")


def parse_query(raw, allowed):
    """The raw query string (bytes) as {name: value}."""
    if len(raw) > MAX_QUERY_BYTES:
        raise BadRequest(f"the query is longer than {MAX_QUERY_BYTES} bytes")
    try:
        pairs = urllib.parse.parse_qsl(raw.decode("ascii"), keep_blank_values=True,
                                       errors="strict", max_num_fields=len(allowed))
    except (ValueError, UnicodeDecodeError):
        raise BadRequest("the query cannot be read") from None
    names = [name for name, _ in pairs]
    for name in names:
        if name not in allowed:
            raise BadRequest(f"unknown parameter {_shown(name)}")
    repeated = sorted(name for name in set(names) if names.count(name) > 1)
    if repeated:
        raise BadRequest(f"parameter {repeated[0]!r} given twice")
    return dict(pairs)


def _one_of(params, name, names):
    value = params.get(name)
    if value is not None and value not in names:
        raise BadRequest(f"{name} must be one of {', '.join(names)}, not {_shown(value)}")
    return value


def _whole(params, name, low, high):
    text = params.get(name)
    if text is None:
        return None
    # Plain ASCII digits only: int() would also take "+5", " 5", "1_0" and other scripts' digits.
    if not re.fullmatch(r"[0-9]{1,5}", text) or not low <= int(text) <= high:
        raise BadRequest(f"{name} must be a whole number from {low} to {high}, not {_shown(text)}")
    return int(text)


def view_of(params):
    """The View the filters in params name."""
    month = _one_of(params, "month", sales.MONTHS)
    month = month and sales.MONTHS.index(month) + 1
    if "day" in params and month is None:
        raise BadRequest("day needs a month")
    return View(region=_one_of(params, "region", sales.REGIONS),
                product=_one_of(params, "product", sales.PRODUCTS), month=month,
                day=month and _whole(params, "day", 1, sales.days_in(month)))


def size_of(params, kind):
    """(width, height) of a picture of kind: the query's, else the page's."""
    return tuple(default if value is None else value for value, default in
                 zip((_whole(params, name, *SIZE_LIMITS[name]) for name in ("w", "h")),
                     SIZES[kind]))

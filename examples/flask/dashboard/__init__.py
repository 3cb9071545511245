# A sales dashboard on Flask: one page of bar, line and pie charts drawn by
# Quorvane, each served as PNG from its own URL with its HTML image map in the
# page, whose areas drill down (a month to its days, a region to its
# products). Every request builds, draws and destroys its own charts, on
# whichever thread serves it, with no lock of ours: the binding locks each
# chart for itself and separate charts need nothing more.
#
#     flask --app examples/flask/dashboard run
#     gunicorn -w 2 --threads 4 --pythonpath examples/flask dashboard:app
#
# The query is hostile until checked (params.py): a bad one gets a 400 page.
import logging
import os
import sys

from flask import Flask, Response, render_template, request
from markupsafe import Markup
from werkzeug.exceptions import HTTPException

try:
    import quorvane  # noqa: F401 - PYTHONPATH or the installed package
except ImportError:
    # Run from a checkout: the binding beside the examples.
    sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..",
                                    "bindings", "python"))

from . import charts, sales  # noqa: E402
from .params import FILTERS, SIZE_LIMITS, BadRequest, parse_query, size_of, view_of  # noqa: E402

# Pictures of the same query are the same bytes while the data and the code
# stay as they are: browsers may keep them an hour, then ask with the ETag.
PNG_MAX_AGE = 3600
# No script, no outside host: styles and pictures come from this server only.
SECURITY_HEADERS = {
    "Content-Security-Policy": "default-src 'none'; img-src 'self'; style-src 'self'; "
                               "base-uri 'none'; form-action 'none'; frame-ancestors 'none'",
    "X-Content-Type-Options": "nosniff",
    "Referrer-Policy": "same-origin",
}

app = Flask(__name__)


def _money(thousands):
    if thousands >= 1000:
        return f"${thousands / 1000:,.2f}M"
    return f"${thousands:,.1f}k"


def _period(view):
    if view.day:
        return f"{view.day} {sales.MONTH_NAMES[view.month - 1]} {sales.YEAR}"
    if view.month:
        return f"{sales.MONTH_NAMES[view.month - 1]} {sales.YEAR}"
    return str(sales.YEAR)


def _href(view, *drop):
    query = "&".join(f"{name}={value}" for name, value in view.query(*drop))
    return f"/?{query}" if query else "/"


def _chips(view):
    """The filters set, each with the link that takes it away (a month its day too)."""
    chips = []
    if view.region:
        chips.append(("Region", view.region, _href(view, "region")))
    if view.product:
        chips.append(("Product", view.product, _href(view, "product")))
    if view.month:
        chips.append(("Month", sales.MONTH_NAMES[view.month - 1], _href(view, "month", "day")))
    if view.day:
        chips.append(("Day", str(view.day), _href(view, "day")))
    return chips


def _previous(view):
    """(label, revenue) of the period before view's; None for the year, January
    and 1 January, which have none."""
    if view.day and (view.day > 1 or view.month > 1):
        month, day = (view.month, view.day - 1) if view.day > 1 else \
            (view.month - 1, sales.days_in(view.month - 1))
        return "the day before", sales.revenue(view.region, view.product, month, day)
    if view.month and not view.day and view.month > 1:
        return sales.MONTHS[view.month - 2], sales.revenue(view.region, view.product,
                                                           view.month - 1)
    return None


def _best_time(view):
    """(label, name, revenue text) of the best month of the year, or day of the month."""
    values = sales.by_time(view.month, view.region, view.product)
    best = max(range(len(values)), key=values.__getitem__)
    if view.month:
        return "Best day", f"{best + 1} {sales.MONTHS[view.month - 1]}", _money(values[best])
    return "Best month", sales.MONTH_NAMES[best], _money(values[best])


def _kpis(view):
    total = sales.revenue(view.region, view.product, view.month, view.day)
    days = 1 if view.day else sales.days_in(view.month) if view.month else \
        sum(sales.days_in(m) for m in range(1, 13))
    revenue = {"label": "Revenue", "value": _money(total), "note": _period(view)}
    previous = _previous(view)
    if previous and previous[1] > 0:
        change = 100 * (total - previous[1]) / previous[1]
        revenue["note"] = f"{change:+.1f}% against {previous[0]}"
        revenue["trend"] = "up" if change >= 0 else "down"
    label, value, note = _best_time(view)
    dimension, names, values = charts.pie_items(view)
    best = max(range(len(names)), key=values.__getitem__)
    share = 100 * values[best] / sum(values) if sum(values) else 0
    return [revenue, {"label": label, "value": value, "note": note},
            {"label": "Daily average", "value": _money(total / days),
             "note": f"over {days} day{'s' if days > 1 else ''}"},
            {"label": f"Top {dimension}", "value": names[best],
             "note": f"{share:.1f}% of the period"}]


def _card(kind, view, title, hint):
    width, height = charts.SIZES[kind]
    return {"kind": kind, "title": title, "hint": hint, "width": width, "height": height,
            "src": f"/chart/{kind}.png" + _href(view)[1:],
            # The areas are the library's text: our templates, its escaped values.
            "areas": Markup(charts.image_map(kind, view, width, height))}


def _scope(view):
    return " · ".join(filter(None, (view.region or "All regions", view.product)))


def _cards(view):
    dimension = charts.series_of(view)[0]
    month = view.month and sales.MONTH_NAMES[view.month - 1]
    bar = _card("bar", view, f"Daily revenue, {month}" if month else "Revenue by month",
                "Click a day to see its shares." if month else "Click a bar to see its days.")
    line = _card("line", view, f"Monthly trend by {dimension}" if dimension else "Monthly trend",
                 f"Click a point to pick its {dimension} and month." if dimension
                 else "Click a point to pick its month.")
    pie_dimension = charts.pie_items(view)[0]
    pie = _card("pie", view, f"Share by {pie_dimension}",
                "Click a region to see its products." if pie_dimension == "region"
                else "Click a product to follow it.")
    return [bar, line, pie]


@app.get("/")
def dashboard():
    view = view_of(parse_query(request.query_string, FILTERS))
    response = Response(render_template(
        "dashboard.html", view=view, scope=_scope(view), period=_period(view),
        chips=_chips(view), kpis=_kpis(view), cards=_cards(view)))
    response.headers["Cache-Control"] = "no-cache"
    return response


@app.get("/chart/<kind>.png")
def chart(kind):
    if kind not in charts.SIZES:
        return _error(404, "There is no such chart.")
    params = parse_query(request.query_string, FILTERS + tuple(SIZE_LIMITS))
    view = view_of(params)
    response = Response(charts.png(kind, view, *size_of(params, kind)), mimetype="image/png")
    response.headers["Cache-Control"] = f"public, max-age={PNG_MAX_AGE}"
    response.add_etag()
    return response.make_conditional(request)


@app.after_request
def _headers(response):
    response.headers.update(SECURITY_HEADERS)
    return response


def _error(status, message):
    return render_template("error.html", status=status, message=message), status


@app.errorhandler(BadRequest)
def _bad_request(error):
    return _error(400, f"{str(error)[:1].upper()}{str(error)[1:]}.")


@app.errorhandler(HTTPException)
def _http_error(error):
    return _error(error.code, error.description)


@app.errorhandler(Exception)
def _failure(error):
    logging.getLogger(__name__).exception("%s failed", request.path)
    return _error(500, "The page could not be made.")

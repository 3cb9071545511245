#!/usr/bin/env python3
# A small web application on the standard library's HTTP server: a dashboard
# of charts rendered per request from the query (kind, size, number of data
# sets) through the Python binding, served with their image maps and legend
# maps, and a drill-down page per area. It listens on 127.0.0.1 only; a bad
# parameter gets a 400 page and any other failure a 500 page, never a traceback.
# A connection has REQUEST_SECONDS to send its request and take the answer, and
# at most MAX_CONNECTIONS are served at once (more are closed at once), so idle
# or slow clients cannot pile up threads.
#
#     python3 examples/webapp/app.py --port 8000
#
# Parameters: kind = bar | line | area | pie (the dashboard shows all four
# when none is given), width = 200 to 1000, height = 150 to 700, sets = 1 to 6,
# smooth = 1 (the default: smooth shapes and grey text) or 0 (aliased).
import argparse
import html
import math
import os
import re
import socket
import sys
import threading
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "bindings", "python"))
import quorvane  # noqa: E402

KINDS = ("bar", "line", "area", "pie")
# name: (smallest, largest, default)
LIMITS = {"width": (200, 1000, 480), "height": (150, 700, 300), "sets": (1, 6, 3),
          "smooth": (0, 1, 1)}
SET_NAMES = ("North", "South", "East", "West", "Central", "Online")
X_LABELS = ("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug")
# Fields of the drill-down query: the ones that pick the item and those the
# chart's map adds for it, which are shown but not trusted.
DETAIL_FIELDS = {"kind", "sets", "legend", "x", "dataSet", "sector", "xLabel", "dataSetName",
                 "value", "label", "percent"}

REQUEST_SECONDS = 10
MAX_CONNECTIONS = 32


class BadRequest(Exception):
    """A parameter the application refuses; str() says which and why."""


def data_set(s):
    """Values of data set s: a fixed wave, so every request sees the same data."""
    return [round(20 + 8 * s + 12 * math.sin(0.8 * i + s), 1) for i in range(len(X_LABELS))]


def parse_query(query, allowed):
    """The query as {name: value}; each name allowed and given once."""
    try:
        pairs = urllib.parse.parse_qsl(query, keep_blank_values=True, strict_parsing=False,
                                       errors="strict", max_num_fields=32)
    except (ValueError, UnicodeDecodeError):
        raise BadRequest("the query cannot be read") from None
    params = {}
    for name, value in pairs:
        if name not in allowed:
            raise BadRequest(f"unknown parameter {name!r}")
        if name in params:
            raise BadRequest(f"parameter {name!r} given twice")
        params[name] = value
    return params


def number(params, name, low, high, default=None):
    """Parameter name as an int in [low, high]; default when absent (None: required)."""
    text = params.get(name)
    if text is None:
        if default is None:
            raise BadRequest(f"parameter {name!r} is required")
        return default
    # Plain ASCII digits only: int() would also take "+5", " 5", "1_0" and other scripts' digits.
    if not re.fullmatch(r"[0-9]{1,6}", text):
        raise BadRequest(f"{name} must be a whole number from {low} to {high}, not {text!r}")
    value = int(text)
    if not low <= value <= high:
        raise BadRequest(f"{name} must be from {low} to {high}, not {value}")
    return value


def kind_of(params, required):
    kind = params.get("kind")
    if kind is None and not required:
        return None
    if kind not in KINDS:
        raise BadRequest(f"kind must be one of {', '.join(KINDS)}, not {kind!r}")
    return kind


def chart_params(params, require_kind):
    """kind, width, height, sets and smooth of a chart request, checked."""
    kind = kind_of(params, require_kind)
    return (kind,) + tuple(number(params, name, *LIMITS[name])
                           for name in ("width", "height", "sets", "smooth"))


def make_chart(kind, width, height, sets, smooth):
    """The chart of kind for the first sets data sets, not drawn yet; with
    smooth shapes unless smooth is 0."""
    title = f"{kind.capitalize()} chart, {sets} data set{'s' if sets > 1 else ''}"
    if kind == "pie":
        c = quorvane.PieChart(width, height)
        if smooth:
            c.setAntiAlias(quorvane.SmoothQuarters)
        c.addTitle(title, "", 10, 0x000000, quorvane.Transparent, quorvane.Transparent)
        # The legend takes the left 110 pixels; labels stand up to 70 pixels off the rim.
        radius = max(20, min((width - 110) // 2 - 70, (height - 25) // 2 - 50))
        c.setPieSize(110 + (width - 110) // 2, 25 + (height - 25) // 2, radius)
        c.setData([sum(data_set(s)) for s in range(sets)], list(SET_NAMES[:sets]))
        c.addLegend(8, 30, True, "", 8)
        return c
    c = quorvane.XYChart(width, height)
    if smooth:
        c.setAntiAlias(quorvane.SmoothQuarters)
    c.addTitle(title, "", 10, 0x000000, quorvane.Transparent, quorvane.Transparent)
    c.setPlotArea(50, 50, width - 80, height - 85, 0xFFFFFF, quorvane.Transparent,
                  quorvane.Transparent, 0xDDDDDD, quorvane.Transparent)
    c.addLegend(50, 22, False, "", 8).setBackground(quorvane.Transparent,
                                                     quorvane.Transparent, 0)
    c.xAxis().setLabels(list(X_LABELS))
    if kind == "bar":
        layer = c.addBarLayer2(quorvane.Layer.Side, 0)
    elif kind == "line":
        layer = c.addLineLayer2(quorvane.Layer.Overlay, 0)
        layer.setLineWidth(2)
    else:
        layer = c.addAreaLayer2(quorvane.Layer.Stack, 0)
    for s in range(sets):
        ds = layer.addDataSet(data_set(s), -1, SET_NAMES[s])
        if kind == "line":
            ds.setDataSymbol(quorvane.CircleSymbol, 9, -1, -1)
    return c


def render(kind, width, height, sets, smooth, want_map):
    """(PNG bytes, map areas or None) of one chart. Each request draws its own
    chart on its own thread, with no lock of ours: separate charts need none."""
    with make_chart(kind, width, height, sets, smooth) as c:
        png = c.makeChart2(quorvane.PNG)
        if not png:
            raise RuntimeError("the chart could not be drawn")
        if not want_map:
            return png, None
        url = f"/detail?kind={kind}&sets={sets}"
        item = ("alt='{label}' title='{label}: {value} ({percent}%)'" if kind == "pie" else
                "alt='{dataSetName} {xLabel}' title='{dataSetName}, {xLabel}: {value}'")
        areas = c.getHTMLImageMap(url, "", item) or ""
        legend = c.getLegend()
        if legend:
            areas += legend.getHTMLImageMap(
                url + "&legend=1", "",
                "alt='Legend key {dataSetName}' title='Legend: {dataSetName}'") or ""
        return png, areas


def page(title, body):
    return ("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            f"<title>{html.escape(title)}</title>\n"
            "<style>body{font-family:sans-serif;margin:2em}figure{display:inline-block;"
            "margin:0 1.5em 1.5em 0}td,th{border:1px solid #ccc;padding:.2em .6em;"
            "text-align:left}</style>\n</head>\n<body>\n"
            f"<h1>{html.escape(title)}</h1>\n{body}</body>\n</html>\n")


def table(rows):
    cells = "".join(f"<tr><th>{html.escape(str(k))}</th><td>{html.escape(str(v))}</td></tr>\n"
                    for k, v in rows)
    return f"<table>\n{cells}</table>\n"


def dashboard(params):
    kind, width, height, sets, smooth = chart_params(params, require_kind=False)
    options = "".join(
        f"<option value=\"{k}\"{' selected' if k == kind else ''}>{k}</option>"
        for k in ("",) + KINDS)
    modes = "".join(
        f"<option value=\"{v}\"{' selected' if v == smooth else ''}>{name}</option>"
        for v, name in ((1, "smooth"), (0, "aliased")))
    form = ("<form action=\"/\" method=\"get\">\n"
            f"<label>Kind <select name=\"kind\">{options}</select></label>\n"
            + "".join(f"<label>{name} <input name=\"{name}\" type=\"number\" min=\"{low}\" "
                      f"max=\"{high}\" value=\"{value}\"></label>\n"
                      for name, (low, high, _), value in
                      ((n, LIMITS[n], v) for n, v in (("width", width), ("height", height),
                                                       ("sets", sets))))
            + f"<label>Drawing <select name=\"smooth\">{modes}</select></label>\n"
            + "<button type=\"submit\">Show</button>\n</form>\n")
    figures = []
    for k in (kind,) if kind else KINDS:
        _, areas = render(k, width, height, sets, smooth, want_map=True)
        # The default drawing, smooth, is left out of the picture's URL.
        query = urllib.parse.urlencode({"kind": k, "width": width, "height": height, "sets": sets,
                                        **({} if smooth else {"smooth": 0})})
        src = html.escape(f"/chart.png?{query}")
        figures.append(f"<figure>\n<img src=\"{src}\" width=\"{width}\" height=\"{height}\" "
                       f"alt=\"{k} chart\" usemap=\"#map-{k}\">\n"
                       f"<map name=\"map-{k}\">\n{areas}</map>\n"
                       f"<figcaption>{k}</figcaption>\n</figure>\n")
    return page("Quorvane dashboard", form + "".join(figures))


def detail(params):
    kind = kind_of(params, required=True)
    sets = number(params, "sets", *LIMITS["sets"][:2])
    received = table(params.items())
    back = f"<p><a href=\"/?{html.escape(urllib.parse.urlencode({'kind': kind, 'sets': sets}))}\">" \
           "Back to the dashboard</a></p>\n"
    if "legend" in params:
        s = number(params, "dataSet", 0, sets - 1)
        values = data_set(s)
        body = table([("data set", SET_NAMES[s])] + list(zip(X_LABELS, values))
                     + [("total", round(sum(values), 1))])
        title = f"Data set {SET_NAMES[s]}"
    elif kind == "pie":
        s = number(params, "sector", 0, sets - 1)
        totals = [sum(data_set(i)) for i in range(sets)]
        body = table([("sector", SET_NAMES[s]), ("total", round(totals[s], 1)),
                      ("share", f"{100 * totals[s] / sum(totals):.2f}%")])
        title = f"Sector {SET_NAMES[s]}"
    else:
        s = number(params, "dataSet", 0, sets - 1)
        x = number(params, "x", 0, len(X_LABELS) - 1)
        body = table([("data set", SET_NAMES[s]), ("month", X_LABELS[x]),
                      ("value", data_set(s)[x])])
        title = f"{SET_NAMES[s]}, {X_LABELS[x]}"
    return page(title, body + "<h2>The query received</h2>\n" + received + back)


class Handler(BaseHTTPRequestHandler):
    server_version = "QuorvaneDemo"
    quiet = False
    # Each read or write of the socket waits at most this long.
    timeout = REQUEST_SECONDS

    def setup(self):
        self.timeout = self.server.request_seconds
        super().setup()
        # However the client trickles its bytes, the connection ends when its
        # time is up: the socket is shut down under the handler's feet.
        self.deadline = threading.Timer(self.server.request_seconds, self.cut)
        self.deadline.daemon = True
        self.deadline.start()

    def cut(self):
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def finish(self):
        self.deadline.cancel()
        try:
            super().finish()
        except OSError:
            pass

    def do_GET(self):
        try:
            url = urllib.parse.urlsplit(self.path)
            if url.path == "/":
                self.reply(200, "text/html; charset=utf-8",
                           dashboard(parse_query(url.query, {"kind", *LIMITS})).encode())
            elif url.path == "/chart.png":
                params = parse_query(url.query, {"kind", *LIMITS})
                png, _ = render(*chart_params(params, require_kind=True), want_map=False)
                self.reply(200, "image/png", png)
            elif url.path == "/detail":
                self.reply(200, "text/html; charset=utf-8",
                           detail(parse_query(url.query, DETAIL_FIELDS)).encode())
            else:
                self.reply(404, "text/html; charset=utf-8", page(
                    "Not found", "<p>There is no such page. <a href=\"/\">The dashboard</a></p>\n"
                ).encode())
        except BadRequest as e:
            self.reply(400, "text/html; charset=utf-8",
                       page("Bad request", f"<p>{html.escape(str(e))}.</p>\n"
                            "<p><a href=\"/\">The dashboard</a></p>\n").encode())
        except Exception as e:  # noqa: BLE001 - every failure becomes a page
            self.log_error("%s failed: %s: %s", self.path, type(e).__name__, e)
            self.reply(500, "text/html; charset=utf-8",
                       page("Server error", "<p>The page could not be made.</p>\n").encode())

    def reply(self, status, content_type, body):
        try:
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            self.wfile.write(body)
        except OSError:
            pass  # the client went away

    def log_message(self, format, *args):
        if not self.quiet:
            super().log_message(format, *args)


class Server(ThreadingHTTPServer):
    """A threading server with a bound on time per connection and on
    connections served at once."""
    daemon_threads = True

    def __init__(self, address, request_seconds=REQUEST_SECONDS,
                 max_connections=MAX_CONNECTIONS):
        self.request_seconds = request_seconds
        self.slots = threading.BoundedSemaphore(max_connections)
        super().__init__(address, Handler)

    def process_request(self, request, client_address):
        if not self.slots.acquire(blocking=False):
            self.shutdown_request(request)  # too many at once: closed unanswered
            return
        try:
            super().process_request(request, client_address)
        except Exception:
            self.slots.release()
            raise

    def handle_error(self, request, client_address):
        # A connection cut at its deadline or dropped by the client.
        if not Handler.quiet:
            print(f"{client_address[0]}: connection ended: {sys.exc_info()[1]}", file=sys.stderr)

    def process_request_thread(self, request, client_address):
        try:
            super().process_request_thread(request, client_address)
        finally:
            self.slots.release()


def main():
    parser = argparse.ArgumentParser(description="Quorvane chart dashboard on 127.0.0.1")
    parser.add_argument("--port", type=int, default=8000, help="0 picks a free port")
    parser.add_argument("--quiet", action="store_true", help="no access log")
    args = parser.parse_args()
    Handler.quiet = args.quiet
    try:
        server = Server(("127.0.0.1", args.port))
    except OSError as e:
        sys.exit(f"cannot listen on 127.0.0.1:{args.port}: {e}")
    print(f"serving on http://127.0.0.1:{server.server_port}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()

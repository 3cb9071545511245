# A year of made-up daily sales, per region and product, built once at import
# from a fixed formula and a hash of each cell, so every process and every run
# sees the same figures. The table is only read afterwards: threads share it
# without a lock. Revenue is in thousands, rounded to 0.1.
import calendar
import math
import zlib

YEAR = 2025
REGIONS = ("North", "South", "East", "West")
PRODUCTS = ("Laptops", "Phones", "Tablets", "Monitors", "Accessories")
MONTHS = tuple(calendar.month_abbr[m] for m in range(1, 13))
MONTH_NAMES = tuple(calendar.month_name[m] for m in range(1, 13))

_REGION_SIZE = (1.15, 0.8, 1.0, 0.65)
_PRODUCT_SIZE = (2.4, 2.0, 0.9, 0.7, 0.45)
# Weekends sell less; Monday is 0.
_WEEKDAY = (1.0, 1.02, 1.05, 1.08, 1.15, 0.7, 0.55)


def days_in(month):
    """Days of month (1 to 12) in YEAR."""
    return calendar.monthrange(YEAR, month)[1]


def _revenue(r, p, month, day):
    season = 1 + 0.25 * math.sin((month - 3) * math.pi / 6) + (0.35 if month == 11 else 0)
    season += 0.5 if month == 12 and day < 24 else 0
    noise = zlib.crc32(f"{r}/{p}/{month}/{day}".encode()) / 0xFFFFFFFF
    trend = 1 + 0.03 * month * (r - 1.5)
    value = 10 * _REGION_SIZE[r] * _PRODUCT_SIZE[p] * season * trend
    return round(value * _WEEKDAY[calendar.weekday(YEAR, month, day)] * (0.75 + 0.5 * noise), 1)


# _DAILY[r][p][month - 1][day - 1]
_DAILY = tuple(tuple(tuple(tuple(_revenue(r, p, m, d) for d in range(1, days_in(m) + 1))
                           for m in range(1, 13))
                     for p in range(len(PRODUCTS)))
               for r in range(len(REGIONS)))


def _indices(names, chosen):
    return range(len(names)) if chosen is None else (names.index(chosen),)


def revenue(region=None, product=None, month=None, day=None):
    """Total revenue of the cells matching the given filters (None: all)."""
    total = 0.0
    for r in _indices(REGIONS, region):
        for p in _indices(PRODUCTS, product):
            months = _DAILY[r][p] if month is None else (_DAILY[r][p][month - 1],)
            for days in months:
                total += sum(days) if day is None else days[day - 1]
    return round(total, 1)


def by_time(month=None, region=None, product=None):
    """Revenue per month of the year, or per day of month."""
    if month is None:
        return [revenue(region, product, m) for m in range(1, 13)]
    return [revenue(region, product, month, d) for d in range(1, days_in(month) + 1)]

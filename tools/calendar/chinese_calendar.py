#!/usr/bin/env python3
"""Computes the Chinese lunisolar calendar astronomically, in China Standard Time.

Rules (the modern ones, in force since 1929 and written down in GB/T 33661-2017):
  - a month begins on the day (UTC+8) on which the new moon falls;
  - the month that holds the winter solstice (冬至) is month 11;
  - a sui (冬至 month to the next 冬至 month) of 13 months has one leap month:
    the first month after month 11 that holds no principal term (中气, solar
    longitude a multiple of 30 degrees); it repeats the number of the month
    before it.

Astronomy:
  - new moons: Meeus, Astronomical Algorithms (2nd ed.), chapter 49, with all
    periodic terms and the fourteen planetary arguments;
  - the sun's apparent longitude: VSOP87 (the Earth series as truncated in
    Meeus, appendix III), FK5 correction, nutation in longitude (Meeus ch. 22,
    0.5" formula) and annual aberration;
  - Delta T: the Espenak-Meeus polynomials (NASA eclipse web site, 2006).

Usage:
  chinese_calendar.py rows FIRST LAST    print the year words (LunarBitsTable layout)
  chinese_calendar.py days FIRST LAST    print every day: JDN year month(leap<0) day
  chinese_calendar.py close FIRST LAST   list new moons and principal terms within
                                         15 minutes of midnight, CST
  chinese_calendar.py terms FIRST LAST   print the 24 solar terms of each year as
                                         "year n YYYY-MM-DD hh:mm:ss" (CST, 1 = 小寒)
  chinese_calendar.py termdata FIRST LAST
                                         print src/calendar/termdata.h: the minute
                                         (CST, truncated) of each term of each year
"""

import math
import sys

DEG = math.pi / 180.0


# --- Delta T (seconds), Espenak & Meeus ------------------------------------------------------
def delta_t(year):
    y = year
    if y < 1900:
        t = y - 1860
        return (7.62 + 0.5737 * t - 0.251754 * t**2 + 0.01680668 * t**3
                - 0.0004473624 * t**4 + t**5 / 233174)
    if y < 1920:
        t = y - 1900
        return -2.79 + 1.494119 * t - 0.0598939 * t**2 + 0.0061966 * t**3 - 0.000197 * t**4
    if y < 1941:
        t = y - 1920
        return 21.20 + 0.84493 * t - 0.076100 * t**2 + 0.0020936 * t**3
    if y < 1961:
        t = y - 1950
        return 29.07 + 0.407 * t - t**2 / 233 + t**3 / 2547
    if y < 1986:
        t = y - 1975
        return 45.45 + 1.067 * t - t**2 / 260 - t**3 / 718
    if y < 2005:
        t = y - 2000
        return (63.86 + 0.3345 * t - 0.060374 * t**2 + 0.0017275 * t**3
                + 0.000651814 * t**4 + 0.00002373599 * t**5)
    if y < 2050:
        t = y - 2000
        return 62.92 + 0.32217 * t + 0.005589 * t**2
    if y < 2150:
        return -20 + 32 * ((y - 1820) / 100) ** 2 - 0.5628 * (2150 - y)
    u = (y - 1820) / 100
    return -20 + 32 * u * u


def jde_to_cst_jd(jde):
    """Terrestrial time (JDE) to a Julian day on China Standard Time."""
    year = 2000 + (jde - 2451545.0) / 365.25
    return jde - delta_t(year) / 86400.0 + 8.0 / 24.0


def cst_day(jd_cst):
    """The Julian day number of the civil day (UTC+8) that holds the moment."""
    return math.floor(jd_cst + 0.5)


# --- New moons, Meeus chapter 49 -------------------------------------------------------------
def new_moon_jde(k):
    T = k / 1236.85
    jde = (2451550.09766 + 29.530588861 * k + 0.00015437 * T**2
           - 0.000000150 * T**3 + 0.00000000073 * T**4)
    E = 1 - 0.002516 * T - 0.0000074 * T**2
    M = (2.5534 + 29.10535670 * k - 0.0000014 * T**2 - 0.00000011 * T**3) * DEG
    Mp = (201.5643 + 385.81693528 * k + 0.0107582 * T**2 + 0.00001238 * T**3
          - 0.000000058 * T**4) * DEG
    F = (160.7108 + 390.67050284 * k - 0.0016118 * T**2 - 0.00000227 * T**3
         + 0.000000011 * T**4) * DEG
    Om = (124.7746 - 1.56375588 * k + 0.0020672 * T**2 + 0.00000215 * T**3) * DEG
    s = math.sin
    corr = (-0.40720 * s(Mp)
            + 0.17241 * E * s(M)
            + 0.01608 * s(2 * Mp)
            + 0.01039 * s(2 * F)
            + 0.00739 * E * s(Mp - M)
            - 0.00514 * E * s(Mp + M)
            + 0.00208 * E * E * s(2 * M)
            - 0.00111 * s(Mp - 2 * F)
            - 0.00057 * s(Mp + 2 * F)
            + 0.00056 * E * s(2 * Mp + M)
            - 0.00042 * s(3 * Mp)
            + 0.00042 * E * s(M + 2 * F)
            + 0.00038 * E * s(M - 2 * F)
            - 0.00024 * E * s(2 * Mp - M)
            - 0.00017 * s(Om)
            - 0.00007 * s(Mp + 2 * M)
            + 0.00004 * s(2 * Mp - 2 * F)
            + 0.00004 * s(3 * M)
            + 0.00003 * s(Mp + M - 2 * F)
            + 0.00003 * s(2 * Mp + 2 * F)
            - 0.00003 * s(Mp + M + 2 * F)
            + 0.00003 * s(Mp - M + 2 * F)
            - 0.00002 * s(Mp - M - 2 * F)
            - 0.00002 * s(3 * Mp + M)
            + 0.00002 * s(4 * Mp))
    A = [
        (299.77 + 0.107408 * k - 0.009173 * T**2, 0.000325),
        (251.88 + 0.016321 * k, 0.000165),
        (251.83 + 26.651886 * k, 0.000164),
        (349.42 + 36.412478 * k, 0.000126),
        (84.66 + 18.206239 * k, 0.000110),
        (141.74 + 53.303771 * k, 0.000062),
        (207.14 + 2.453732 * k, 0.000060),
        (154.84 + 7.306860 * k, 0.000056),
        (34.52 + 27.261239 * k, 0.000047),
        (207.19 + 0.121824 * k, 0.000042),
        (291.34 + 1.844379 * k, 0.000040),
        (161.72 + 24.198154 * k, 0.000037),
        (239.56 + 25.513099 * k, 0.000035),
        (331.55 + 3.592518 * k, 0.000023),
    ]
    planetary = sum(c * math.sin(a * DEG) for a, c in A)
    return jde + corr + planetary


# --- The sun's apparent longitude, VSOP87 (Meeus appendix III) -----------------------------------
# Each term: (A, B, C) meaning A cos(B + C tau), tau in Julian millennia from J2000.0, units 1e-8 rad.
L0 = [
    (175347046, 0, 0), (3341656, 4.6692568, 6283.07585), (34894, 4.6261, 12566.1517),
    (3497, 2.7441, 5753.3849), (3418, 2.8289, 3.5231), (3136, 3.6277, 77713.7715),
    (2676, 4.4181, 7860.4194), (2343, 6.1352, 3930.2097), (1324, 0.7425, 11506.7698),
    (1273, 2.0371, 529.691), (1199, 1.1096, 1577.3435), (990, 5.233, 5884.927),
    (902, 2.045, 26.298), (857, 3.508, 398.149), (780, 1.179, 5223.694),
    (753, 2.533, 5507.553), (505, 4.583, 18849.228), (492, 4.205, 775.523),
    (357, 2.92, 0.067), (317, 5.849, 11790.629), (284, 1.899, 796.298),
    (271, 0.315, 10977.079), (243, 0.345, 5486.778), (206, 4.806, 2544.314),
    (205, 1.869, 5573.143), (202, 2.458, 6069.777), (156, 0.833, 213.299),
    (132, 3.411, 2942.463), (126, 1.083, 20.775), (115, 0.645, 0.98),
    (103, 0.636, 4694.003), (102, 0.976, 15720.839), (102, 4.267, 7.114),
    (99, 6.21, 2146.17), (98, 0.68, 155.42), (86, 5.98, 161000.69),
    (85, 1.3, 6275.96), (85, 3.67, 71430.7), (80, 1.81, 17260.15),
    (79, 3.04, 12036.46), (75, 1.76, 5088.63), (74, 3.5, 3154.69),
    (74, 4.68, 801.82), (70, 0.83, 9437.76), (62, 3.98, 8827.39),
    (61, 1.82, 7084.9), (57, 2.78, 6286.6), (56, 4.39, 14143.5),
    (56, 3.47, 6279.55), (52, 0.19, 12139.55), (52, 1.33, 1748.02),
    (51, 0.28, 5856.48), (49, 0.49, 1194.45), (41, 5.37, 8429.24),
    (41, 2.4, 19651.05), (39, 6.17, 10447.39), (37, 6.04, 10213.29),
    (37, 2.57, 1059.38), (36, 1.71, 2352.87), (36, 1.78, 6812.77),
    (33, 0.59, 17789.85), (30, 0.44, 83996.85), (30, 2.74, 1349.87),
    (25, 3.16, 4690.48),
]
L1 = [
    (628331966747, 0, 0), (206059, 2.678235, 6283.07585), (4303, 2.6351, 12566.1517),
    (425, 1.59, 3.523), (119, 5.796, 26.298), (109, 2.966, 1577.344),
    (93, 2.59, 18849.23), (72, 1.14, 529.69), (68, 1.87, 398.15),
    (67, 4.41, 5507.55), (59, 2.89, 5223.69), (56, 2.17, 155.42),
    (45, 0.4, 796.3), (36, 0.47, 775.52), (29, 2.65, 7.11),
    (21, 5.34, 0.98), (19, 1.85, 5486.78), (19, 4.97, 213.3),
    (17, 2.99, 6275.96), (16, 0.03, 2544.31), (16, 1.43, 2146.17),
    (15, 1.21, 10977.08), (12, 2.83, 1748.02), (12, 3.26, 5088.63),
    (12, 5.27, 1194.45), (12, 2.08, 4694.0), (11, 0.77, 553.57),
    (10, 1.3, 6286.6), (10, 4.24, 1349.87), (9, 2.7, 242.73),
    (9, 5.64, 951.72), (8, 5.3, 2352.87), (6, 2.65, 9437.76),
    (6, 4.67, 4690.48),
]
L2 = [
    (52919, 0, 0), (8720, 1.0721, 6283.0758), (309, 0.867, 12566.152),
    (27, 0.05, 3.52), (16, 5.19, 26.3), (16, 3.68, 155.42),
    (10, 0.76, 18849.23), (9, 2.06, 77713.77), (7, 0.83, 775.52),
    (5, 4.66, 1577.34), (4, 1.03, 7.11), (4, 3.44, 5573.14),
    (3, 5.14, 796.3), (3, 6.05, 5507.55), (3, 1.19, 242.73),
    (3, 6.12, 529.69), (3, 0.31, 398.15), (3, 2.28, 553.57),
    (2, 4.38, 5223.69), (2, 3.75, 0.98),
]
L3 = [
    (289, 5.844, 6283.076), (35, 0, 0), (17, 5.49, 12566.15),
    (3, 5.2, 155.42), (1, 4.72, 3.52), (1, 5.3, 18849.23), (1, 5.97, 242.73),
]
L4 = [(114, 3.142, 0), (8, 4.13, 6283.08), (1, 3.84, 12566.15)]
L5 = [(1, 3.14, 0)]
R0 = [
    (100013989, 0, 0), (1670700, 3.0984635, 6283.07585), (13956, 3.05525, 12566.1517),
    (3084, 5.1985, 77713.7715), (1628, 1.1739, 5753.3849), (1576, 2.8469, 7860.4194),
    (925, 5.453, 11506.77), (542, 4.564, 3930.21), (472, 3.661, 5884.927),
]
R1 = [(103019, 1.10749, 6283.07585), (1721, 1.0644, 12566.1517)]
R2 = [(4359, 5.7846, 6283.0758)]


def _series(terms, tau):
    return sum(a * math.cos(b + c * tau) for a, b, c in terms)


def sun_apparent_longitude(jde):
    """Apparent geocentric longitude of the sun, degrees in [0, 360)."""
    tau = (jde - 2451545.0) / 365250.0
    L = (_series(L0, tau) + _series(L1, tau) * tau + _series(L2, tau) * tau**2
         + _series(L3, tau) * tau**3 + _series(L4, tau) * tau**4
         + _series(L5, tau) * tau**5) / 1e8
    R = (_series(R0, tau) + _series(R1, tau) * tau + _series(R2, tau) * tau**2) / 1e8
    theta = math.degrees(L) + 180.0
    T = tau * 10.0
    # FK5 correction
    theta += -0.09033 / 3600.0
    # Nutation in longitude (Meeus ch. 22, to 0.5")
    Om = (125.04452 - 1934.136261 * T) * DEG
    Ls = (280.4665 + 36000.7698 * T) * DEG
    Lm = (218.3165 + 481267.8813 * T) * DEG
    dpsi = (-17.20 * math.sin(Om) - 1.32 * math.sin(2 * Ls) - 0.23 * math.sin(2 * Lm)
            + 0.21 * math.sin(2 * Om)) / 3600.0
    # Annual aberration
    aberr = -20.4898 / 3600.0 / R
    return (theta + dpsi + aberr) % 360.0


def sun_longitude_time(target_deg, jde_guess):
    """JDE at which the sun's apparent longitude is target_deg, near jde_guess."""
    jde = jde_guess
    for _ in range(30):
        diff = (target_deg - sun_apparent_longitude(jde) + 180.0) % 360.0 - 180.0
        step = diff * 365.2422 / 360.0
        jde += step
        if abs(step) < 1e-7:
            break
    return jde


def term_jde(year, index):
    """Solar term `index` (0 = 小寒, longitude 285) of a Gregorian year."""
    lon = (285 + 15 * index) % 360
    guess = 2451545.0 + (year - 2000) * 365.2422 + 5.0 + 15.2184 * index
    return sun_longitude_time(lon, guess)


# --- Gregorian <-> Julian day numbers ---------------------------------------------------------
def jdn(y, m, d):
    a = (14 - m) // 12
    yy = y + 4800 - a
    mm = m + 12 * a - 3
    return d + (153 * mm + 2) // 5 + 365 * yy + yy // 4 - yy // 100 + yy // 400 - 32045


def civil(j):
    a = j + 32044
    b = (4 * a + 3) // 146097
    c = a - 146097 * b // 4
    d = (4 * c + 3) // 1461
    e = c - 1461 * d // 4
    m = (5 * e + 2) // 153
    return 100 * b + d - 4800 + m // 10, m + 3 - 12 * (m // 10), e - (153 * m + 2) // 5 + 1


# --- The calendar -----------------------------------------------------------------------------
def new_moons_cst(first_year, last_year):
    """(JDN of the CST day, CST moment) of every new moon from first_year to last_year."""
    k0 = math.floor((first_year - 2000) * 12.3685) - 2
    k1 = math.ceil((last_year + 1 - 2000) * 12.3685) + 2
    out = []
    for k in range(k0, k1 + 1):
        t = jde_to_cst_jd(new_moon_jde(k))
        out.append((cst_day(t), t))
    return out


def principal_terms_cst(first_year, last_year):
    """(JDN of the CST day, CST moment, longitude) of every principal term (中气)."""
    out = []
    for y in range(first_year, last_year + 1):
        for i in range(1, 24, 2):  # 大寒, 雨水, ..., 冬至: longitudes 300, 330, ..., 270
            t = jde_to_cst_jd(term_jde(y, i))
            out.append((cst_day(t), t, (285 + 15 * i) % 360))
    return sorted(out)


def build_months(first_year, last_year):
    """Months as (start JDN, lunar year, number, leap) from about first_year to last_year."""
    moons = new_moons_cst(first_year - 1, last_year + 2)
    starts = [d for d, _ in moons]
    terms = principal_terms_cst(first_year - 1, last_year + 2)
    solstices = [d for d, _, lon in terms if lon == 270]

    def month_index_holding(day):
        for i in range(len(starts) - 1):
            if starts[i] <= day < starts[i + 1]:
                return i
        raise ValueError(day)

    def has_principal(i):
        return any(starts[i] <= d < starts[i + 1] for d, _, _ in terms)

    months = []
    elevens = [month_index_holding(s) for s in solstices]
    for a, b in zip(elevens, elevens[1:]):
        # sui from month 11 (index a) up to the next month 11 (index b)
        count = b - a
        leap_at = None
        if count == 13:
            for i in range(a + 1, b):
                if not has_principal(i):
                    leap_at = i
                    break
        num = 11
        for i in range(a, b):
            leap = i == leap_at
            if i != a and not leap:
                num = num % 12 + 1
            months.append([starts[i], num, leap, starts[i + 1] - starts[i]])
    # lunar year of each month: the year in which its month 1 began
    year = None
    for m in months:
        if m[1] == 1 and not m[2]:
            year = civil(m[0])[0]
        m.append(year)
    return [m for m in months if m[4] is not None]


def year_words(months):
    """LunarBitsTable word of each lunar year: bits 15..4 months 1..12 long (30 days),
    bits 0..3 the leap month, bit 16 the leap month long."""
    words = {}
    for start, num, leap, length, year in months:
        w = words.setdefault(year, 0)
        if leap:
            w |= num
            if length == 30:
                w |= 0x10000
        elif length == 30:
            w |= 1 << (16 - num)
        words[year] = w
    return words


def term_minutes(year):
    """Minutes from 1 January of the year, 00:00 CST, to each of its 24 terms (1 = 小寒),
    truncated to the minute, so that the minute lies on the civil day of the instant."""
    start = jdn(year, 1, 1) - 0.5  # Julian date of 00:00 CST on 1 January, on the CST clock
    return [math.floor((jde_to_cst_jd(term_jde(year, i)) - start) * 1440.0) for i in range(24)]


def print_termdata(first, last):
    print("""#pragma once
// The minute of each of the 24 solar terms from %d to %d in China Standard Time
// (UTC+8): the instant the sun's apparent longitude reaches 285 degrees (小寒) and
// each further 15 degrees, truncated to the minute, so that the minute lies on the
// civil day of the instant. Computed by tools/calendar/chinese_calendar.py from
// VSOP87 (truncated) with the FK5 correction, nutation, aberration and Delta T;
// regenerate with
//   python3 tools/calendar/chinese_calendar.py termdata %d %d > src/calendar/termdata.h
// Do not edit by hand. Every instant agrees with the 寿星 ephemeris (lunar-javascript,
// tools/calendar/crosscheck_terms.js) within 40 seconds, and every term lies on the
// same civil day but 大寒 1979: 00:00:01 on 21 January here, 23:59:56 on 20 January
// there, a difference well within what Delta T leaves uncertain.

#include <array>
#include <cstdint>

namespace lotgrid {

inline constexpr int TermDataFirstYear = %d;
inline constexpr int TermDataLastYear = %d;

// Row y - TermDataFirstYear, column n - 1: minutes from 1 January of year y, 00:00,
// to term n of that year (1 = 小寒 .. 24 = 冬至).
// clang-format off
inline constexpr std::array<std::array<std::int32_t, 24>, %d> TermDataMinutes{{""" %
          (first, last, first, last, first, last, last - first + 1))
    for y in range(first, last + 1):
        m = term_minutes(y)
        print("    {%s}, // %d" % (", ".join("%6d" % v for v in m), y))
    print("""}};
// clang-format on

} // namespace lotgrid""")


def main(argv):
    cmd, first, last = argv[1], int(argv[2]), int(argv[3])
    if cmd == "terms":
        for y in range(first, last + 1):
            for i, m in enumerate(term_minutes(y)):
                t = jde_to_cst_jd(term_jde(y, i))
                day = cst_day(t)
                secs = round(((t + 0.5) - math.floor(t + 0.5)) * 86400.0, 1)
                yy, mm, dd = civil(day)
                print("%d %d %04d-%02d-%02d %02d:%02d:%04.1f" %
                      (y, i + 1, yy, mm, dd, int(secs // 3600), int(secs % 3600 // 60), secs % 60))
        return
    if cmd == "termdata":
        print_termdata(first, last)
        return
    months = build_months(first, last)
    if cmd == "rows":
        words = year_words(months)
        for y in range(first, last + 1):
            print(y, 'ox%05x' % words[y])
    elif cmd == "days":
        for i, (start, num, leap, length, year) in enumerate(months):
            if not first <= year <= last:
                continue
            for d in range(length):
                print(start + d, year, -num if leap else num, d + 1)
    elif cmd == "close":
        for day, t in new_moons_cst(first, last):
            frac = (t + 0.5) - math.floor(t + 0.5)
            if min(frac, 1 - frac) < 15 / 1440:
                y, m, d = civil(cst_day(t))
                print("new moon %04d-%02d-%02d %+.1f min from midnight" %
                      (y, m, d, (frac if frac < 0.5 else frac - 1) * 1440))
        for day, t, lon in principal_terms_cst(first, last):
            frac = (t + 0.5) - math.floor(t + 0.5)
            if min(frac, 1 - frac) < 15 / 1440:
                y, m, d = civil(cst_day(t))
                print("term %3d %04d-%02d-%02d %+.1f min from midnight" %
                      (lon, y, m, d, (frac if frac < 0.5 else frac - 1) * 1440))


if __name__ == "__main__":
    main(sys.argv)

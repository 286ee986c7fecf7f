#!/usr/bin/python3
"""Checks the limit lines of a two-channel report made with limit lines on.

Reads the limits from the logger export itself (Windows-1251) and checks through openpyxl:
the block on the chart-data sheet (first and last plotted time, each limit twice), and per
limit one dashed thin series whose x values are the block's time cells and whose values are
the limit's cells, on the axis group of its channel (temperature: the primary axes 1001/1002,
the data channel: the secondary 1003/1004), in the colour of its channel's own series, dashed
for an upper and dash-dotted for a lower limit.
Prints OK or the differences; exits non-zero on any difference.

usage: check_limits.py REPORT.xlsx LOGGER.txt
"""
import sys

import openpyxl

report_path, logger_path = sys.argv[1], sys.argv[2]
errors = []


def expect(what, actual, wanted):
    if actual != wanted:
        errors.append(f"{what}: {actual!r} != {wanted!r}")


def limit(lines, prefix):
    line = next(l for l in lines if l.startswith(prefix))
    return float(line.split(":")[-1].split()[0])


lines = open(logger_path, encoding="cp1251").read().splitlines()
limits = {  # channel -> (upper, lower)
    1: (limit(lines, "Верхний температурный предел:"), limit(lines, "Нижний температурный предел:")),
    2: (limit(lines, "Верхний предел канала данных:"), limit(lines, "Нижний предел канала данных:")),
}

book = openpyxl.load_workbook(report_path)
report, data = book.worksheets[0], book.worksheets[1]

# The block: E the time span, then upper and lower of channel 1, then of channel 2.
last_row = 5
while data.cell(last_row + 1, 1).value is not None:
    last_row += 1
expect("block time heading", data["E4"].value, "Время")
expect("block first time", data["E5"].value, data["A5"].value)
expect("block last time", data["E6"].value, data.cell(last_row, 1).value)
expect("block end", data["E7"].value, None)
columns = {}
for channel, first in ((1, "F"), (2, "H")):
    upper, lower = limits[channel]
    second = chr(ord(first) + 1)
    # The channel's name over its columns: channel 1's as the table heading has it.
    name = data[f"{first}3"].value
    expect(f"channel {channel} name", bool(name) and (channel == 2 or name == data["B4"].value), True)
    for column, name, value in ((first, "Верхний предел", upper), (second, "Нижний предел", lower)):
        expect(f"{column}4", data[f"{column}4"].value, name)
        expect(f"{column}5", data[f"{column}5"].value, value)
        expect(f"{column}6", data[f"{column}6"].value, value)
        columns[f"'Данные'!${column}$5:${column}$6"] = (channel, name)

charts = report._charts
expect("charts", len(charts), 1)
groups = {1002: 1, 1004: 2}  # the value axis of each group
found = set()
# Each channel's own series: its values in column B (channel 1) or C (channel 2).
series_colour = {}
for group in charts[0]._charts:
    for series in group.series:
        y = series.yVal.numRef.f
        for channel, column in ((1, "$B$"), (2, "$C$")):
            if y.startswith(f"'Данные'!{column}") and series.spPr is not None:
                series_colour[channel] = series.spPr.ln.solidFill.srgbClr
expect("channel colours", len(series_colour), 2)
for group in charts[0]._charts:
    axis_group = groups.get(group.axId[1])
    for series in group.series:
        y = series.yVal.numRef.f
        if y not in columns:
            continue
        channel, name = columns[y]
        found.add(y)
        line = series.spPr.ln
        expect(f"{y} x values", series.xVal.numRef.f, "'Данные'!$E$5:$E$6")
        expect(f"{y} axis group", axis_group, channel)
        expect(f"{y} dash", line.prstDash, "dash" if name.startswith("Верх") else "dashDot")
        expect(f"{y} width", line.w, 9525)
        expect(f"{y} colour", line.solidFill.srgbClr, series_colour.get(channel))
        expect(f"{y} name", series.tx.v.startswith(name), True)
        expect(f"{y} marker", series.marker.symbol in (None, "none"), True)  # read as None
expect("limit series", sorted(found), sorted(columns))

if errors:
    print("\n".join(errors))
    sys.exit(1)
print("OK")

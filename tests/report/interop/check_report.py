#!/usr/bin/python3
"""Checks a two-channel report workbook against the logger file it was made from.

Reads the logger export itself (Windows-1251) and works out, independently of the program,
where every sample must stand: the chart-data sheet one row per sample, the report sheet in
blocks of 57 rows, two blocks per page, a page every 60 rows. Then compares cell by cell
through openpyxl. Prints OK or the first differences; exits non-zero on any difference.

usage: check_report.py REPORT.xlsx LOGGER.txt
"""
import datetime
import sys

import openpyxl

report_path, logger_path = sys.argv[1], sys.argv[2]
errors = []


def expect(what, actual, wanted):
    if actual != wanted and len(errors) < 30:
        errors.append(f"{what}: {actual!r} != {wanted!r}")


lines = open(logger_path, encoding="cp1251").read().splitlines()
device = next(l for l in lines if l.startswith("Устройство -"))
number = device[13:].split("  ")[0]
start = lines.index("Значения измеренных величин") + 1
samples = []
for line in lines[start:]:
    if not line.strip():
        continue
    when, values = line.split(" - ", 1)
    t = datetime.datetime.strptime(when.strip(), "%d/%m/%Y %H:%M:%S")
    parts = values.split()
    samples.append((t, float(parts[0]), float(parts[2])))

book = openpyxl.load_workbook(report_path)
expect("sheets", book.sheetnames[:2], ["График", "Данные"])
report, data = book["График"], book["Данные"]

# Chart data: every sample, full precision.
expect("data title", data["A3"].value, "График температуры")
expect("data heading", (data["A4"].value, data["B4"].value), ("Время", "Темпер."))
for i, (t, temperature, humidity) in enumerate(samples):
    row = 5 + i
    expect(f"data A{row}", data.cell(row, 1).value, t)
    expect(f"data B{row}", data.cell(row, 2).value, temperature)
    expect(f"data C{row}", data.cell(row, 3).value, humidity)
expect("data end", data.cell(5 + len(samples), 1).value, None)
expect("data B format", data["B5"].number_format, "0.000000000000")

# Printed table: page 3 onwards, two blocks of 57 per page.
expect("page 1 heading", report["E1"].value, "№" + number)
page_rows = [1, 61, 121]
for i, (t, temperature, humidity) in enumerate(samples):
    k, j = divmod(i, 114)
    block, offset = divmod(j, 57)
    row = 60 * k + 123 + offset
    column = 1 + 3 * block
    if j == 0 and k > 0:
        page_rows.append(60 * k + 121)
    expect(f"report {row}/{column} time", report.cell(row, column).value, t)
    expect(f"report {row}/{column + 1}", report.cell(row, column + 1).value, round(temperature, 1))
    expect(f"report {row}/{column + 2}", report.cell(row, column + 2).value, round(humidity, 1))
    if offset == 0:
        heading_row = row - 1
        expect(f"heading {heading_row}/{column}", report.cell(heading_row, column).value, "Время")
        expect(f"heading {heading_row}/{column + 1}", report.cell(heading_row, column + 1).value,
               "Темпер.,°C")
        expect(f"heading {heading_row}/{column + 2}", report.cell(heading_row, column + 2).value,
               "Влажность, %")
expect("value format", report["B123"].number_format, "0.0")
for page, row in enumerate(page_rows, start=1):
    expect(f"page heading F{row}", report.cell(row, 6).value, f"Страница {page}")
    if page > 1:
        expect(f"page heading E{row}", report.cell(row, 5).value, "№ " + number)
        expect(f"page font E{row}", report.cell(row, 5).font.name, "Arial Narrow")
expect("row breaks", [b.id for b in report.row_breaks.brk], [r - 1 for r in page_rows[1:]])

# Finishing.
expect("font A2", report["A2"].font.name, "Arial Cyr")
expect("row height", report.row_dimensions[123].height, 12.5)
expect("paper", int(report.page_setup.paperSize), 9)
margins = report.page_margins
expect("margins", [round(m * 72) for m in (margins.left, margins.right, margins.top,
                                            margins.bottom, margins.header, margins.footer)],
       [52, 52, 55, 55, 53, 53])

expect("print scale", report.page_setup.scale, 97)
expect("print area", report.print_area, [f"$A$1:$F${60 * (len(page_rows) - 1) + 123 + 56}"]
       if len(samples) % 114 == 0 else report.print_area)

# The chart: on the report sheet over rows 62 to 83 (the heading block fills page 1), a
# scatter of temperature on the left axis and humidity on a secondary axis at the right, both
# from the chart-data columns.
expect("charts", len(report._charts), 1)
if report._charts:
    chart = report._charts[0]
    expect("chart rows", (chart.anchor._from.row + 1, chart.anchor.to.row + 1), (62, 84))
    groups = chart._charts
    expect("chart groups", [type(g).__name__ for g in groups], ["ScatterChart", "ScatterChart"])
    last = 4 + len(samples)
    wanted = [("$B", 1002, "l", "Темпер.,°C"), ("$C", 1004, "r", "Влажность, %RH")]
    for group, (column, axis, side, name) in zip(groups, wanted):
        expect("series", len(group.series), 1)
        series = group.series[0]
        expect("x values", series.xVal.numRef.f, f"'Данные'!$A$5:$A${last}")
        expect("y values", series.yVal.numRef.f, f"'Данные'!{column}$5:{column}${last}")
        expect("series name", series.tx.v, name)
        expect("value axis", (group.y_axis.axId, group.y_axis.axPos), (axis, side))
    expect("time axis format", groups[0].x_axis.numFmt.formatCode, data["A5"].number_format)

if errors:
    print("\n".join(errors))
    sys.exit(1)
print(f"OK {len(samples)} samples, {len(page_rows)} pages")

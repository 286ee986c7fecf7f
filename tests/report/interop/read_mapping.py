#!/usr/bin/python3
"""Reads a mapping study's workbook through openpyxl and prints what it found as JSON.

The summary: the sheet names, the table (from the row headed "Номер устройства"), each
row's number formats, and the lines below it by their label (the cells F, H and I); the charts:
per chart its series with name, x and y references, line colour and dash; the chart-data
sheet's first two rows. Dates come as "YYYY-MM-DDTHH:MM:SS".

usage: read_mapping.py STUDY.xlsx
"""
import datetime
import json
import sys

import openpyxl


def plain(value):
    if isinstance(value, datetime.datetime):
        return value.isoformat()
    return value


book = openpyxl.load_workbook(sys.argv[1])
summary = book["Сводка"]
out = {"sheets": book.sheetnames, "rows": [], "formats": [], "lines": {}, "charts": []}
heading = next(r for r in range(1, summary.max_row + 1)
               if summary.cell(r, 2).value == "Номер устройства")
out["heading"] = [summary.cell(heading, c).value for c in range(1, 16)]
row = heading + 1
while isinstance(summary.cell(row, 1).value, (int, float)):
    out["rows"].append([plain(summary.cell(row, c).value) for c in range(1, 16)])
    out["formats"].append([summary.cell(row, c).number_format for c in range(1, 16)])
    row += 1
for r in range(1, summary.max_row + 1):
    label = summary.cell(r, 1).value
    if isinstance(label, str) and r != heading:
        out["lines"][label] = [plain(summary.cell(r, c).value) for c in (6, 8, 9)]

for chart in book["График"]._charts:
    series = []
    for group in chart._charts:
        for s in group.series:
            name = s.tx.v if s.tx.v is not None else s.tx.strRef.f
            line = s.spPr.ln
            series.append({"name": name, "x": s.xVal.numRef.f, "y": s.yVal.numRef.f,
                           "colour": line.solidFill.srgbClr if line.solidFill else None,
                           "dash": line.prstDash})
    out["charts"].append(series)

data = book["Данные"]
out["data"] = [[plain(data.cell(r, c).value) for c in range(1, 4)] for r in (1, 2, 3)]
print(json.dumps(out, ensure_ascii=False))

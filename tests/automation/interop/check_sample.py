"""Checks a sample report workbook with openpyxl, as another program reads it.

usage: check_sample.py ours|libreoffice FILE.xlsx SAMPLES
Prints "OK" and exits 0 when every check holds; the first failed check ends it with 1.
"""
import datetime
import sys
import zipfile

import openpyxl
from openpyxl.chart.chartspace import ChartSpace
from openpyxl.xml.functions import fromstring


def check(condition, what):
    if not condition:
        print("FAILED:", what)
        sys.exit(1)


def chart_space(path):
    with zipfile.ZipFile(path) as archive:
        names = [n for n in archive.namelist() if n.startswith("xl/charts/chart")]
        check(len(names) == 1, "one chart part, found %r" % names)
        xml = archive.read(names[0])
    return xml, ChartSpace.from_tree(fromstring(xml))


def check_ours(path, samples):
    book = openpyxl.load_workbook(path)
    check(book.sheetnames == ["График", "Данные"], "sheet names %r" % book.sheetnames)
    report, data = book["График"], book["Данные"]

    check(report["A1"].value == "Протокол измерений", "A1 text")
    check(report["A1"].font.b and report["A1"].font.sz == 12, "A1 bold 12")
    check(report["E1"].font.name == "Arial Narrow" and report["E1"].font.sz == 8, "E1 font")
    check(report["E1"].alignment.horizontal == "center", "E1 centred")
    check(report["A3"].font.name == "Arial Cyr", "finishing font name")
    for cell in ("A5", "C5", "F5"):
        check(report[cell].border.bottom.style == "medium", cell + " medium bottom rule")
        check(report[cell].border.top.style is None, cell + " no top rule")
    # Columns of equal width come as one range A:F.
    widths = {(d.min, d.max): d.width for d in report.column_dimensions.values() if d.customWidth}
    check(widths == {(1, 6): 14.28515625}, "report widths %r" % widths)
    widths = {(d.min, d.max): d.width for d in data.column_dimensions.values() if d.customWidth}
    check(widths == {(1, 6): 15.7109375}, "data widths %r" % widths)
    for row in (1, 2, 100, 290):
        check(report.row_dimensions[row].height == 12.5, "row height %d" % row)
    check([b.id for b in report.row_breaks.brk] == [60, 120], "page breaks")
    margins = report.page_margins
    check(abs(margins.left - 52 / 72) < 1e-12 and abs(margins.right - 52 / 72) < 1e-12, "side margins")
    check(abs(margins.top - 55 / 72) < 1e-12 and abs(margins.bottom - 55 / 72) < 1e-12, "margins")
    check(abs(margins.header - 53 / 72) < 1e-12 and abs(margins.footer - 53 / 72) < 1e-12, "hf margins")
    check(str(report.page_setup.paperSize) == "9", "A4 paper")

    check(data["A4"].value == "Время" and data["A4"].border.left.style == "thin", "data heading")
    check(data["A5"].value == datetime.datetime(2015, 12, 8, 0, 0), "first time %r" % data["A5"].value)
    check(data["A6"].value == datetime.datetime(2015, 12, 8, 0, 10), "second time")
    check(data["A5"].number_format == "dd\\.mm\\.yyyy hh:mm:ss", "time format " + data["A5"].number_format)
    check(data["B5"].value == 20 and data["B5"].number_format == "0.000000000000", "channel 1 value")
    check(data["C5"].value == 70 and data["C5"].number_format == "0.000000000000", "channel 2 value")
    last = 4 + samples
    check(isinstance(data["B%d" % last].value, float), "last data row")
    check(data["A%d" % (last + 1)].value is None, "nothing below the data")

    block = report["A122"]
    check(block.value == datetime.datetime(2015, 12, 8, 0, 0), "printed time")
    check(report["B122"].value == 20 and report["B122"].number_format == "0.0", "printed value")
    cell = report["C178"]
    check(all(getattr(cell.border, e).style == "thin" for e in ("left", "right", "top", "bottom")),
          "printed block borders")
    check(cell.font.sz == 8 and cell.alignment.horizontal == "center", "printed block format")
    check(cell.alignment.vertical == "center", "vertical centre")

    charts = report._charts
    check(len(charts) == 1, "one embedded chart")
    anchor = charts[0].anchor
    check(anchor._from.row == 61 and anchor.to.row == 83 and anchor.to.rowOff == 0,
          "chart anchored from row 62 to row 84")

    xml, space = chart_space(path)
    check(b"numCache" not in xml and b"strCache" not in xml, "no value caches")
    plot = space.chart.plotArea
    groups = [c for c in plot._charts if c.tagname == "scatterChart"]
    check(len(groups) == 2, "two scatter groups (primary and secondary)")
    check(all(g.scatterStyle == "smoothMarker" for g in groups), "smooth lines")
    first, second = groups[0].ser[0], groups[1].ser[0]
    check(first.xVal.numRef.f == "'Данные'!$A$5:$A$%d" % last, "series 1 x " + first.xVal.numRef.f)
    check(first.yVal.numRef.f == "'Данные'!$B$5:$B$%d" % last, "series 1 y")
    check(second.yVal.numRef.f == "'Данные'!$C$5:$C$%d" % last, "series 2 y")
    check(first.tx.v == "Темпер.,°C" and second.tx.v == "Влажность, %", "series names")
    check(first.spPr.ln.solidFill.srgbClr == "FF0000", "series 1 red")
    check(second.spPr.ln.solidFill.srgbClr == "0000FF", "series 2 blue")
    # openpyxl reads the symbol "none" as None.
    check(first.marker is not None and first.marker.symbol is None, "no markers on series 1")
    check(second.marker.symbol == "square", "square markers on series 2")
    check(second.marker.size == 5, "marker size")
    axes = {a.axId: a for a in plot._axes if a.tagname == "valAx"}
    check(len(axes) == 4, "four value axes")
    # At the right edge: crossing the hidden secondary time axis at the last date there is.
    check(axes[1004].axPos == "r" and axes[1004].crossesAt == 2958465, "secondary axis on the right")
    check(axes[1004].scaling.min == 0 and axes[1004].scaling.max == 100, "secondary scale")
    check(axes[1004].majorUnit == 20, "secondary major unit")
    check(axes[1003].delete, "secondary x axis hidden")
    check(axes[1001].majorGridlines is not None, "time grid lines")
    check(space.chart.autoTitleDeleted, "title deleted")
    check(space.chart.legend is not None, "legend kept")


def check_libreoffice(path, samples):
    book = openpyxl.load_workbook(path)
    report = book[book.sheetnames[0]]
    check(len(report._charts) == 1, "LibreOffice kept the chart")
    xml, space = chart_space(path)
    plot = space.chart.plotArea
    series = [s for g in plot._charts if g.tagname == "scatterChart" for s in g.ser]
    check(len(series) == 2, "LibreOffice kept both series")
    check(any("$C$5:$C$%d" % (4 + samples) in s.yVal.numRef.f for s in series),
          "series 2 still reads column C")
    value_axes = [a for a in plot._axes if a.tagname == "valAx"]
    check(len(value_axes) >= 3, "LibreOffice kept the secondary axis")


if __name__ == "__main__":
    mode, path, samples = sys.argv[1], sys.argv[2], int(sys.argv[3])
    (check_ours if mode == "ours" else check_libreoffice)(path, samples)
    print("OK")

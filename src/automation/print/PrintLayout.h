#pragma once

#include <QRectF>
#include <QSizeF>

#include <vector>

namespace qorv::automation {

class Worksheet;
struct PageSetup;

// The paper of a page set-up and where on it the sheet prints, in points.
struct PaperGeometry {
    QSizeF paper;      // A4 unless the set-up names another known size; turned for landscape
    QRectF printable;  // the paper less the margins
    double scale = 1;  // the print scale: sheet points × scale = paper points
};
PaperGeometry PaperOf(const PageSetup& setup);

// One printed page of a worksheet: a block of rows and columns.
struct PrintPage {
    int firstRow = 1;
    int lastRow = 1;
    int firstColumn = 1;
    int lastColumn = 1;
};

// The pages a worksheet prints on, in the order spreadsheet programs print them (down, then
// over): the print area (else the cells that hold values and the charts) cut into pages at its
// manual page breaks and wherever the next row or column would not fit the printable part of
// the paper at the print scale. Empty when nothing prints.
std::vector<PrintPage> PaginateSheet(const Worksheet& sheet);

}  // namespace qorv::automation

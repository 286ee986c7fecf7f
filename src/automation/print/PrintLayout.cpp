#include "automation/print/PrintLayout.h"

#include "automation/Worksheet.h"

#include <QPageSize>

namespace qorv::automation {

namespace {

// A row or column that ends this little past the printable edge still fits: sums of heights
// are not exact.
constexpr double kFitTolerance = 1e-6;

struct Band {
    int first = 0;
    int last = 0;
};

// Cuts first..last into bands no longer than `room`, a new band also at each break.
template <typename Length, typename IsBreak>
std::vector<Band> CutBands(int first, int last, double room, Length length, IsBreak isBreak) {
    std::vector<Band> bands;
    int start = first;
    double used = 0;
    for (int i = first; i <= last; ++i) {
        const double size = length(i);
        if (i > start && (isBreak(i) || used + size > room + kFitTolerance)) {
            bands.push_back({start, i - 1});
            start = i;
            used = 0;
        }
        used += size;
    }
    bands.push_back({start, last});
    return bands;
}

}  // namespace

PaperGeometry PaperOf(const PageSetup& setup) {
    PaperGeometry g;
    QPageSize::PageSizeId id = QPageSize::A4;
    switch (setup.paperSize) {
        case 1:
            id = QPageSize::Letter;
            break;
        case 5:
            id = QPageSize::Legal;
            break;
        case 8:
            id = QPageSize::A3;
            break;
        case 11:
            id = QPageSize::A5;
            break;
        default:
            break;
    }
    g.paper = QPageSize(id).size(QPageSize::Point);
    if (setup.orientation == 2) {
        g.paper.transpose();
    }
    g.printable = QRectF(setup.leftMargin, setup.topMargin,
                         g.paper.width() - setup.leftMargin - setup.rightMargin,
                         g.paper.height() - setup.topMargin - setup.bottomMargin);
    g.scale = setup.zoom / 100.0;
    return g;
}

std::vector<PrintPage> PaginateSheet(const Worksheet& sheet) {
    RangeRef area;
    if (sheet.pageSetup().printArea) {
        area = *sheet.pageSetup().printArea;
    } else {
        area = {{1, 1}, {sheet.lastUsedRow(), sheet.lastUsedColumn()}};
        if (area.last.row < 1 || area.last.column < 1) {
            return {};
        }
    }
    const PaperGeometry paper = PaperOf(sheet.pageSetup());
    const auto& breaks = sheet.rowBreaks();
    const std::vector<Band> rows = CutBands(
        area.first.row, area.last.row, paper.printable.height() / paper.scale,
        [&](int row) { return sheet.rowHeight(row); },
        [&](int row) { return breaks.count(row) > 0; });
    const std::vector<Band> columns = CutBands(
        area.first.column, area.last.column, paper.printable.width() / paper.scale,
        [&](int column) { return sheet.columnWidthPoints(column); }, [](int) { return false; });
    std::vector<PrintPage> pages;
    pages.reserve(rows.size() * columns.size());
    for (const Band& c : columns) {
        for (const Band& r : rows) {
            pages.push_back({r.first, r.last, c.first, c.last});
        }
    }
    return pages;
}

}  // namespace qorv::automation

#include "report/WorkbookFinishing.h"

#include "report/PrintedTableLayout.h"

#include <algorithm>

namespace qorv {

namespace xl = automation::xl;

namespace {
constexpr int kPrintScale = 97;
// The report's columns, A to F; the row heights and alignment are set through A to E.
constexpr int kFirstColumn = 1;
constexpr int kLastColumn = 6;
constexpr int kRowFormatLastColumn = 5;
}  // namespace

void FinishWorkbook(ReportRun& run) {
    run.select(*run.ReportSheet);
    automation::Worksheet& sheet = *run.sheet;
    const int end = run.ReportRow + 110;
    // The font and row formats reach past the table's rows; the columns grow to them once,
    // exactly, instead of by half again.
    sheet.reserveRows(kFirstColumn, kLastColumn, end);

    sheet.range(automation::RangeRef{{2, kFirstColumn}, {end, kLastColumn}})
        .font()
        .setName(QStringLiteral("Arial Cyr"));
    for (const int row : run.PageHeadRows) {
        sheet.cells(row, kDeviceNumberColumn).font().setName(QStringLiteral("Arial Narrow"));
    }
    automation::Range rows =
        sheet.range(automation::RangeRef{{1, kFirstColumn}, {end, kRowFormatLastColumn}});
    rows.setRowHeight(12.5);
    rows.setVerticalAlignment(xl::Center);

    automation::PageSetup& page = sheet.pageSetup();
    page.setPaperSize(xl::PaperA4);
    page.setLeftMargin(52);
    page.setRightMargin(52);
    page.setTopMargin(55);
    page.setBottomMargin(55);
    page.setFooterMargin(53);
    page.setHeaderMargin(53);
    // A report page is 60 rows of 12.5 points, 750 points, and A4 less these margins leaves
    // 732: at full size every page would spill its last rows onto a second sheet. At 97 % the
    // 60 rows fit and a 61st does not, so each report page prints on one sheet and the
    // automatic breaks fall on the report's own rows, also past the manual breaks a
    // spreadsheet program keeps.
    page.setZoom(kPrintScale);
    // The report's columns and no more: a long heading in column F would otherwise make a
    // spreadsheet program print its overflow on extra pages to the right.
    page.setPrintArea(QStringLiteral("$A$1:$F$%1").arg(std::max(1, sheet.lastUsedRow())));

    run.workbook->sheets().item(1).setName(QStringLiteral("График"));
    run.workbook->sheets().item(2).setName(QStringLiteral("Данные"));
    run.select(*run.ReportSheet);
}

}  // namespace qorv

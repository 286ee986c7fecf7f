#include "report/PrintedTableLayout.h"

#include <algorithm>

namespace qorv {

namespace xl = automation::xl;

void WritePageHeading(ReportRun& run, int row, int page, bool firstPage) {
    const QString number = run.program.data.DeviceNumber.value_or(QString());
    automation::Range e = run.sheet->cells(row, kDeviceNumberColumn);
    e.setValue2((firstPage ? QStringLiteral("№") : QStringLiteral("№ ")) + number);
    e.font().setSize(8);
    e.font().setName(QStringLiteral("Arial Narrow"));
    e.setHorizontalAlignment(xl::Center);
    automation::Range f = run.sheet->cells(row, kPageNumberColumn);
    f.setValue2(QStringLiteral("Страница ") + QString::number(page));
    f.font().setSize(8);
    f.setHorizontalAlignment(xl::Center);
}

void StartReportPage(ReportRun& run) {
    const int r = FirstRowOfPage(run.PageNumber);
    run.sheet->hPageBreaks().add(run.sheet->cells(r, 1));  // above the page's first row
    run.PageHeadRows.push_back(r);
    WritePageHeading(run, r, run.PageNumber, false);
    run.PageNumber += 1;
    run.ReportRow = r + 1;
}

TableLayout LayoutPrintedTable(int reportRow, int pageNumber, qsizetype samples, int positions) {
    TableLayout layout{{}, reportRow, pageNumber};
    int position = 0;
    int firstDataRow = 0;
    qsizetype next = 0;
    while (next < samples) {
        TableBlock block;
        block.position = position;
        if (position == 0) {
            block.headingRow = layout.reportRow;
            firstDataRow = layout.reportRow + 1;
        } else {
            block.headingRow = firstDataRow - 1;
        }
        block.firstDataRow = firstDataRow;
        const int lastRowOfPage = kPageRows * PageOfRow(firstDataRow);
        const int capacity = std::max(1, std::min(kBlockRows, lastRowOfPage - firstDataRow + 1));
        block.firstSample = next;
        block.sampleCount = std::min<qsizetype>(capacity, samples - next);
        next += block.sampleCount;
        if (position == 0) {
            layout.reportRow = firstDataRow + static_cast<int>(block.sampleCount);
        }

        ++position;
        if (position == positions && next < samples) {
            block.pageBreakRow = FirstRowOfPage(layout.pageNumber);
            layout.pageNumber += 1;
            layout.reportRow = block.pageBreakRow + 1;
            position = 0;
        }
        layout.blocks.push_back(block);
    }
    return layout;
}

}  // namespace qorv

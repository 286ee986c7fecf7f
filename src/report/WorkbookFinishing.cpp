#include "report/WorkbookFinishing.h"

namespace qorv {

namespace xl = automation::xl;

void FinishWorkbook(ReportRun& run) {
    run.select(*run.ReportSheet);
    automation::Worksheet& sheet = *run.sheet;
    const QString end = QString::number(run.ReportRow + 110);

    sheet.range(QStringLiteral("A2:F") + end).font().setName(QStringLiteral("Arial Cyr"));
    for (const QString& row : run.PageHeadRows) {
        sheet.range(QStringLiteral("E") + row).font().setName(QStringLiteral("Arial Narrow"));
    }
    automation::Range rows = sheet.range(QStringLiteral("A1:E") + end);
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

    run.workbook->sheets().item(1).setName(QStringLiteral("График"));
    run.workbook->sheets().item(2).setName(QStringLiteral("Данные"));
    run.select(*run.ReportSheet);
}

}  // namespace qorv

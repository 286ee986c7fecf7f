#include "report/HeadingBlock.h"

#include "report/Messages.h"
#include "report/PrintedTableLayout.h"
#include "report/Statistics.h"

namespace qorv {

namespace {

using automation::Worksheet;
namespace xl = automation::xl;
using R = ReportOptions;

enum class LineFormat { Title, Line };

// The report sheet's columns: the block's lines in A, the page heading in E and F; rules and
// widths span A to F.
constexpr int kTextColumn = 1;
constexpr int kLastColumn = 6;

// Writes one line of the block into column A of `row`.
void writeLine(ReportRun& run, int row, const QString& text, LineFormat format) {
    automation::Range a = run.sheet->cells(row, kTextColumn);
    a.setValue2(text);
    a.font().setSize(format == LineFormat::Title ? 12 : 10);
    a.font().setBold(format == LineFormat::Title);
}

// "Next line": the cursor moves down one row, past a page's first row, which gets the page
// break and the page heading, then the text goes in.
void nextLine(ReportRun& run, const QString& text, LineFormat format = LineFormat::Line) {
    run.ReportRow += 1;
    if (run.ReportRow > 1 && run.ReportRow % kPageRows == 1) {
        StartReportPage(run);
    }
    writeLine(run, run.ReportRow, text, format);
}

// A continuous medium line along the bottom of A to F of the cursor's row.
void sectionRule(ReportRun& run) {
    const int row = run.ReportRow;
    automation::Range::Borders bottom =
        run.sheet->range(automation::RangeRef{{row, kTextColumn}, {row, kLastColumn}})
            .borders(xl::EdgeBottom);
    bottom.setLineStyle(xl::Continuous);
    bottom.setWeight(xl::Medium);
}

void writeReportParameters(ReportRun& run) {
    const ReportOptions& o = run.program.options;
    nextLine(run, QStringLiteral("Установочные параметры протокола"), LineFormat::Title);
    if (o.isChecked(R::CheckBox6)) {
        nextLine(run, QStringLiteral("1 - Канал - ") + o.Edit12 + QStringLiteral(" - Включен"));
        nextLine(run, QStringLiteral("Коэффициент T = at + b"));
        nextLine(run, QStringLiteral("a=") + o.Edit7 + QStringLiteral("  b=") + o.Edit8);
        if (o.isChecked(R::CheckBox5)) {
            nextLine(run, QStringLiteral("Ср. кинетическая T  ΔH=") + o.Edit10 +
                              QStringLiteral(" кДж/моль"));
        }
    } else {
        nextLine(run, QStringLiteral("1 - Канал - ") + o.Edit12 + QStringLiteral(" - Выключен"));
    }
    if (o.isChecked(R::CheckBox7)) {
        nextLine(run, QStringLiteral("2 - Канал - ") + o.Edit13 + QStringLiteral(" - Включен"));
        nextLine(run, QStringLiteral("Коэффициент T = at + b"));
        nextLine(run, QStringLiteral("a=") + o.Edit9 + QStringLiteral("  b=") + o.Edit11);
        nextLine(run, QStringLiteral("Коэффициент сглаживания:") + o.Edit6);
    } else {
        nextLine(run, QStringLiteral("2 - Канал - ") + o.Edit13 + QStringLiteral(" - Выключен"));
    }
    nextLine(run, QStringLiteral("Шаг в отсчеах:") + o.Edit5);
    nextLine(run, o.isChecked(R::CheckBox4) ? QStringLiteral("Сжатие - Включен")
                                            : QStringLiteral("Сжатие - Выключен"));
    nextLine(run, QStringLiteral("Отобразить на графике данные"));
    const auto& t = o.ComboBoxText;
    nextLine(run, QStringLiteral("с ") + t[R::RangeStart.date] + ' ' + o.rangeTime(R::RangeStart));
    nextLine(run, QStringLiteral("по ") + t[R::RangeEnd.date] + ' ' + o.rangeTime(R::RangeEnd));
}

// The statistics of the selection, a section of its own after the parameters.
void writeStatistics(ReportRun& run) {
    const QStringList lines = StatisticsLines(ComputeStatistics(run.program));
    nextLine(run, messages::statistics::Heading, LineFormat::Title);
    for (const QString& line : lines) {
        nextLine(run, line);
    }
    sectionRule(run);
}

void writeSetupBlock(ReportRun& run) {
    const ReportOptions& o = run.program.options;
    const LogData& data = run.program.data;
    writeLine(run, 1, o.Edit3, LineFormat::Title);
    writeLine(run, 2, o.Edit4, LineFormat::Title);
    writeLine(run, 4, QStringLiteral("Установочные параметры"), LineFormat::Title);
    writeLine(run, 5, data.DeviceHeader.value_or(QString()), LineFormat::Line);
    run.ReportRow = 5;
    sectionRule(run);

    if (o.isChecked(R::CheckBox2)) {
        nextLine(run, QStringLiteral("Ярлык"), LineFormat::Title);
        for (const QString& row : data.LabelRows) {
            nextLine(run, row);
        }
        sectionRule(run);
    }
    if (o.isChecked(R::CheckBox3)) {
        for (const QString& row : data.StatusRows) {
            nextLine(run, row);
        }
        sectionRule(run);
    }
    if (o.isChecked(R::CheckBox10)) {
        writeReportParameters(run);
    }
    if (o.Statistics) {
        writeStatistics(run);
    }
    StartReportPage(run);
}

}  // namespace

void SetColumnWidths(ReportRun& run) {
    for (int column = kTextColumn; column <= kLastColumn; ++column) {
        run.ReportSheet->cells(1, column).setColumnWidth(13.57);
    }
    run.select(*run.DataSheet);
    for (int column = kTextColumn; column <= kLastColumn; ++column) {
        run.DataSheet->cells(1, column).setColumnWidth(15);
    }
    run.select(*run.ReportSheet);
}

void WriteHeadingBlock(ReportRun& run) {
    const ReportOptions& o = run.program.options;
    WritePageHeading(run, 1, 1, true);
    run.PageNumber = 2;

    if (o.isChecked(R::CheckBox1)) {
        writeSetupBlock(run);
    }
    if (!(o.isChecked(R::CheckBox1) && o.isChecked(R::CheckBox3))) {
        run.ReportRow += 3;
    }
    run.ChartRow = run.ReportRow;
    if (o.isChecked(R::CheckBox9)) {
        StartReportPage(run);
    } else {
        run.ReportRow += 1;
    }
    run.select(*run.DataSheet);
}

}  // namespace qorv

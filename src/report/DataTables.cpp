#include "report/DataTables.h"

#include "report/ChannelTitles.h"
#include "report/HeadingBlock.h"
#include "report/Messages.h"
#include "report/NumberText.h"
#include "report/PrintedTableLayout.h"
#include "report/ReportError.h"

namespace qorv {

namespace {

using automation::Range;
using automation::TextArray;
namespace xl = automation::xl;
using R = ReportOptions;

QString cell(const char* column, int row) {
    return QString::fromLatin1(column) + QString::number(row);
}

QString cellAt(int column, int row) {
    return automation::columnName(column) + QString::number(row);
}

QString block(const QString& firstColumn, int firstRow, const QString& lastColumn, int lastRow) {
    return firstColumn + QString::number(firstRow) + ':' + lastColumn + QString::number(lastRow);
}

void thinBorders(const Range& range) {
    range.borders().setLineStyle(xl::Continuous);
}

// A column of the chart data: entry i of `texts` (empty where the list has none) in row
// first + i.
TextArray columnOf(const QStringList& texts, qsizetype rows) {
    TextArray array(rows, 1);
    for (qsizetype i = 0; i < rows && i < texts.size(); ++i) {
        array.at(i, 0) = texts[i];
    }
    return array;
}

bool eventHeading(const ProgramState& s) {
    return s.options.isChecked(R::CheckBox7) && s.data.HasEvents != "NO";
}

// A value as the printed table shows it: the text read back and written with the channel's
// decimals; an empty entry stays empty.
QString printedValue(const QString& entry, int decimals, const QString& line) {
    if (entry.isEmpty()) {
        return QString();
    }
    const auto value = TryReadNumber(entry);
    if (!value) {
        throw ConversionError(messages::SampleValueError(entry, line), entry);
    }
    return FixedText(static_cast<double>(*value), decimals);
}

}  // namespace

int ChartDataHeadingRow(const ReportOptions& options, const LogData& data) {
    return options.isChecked(R::CheckBox7) && data.HasEvents != "NO" ? 5 : 4;
}

qsizetype ChartDataCapacity(const ReportOptions& options, const LogData& data) {
    return automation::kMaxRows - ChartDataHeadingRow(options, data);
}

void WriteChartDataHeading(ReportRun& run) {
    const ProgramState& s = run.program;
    automation::Worksheet& sheet = *run.sheet;
    run.DataSheetRow += 2;
    Range title = sheet.range(cell("A", run.DataSheetRow));
    title.setValue2(QStringLiteral("График температуры"));
    title.font().setSize(12);
    title.font().setBold(true);

    const int h = ChartDataHeadingRow(s.options, s.data);
    if (eventHeading(s)) {
        Range a = sheet.range(cell("A", h));
        a.setValue2(QStringLiteral("Время"));
        a.font().setSize(10);
        for (const char* column : {"A", "B", "C"}) {
            thinBorders(sheet.range(cell(column, h)));
        }
        const std::pair<const char*, const char*> states[] = {{"B", "0 (Нет)"}, {"C", "1 (Есть)"}};
        for (const auto& [column, text] : states) {
            Range c = sheet.range(cell(column, h));
            c.setValue2(QString::fromUtf8(text));
            c.font().setSize(12);
            c.font().setBold(true);
        }
    } else {
        const std::pair<const char*, QString> headings[] = {{"A", QStringLiteral("Время")},
                                                            {"B", s.options.Edit12}};
        for (const auto& [column, text] : headings) {
            Range c = sheet.range(cell(column, h));
            c.setValue2(text);
            c.font().setSize(10);
            c.font().setBold(true);
            thinBorders(c);
        }
    }
    run.DataSheetRow = h;
    run.ChartDataHeaderRow = h;
    run.ChartDataLastRow = h - 1;
}

void WriteChartDataColumns(ReportRun& run) {
    const ProgramState& s = run.program;
    const ReportOptions& o = s.options;
    automation::Worksheet& sheet = *run.sheet;
    const int f = run.ChartDataHeaderRow + 1;
    const qsizetype n = run.columns.TimeTexts.size();
    // The checks refuse such a selection before the run; a batch run, which makes no checks,
    // ends here with the same message rather than at the sheet's last row.
    if (n > ChartDataCapacity(o, s.data)) {
        throw ReportError(messages::TooManySamples(n, ChartDataCapacity(o, s.data)));
    }
    const int last = f + static_cast<int>(n) - 1;

    if (n > 0) {
        Range times = sheet.range(block("A", f, "A", last));
        times.setFormulaR1C1Local(columnOf(run.columns.TimeTexts, n));
        thinBorders(times);
    }
    run.advance();

    if (o.isChecked(R::CheckBox6) && n > 0) {
        Range b = sheet.range(block("B", f, "B", last));
        b.setValue(columnOf(run.columns.Channel1Texts, n));
        thinBorders(b);
    }
    run.advance();

    if (o.isChecked(R::CheckBox7) && n > 0) {
        const QString x = !o.isChecked(R::CheckBox6) && s.data.HasEvents == "NO"
                              ? QStringLiteral("B")
                              : QStringLiteral("C");
        Range c = sheet.range(block(x, f, x, last));
        c.setValue(columnOf(run.columns.Channel2Texts, n));
        thinBorders(c);
    }
    run.DataSheetRow = f + static_cast<int>(n);
    run.ChartDataLastRow = run.DataSheetRow - 1;
    run.advance();
}

QString ReducedRateText(const QString& rateLine) {
    QString reduced = rateLine;
    for (const char* word : {"сек.", "мин.", "Частота отсчётов:", "Частота регистрации:", " "}) {
        reduced.remove(QString::fromUtf8(word), Qt::CaseInsensitive);
    }
    return reduced;
}

void WriteStateDurationTable(ReportRun& run) {
    ProgramState& s = run.program;
    const ReportOptions& o = s.options;
    const qsizetype n = run.columns.TimeTexts.size();
    if (!(o.isChecked(R::CheckBox7) && s.data.HasEvents != "NO" && !o.isChecked(R::CheckBox6)) ||
        n == 0) {
        run.advance();
        return;
    }
    automation::Worksheet& sheet = *run.sheet;
    const int f = run.ChartDataHeaderRow + 1;
    const int lastRow = f + static_cast<int>(n) - 1;
    sheet.range(block("B", f, "C", lastRow)).setValue(TextArray(n, 2));
    sheet.range(block("A", f, "B", lastRow)).setValue(TextArray(n, 2));

    const QString reduced = ReducedRateText(s.data.RateText.value_or(QString()));
    s.data.RateText = reduced;

    const QStringList& states = run.columns.Channel2Texts;
    std::optional<long long> interval;  // read when the first row is written
    QString current = EntryAt(states, 0);
    long long count = 0;
    int row = f;
    for (qsizetype j = 0; j < n; ++j) {
        const QString entry = EntryAt(states, j);
        if (entry == current && j != n - 1) {
            count += 1;
            continue;
        }
        if (!interval) {
            bool ok = false;
            interval = reduced.toLongLong(&ok);
            if (!ok) {
                throw ConversionError(messages::RateTextError(reduced), reduced);
            }
        }
        sheet.range(cell(current == "0" ? "B" : "C", row))
            .setValue2(QString::number(*interval * count));
        Range a = sheet.range(cell("A", row));
        a.setFormulaR1C1Local(run.columns.TimeTexts[j]);
        a.setNumberFormatLocal(QStringLiteral("ДД/ММ/ГГ Ч:ММ;@"));
        current = entry;
        count = 1;
        row += 1;
    }
    run.DataSheetRow = row;
    run.ChartDataLastRow = row - 1;
    run.advance();
}

void WritePrintedTable(ReportRun& run) {
    const ProgramState& s = run.program;
    const ReportOptions& o = s.options;
    const SampleColumns& c = run.columns;
    const bool twoChannels = o.isChecked(R::CheckBox6) && o.isChecked(R::CheckBox7);
    const qsizetype n = c.TimeTexts.size();
    run.select(*run.ReportSheet);
    automation::Worksheet& sheet = *run.sheet;

    if (!twoChannels) {
        run.advance();
    }
    if (n == 0) {
        if (twoChannels) {
            run.advance();
        }
        return;
    }

    // Headings and values of each position's columns.
    const QStringList headings =
        twoChannels
            ? QStringList{QStringLiteral("Время"), Channel1HeadingTwoChannels(s),
                          Channel2Heading(s)}
            : QStringList{QStringLiteral("Время"),
                          o.isChecked(R::CheckBox6) ? Channel1Heading(s) : Channel2Heading(s)};
    const int width = static_cast<int>(headings.size());
    const bool channel1Values = o.isChecked(R::CheckBox6) && !c.Channel1Texts.isEmpty();
    const int oneChannelDecimals =
        o.isChecked(R::CheckBox6) ? run.program.chart.TempDecimals : run.program.chart.DataDecimals;

    run.progress.tableStarted(n);
    const TableLayout layout =
        LayoutPrintedTable(run.ReportRow, run.PageNumber, n, twoChannels ? 2 : 3);
    for (const TableBlock& b : layout.blocks) {
        const int firstColumn = b.position * width + 1;
        const int lastColumn = firstColumn + width - 1;
        const QString first = automation::columnName(firstColumn);
        const QString lastName = automation::columnName(lastColumn);

        for (int k = 0; k < width; ++k) {
            Range h = sheet.range(cellAt(firstColumn + k, b.headingRow));
            h.setValue2(headings[k]);
            thinBorders(h);
            h.font().setBold(true);
            h.font().setSize(10);
            h.setHorizontalAlignment(3);
        }

        TextArray values(b.sampleCount, width);
        for (qsizetype i = 0; i < b.sampleCount; ++i) {
            const qsizetype sample = b.firstSample + i;
            const QString& line = c.Lines.value(sample);
            values.at(i, 0) = c.TimeTexts[sample];
            if (twoChannels) {
                values.at(i, 1) =
                    printedValue(EntryAt(c.Channel1Texts, sample), s.chart.TempDecimals, line)
                        .replace(',', run.decimalSeparator);
                values.at(i, 2) =
                    printedValue(EntryAt(c.Channel2Texts, sample), s.chart.DataDecimals, line)
                        .replace(',', run.decimalSeparator);
            } else {
                const QString entry = channel1Values ? EntryAt(c.Channel1Texts, sample)
                                                     : EntryAt(c.Channel2Texts, sample);
                values.at(i, 1) = printedValue(entry, oneChannelDecimals, line).replace(',', '.');
            }
            run.progress.tableAdvanced(sample + 1);
        }
        const int lastRow = b.firstDataRow + static_cast<int>(b.sampleCount) - 1;
        if (twoChannels) {
            for (int k = 0; k < width; ++k) {
                const QString column = automation::columnName(firstColumn + k);
                TextArray one(b.sampleCount, 1);
                for (qsizetype i = 0; i < b.sampleCount; ++i) {
                    one.at(i, 0) = values.at(i, k);
                }
                sheet.range(block(column, b.firstDataRow, column, lastRow)).setValue(one);
            }
        } else {
            sheet.range(block(first, b.firstDataRow, lastName, lastRow)).setValue(values);
        }
        Range whole = sheet.range(block(first, b.firstDataRow, lastName, lastRow));
        thinBorders(whole);
        whole.font().setSize(8);
        whole.setHorizontalAlignment(3);

        if (b.position == 0) {
            run.ReportRow = b.firstDataRow + static_cast<int>(b.sampleCount);
        }
        if (b.pageBreakRow != 0) {
            StartReportPage(run);
        }
    }
    if (twoChannels) {
        run.advance();
    }
}

}  // namespace qorv

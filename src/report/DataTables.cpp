#include "report/DataTables.h"

#include "report/ChannelTitles.h"
#include "report/Messages.h"
#include "report/NumberText.h"
#include "report/PrintedTableLayout.h"
#include "report/ReportError.h"
#include "report/SideBySide.h"

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace qorv {

namespace {

using automation::Range;
using automation::TextArray;
namespace xl = automation::xl;

using automation::RangeRef;

// The columns of the chart-data table: the time, then channel 1 and channel 2 (or the "0 (Нет)"
// and "1 (Есть)" durations of an events table).
constexpr int kTimeColumn = 1;
constexpr int kChannel1Column = 2;
constexpr int kChannel2Column = 3;

// Rows firstRow to lastRow of the columns firstColumn to lastColumn.
RangeRef block(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    return RangeRef{{firstRow, firstColumn}, {lastRow, lastColumn}};
}

void thinBorders(const Range& range) {
    range.borders().setLineStyle(xl::Continuous);
}

// Writes a column of the chart data: textAt(i) in row firstRow + i of `column`, for `rows` rows,
// with thin borders round every cell.
void writeDataColumn(automation::Worksheet& sheet, int firstRow, int column, qsizetype rows,
                     const std::function<QStringView(qsizetype)>& textAt) {
    const int last = firstRow + static_cast<int>(rows) - 1;
    Range range = sheet.range(block(firstRow, column, last, column));
    range.setColumnValue(rows, textAt);
    thinBorders(range);
}

// The same with entry i of `texts`, empty where the list has none.
void writeDataColumn(automation::Worksheet& sheet, int firstRow, int column, qsizetype rows,
                     const TextColumn& texts) {
    TextColumn::Reader read(texts);
    writeDataColumn(sheet, firstRow, column, rows, [&read](qsizetype i) { return read.value(i); });
}

// A channel's values as the printed table shows them, read as numbers on the cores before its
// first block, so that the channel's texts can go before the table's cells are made. An empty
// entry (or one past the end of an absent channel) shows as an empty cell; a value is written
// with the channel's decimals. The first entry that does not read ends the run where the table
// reaches it, with a message naming its line.
class PrintedNumbers {
  public:
    PrintedNumbers() = default;
    PrintedNumbers(const TextColumn& texts, const SampleColumns& columns)
        : values_(std::size_t(texts.size())) {
        std::vector<qsizetype> firstFailures((texts.size() + kPieceSize - 1) / kPieceSize, -1);
        RunOverPieces(texts.size(), [&](qsizetype first, qsizetype last) {
            TextColumn::Reader read(texts);
            for (qsizetype i = first; i < last; ++i) {
                const QStringView entry = read[i];
                if (entry.isEmpty()) {
                    values_[std::size_t(i)] = kEmpty;
                } else if (const auto value = TryReadNumber(entry)) {
                    values_[std::size_t(i)] = static_cast<double>(*value);
                } else {
                    firstFailures[std::size_t(first / kPieceSize)] = i;
                    return;
                }
            }
        });
        for (const qsizetype i : firstFailures) {
            if (i >= 0) {
                failedAt_ = i;
                failedText_ = texts.copyAt(i);
                failedSource_ = columns.sourceOf(i);
                break;
            }
        }
    }

    QString text(qsizetype sample, int decimals) const {
        if (sample == failedAt_) {
            throw ConversionError(
                messages::SampleValueError(failedText_, failedSource_.number, failedSource_.text),
                failedText_);
        }
        if (sample >= qsizetype(values_.size()) || std::isnan(values_[std::size_t(sample)])) {
            return QString();
        }
        return FixedText(values_[std::size_t(sample)], decimals);
    }

  private:
    // A value that reads is finite as a long double, and at most infinite as a double.
    static constexpr double kEmpty = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> values_;
    qsizetype failedAt_ = -1;
    QString failedText_;
    SampleSource failedSource_;
};

// The column headings of each block of the printed table: the time and the channels shown.
QStringList printedHeadings(const ReportRun& run, bool twoChannels) {
    const ProgramState& s = run.program;
    if (twoChannels) {
        return {QStringLiteral("Время"), Channel1HeadingTwoChannels(s), Channel2Heading(s)};
    }
    return {QStringLiteral("Время"),
            run.channels.channel1 ? Channel1Heading(s) : Channel2Heading(s)};
}

// The rows of one block: the time, then the values with their channel's decimals; two
// channels in the system's decimal separator, one channel with a point.
TextArray printedValues(ReportRun& run, const TableBlock& b, int width, bool twoChannels,
                        const PrintedNumbers& channel1, const PrintedNumbers& channel2) {
    const SampleColumns& columns = run.columns;
    const ChartSettings& chart = run.program.chart;
    const int oneChannelDecimals = run.channels.channel1 ? chart.TempDecimals : chart.DataDecimals;
    TextArray values(b.sampleCount, width);
    TimeTextReader times(columns);
    for (qsizetype i = 0; i < b.sampleCount; ++i) {
        const qsizetype sample = b.firstSample + i;
        values.at(i, 0) = times[sample].toString();
        if (twoChannels) {
            values.at(i, 1) =
                channel1.text(sample, chart.TempDecimals).replace(',', run.decimalSeparator);
            values.at(i, 2) =
                channel2.text(sample, chart.DataDecimals).replace(',', run.decimalSeparator);
        } else {
            values.at(i, 1) = channel1.text(sample, oneChannelDecimals).replace(',', '.');
        }
        run.progress.tableAdvanced(sample + 1);
    }
    return values;
}

// One block of the printed table: its headings, its values (the two-channel table column by
// column), thin borders, 8-point text, centred.
void writePrintedBlock(ReportRun& run, const TableBlock& b, const QStringList& headings,
                       bool twoChannels, const PrintedNumbers& channel1,
                       const PrintedNumbers& channel2) {
    automation::Worksheet& sheet = *run.sheet;
    const int width = static_cast<int>(headings.size());
    const int firstColumn = b.position * width + 1;
    const int lastColumn = firstColumn + width - 1;
    for (int k = 0; k < width; ++k) {
        Range h = sheet.cells(b.headingRow, firstColumn + k);
        h.setValue2(headings[k]);
        thinBorders(h);
        h.font().setBold(true);
        h.font().setSize(10);
        h.setHorizontalAlignment(xl::Center);
    }

    TextArray values = printedValues(run, b, width, twoChannels, channel1, channel2);
    const int lastRow = b.firstDataRow + static_cast<int>(b.sampleCount) - 1;
    if (twoChannels) {
        for (int k = 0; k < width; ++k) {
            const int column = firstColumn + k;
            TextArray one(b.sampleCount, 1);
            for (qsizetype i = 0; i < b.sampleCount; ++i) {
                one.at(i, 0) = std::move(values.at(i, k));
            }
            sheet.range(block(b.firstDataRow, column, lastRow, column)).setValue(one);
        }
    } else {
        sheet.range(block(b.firstDataRow, firstColumn, lastRow, lastColumn)).setValue(values);
    }
    Range whole = sheet.range(block(b.firstDataRow, firstColumn, lastRow, lastColumn));
    thinBorders(whole);
    whole.font().setSize(8);
    whole.setHorizontalAlignment(xl::Center);
}

}  // namespace

int ChartDataHeadingRow(const ReportOptions& options, const LogData& data) {
    return ChannelsOf(options, data).eventTable() ? 5 : 4;
}

qsizetype ChartDataCapacity(const ReportOptions& options, const LogData& data) {
    return automation::kMaxRows - ChartDataHeadingRow(options, data);
}

void WriteChartDataHeading(ReportRun& run) {
    const ProgramState& s = run.program;
    automation::Worksheet& sheet = *run.sheet;
    run.DataSheetRow += 2;
    Range title = sheet.cells(run.DataSheetRow, kTimeColumn);
    title.setValue2(QStringLiteral("График температуры"));
    title.font().setSize(12);
    title.font().setBold(true);

    const int h = ChartDataHeadingRow(s.options, s.data);
    if (run.channels.eventTable()) {
        Range a = sheet.cells(h, kTimeColumn);
        a.setValue2(QStringLiteral("Время"));
        a.font().setSize(10);
        for (int column = kTimeColumn; column <= kChannel2Column; ++column) {
            thinBorders(sheet.cells(h, column));
        }
        const std::pair<int, const char*> states[] = {{kChannel1Column, "0 (Нет)"},
                                                      {kChannel2Column, "1 (Есть)"}};
        for (const auto& [column, text] : states) {
            Range c = sheet.cells(h, column);
            c.setValue2(QString::fromUtf8(text));
            c.font().setSize(12);
            c.font().setBold(true);
        }
    } else {
        const std::pair<int, QString> headings[] = {{kTimeColumn, QStringLiteral("Время")},
                                                    {kChannel1Column, s.options.Edit12}};
        for (const auto& [column, text] : headings) {
            Range c = sheet.cells(h, column);
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
    const qsizetype n = run.columns.size();
    // The checks refuse such a selection before the run; a batch run, which makes no checks,
    // ends here with the same message rather than at the sheet's last row.
    if (n > ChartDataCapacity(o, s.data)) {
        throw ReportError(messages::TooManySamples(n, ChartDataCapacity(o, s.data)));
    }

    if (n > 0) {
        TimeTextReader times(run.columns);
        writeDataColumn(sheet, f, kTimeColumn, n, [&times](qsizetype i) { return times[i]; });
    }
    run.advance();

    if (run.channels.channel1 && n > 0) {
        writeDataColumn(sheet, f, kChannel1Column, n, run.columns.Channel1Texts);
    }
    run.advance();

    if (run.channels.channel2 && n > 0) {
        // Channel 2's measured values alone take the first value column.
        const int x =
            !run.channels.channel1 && !run.channels.events ? kChannel1Column : kChannel2Column;
        writeDataColumn(sheet, f, x, n, run.columns.Channel2Texts);
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
    const qsizetype n = run.columns.size();
    if (!run.channels.eventsOnly() || n == 0) {
        run.advance();
        return;
    }
    automation::Worksheet& sheet = *run.sheet;
    const int f = run.ChartDataHeaderRow + 1;
    const int lastRow = f + static_cast<int>(n) - 1;
    sheet.range(block(f, kChannel1Column, lastRow, kChannel2Column)).setValue(TextArray(n, 2));
    sheet.range(block(f, kTimeColumn, lastRow, kChannel1Column)).setValue(TextArray(n, 2));

    const QString reduced = ReducedRateText(s.data.RateText.value_or(QString()));
    s.data.RateText = reduced;

    const TextColumn& states = run.columns.Channel2Texts;
    std::optional<long long> interval;  // read when the first row is written
    QString current = states.copyAt(0);
    long long count = 0;
    int row = f;
    TextColumn::Reader read(states);
    for (qsizetype j = 0; j < n; ++j) {
        const QStringView entry = read.value(j);
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
        sheet.cells(row, current == u"0" ? kChannel1Column : kChannel2Column)
            .setValue2(QString::number(*interval * count));
        Range a = sheet.cells(row, kTimeColumn);
        a.setFormulaR1C1Local(run.columns.timeText(j));
        a.setNumberFormatLocal(QStringLiteral("ДД/ММ/ГГ Ч:ММ;@"));
        current = entry.toString();
        count = 1;
        row += 1;
    }
    run.DataSheetRow = row;
    run.ChartDataLastRow = row - 1;
    run.advance();
}

void WritePrintedTable(ReportRun& run) {
    const bool twoChannels = run.channels.channel1 && run.channels.channel2;
    const qsizetype n = run.columns.size();
    run.select(*run.ReportSheet);

    if (!twoChannels) {
        run.advance();
    }
    if (n == 0) {
        if (twoChannels) {
            run.advance();
        }
        return;
    }
    const QStringList headings = printedHeadings(run, twoChannels);
    run.progress.tableStarted(n);
    const TableLayout layout =
        LayoutPrintedTable(run.ReportRow, run.PageNumber, n, twoChannels ? 2 : 3);
    // The values shown are read before the first block; their texts go. One channel shows
    // channel 1's values while there are any, else channel 2's.
    SampleColumns& columns = run.columns;
    const bool channel1Values = run.channels.channel1 && !columns.Channel1Texts.isEmpty();
    const PrintedNumbers channel1(
        twoChannels || channel1Values ? columns.Channel1Texts : columns.Channel2Texts, columns);
    const PrintedNumbers channel2 =
        twoChannels ? PrintedNumbers(columns.Channel2Texts, columns) : PrintedNumbers();
    columns.Channel1Texts = TextColumn();
    columns.Channel2Texts = TextColumn();
    // The table reads only the times now; where the program does not keep the lines for a next
    // run, they give way to the times.
    if (!run.program.keepsSelection) {
        KeepTimesOnly(columns);
    }
    // The blocks fill their columns page by page: room for the whole table is made at once.
    const TableBlock& lastBlock = layout.blocks.back();
    run.sheet->reserveRows(1, static_cast<int>(headings.size()) * (twoChannels ? 2 : 3),
                           std::max(layout.reportRow, lastBlock.firstDataRow +
                                                          static_cast<int>(lastBlock.sampleCount)));
    for (const TableBlock& b : layout.blocks) {
        writePrintedBlock(run, b, headings, twoChannels, channel1, channel2);
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

#include "report/MappingSheets.h"
#include "report/Messages.h"
#include "report/Statistics.h"

#include <algorithm>
#include <cmath>

namespace qorv::mapping {

namespace {

namespace text = messages::mapping;
namespace xl = automation::xl;
using automation::Range;
using automation::RangeRef;
using automation::Worksheet;

// The table's columns, 1-based, in the order of text::TableHeadings.
enum Column {
    kNumber = 1,
    kDevice,
    kPlace,
    kSamples,
    kMinimum,
    kMinimumTime,
    kMaximum,
    kMaximumTime,
    kMean,
    kDeviation,
    kKinetic,
    kBelow,
    kAbove,
    kWithin,
    kMark,
    kLastColumn = kMark
};
// Widths in characters; the place's column is as wide as the longest place needs.
constexpr double kWidths[] = {4, 18, 0, 9, 9, 19, 9, 19, 9, 9, 9, 17, 17, 12, 14};
constexpr double kPlaceWidth[] = {16, 48};  // at least, at most

// The lines above and below the table: the label in A, runs on into the empty cells after it;
// the value in F (a time column: wide enough for a date-time), a time in H, a name from I.
constexpr int kValueColumn = kMinimumTime;
constexpr int kTimeColumn = kMaximumTime;
constexpr int kNameColumn = kMean;

// A landscape A4 page; the sheet is printed at the scale that fits the table's width.
constexpr double kMargin = 28;
constexpr double kPrintableWidth = 842 - 2 * kMargin;
constexpr double kPrintableHeight = 595 - 2 * kMargin;
constexpr double kRowHeight = 13.5;
constexpr int kLeft = -4131;  // horizontal alignment

// Where the writing stands: the next row, and how many rows a printed page holds.
struct Cursor {
    int row = 1;
    int pageRows = 1;
    bool startsPage() const { return row > 1 && (row - 1) % pageRows == 0; }
};

void Label(Worksheet& sheet, int row, const QString& label, double size = 10, bool bold = false) {
    SetText(sheet, row, 1, label);
    Range a = sheet.cells(row, 1);
    a.font().setSize(size);
    a.font().setBold(bold);
}

void NumberCell(Worksheet& sheet, int row, int column, double value, int decimals) {
    SetNumber(sheet, row, column, value);
    sheet.cells(row, column).setNumberFormat(DecimalsFormat(decimals));
}

int Decimals(const MappingStudy& study) {
    return study.loggers.empty() ? 1 : study.loggers.front().temperature.decimals;
}

QString RangeSourceText(RangeSource source) {
    switch (source) {
        case RangeSource::Options:
            return text::RangeFromOptions;
        case RangeSource::Loggers:
            return text::RangeFromLoggers;
        case RangeSource::None:
            break;
    }
    return text::RangeNone;
}

// The heading block: the title lines, the period, the acceptance range, the counts.
void WriteHeading(Worksheet& sheet, const MappingStudy& study, Cursor& at) {
    Label(sheet, 1, text::Title, 12, true);
    Label(sheet, 2, text::Subtitle, 10, true);
    at.row = 4;
    Label(sheet, at.row, text::PeriodStart);
    SetTime(sheet, at.row++, kValueColumn, study.start);
    Label(sheet, at.row, text::PeriodEnd);
    SetTime(sheet, at.row++, kValueColumn, study.end);
    Label(sheet, at.row, text::PeriodLength);
    SetText(sheet, at.row++, kValueColumn, DurationText(double(study.start.secsTo(study.end))));
    Label(sheet, at.row, text::RangeFrom);
    SetText(sheet, at.row++, kValueColumn, RangeSourceText(study.rangeSource));
    const std::pair<QString, std::optional<double>> limits[] = {{text::RangeLow, study.low},
                                                                {text::RangeHigh, study.high}};
    for (const auto& [label, limit] : limits) {
        Label(sheet, at.row, label);
        if (limit) {
            NumberCell(sheet, at.row, kValueColumn, *limit, Decimals(study));
        } else {
            SetText(sheet, at.row, kValueColumn, text::NotApplicable);
        }
        ++at.row;
    }
    Label(sheet, at.row, text::Loggers);
    SetNumber(sheet, at.row++, kValueColumn, double(study.loggers.size()));
    Label(sheet, at.row, text::Samples);
    SetNumber(sheet, at.row++, kValueColumn, double(study.samples));
    sheet.range(RangeRef{{4, kValueColumn}, {at.row - 1, kValueColumn}})
        .setHorizontalAlignment(kLeft);
    ++at.row;
}

void WriteTableHeading(Worksheet& sheet, int row) {
    for (int column = 1; column <= kLastColumn; ++column) {
        SetText(sheet, row, column, text::TableHeadings[column - 1]);
    }
    Range heading = sheet.range(RangeRef{{row, 1}, {row, kLastColumn}});
    heading.font().setBold(true);
    heading.setHorizontalAlignment(xl::Center);
    heading.borders().setLineStyle(xl::Continuous);
    heading.borders(xl::EdgeBottom).setWeight(xl::Medium);
}

// The marks of a logger: which of the warmest and the coldest places it is.
QString MarksOf(const MappingStudy& study, qsizetype index) {
    QStringList marks;
    const std::pair<qsizetype, QString> all[] = {
        {study.warmestByMaximum, text::WarmestByMaximumMark},
        {study.warmestByMean, text::WarmestByMeanMark},
        {study.coldestByMinimum, text::ColdestByMinimumMark},
        {study.coldestByMean, text::ColdestByMeanMark}};
    for (const auto& [marked, mark] : all) {
        if (marked == index) {
            marks << mark;
        }
    }
    return marks.join(u' ');
}

// Time below or above the range as a duration; a dash without that limit.
QString TimeOutside(const std::optional<double>& limit, const std::optional<double>& seconds) {
    return limit ? DurationText(seconds) : text::NotApplicable;
}

void WriteLoggerRow(Worksheet& sheet, const MappingStudy& study, qsizetype index, int row) {
    const StudyLogger& logger = study.loggers[std::size_t(index)];
    const ChannelStatistics& t = logger.temperature;
    SetNumber(sheet, row, kNumber, double(index + 1));
    SetText(sheet, row, kDevice, logger.deviceNumber);
    SetText(sheet, row, kPlace, logger.place);
    SetNumber(sheet, row, kSamples, double(t.samples));
    NumberCell(sheet, row, kMinimum, t.minimum, t.decimals);
    SetTime(sheet, row, kMinimumTime, t.minimumTime);
    NumberCell(sheet, row, kMaximum, t.maximum, t.decimals);
    SetTime(sheet, row, kMaximumTime, t.maximumTime);
    NumberCell(sheet, row, kMean, t.mean, t.decimals + 1);
    if (t.standardDeviation) {
        NumberCell(sheet, row, kDeviation, *t.standardDeviation, t.decimals + 1);
    }
    if (t.meanKineticTemperature) {
        NumberCell(sheet, row, kKinetic, *t.meanKineticTemperature, t.decimals + 1);
    }
    SetText(sheet, row, kBelow, TimeOutside(study.low, logger.secondsBelow));
    SetText(sheet, row, kAbove, TimeOutside(study.high, logger.secondsAbove));
    const bool range = study.low || study.high;
    SetText(sheet, row, kWithin,
            !range ? text::NotApplicable : (logger.withinRange() ? text::Yes : text::No));
    const QString marks = MarksOf(study, index);
    SetText(sheet, row, kMark, marks);
    if (!marks.isEmpty()) {
        sheet.range(RangeRef{{row, kDevice}, {row, kPlace}}).font().setBold(true);
        sheet.cells(row, kMark).font().setBold(true);
    }
}

// One row per logger; a table that goes on past a page starts the page with its heading.
void WriteTable(Worksheet& sheet, const MappingStudy& study, Cursor& at) {
    const int first = at.row;
    WriteTableHeading(sheet, at.row++);
    for (qsizetype i = 0; i < qsizetype(study.loggers.size()); ++i) {
        if (at.startsPage()) {
            sheet.hPageBreaks().add(sheet.cells(at.row, 1));
            WriteTableHeading(sheet, at.row++);
        }
        WriteLoggerRow(sheet, study, i, at.row++);
    }
    Range body = sheet.range(RangeRef{{first + 1, 1}, {at.row - 1, kLastColumn}});
    body.borders().setLineStyle(xl::Continuous);
    sheet.range(RangeRef{{first + 1, kSamples}, {at.row - 1, kLastColumn}})
        .setHorizontalAlignment(xl::Center);
    sheet.range(RangeRef{{first + 1, kNumber}, {at.row - 1, kNumber}})
        .setHorizontalAlignment(xl::Center);
    ++at.row;
}

// A place the study names: its figure, its time when it has one, the logger.
void WritePlaceLine(Worksheet& sheet, const MappingStudy& study, Cursor& at, const QString& label,
                    qsizetype index, double value, const QDateTime& time) {
    if (index < 0) {
        return;
    }
    Label(sheet, at.row, label);
    NumberCell(sheet, at.row, kValueColumn, value, Decimals(study) + (time.isValid() ? 0 : 1));
    if (time.isValid()) {
        SetTime(sheet, at.row, kTimeColumn, time);
    }
    SetText(sheet, at.row, kNameColumn, LoggerName(study.loggers[std::size_t(index)]));
    ++at.row;
}

const ChannelStatistics& TemperatureOf(const MappingStudy& study, qsizetype index) {
    return study.loggers[std::size_t(std::max<qsizetype>(index, 0))].temperature;
}

// Below the table: what the marks mean, the warmest and the coldest places, the study's
// figures and the largest difference between places at one moment.
void WriteFindings(Worksheet& sheet, const MappingStudy& study, Cursor& at) {
    Label(sheet, at.row++, text::MarksExplained, 8);
    ++at.row;
    const ChannelStatistics& warmMax = TemperatureOf(study, study.warmestByMaximum);
    const ChannelStatistics& warmMean = TemperatureOf(study, study.warmestByMean);
    const ChannelStatistics& coldMin = TemperatureOf(study, study.coldestByMinimum);
    const ChannelStatistics& coldMean = TemperatureOf(study, study.coldestByMean);
    WritePlaceLine(sheet, study, at, text::WarmestByMaximum, study.warmestByMaximum,
                   warmMax.maximum, warmMax.maximumTime);
    WritePlaceLine(sheet, study, at, text::WarmestByMean, study.warmestByMean, warmMean.mean, {});
    WritePlaceLine(sheet, study, at, text::ColdestByMinimum, study.coldestByMinimum,
                   coldMin.minimum, coldMin.minimumTime);
    WritePlaceLine(sheet, study, at, text::ColdestByMean, study.coldestByMean, coldMean.mean, {});
    ++at.row;
    const std::pair<QString, double> figures[] = {{text::StudyMinimum, study.minimum},
                                                  {text::StudyMaximum, study.maximum}};
    for (const auto& [label, value] : figures) {
        Label(sheet, at.row, label);
        NumberCell(sheet, at.row++, kValueColumn, value, Decimals(study));
    }
    Label(sheet, at.row, text::StudyMean);
    NumberCell(sheet, at.row++, kValueColumn, study.mean, Decimals(study) + 1);
    Label(sheet, at.row, text::ComparisonStep);
    SetText(sheet, at.row++, kValueColumn, DurationText(study.stepSeconds));
    Label(sheet, at.row, text::LargestDifference);
    if (const auto& d = study.largestDifference) {
        NumberCell(sheet, at.row, kValueColumn, d->degrees, Decimals(study));
        SetTime(sheet, at.row, kTimeColumn, d->stepStart);
        const std::pair<QString, qsizetype> places[] = {{text::DifferenceWarmer, d->warmer},
                                                        {text::DifferenceColder, d->colder}};
        for (const auto& [label, index] : places) {
            Label(sheet, ++at.row, label);
            SetText(sheet, at.row, kValueColumn, LoggerName(study.loggers[std::size_t(index)]));
        }
    } else {
        SetText(sheet, at.row, kValueColumn, text::NoDifference);
    }
    ++at.row;
}

// Column widths, and the print scale at which the table fits the page's width.
int SetColumnWidths(Worksheet& sheet, const MappingStudy& study) {
    qsizetype longest = 0;
    for (const StudyLogger& logger : study.loggers) {
        longest = std::max(longest, logger.place.size());
    }
    double width = 0;
    for (int column = 1; column <= kLastColumn; ++column) {
        double characters = kWidths[column - 1];
        if (column == kPlace) {
            // Room for the bold text of a marked row.
            characters = std::clamp(double(longest) * 1.1 + 2, kPlaceWidth[0], kPlaceWidth[1]);
        }
        sheet.cells(1, column).setColumnWidth(characters);
        width += sheet.columnWidthPoints(column);
    }
    // A little room to spare: spreadsheet programs measure columns a little wider.
    return std::clamp(int(std::floor(kPrintableWidth * 95 / width)), 10, 100);
}

}  // namespace

void WriteSummarySheet(MappingRun& run) {
    Worksheet& sheet = *run.summary;
    const MappingStudy& study = run.study;
    const int zoom = SetColumnWidths(sheet, study);
    Cursor at;
    at.pageRows = int(std::floor(kPrintableHeight * 100 / zoom / kRowHeight));
    WriteHeading(sheet, study, at);
    WriteTable(sheet, study, at);
    WriteFindings(sheet, study, at);
    const int lastRow = at.row - 1;
    // Every row of one height, so that the pages the table was cut into are the printed ones.
    sheet.setRowHeights(1, lastRow, kRowHeight);
    sheet.range(RangeRef{{1, 1}, {lastRow, kLastColumn}}).setVerticalAlignment(xl::Center);
    SetUpLandscapeA4(sheet, kMargin, zoom, RangeRef{{1, 1}, {lastRow, kLastColumn}});
}

}  // namespace qorv::mapping

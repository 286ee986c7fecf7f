#pragma once

#include "automation/Workbook.h"
#include "report/MappingStudy.h"

#include <QDateTime>
#include <QString>

#include <vector>

// The pieces of a mapping study's workbook: the state its stages share and the writing of each
// sheet. Used by BuildMappingWorkbook only.
namespace qorv::mapping {

// Where each logger's samples stand on the chart-data sheet: a column pair (time, value) per
// logger and channel, the samples from `firstRow` on; 0 where a logger has no humidity.
struct DataColumns {
    static constexpr int kNameRow = 1;     // "device — place" over each pair
    static constexpr int kHeadingRow = 2;  // "Время", the channel
    static constexpr int kFirstRow = 3;
    std::vector<int> temperature;  // the time column of each logger's pair
    std::vector<int> humidity;
    // The acceptance range's block: the time column, the study's start and end in the first
    // two sample rows, the low and the high limit in the next two columns; 0 without a range.
    int rangeTime = 0;
};

// The state of one workbook build.
struct MappingRun {
    explicit MappingRun(const MappingStudy& s) : study(s) {}
    const MappingStudy& study;
    automation::Workbook* book = nullptr;
    automation::Worksheet* summary = nullptr;
    automation::Worksheet* charts = nullptr;
    automation::Worksheet* data = nullptr;
    DataColumns columns;
};

// Each sheet's writing, in the order the build calls them; the charts read the data sheet.
void WriteSummarySheet(MappingRun& run);
void WriteDataSheet(MappingRun& run);
void WriteChartSheet(MappingRun& run);

// Cells of a sheet written as what they are: a number, a date-time, a text (never read as a
// number: a device number "0012" stays as written). Each keeps the format the cell has.
void SetNumber(automation::Worksheet& sheet, int row, int column, double value);
void SetTime(automation::Worksheet& sheet, int row, int column, const QDateTime& time);
void SetText(automation::Worksheet& sheet, int row, int column, const QString& text);
// The spreadsheet's serial day of a logger's clock time (days since 30.12.1899).
double SerialDay(const QDateTime& time);
// The same of a time in milliseconds since the epoch (UTC), as a study keeps its samples'.
double SerialDayOfMSecs(qint64 msecs);
// Number format codes: a value with `decimals` decimals; a date-time to the second.
QString DecimalsFormat(int decimals);
inline const QString kTimeFormat = QStringLiteral("dd\\.mm\\.yyyy hh:mm:ss");
// A landscape A4 page of equal margins (in points) at a print scale, printing `area`.
void SetUpLandscapeA4(automation::Worksheet& sheet, double margin, int zoom,
                      const automation::RangeRef& area);
// Whether any logger of the study recorded humidity.
bool HasHumidity(const MappingStudy& study);
// A logger as the headings and the legend name it: "device — place".
QString LoggerName(const StudyLogger& logger);

}  // namespace qorv::mapping

#include "report/MappingSheets.h"
#include "report/Messages.h"
#include "report/SideBySide.h"

#include <algorithm>

namespace qorv::mapping {

namespace {

namespace text = messages::mapping;
namespace xl = automation::xl;
using automation::CellFormat;
using automation::CellStore;
using automation::CellType;
using automation::Worksheet;

constexpr double kTimeWidth = 19;
constexpr double kValueWidth = 16;

// The cell format of a column of numbers in a number format.
std::uint32_t NumberColumnFormat(Worksheet& sheet, const QString& code) {
    automation::Styles& styles = sheet.styles();
    CellFormat format;
    format.numberFormat = styles.numberFormatIndex(code);
    return styles.formatIndex(format);
}

// A column pair's headings: the logger over both, "Время" and the channel below.
void WritePairHeading(Worksheet& sheet, int column, const QString& logger, const QString& channel) {
    SetText(sheet, DataColumns::kNameRow, column, logger);
    SetText(sheet, DataColumns::kHeadingRow, column, text::Time);
    SetText(sheet, DataColumns::kHeadingRow, column + 1, channel);
    sheet
        .range(automation::RangeRef{{DataColumns::kNameRow, column},
                                    {DataColumns::kHeadingRow, column + 1}})
        .font()
        .setBold(true);
    sheet.cells(1, column).setColumnWidth(kTimeWidth);
    sheet.cells(1, column + 1).setColumnWidth(kValueWidth);
}

// A column pair's samples, to be written once every heading stands.
struct PairSamples {
    int column;
    const std::vector<StudySample>* samples;
    std::uint32_t valueFormat;
};

// The samples as numbers straight into the sheet's cell store: a study has millions of them,
// and a block of texts would be read back one by one. Each pair has columns of its own, so the
// pairs are written side by side.
void WriteSamples(Worksheet& sheet, const std::vector<PairSamples>& pairs,
                  std::uint32_t timeFormat) {
    CellStore& cells = sheet.cellStore();
    int lastColumn = 0;
    for (const PairSamples& pair : pairs) {
        lastColumn = std::max(lastColumn, pair.column + 1);
    }
    cells.addColumns(lastColumn);
    RunSideBySide(qsizetype(pairs.size()), [&](qsizetype i) {
        const PairSamples& pair = pairs[std::size_t(i)];
        const int count = int(pair.samples->size());
        if (count == 0) {
            return;
        }
        double* times = cells.setBlock(pair.column, DataColumns::kFirstRow, count,
                                       CellStore::pack(CellType::Number, timeFormat));
        for (const StudySample& sample : *pair.samples) {
            *times++ = SerialDayOfMSecs(sample.msecs);
        }
        double* values = cells.setBlock(pair.column + 1, DataColumns::kFirstRow, count,
                                        CellStore::pack(CellType::Number, pair.valueFormat));
        for (const StudySample& sample : *pair.samples) {
            *values++ = sample.value;
        }
    });
}

// The acceptance range as lines over the study period: the start and the end in the first
// column, each limit twice in a column of its own.
void WriteRangeBlock(MappingRun& run, int column, std::uint32_t timeFormat) {
    Worksheet& sheet = *run.data;
    const MappingStudy& study = run.study;
    SetText(sheet, DataColumns::kNameRow, column, text::RangeFrom);
    SetText(sheet, DataColumns::kHeadingRow, column, text::Time);
    sheet.cells(1, column).setColumnWidth(kTimeWidth);
    const QDateTime ends[] = {study.start, study.end};
    for (int i = 0; i < 2; ++i) {
        sheet.cellStore().set(DataColumns::kFirstRow + i, column,
                              CellStore::pack(CellType::Number, timeFormat), SerialDay(ends[i]));
    }
    const std::pair<const std::optional<double>*, QString> limits[] = {
        {&study.low, text::RangeLowLine}, {&study.high, text::RangeHighLine}};
    int next = column + 1;
    for (const auto& [limit, name] : limits) {
        if (!*limit) {
            continue;
        }
        SetText(sheet, DataColumns::kHeadingRow, next, name);
        SetNumber(sheet, DataColumns::kFirstRow, next, **limit);
        SetNumber(sheet, DataColumns::kFirstRow + 1, next, **limit);
        sheet.cells(1, next).setColumnWidth(26);
        ++next;
    }
    sheet
        .range(automation::RangeRef{{DataColumns::kNameRow, column},
                                    {DataColumns::kHeadingRow, next - 1}})
        .font()
        .setBold(true);
    run.columns.rangeTime = column;
}

}  // namespace

void WriteDataSheet(MappingRun& run) {
    Worksheet& sheet = *run.data;
    const MappingStudy& study = run.study;
    const std::uint32_t timeFormat = NumberColumnFormat(sheet, kTimeFormat);
    std::vector<PairSamples> pairs;
    int column = 1;
    for (const StudyLogger& logger : study.loggers) {
        const std::uint32_t valueFormat =
            NumberColumnFormat(sheet, DecimalsFormat(logger.temperature.decimals));
        WritePairHeading(sheet, column, LoggerName(logger), text::Temperature);
        pairs.push_back({column, &logger.temperatureSamples, valueFormat});
        run.columns.temperature.push_back(column);
        column += 2;
    }
    for (const StudyLogger& logger : study.loggers) {
        if (logger.humiditySamples.empty()) {
            run.columns.humidity.push_back(0);
            continue;
        }
        const std::uint32_t valueFormat = NumberColumnFormat(
            sheet, DecimalsFormat(logger.humidity ? logger.humidity->decimals : 1));
        WritePairHeading(sheet, column, LoggerName(logger), text::Humidity);
        pairs.push_back({column, &logger.humiditySamples, valueFormat});
        run.columns.humidity.push_back(column);
        column += 2;
    }
    WriteSamples(sheet, pairs, timeFormat);
    if (study.low || study.high) {
        WriteRangeBlock(run, column + 1, timeFormat);
    }
}

}  // namespace qorv::mapping

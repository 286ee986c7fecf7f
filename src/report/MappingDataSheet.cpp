#include "report/MappingSheets.h"
#include "report/Messages.h"

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

// The samples as numbers straight into the sheet's cell store: a study has millions of them,
// and a block of texts would be read back one by one.
void WritePairSamples(Worksheet& sheet, int column, const std::vector<StudySample>& samples,
                      std::uint32_t timeFormat, std::uint32_t valueFormat) {
    CellStore& cells = sheet.cellStore();
    const int last = DataColumns::kFirstRow + int(samples.size()) - 1;
    cells.reserve(column, last);
    cells.reserve(column + 1, last);
    const std::uint32_t time = CellStore::pack(CellType::Number, timeFormat);
    const std::uint32_t value = CellStore::pack(CellType::Number, valueFormat);
    int row = DataColumns::kFirstRow;
    for (const StudySample& sample : samples) {
        cells.set(row, column, time, SerialDay(sample.time));
        cells.set(row, column + 1, value, sample.value);
        ++row;
    }
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
    int column = 1;
    for (const StudyLogger& logger : study.loggers) {
        const std::uint32_t valueFormat =
            NumberColumnFormat(sheet, DecimalsFormat(logger.temperature.decimals));
        WritePairHeading(sheet, column, LoggerName(logger), text::Temperature);
        WritePairSamples(sheet, column, logger.temperatureSamples, timeFormat, valueFormat);
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
        WritePairSamples(sheet, column, logger.humiditySamples, timeFormat, valueFormat);
        run.columns.humidity.push_back(column);
        column += 2;
    }
    if (study.low || study.high) {
        WriteRangeBlock(run, column + 1, timeFormat);
    }
}

}  // namespace qorv::mapping

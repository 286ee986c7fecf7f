#include "report/MappingSheets.h"

#include "automation/TextInput.h"
#include "report/DateTimeText.h"
#include "report/Messages.h"

namespace qorv::mapping {

using automation::CellStore;
using automation::CellType;

namespace {

std::uint32_t FormatOfCell(const automation::Worksheet& sheet, int row, int column) {
    return CellStore::formatOf(sheet.cellStore().meta(row, column));
}

}  // namespace

void SetNumber(automation::Worksheet& sheet, int row, int column, double value) {
    const std::uint32_t format = FormatOfCell(sheet, row, column);
    sheet.cellStore().set(row, column, CellStore::pack(CellType::Number, format), value);
}

void SetTime(automation::Worksheet& sheet, int row, int column, const QDateTime& time) {
    SetNumber(sheet, row, column, SerialDay(time));
    sheet.cells(row, column).setNumberFormat(kTimeFormat);
}

void SetText(automation::Worksheet& sheet, int row, int column, const QString& text) {
    const std::uint32_t format = FormatOfCell(sheet, row, column);
    if (text.isEmpty()) {
        sheet.cellStore().set(row, column, CellStore::pack(CellType::Empty, format), 0);
        return;
    }
    const double index = double(sheet.workbook().texts().add(text));
    sheet.cellStore().set(row, column, CellStore::pack(CellType::Text, format), index);
}

double SerialDay(const QDateTime& time) {
    const QDate date = time.date();
    const QTime clock = time.time();
    double serial = 0;
    automation::dateTimeSerial(date.year(), date.month(), date.day(), clock.hour(), clock.minute(),
                               clock.second(), serial);
    return serial + clock.msec() / 86400000.0;
}

double SerialDayOfMSecs(qint64 msecs) {
    // From 1 March 1900 on, the serial day is the count of days since 30.12.1899 (day 25569
    // on 1 January 1970); the fraction is formed as above, so that both give the same number.
    constexpr qint64 kDay = 86400000;
    constexpr qint64 kSerialOfEpoch = 25569;
    constexpr qint64 kFirstPlainDay = 61 - kSerialOfEpoch;  // 1 March 1900
    constexpr qint64 kEnd = 2958466 - kSerialOfEpoch;       // 1 January 10000
    const qint64 days = msecs >= 0 ? msecs / kDay : -((-msecs + kDay - 1) / kDay);
    if (days < kFirstPlainDay || days >= kEnd) {
        return SerialDay(DateTimeOfMSecs(msecs));
    }
    const qint64 inDay = msecs - days * kDay;
    const double serial = double(days + kSerialOfEpoch) + int(inDay / 1000) / 86400.0;
    return serial + int(inDay % 1000) / 86400000.0;
}

QString DecimalsFormat(int decimals) {
    return decimals <= 0 ? QStringLiteral("0")
                         : QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
}

void SetUpLandscapeA4(automation::Worksheet& sheet, double margin, int zoom,
                      const automation::RangeRef& area) {
    automation::PageSetup& page = sheet.pageSetup();
    page.setPaperSize(automation::xl::PaperA4);
    page.setOrientation(automation::xl::Landscape);
    page.setLeftMargin(margin);
    page.setRightMargin(margin);
    page.setTopMargin(margin);
    page.setBottomMargin(margin);
    page.setHeaderMargin(margin / 2);
    page.setFooterMargin(margin / 2);
    page.setZoom(zoom);
    page.setPrintArea(automation::rangeName(area, true));
}

bool HasHumidity(const MappingStudy& study) {
    for (const StudyLogger& logger : study.loggers) {
        if (!logger.humiditySamples.empty()) {
            return true;
        }
    }
    return false;
}

QString LoggerName(const StudyLogger& logger) {
    return messages::mapping::LoggerName(logger.deviceNumber, logger.place);
}

}  // namespace qorv::mapping

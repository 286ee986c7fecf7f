#include "report/ChannelTitles.h"

#include "report/LoadLogFile.h"

namespace qorv {

namespace {

const QString kTemperatureChannel = QStringLiteral("Канал температуры");

bool isTemperatureHeader(const QString& header) {
    return header.startsWith(kTemperatureChannel);
}

QString channel2Title(const ProgramState& s) {
    return s.options.Edit13 + QStringLiteral(", ") + CleanChannelTitle(s.options.GroupBox2Caption);
}

}  // namespace

QString CleanChannelTitle(const QString& text) {
    static const QString removals[] = {
        QStringLiteral("Канал"), QStringLiteral("данных"), QStringLiteral("("), QStringLiteral(")"),
        QStringLiteral(" "),     QStringLiteral("-"),      QStringLiteral("1"), QStringLiteral("2"),
        QStringLiteral("байта"), QStringLiteral("байт"),   QStringLiteral("."),
    };
    QString result = text;
    for (const QString& r : removals) {
        result.remove(r, Qt::CaseInsensitive);
    }
    return result;
}

QString Channel1Heading(const ProgramState& s) {
    if (isTemperatureHeader(s.data.TempChannelHeader)) {
        return s.options.Edit12 + QStringLiteral(",°C");
    }
    return channel2Title(s).remove(QStringLiteral("RH"));
}

QString Channel1HeadingTwoChannels(const ProgramState& s) {
    QString heading = isTemperatureHeader(s.data.TempChannelHeader)
                          ? s.options.Edit12 + QStringLiteral(",°C")
                          : channel2Title(s);
    if (s.options.isChecked(ReportOptions::CheckBox5) && !s.options.Edit12.isEmpty()) {
        heading.replace(s.options.Edit12, QStringLiteral("CKT"), Qt::CaseInsensitive);
    }
    return heading;
}

QString Channel2Heading(const ProgramState& s) {
    return channel2Title(s).remove(QStringLiteral("RH"));
}

}  // namespace qorv

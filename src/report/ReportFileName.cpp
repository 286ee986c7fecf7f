#include "report/ReportFileName.h"

#include <QList>

namespace qorv {

namespace {

// "-" and the stamp "ddmmyy_hhmmss"; room for "_1000000" twice (the workbook's number and its
// PDF copy's); the longer extension.
constexpr int kStampBytes = 1 + 13;
constexpr int kNumberBytes = 8;
constexpr int kExtensionBytes = 5;
constexpr int kDeviceBytes = kMaxNameBytes - kStampBytes - 2 * kNumberBytes - kExtensionBytes;

bool RefusedInNames(char32_t ch) {
    switch (ch) {
        case '/':
        case '\\':
        case '<':
        case '>':
        case ':':
        case '"':
        case '|':
        case '?':
        case '*':
            return true;
        default:
            break;
    }
    const QChar::Category category = QChar::category(ch);
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Other_Surrogate;
}

}  // namespace

QString SafeDeviceName(const QString& deviceNumber, int maxBytes) {
    QString safe;
    int bytes = 0;
    bool leading = true;
    const QList<uint> codePoints = deviceNumber.toUcs4();
    for (uint codePoint : codePoints) {
        char32_t ch = codePoint;
        if (RefusedInNames(ch) || (leading && ch == '.')) {
            ch = '_';
        }
        leading = leading && codePoint == '.';
        const char32_t text[] = {ch};
        const QString piece = QString::fromUcs4(text, 1);
        const int size = int(piece.toUtf8().size());
        if (bytes + size > maxBytes) {
            break;
        }
        safe += piece;
        bytes += size;
    }
    return safe;
}

QString MakeReportPath(const QString& directory, const QString& deviceNumber,
                       const QString& runStamp) {
    QString dir = directory;
    if (!dir.isEmpty() && !dir.endsWith('/') && !dir.endsWith('\\')) {
        dir += '/';
    }
    return dir + SafeDeviceName(deviceNumber, kDeviceBytes) + '-' + runStamp;
}

}  // namespace qorv

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

// Whether Windows takes a name starting with `stem` (up to its first '.') for a device: CON,
// PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, blanks after them ignored. "CON.x-091226_101500.xlsx"
// would open the console there, so such a name never leaves this program, whatever the system.
bool IsDeviceStem(QStringView stem) {
    const QString name = stem.toString().trimmed().toUpper();
    if (name == QLatin1String("CON") || name == QLatin1String("PRN") ||
        name == QLatin1String("AUX") || name == QLatin1String("NUL")) {
        return true;
    }
    return name.size() == 4 &&
           (name.startsWith(QLatin1String("COM")) || name.startsWith(QLatin1String("LPT"))) &&
           name[3] >= u'1' && name[3] <= u'9';
}

}  // namespace

QString SafeDeviceName(const QString& deviceNumber, int maxBytes) {
    QString safe;
    int bytes = 0;
    bool leading = true;
    QString device = deviceNumber;
    if (const qsizetype dot = device.indexOf(u'.'); dot >= 0 && IsDeviceStem(device.left(dot))) {
        device.insert(dot, u'_');
    }
    const QList<uint> codePoints = device.toUcs4();
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

#include "automation/TextInput.h"

#include <QDate>
#include <charconv>

namespace qorv::automation {

namespace {

// Layout keys. Bit 31 set: a date-time layout; clear: a number layout. 0 means "none".
constexpr std::uint32_t kDateBit = 0x80000000u;
constexpr std::uint32_t kNumberBit = 0x40000000u;

// Number layout: bits 0-5 decimals, bits 6-10 integer digits to pad to (1 = plain "0"),
// bits 11-12 exponent digits (0 = fixed point).
std::uint32_t numberLayout(int decimals, int intPad, int exponentDigits) {
    return kNumberBit | std::uint32_t(std::min(decimals, 30)) |
           (std::uint32_t(std::clamp(intPad, 1, 30)) << 6) |
           (std::uint32_t(std::min(exponentDigits, 3)) << 11);
}

// Date layout bits: 0 two-digit day, 1 two-digit month, 2 four-digit year, 3-4 separator
// ('/', '.', '-'), 5 has time, 6 two-digit hour, 7 has seconds.
constexpr char kSeparators[] = {'/', '.', '-'};

bool isDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

// Reads [sign] digits [sep digits] [e [sign] digits], sep being ',' or '.'.
bool readNumber(QStringView text, double& value, std::uint32_t& layout) {
    const qsizetype n = text.size();
    if (n == 0 || n > 64) {
        return false;
    }
    char buffer[72];
    int length = 0;
    qsizetype pos = 0;
    if (text[pos] == u'-' || text[pos] == u'+') {
        if (text[pos] == u'-') {
            buffer[length++] = '-';
        }
        ++pos;
    }
    // Takes the character at pos when it is `a` or `b`, into the buffer as `as` (0: as itself).
    auto take = [&](char16_t a, char16_t b, char as) {
        if (pos < n && (text[pos] == a || text[pos] == b)) {
            buffer[length++] = as != 0 ? as : char(text[pos].unicode());
            ++pos;
            return true;
        }
        return false;
    };
    // Copies the digits at pos into the buffer; false when there are none.
    auto copyDigits = [&](int& count) {
        const qsizetype start = pos;
        while (pos < n && isDigit(text[pos].unicode())) {
            buffer[length++] = char(text[pos].unicode());
            ++pos;
        }
        count = int(pos - start);
        return count > 0;
    };
    const qsizetype intStart = pos;
    int intDigits = 0;
    int decimals = 0;
    int exponentDigits = 0;
    if (!copyDigits(intDigits)) {
        return false;
    }
    if (take(u',', u'.', '.') && !copyDigits(decimals)) {
        return false;
    }
    if (take(u'e', u'E', 'e')) {
        take(u'-', u'+', 0);
        if (!copyDigits(exponentDigits)) {
            return false;
        }
    }
    if (pos != n) {
        return false;
    }
    const auto result = std::from_chars(buffer, buffer + length, value);
    if (result.ec != std::errc() || result.ptr != buffer + length) {
        return false;
    }
    if (value == 0) {
        value = 0;  // no negative zero in cells
    }
    // "007" keeps its leading zeros on display; "0.5" and "12" need no padding.
    const bool padded = intDigits > 1 && text[intStart] == u'0' && exponentDigits == 0;
    layout = numberLayout(decimals, padded ? intDigits : 1, exponentDigits);
    return true;
}

// Reads 1 to maxDigits digits at pos.
bool readDigits(QStringView text, qsizetype& pos, int maxDigits, int& value, int& count) {
    value = 0;
    count = 0;
    while (pos < text.size() && isDigit(text[pos].unicode()) && count < maxDigits) {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++count;
        ++pos;
    }
    return count > 0;
}

// Reads d/m/y [h:mm[:ss]], day first.
bool readDateTime(QStringView text, double& serial, std::uint32_t& layout) {
    qsizetype pos = 0;
    int day, month, year, dayDigits, monthDigits, yearDigits;
    if (!readDigits(text, pos, 2, day, dayDigits) || pos >= text.size()) {
        return false;
    }
    const char16_t separator = text[pos].unicode();
    int separatorIndex = -1;
    for (int i = 0; i < 3; ++i) {
        if (separator == char16_t(kSeparators[i])) {
            separatorIndex = i;
        }
    }
    if (separatorIndex < 0) {
        return false;
    }
    ++pos;
    if (!readDigits(text, pos, 2, month, monthDigits) || pos >= text.size() ||
        text[pos] != separator) {
        return false;
    }
    ++pos;
    if (!readDigits(text, pos, 4, year, yearDigits) || (yearDigits != 2 && yearDigits != 4)) {
        return false;
    }
    if (yearDigits == 2) {
        year += year < 30 ? 2000 : 1900;
    }
    int hour = 0, minute = 0, second = 0;
    bool hasTime = false, hasSeconds = false;
    int hourDigits = 0;
    if (pos < text.size()) {
        if (text[pos] != u' ') {
            return false;
        }
        while (pos < text.size() && text[pos] == u' ') {
            ++pos;
        }
        int minuteDigits, secondDigits;
        if (!readDigits(text, pos, 2, hour, hourDigits) || pos >= text.size() ||
            text[pos] != u':') {
            return false;
        }
        ++pos;
        if (!readDigits(text, pos, 2, minute, minuteDigits) || minuteDigits != 2) {
            return false;
        }
        if (pos < text.size() && text[pos] == u':') {
            ++pos;
            if (!readDigits(text, pos, 2, second, secondDigits) || secondDigits != 2) {
                return false;
            }
            hasSeconds = true;
        }
        if (pos != text.size() || hour > 23 || minute > 59 || second > 59) {
            return false;
        }
        hasTime = true;
    }
    if (!dateTimeSerial(year, month, day, hour, minute, second, serial)) {
        return false;
    }
    layout = kDateBit | (dayDigits == 2 ? 1u : 0u) | (monthDigits == 2 ? 2u : 0u) |
             (yearDigits == 4 ? 4u : 0u) | (std::uint32_t(separatorIndex) << 3) |
             (hasTime ? 32u : 0u) | (hourDigits == 2 ? 64u : 0u) | (hasSeconds ? 128u : 0u);
    return true;
}

}  // namespace

bool dateTimeSerial(int year, int month, int day, int hour, int minute, int second,
                    double& serial) {
    if (year < 1900 || year > 9999) {
        return false;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) {
        return false;
    }
    static const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    qint64 days = date.toJulianDay() - epoch;
    if (days < 61) {
        // Before 1 March 1900 the serial numbers run one day short of the calendar (the
        // spreadsheet counts a 29 February 1900 that never was).
        days -= 1;
    }
    if (days < 1) {
        return false;
    }
    serial = double(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
    return true;
}

TextInput readValueText(QStringView text) {
    TextInput input;
    if (text.isEmpty()) {
        return input;
    }
    const QStringView trimmed = trimBlanks(text);
    if (readNumber(trimmed, input.number, input.layout) ||
        readDateTime(trimmed, input.number, input.layout)) {
        input.kind = TextInput::Kind::Number;
        return input;
    }
    input.kind = TextInput::Kind::Text;
    return input;
}

TextInput readValue2Text(QStringView text) {
    TextInput input;
    if (text.isEmpty()) {
        return input;
    }
    if (readNumber(trimBlanks(text), input.number, input.layout)) {
        input.kind = TextInput::Kind::Number;
        return input;
    }
    input.kind = TextInput::Kind::Text;
    return input;
}

QString layoutFormatCode(std::uint32_t layout) {
    if (layout == 0) {
        return QStringLiteral("General");
    }
    QString code;
    if (layout & kDateBit) {
        const QString separator = QStringLiteral("\\") + QChar(kSeparators[(layout >> 3) & 3]);
        code += (layout & 1) ? QStringLiteral("dd") : QStringLiteral("d");
        code += separator;
        code += (layout & 2) ? QStringLiteral("mm") : QStringLiteral("m");
        code += separator;
        code += (layout & 4) ? QStringLiteral("yyyy") : QStringLiteral("yy");
        if (layout & 32) {
            code += (layout & 64) ? QStringLiteral(" hh:mm") : QStringLiteral(" h:mm");
            if (layout & 128) {
                code += QStringLiteral(":ss");
            }
        }
        return code;
    }
    const int decimals = int(layout & 63);
    const int intPad = int((layout >> 6) & 31);
    const int exponentDigits = int((layout >> 11) & 3);
    code = QString(intPad, u'0');
    if (decimals > 0) {
        code += u'.' + QString(decimals, u'0');
    }
    if (exponentDigits > 0) {
        code += QStringLiteral("E+") + QString(exponentDigits, u'0');
    }
    return code;
}

}  // namespace qorv::automation

#include "automation/print/CellText.h"

#include "automation/Workbook.h"
#include "automation/Worksheet.h"

#include <QRegularExpression>

#include <bit>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

namespace qorv::automation {

namespace {

enum class Token {
    Literal,
    General,
    Integer,   // integer digits; width = minimum digits
    Fraction,  // decimals; width = places
    Exponent,  // width = minimum exponent digits, signAlways
    Percent,
    TextValue,  // @
    Day,
    Month,
    MonthShort,
    MonthLong,
    Year,
    Hour,
    Minute,
    Second,
    DateSeparator,  // an unescaped "/"
};

struct Part {
    Part(Token kind = Token::Literal, int count = 0, bool sign = false, QString literal = {})
        : token(kind), width(count), signAlways(sign), text(std::move(literal)) {}
    Token token;
    int width;
    bool signAlways;
    QString text;  // a literal
};

const char* const kMonthsShort[] = {"янв", "фев", "мар", "апр", "май", "июн",
                                    "июл", "авг", "сен", "окт", "ноя", "дек"};

// Appends a non-negative number with at least `width` digits, zeros in front.
void appendPadded(QString& out, long long number, int width) {
    char16_t digits[24];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + number % 10);
        number /= 10;
    } while (number > 0 && count < 20);
    while (count < width && count < 24) {
        digits[count++] = u'0';
    }
    while (count > 0) {
        out += QChar(digits[--count]);
    }
}

}  // namespace

struct NumberFormatter::Section {
    std::vector<Part> parts;
    bool dateTime = false;
    bool hasDigits = false;
    bool hasText = false;
    // Of the number parts: decimals, minimum integer digits, the exponent part, a percent sign.
    int places = 0;
    int integerWidth = 0;
    bool exponent = false;
    bool percent = false;
};

namespace {

// Reads one section of a format code into parts, a character or a run of them at a time: the
// literals, the number's digits and signs, the date's and time's letters, each read by its own
// function; a character none of them takes is shown as it is.
class SectionReader {
  public:
    explicit SectionReader(QStringView code) : code_(code) {}

    NumberFormatter::Section read() && {
        while (i_ < code_.size()) {
            if (!readLiteral() && !readNumberPart() && !readDatePart()) {
                literal(code_[i_]);
                ++i_;
            }
        }
        markMinutes();
        measureNumber();
        return std::move(section_);
    }

  private:
    void literal(const QString& text) {
        auto& parts = section_.parts;
        if (!parts.empty() && parts.back().token == Token::Literal) {
            parts.back().text += text;
        } else {
            parts.push_back({Token::Literal, 0, false, text});
        }
    }

    // Quoted text, an escaped character, a bracket (colours and conditions, not shown), and
    // the spacing and fill marks (a space).
    bool readLiteral() {
        const QChar c = code_[i_];
        if (c == u'"') {
            const qsizetype end = code_.indexOf(u'"', i_ + 1);
            literal(code_.mid(i_ + 1, (end < 0 ? code_.size() : end) - i_ - 1).toString());
            i_ = end < 0 ? code_.size() : end + 1;
        } else if (c == u'\\' && i_ + 1 < code_.size()) {
            literal(code_[i_ + 1]);
            i_ += 2;
        } else if (c == u'[') {
            const qsizetype end = code_.indexOf(u']', i_);
            i_ = end < 0 ? code_.size() : end + 1;
        } else if (c == u'_' || c == u'*') {
            literal(QStringLiteral(" "));
            i_ += 2;
        } else {
            return false;
        }
        return true;
    }

    // "General", digit places, the decimal point, grouping commas, the exponent, "%" and "@".
    bool readNumberPart() {
        auto& parts = section_.parts;
        const QChar c = code_[i_];
        if (code_.mid(i_).startsWith(u"General", Qt::CaseInsensitive)) {
            parts.push_back({Token::General});
            section_.hasDigits = true;
            i_ += 7;
        } else if (c == u'0' || c == u'#' || c == u'?') {
            const Token token = afterPoint_ ? Token::Fraction : Token::Integer;
            if (parts.empty() || parts.back().token != token) {
                parts.push_back({token});
            }
            if (c == u'0' || afterPoint_) {
                ++parts.back().width;
            }
            section_.hasDigits = true;
            ++i_;
        } else if (c == u'.' && section_.hasDigits && !section_.dateTime) {
            afterPoint_ = true;
            parts.push_back({Token::Fraction});
            ++i_;
        } else if (c == u',' && section_.hasDigits) {
            ++i_;  // thousands grouping: not used in reports
        } else if (c.toLower() == u'e' && i_ + 1 < code_.size() &&
                   (code_[i_ + 1] == u'+' || code_[i_ + 1] == u'-') && section_.hasDigits) {
            readExponent();
        } else if (c == u'%') {
            parts.push_back({Token::Percent});
            ++i_;
        } else if (c == u'@') {
            parts.push_back({Token::TextValue});
            section_.hasText = true;
            ++i_;
        } else {
            return false;
        }
        return true;
    }

    // "E+00": the sign shown always or only when negative, then the exponent's digit places.
    void readExponent() {
        Part part{Token::Exponent, 0, code_[i_ + 1] == u'+'};
        i_ += 2;
        while (i_ < code_.size() && (code_[i_] == u'0' || code_[i_] == u'#')) {
            ++part.width;
            ++i_;
        }
        section_.parts.push_back(part);
    }

    // A run of one of the letters d, m, y, h, s, and the date separator "/".
    bool readDatePart() {
        const QChar c = code_[i_];
        const QChar lower = c.toLower();
        if (lower == u'd' || lower == u'y' || lower == u'h' || lower == u's' || lower == u'm') {
            qsizetype n = 0;
            while (i_ + n < code_.size() && code_[i_ + n].toLower() == lower) {
                ++n;
            }
            Token token = Token::Day;
            if (lower == u'y') {
                token = Token::Year;
            } else if (lower == u'h') {
                token = Token::Hour;
            } else if (lower == u's') {
                token = Token::Second;
            } else if (lower == u'm') {
                token = n == 3 ? Token::MonthShort : n >= 4 ? Token::MonthLong : Token::Month;
            }
            section_.parts.push_back({token, int(n)});
            section_.dateTime = true;
            i_ += n;
        } else if (c == u'/' && section_.dateTime) {
            section_.parts.push_back({Token::DateSeparator});
            ++i_;
        } else {
            return false;
        }
        return true;
    }

    // "m" right after an hour or right before seconds counts minutes.
    void markMinutes() {
        auto& parts = section_.parts;
        for (std::size_t k = 0; k < parts.size(); ++k) {
            if (parts[k].token != Token::Month) {
                continue;
            }
            auto neighbour = [&](int step) -> Token {
                for (std::ptrdiff_t j = std::ptrdiff_t(k) + step;
                     j >= 0 && j < std::ptrdiff_t(parts.size()); j += step) {
                    if (parts[std::size_t(j)].token != Token::Literal &&
                        parts[std::size_t(j)].token != Token::DateSeparator) {
                        return parts[std::size_t(j)].token;
                    }
                }
                return Token::Literal;
            };
            if (neighbour(-1) == Token::Hour || neighbour(1) == Token::Second) {
                parts[k].token = Token::Minute;
            }
        }
    }

    // The decimals, integer places, exponent and percent of the number parts.
    void measureNumber() {
        for (const Part& p : section_.parts) {
            if (p.token == Token::Fraction) {
                section_.places += p.width;
            } else if (p.token == Token::Integer) {
                section_.integerWidth += p.width;
            } else if (p.token == Token::Exponent) {
                section_.exponent = true;
            } else if (p.token == Token::Percent) {
                section_.percent = true;
            }
        }
    }

    QStringView code_;
    qsizetype i_ = 0;
    bool afterPoint_ = false;
    NumberFormatter::Section section_;
};

NumberFormatter::Section parseSection(QStringView code) {
    return SectionReader(code).read();
}

// The decimal digits of a non-negative number rounded half up to `places` decimals, as
// spreadsheet programs round what they show: from the number's 15 significant digits, so that
// 2.675 shows as 2.68. `digits` holds every digit, the last `places` of them decimals; `power`
// is the exponent when `scientific` asks for one integer digit (1.2345679E+8).
struct RoundedDigits {
    std::string digits;
    int power = 0;
};

RoundedDigits roundDigits(double v, int places, bool scientific) {
    RoundedDigits out;
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14);
    const std::string_view text(buffer, std::size_t(written.ptr - buffer));
    std::string significant;
    for (char c : text.substr(0, text.find('e'))) {
        if (c != '.') {
            significant += c;
        }
    }
    int exponent = 0;
    std::from_chars(text.data() + text.find('e') + 1 + (text[text.find('e') + 1] == '+'),
                    text.data() + text.size(), exponent);
    if (v == 0) {
        exponent = 0;
    }
    // Digits kept: those before the point plus the decimals.
    const int integerDigits = scientific ? 1 : exponent + 1;
    const int keep = integerDigits + places;
    std::string kept;
    bool up = false;
    if (keep >= 0) {
        for (int i = 0; i < keep; ++i) {
            kept += i < int(significant.size()) ? significant[std::size_t(i)] : '0';
        }
        up = keep < int(significant.size()) && significant[std::size_t(keep)] >= '5';
    }
    if (up) {
        int i = int(kept.size()) - 1;
        for (; i >= 0 && kept[std::size_t(i)] == '9'; --i) {
            kept[std::size_t(i)] = '0';
        }
        if (i >= 0) {
            ++kept[std::size_t(i)];
        } else {
            kept.insert(kept.begin(), '1');
            if (scientific) {
                kept.pop_back();  // 9.99 → 10.0 is 1.00 with the next power
                ++exponent;
            }
        }
    }
    while (int(kept.size()) < places + 1) {
        kept.insert(kept.begin(), '0');  // 0.05 → "005" for two places
    }
    out.digits = kept;
    out.power = scientific ? exponent : 0;
    return out;
}

// The number parts of a section filled with |value|'s digits.
QString formatNumber(const NumberFormatter::Section& s, double value, const DisplayLocale& l) {
    const double v = std::fabs(value) * (s.percent ? 100 : 1);
    const RoundedDigits rounded = roundDigits(v, s.places, s.exponent);
    const std::string_view digits = rounded.digits;
    std::string_view integer = digits.substr(0, digits.size() - std::size_t(s.places));
    while (integer.size() > 1 && integer.front() == '0') {
        integer.remove_prefix(1);
    }
    if (integer == "0" && s.integerWidth == 0) {
        integer = {};
    }
    QString out;
    out.reserve(24);
    bool integerDone = false;
    auto writeInteger = [&] {
        if (integerDone) {
            return;
        }
        for (std::size_t i = integer.size(); i < std::size_t(s.integerWidth); ++i) {
            out += u'0';
        }
        for (char c : integer) {
            out += QLatin1Char(c);
        }
        integerDone = true;
    };
    bool fractionDone = false;
    for (const Part& p : s.parts) {
        switch (p.token) {
            case Token::Literal:
                out += p.text;
                break;
            case Token::Integer:
                writeInteger();
                break;
            case Token::Fraction:
                writeInteger();
                if (!fractionDone && s.places > 0) {
                    out += l.decimalSeparator;
                    for (char c : digits.substr(digits.size() - std::size_t(s.places))) {
                        out += QLatin1Char(c);
                    }
                }
                fractionDone = true;
                break;
            case Token::Exponent:
                writeInteger();
                out += u'E';
                if (rounded.power < 0) {
                    out += u'-';
                } else if (p.signAlways) {
                    out += u'+';
                }
                appendPadded(out, std::abs(rounded.power), p.width);
                break;
            case Token::Percent:
                out += u'%';
                break;
            default:
                break;
        }
    }
    return out;
}

QString formatGeneral(double value, const DisplayLocale& l) {
    const double magnitude = std::fabs(value);
    QString text;
    if (magnitude != 0 && (magnitude >= 1e11 || magnitude < 1e-9)) {
        text = QString::number(value, 'E', 5);  // 1.23457E+11
        const qsizetype e = text.indexOf(u'E');
        QString mantissa = text.left(e);
        while (mantissa.contains(u'.') && (mantissa.endsWith(u'0') || mantissa.endsWith(u'.'))) {
            mantissa.chop(1);
        }
        QString exponent =
            text.mid(e + 2).remove(QRegularExpression(QStringLiteral("^0+(?=\\d\\d)")));
        text = mantissa + u'E' + text[e + 1] + exponent;
    } else {
        // Ten significant digits at most, as a cell of standard width shows.
        const int integerDigits = magnitude < 1 ? 1 : int(std::floor(std::log10(magnitude))) + 1;
        text = QString::number(value, 'f', std::max(0, 10 - integerDigits));
        if (text.contains(u'.')) {
            while (text.endsWith(u'0')) {
                text.chop(1);
            }
            if (text.endsWith(u'.')) {
                text.chop(1);
            }
        }
        if (text == QStringLiteral("-0")) {
            text = QStringLiteral("0");
        }
    }
    text.replace(u'.', l.decimalSeparator);
    return text;
}

// The fields a token of one or two digits shows ("d", "mm", "h", "m" of minutes, "ss").
constexpr std::pair<Token, int DateTimeParts::*> kTwoDigitFields[] = {
    {Token::Day, &DateTimeParts::day},       {Token::Month, &DateTimeParts::month},
    {Token::Hour, &DateTimeParts::hour},     {Token::Minute, &DateTimeParts::minute},
    {Token::Second, &DateTimeParts::second},
};

QString formatDateTime(const NumberFormatter::Section& s, double value, const DisplayLocale& l) {
    const DateTimeParts t = DateTimeOfSerial(value);
    QString out;
    out.reserve(24);
    for (const Part& p : s.parts) {
        switch (p.token) {
            case Token::Literal:
                out += p.text;
                break;
            case Token::DateSeparator:
                out += l.dateSeparator;
                break;
            case Token::MonthShort:
            case Token::MonthLong:
                out += QString::fromUtf8(kMonthsShort[t.month - 1]);
                break;
            case Token::Year:
                if (p.width <= 2) {
                    appendPadded(out, t.year % 100, 2);
                } else {
                    appendPadded(out, t.year, 4);
                }
                break;
            default:
                for (const auto& [token, field] : kTwoDigitFields) {
                    if (token == p.token) {
                        appendPadded(out, t.*field, std::min(p.width, 2));
                    }
                }
                break;
        }
    }
    return out;
}

// The sections of a code, split at ';' outside quotes and escapes.
std::vector<NumberFormatter::Section> parseCode(const QString& code) {
    std::vector<NumberFormatter::Section> sections;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= code.size(); ++i) {
        if (i < code.size() && code[i] == u'\\') {
            ++i;
            continue;
        }
        if (i < code.size() && code[i] == u'"') {
            quoted = !quoted;
        }
        if (i == code.size() || (code[i] == u';' && !quoted)) {
            sections.push_back(parseSection(QStringView(code).mid(start, i - start)));
            start = i + 1;
        }
    }
    return sections;
}

}  // namespace

NumberFormatter::NumberFormatter(const QString& code) : sections_(parseCode(code)) {}
NumberFormatter::~NumberFormatter() = default;
NumberFormatter::NumberFormatter(NumberFormatter&&) noexcept = default;
NumberFormatter& NumberFormatter::operator=(NumberFormatter&&) noexcept = default;

bool NumberFormatter::isDateTime() const {
    return !sections_.empty() && sections_.front().dateTime;
}

QString NumberFormatter::format(double value, const DisplayLocale& locale) const {
    // Positive; negative; zero: the negative section shows the magnitude with its own signs.
    const Section* section = &sections_.front();
    bool minus = value < 0;
    if (value < 0 && sections_.size() >= 2 && !sections_[1].hasText) {
        section = &sections_[1];
        minus = false;
    } else if (value == 0 && sections_.size() >= 3 && !sections_[2].hasText) {
        section = &sections_[2];
    }
    if (section->dateTime) {
        return formatDateTime(*section, value, locale);
    }
    for (const Part& p : section->parts) {
        if (p.token == Token::General) {
            QString text = formatGeneral(value, locale);
            if (section != &sections_.front() && text.startsWith(u'-')) {
                text.remove(0, 1);
            }
            return text;
        }
    }
    QString text = formatNumber(*section, value, locale);
    // No minus for a value that shows as zero.
    bool allZero = true;
    for (QChar c : text) {
        allZero = allZero && !(c.isDigit() && c != u'0');
    }
    if (minus && !allZero) {
        text.prepend(u'-');
    }
    return text;
}

DateTimeParts DateTimeOfSerial(double serial) {
    DateTimeParts t;
    long long seconds = std::llround(serial * 86400.0);
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    t.hour = int(rest / 3600);
    t.minute = int(rest / 60 % 60);
    t.second = int(rest % 60);
    // Serial days before March 1900 count a 29 February 1900 that never was.
    if (days < 61) {
        days += 1;
    }
    // Days since 1899-12-30 to a civil date (the proleptic Gregorian calendar).
    long long z = days - 25569 + 719468;  // 1970-01-01 is day 25569
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    t.day = int(doy - (153 * mp + 2) / 5 + 1);
    t.month = int(mp < 10 ? mp + 3 : mp - 9);
    t.year = int(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
    return t;
}

CellTexts::CellTexts(const Worksheet& sheet, const DisplayLocale& locale)
    : sheet_(sheet), locale_(locale) {}

CellTexts::~CellTexts() = default;

bool CellTexts::isNumber(int row, int column) const {
    return CellStore::typeOf(sheet_.cellStore().meta(row, column)) == CellType::Number;
}

QString CellTexts::at(int row, int column) const {
    const CellStore& cells = sheet_.cellStore();
    const std::uint32_t meta = cells.meta(row, column);
    switch (CellStore::typeOf(meta)) {
        case CellType::Empty:
            return QString();
        case CellType::Text:
            return sheet_.workbook().texts().at(std::uint32_t(cells.value(row, column)));
        case CellType::Number:
            break;
    }
    const Styles& styles = sheet_.workbook().styles();
    const std::uint32_t index = styles.format(CellStore::formatOf(meta)).numberFormat;
    if (index >= formats_.size()) {
        formats_.resize(index + 1);
    }
    if (!formats_[index]) {
        formats_[index] = std::make_unique<Shown>(styles.numberFormat(index));
        if (!formats_[index]->formatter.isDateTime()) {
            formats_[index]->recent.resize(1024);
        }
    }
    Shown& shown = *formats_[index];
    const double value = cells.value(row, column);
    if (shown.recent.empty()) {
        return shown.formatter.format(value, locale_);
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    Shown::Entry& entry = shown.recent[(bits ^ (bits >> 29) ^ (bits >> 41)) % shown.recent.size()];
    if (entry.text.isNull() || entry.bits != bits) {
        entry.bits = bits;
        entry.text = shown.formatter.format(value, locale_);
        if (entry.text.isNull()) {
            entry.text = QLatin1String("");
        }
    }
    return entry.text;
}

}  // namespace qorv::automation

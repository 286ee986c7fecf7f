#include "report/NumberText.h"

#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/ReportError.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace qorv {

namespace {

constexpr int kSignificantDigits = 8;
constexpr int kMaxDecimals = 18;

// Checks the shape sign? digits [sep digits] [e sign? digits] with at least one mantissa digit
// and copies it, with ',' as '.', into `out` for from_chars (which takes no leading '+').
bool normalizeNumber(const QString& text, std::string& out) {
    const QString t = text.trimmed();
    out.clear();
    out.reserve(static_cast<size_t>(t.size()));
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') {
            out.push_back('-');
        }
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') {
        out.push_back(static_cast<char>(t[i].unicode()));
        ++i;
        ++mantissaDigits;
    }
    if (i < n && (t[i] == '.' || t[i] == ',')) {
        out.push_back('.');
        ++i;
        while (i < n && t[i] >= '0' && t[i] <= '9') {
            out.push_back(static_cast<char>(t[i].unicode()));
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        out.push_back('e');
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) {
            out.push_back(static_cast<char>(t[i].unicode()));
            ++i;
        }
        int exponentDigits = 0;
        while (i < n && t[i] >= '0' && t[i] <= '9') {
            out.push_back(static_cast<char>(t[i].unicode()));
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == n;
}

// The exact decimal expansion of a finite, non-negative double: its integer digits without
// leading zeros (empty for values below 1) and all its fractional digits. A double's expansion
// always terminates, after at most 1074 fractional digits; asking for exactly as many as it
// has makes the conversion exact, so later rounding works on the true binary value.
struct ExactDecimal {
    std::string integer;
    std::string fraction;
};

ExactDecimal exactDecimal(double ax) {
    int exponent = 0;
    const double mantissa = std::frexp(ax, &exponent);
    auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    exponent -= 53;
    while (bits != 0 && (bits & 1U) == 0) {
        bits >>= 1;
        ++exponent;
    }
    const int fractionDigits = exponent < 0 ? -exponent : 0;

    std::array<char, 1500> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), ax,
                                      std::chars_format::fixed, fractionDigits);
    const std::string text(buffer.data(), result.ptr);
    const auto point = text.find('.');
    ExactDecimal d;
    d.integer = text.substr(0, point);
    if (point != std::string::npos) {
        d.fraction = text.substr(point + 1);
    }
    const auto firstNonZero = d.integer.find_first_not_of('0');
    d.integer = firstNonZero == std::string::npos ? std::string() : d.integer.substr(firstNonZero);
    return d;
}

// Adds one unit in the last place of a digit string; returns true when it carried out of the
// first digit ("999" becomes "000" and true).
bool incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '9') {
            *it = '0';
        } else {
            ++*it;
            return false;
        }
    }
    return true;
}

QString exponentForm(const ExactDecimal& d, bool negative, QChar separator) {
    // Integer part has more than 8 digits: 8 significant digits, rounded half away from zero.
    std::string all = d.integer + d.fraction;
    std::string digits = all.substr(0, kSignificantDigits);
    int exponent = static_cast<int>(d.integer.size()) - 1;
    if (all[kSignificantDigits] >= '5' && incrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
    }
    QString out;
    if (negative) {
        out += '-';
    }
    out += QChar(digits[0]);
    out += separator;
    out += QString::fromLatin1(digits.data() + 1, kSignificantDigits - 1);
    out += QStringLiteral("E+");
    out += QString::number(exponent);
    return out;
}

// Rounds |x| half away from zero to at most 8 significant digits and at most `roundDecimals`
// places, then writes exactly `writeDecimals` places: padded with zeros, or cut (without
// another rounding) when fewer places are written than were kept.
QString formatFixed(double x, int roundDecimals, int writeDecimals, QChar separator) {
    if (!std::isfinite(x)) {
        return std::isnan(x) ? QStringLiteral("NAN")
                             : (x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"));
    }
    const bool negative = std::signbit(x);
    const ExactDecimal d = exactDecimal(std::fabs(x));
    const int integerDigits = static_cast<int>(d.integer.size());
    if (integerDigits > kSignificantDigits) {
        return exponentForm(d, negative, separator);
    }

    int keep = 0;  // decimal places kept by the rounding
    if (integerDigits > 0) {
        keep = std::min(roundDecimals, kSignificantDigits - integerDigits);
    } else {
        const auto firstNonZero = d.fraction.find_first_not_of('0');
        const int leadingZeros = firstNonZero == std::string::npos
                                     ? static_cast<int>(d.fraction.size())
                                     : static_cast<int>(firstNonZero);
        keep = std::min(roundDecimals, leadingZeros + kSignificantDigits);
    }

    std::string fraction = d.fraction;
    if (static_cast<int>(fraction.size()) < keep + 1) {
        fraction.resize(static_cast<size_t>(keep + 1), '0');
    }
    std::string digits = d.integer + fraction.substr(0, static_cast<size_t>(keep));
    int intDigits = integerDigits;
    if (fraction[static_cast<size_t>(keep)] >= '5' && incrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
        ++intDigits;
    }
    if (intDigits > kSignificantDigits) {
        // Rounding carried into a ninth integer digit (99999999.5): write it as such a number.
        ExactDecimal rounded{digits.substr(0, static_cast<size_t>(intDigits)), std::string()};
        return exponentForm(rounded, negative, separator);
    }

    const std::string integerText =
        intDigits > 0 ? digits.substr(0, static_cast<size_t>(intDigits)) : std::string("0");
    std::string fractionText = digits.substr(static_cast<size_t>(intDigits));
    fractionText.resize(static_cast<size_t>(writeDecimals), '0');

    const bool allZero = integerText.find_first_not_of('0') == std::string::npos &&
                         fractionText.find_first_not_of('0') == std::string::npos;
    QString out;
    if (negative && !allZero) {
        out += '-';
    }
    out += QString::fromLatin1(integerText.data(), static_cast<qsizetype>(integerText.size()));
    if (writeDecimals > 0) {
        out += separator;
        out +=
            QString::fromLatin1(fractionText.data(), static_cast<qsizetype>(fractionText.size()));
    }
    return out;
}

}  // namespace

std::optional<long double> TryReadNumber(const QString& text) {
    std::string normalized;
    if (!normalizeNumber(text, normalized)) {
        return std::nullopt;
    }
    long double value = 0;
    const auto result =
        std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
    if (result.ec != std::errc() || result.ptr != normalized.data() + normalized.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

long double ReadNumber(const QString& text) {
    if (const auto value = TryReadNumber(text)) {
        return *value;
    }
    throw ConversionError(messages::NotANumber(text), text);
}

QString FixedText(double x, int decimals) {
    const int d = std::clamp(decimals, 0, kMaxDecimals);
    return formatFixed(x, d, d, FormatSettings::instance().decimalSeparator());
}

QString ValueText(double x) {
    QString text = FixedText(x, 12);
    text.replace(QChar(','), QChar('.'));
    return text;
}

QString MktTermText(double x) {
    return formatFixed(x, 60, kMaxDecimals, FormatSettings::instance().decimalSeparator());
}

}  // namespace qorv

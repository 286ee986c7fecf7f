#include "report/NumberText.h"

#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/ReportError.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace qorv {

namespace {

constexpr int kSignificantDigits = 8;
constexpr int kMaxDecimals = 18;

bool isDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// Checks the shape sign? digits [sep digits] [e sign? digits] with at least one mantissa digit
// and copies it, with ',' as '.', into `out` for from_chars (which takes no leading '+').
bool normalizeNumber(const QString& text, std::string& out) {
    const QString t = text.trimmed();
    out.clear();
    out.reserve(static_cast<size_t>(t.size()));
    qsizetype i = 0;
    const qsizetype n = t.size();
    // Copies the digits from position i on; returns how many there were.
    const auto copyDigits = [&] {
        const qsizetype first = i;
        for (; i < n && isDigit(t[i]); ++i) {
            out.push_back(static_cast<char>(t[i].unicode()));
        }
        return i - first;
    };
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') {
            out.push_back('-');
        }
        ++i;
    }
    qsizetype mantissaDigits = copyDigits();
    if (i < n && (t[i] == '.' || t[i] == ',')) {
        out.push_back('.');
        ++i;
        mantissaDigits += copyDigits();
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
        if (copyDigits() == 0) {
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

using u128 = unsigned __int128;

u128 power(int base, int k) {
    u128 p = 1;
    for (int i = 0; i < k; ++i) {
        p *= base;
    }
    return p;
}

u128 power10(int k) {
    return power(10, k);
}

// Whether M·2^E >= 10^k, exactly, for the magnitudes the short path takes.
bool atLeastPowerOf10(std::uint64_t m, int e, int k) {
    if (k >= 0) {
        if (e >= 0) {
            return (u128(m) << e) >= power10(k);
        }
        return u128(m) >= (power10(k) << -e);
    }
    const u128 lhs = u128(m) * power10(-k);
    return e >= 0 ? true : lhs >= (u128(1) << -e);
}

void appendDigits(char*& out, u128 value, int width) {
    char buffer[40];
    int n = 0;
    // Nineteen digits at a time by one 128-bit division; the digits themselves in 64 bits.
    constexpr std::uint64_t kTen19 = 10000000000000000000ULL;
    while (value > std::numeric_limits<std::uint64_t>::max()) {
        const u128 high = value / kTen19;
        auto low = static_cast<std::uint64_t>(value - high * kTen19);
        for (int i = 0; i < 19; ++i) {
            buffer[n++] = static_cast<char>('0' + static_cast<int>(low % 10));
            low /= 10;
        }
        value = high;
    }
    auto rest = static_cast<std::uint64_t>(value);
    do {
        buffer[n++] = static_cast<char>('0' + static_cast<int>(rest % 10));
        rest /= 10;
    } while (rest != 0);
    for (int i = n; i < width; ++i) {
        *out++ = '0';
    }
    while (n > 0) {
        *out++ = buffer[--n];
    }
}

// N = M·2^e·10^keep rounded half away from zero, with M·2^e·10^keep = M·5^keep·2^(e + keep);
// nothing when the shift is too wide for 128 bits.
std::optional<u128> scaledAndRounded(std::uint64_t m, int e, int keep) {
    const u128 t = u128(m) * power(5, keep);
    const int exponent2 = e + keep;
    if (exponent2 >= 0) {
        return t << exponent2;
    }
    const int shift = -exponent2;
    if (shift >= 127) {
        return std::nullopt;
    }
    const u128 q = t >> shift;
    const u128 r = t - (q << shift);
    return q + ((r << 1) >= (u128(1) << shift) ? 1 : 0);
}

// The text of a number from its integer and its `keep` fractional digits, with exactly
// `writeDecimals` places; a minus sign only when some written digit is not zero.
QString writeFixedDigits(bool negative, u128 integer, u128 fractionDigits, int keep,
                         int writeDecimals, QChar separator) {
    char text[64];
    char* out = text;
    appendDigits(out, integer, 1);
    char* point = out;
    if (writeDecimals > 0) {
        *out++ = '.';
        char* first = out;
        if (keep > 0) {
            appendDigits(out, fractionDigits, keep);
        }
        const int written = static_cast<int>(out - first);
        if (written > writeDecimals) {
            out = first + writeDecimals;
        }
        while (out - first < writeDecimals) {
            *out++ = '0';
        }
    }
    bool allZero = true;
    for (const char* c = text; c < out; ++c) {
        allZero = allZero && (*c == '0' || *c == '.');
    }
    // The text in one allocation: sign, digits, and the separator in place of the point.
    char16_t wide[66];
    char16_t* w = wide;
    if (negative && !allZero) {
        *w++ = u'-';
    }
    for (const char* c = text; c < out; ++c) {
        *w++ = c == point ? separator.unicode() : char16_t(*c);
    }
    return QString(reinterpret_cast<const QChar*>(wide), w - wide);
}

// The same rounding and writing as formatFixed below, done with 128-bit integers on the exact
// binary value, for |x| from 1e-19 to 1e8 with at most 32 places kept: every value and every
// mean kinetic term a report writes in practice. Returns nothing outside that range.
std::optional<QString> formatFixedShort(double x, int roundDecimals, int writeDecimals,
                                        QChar separator) {
    const double ax = std::fabs(x);
    if (!(ax >= 1e-19 && ax < 1e8)) {
        return std::nullopt;
    }
    int e = 0;
    const double fraction = std::frexp(ax, &e);
    auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    e -= 53;
    while ((m & 1U) == 0) {
        m >>= 1;
        ++e;
    }
    // The decimal exponent of the leading digit, made exact.
    int e10 = static_cast<int>(std::floor(std::log10(ax)));
    while (!atLeastPowerOf10(m, e, e10)) {
        --e10;
    }
    while (atLeastPowerOf10(m, e, e10 + 1)) {
        ++e10;
    }
    const int keep = std::min(roundDecimals, kSignificantDigits - 1 - e10);
    if (keep < 0 || keep > 32) {
        return std::nullopt;
    }
    const auto n = scaledAndRounded(m, e, keep);
    if (!n) {
        return std::nullopt;
    }
    // N has at most nine digits here, so the split into the integer and the fraction needs no
    // 128-bit division (a scale beyond 19 digits leaves the integer 0).
    const auto digits = static_cast<std::uint64_t>(*n);
    const std::uint64_t scale = keep <= 19 ? static_cast<std::uint64_t>(power10(keep)) : 0;
    const std::uint64_t integer = scale == 0 ? 0 : digits / scale;
    const std::uint64_t fractionDigits = scale == 0 ? digits : digits % scale;
    if (*n > std::numeric_limits<std::uint64_t>::max() || integer >= 100000000) {
        return std::nullopt;  // rounding made a ninth integer digit: exponent form
    }
    return writeFixedDigits(std::signbit(x), integer, fractionDigits, keep, writeDecimals,
                            separator);
}

// Rounds |x| half away from zero to at most 8 significant digits and at most `roundDecimals`
// places, then writes exactly `writeDecimals` places: padded with zeros, or cut (without
// another rounding) when fewer places are written than were kept.
QString formatFixedExact(double x, int roundDecimals, int writeDecimals, QChar separator) {
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

// Reads the common short forms ("23.45", "-0,5", "1.2E+3") exactly: a mantissa of at most 19
// digits and a power of ten of at most 10^27 are both exact in 80-bit long double, so a single
// multiplication or division rounds the value correctly, as a full conversion would. Returns
// nothing for any other text, which then takes the full path.
std::optional<long double> readShortNumber(QStringView t) {
    static constexpr long double kPowers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                              1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                              1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                              1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
    qsizetype i = 0;
    const qsizetype n = t.size();
    bool negative = false;
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;  // significant digits taken into the mantissa
    int mantissaDigits = 0;
    int scale = 0;  // decimal places of the mantissa
    bool point = false;
    for (; i < n; ++i) {
        const char16_t c = t[i].unicode();
        if (c >= '0' && c <= '9') {
            ++mantissaDigits;
            if (mantissa == 0 && c == '0') {
                scale += point ? 1 : 0;
                continue;
            }
            if (++digits > 19) {
                return std::nullopt;
            }
            mantissa = mantissa * 10 + (c - '0');
            scale += point ? 1 : 0;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    int exponent = 0;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (t[i] == '+' || t[i] == '-')) {
            negativeExponent = t[i] == '-';
            ++i;
        }
        int exponentDigits = 0;
        for (; i < n && t[i] >= '0' && t[i] <= '9'; ++i) {
            if (++exponentDigits > 3) {
                return std::nullopt;
            }
            exponent = exponent * 10 + (t[i].unicode() - '0');
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    if (i != n) {
        return std::nullopt;
    }
    const int power = exponent - scale;
    long double value = static_cast<long double>(mantissa);
    if (mantissa == 0) {
        value = 0;
    } else if (power >= 0 && power <= 27) {
        value *= kPowers[power];
    } else if (power < 0 && power >= -27) {
        value /= kPowers[-power];
    } else {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

namespace detail {

QString FormatFixed(double x, int roundDecimals, int writeDecimals, QChar separator) {
    if (auto text = formatFixedShort(x, roundDecimals, writeDecimals, separator)) {
        return *std::move(text);
    }
    return formatFixedExact(x, roundDecimals, writeDecimals, separator);
}

QString FormatFixedExact(double x, int roundDecimals, int writeDecimals, QChar separator) {
    return formatFixedExact(x, roundDecimals, writeDecimals, separator);
}

std::optional<long double> TryReadNumberFull(const QString& text) {
    std::string normalized;
    if (!normalizeNumber(text, normalized)) {
        return std::nullopt;
    }
    long double value = 0;
#ifdef _WIN32
    // MinGW's from_chars reads a long double through a double, losing its last 11 bits; its
    // strtold rounds correctly, as from_chars does on Linux. The text is digits, a point, an
    // exponent and signs only, which strtold reads alike in the C locale the program keeps.
    if (normalized.find_first_not_of("0123456789.eE+-") != std::string::npos) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtold(normalized.c_str(), &end);
    if (end != normalized.c_str() + normalized.size() || errno == ERANGE || !std::isfinite(value)) {
        return std::nullopt;
    }
#else
    const auto result =
        std::from_chars(normalized.data(), normalized.data() + normalized.size(), value);
    if (result.ec != std::errc() || result.ptr != normalized.data() + normalized.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
#endif
    return value;
}

}  // namespace detail

std::optional<long double> TryReadNumber(QStringView text) {
    if (const auto value = readShortNumber(text.trimmed())) {
        return value;
    }
    return detail::TryReadNumberFull(text.toString());
}

std::optional<int> ReadDigits(QStringView text, int maxDigits) {
    if (text.isEmpty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (QChar c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - '0');
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
    return detail::FormatFixed(x, d, d, FormatSettings::instance().decimalSeparator());
}

QString ValueText(double x) {
    // FixedText(x, 12) written with a point straight away.
    return detail::FormatFixed(x, 12, 12, QChar('.'));
}

QString MktTermText(double x) {
    return detail::FormatFixed(x, 60, kMaxDecimals, FormatSettings::instance().decimalSeparator());
}

}  // namespace qorv

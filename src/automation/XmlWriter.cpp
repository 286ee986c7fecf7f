#include "automation/XmlWriter.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace qorv::automation {

XmlWriter& XmlWriter::attr(std::string_view name, std::string_view value) {
    return attr(name, QString::fromUtf8(value.data(), qsizetype(value.size())));
}

void XmlWriter::element(std::string_view name, QStringView text) {
    start(name).close();
    appendEscaped(out_, text);
    close(name);
}

void XmlWriter::appendEscaped(std::string& out, QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t ch = text[i].unicode();
        if (ch < 0x80) {
            switch (ch) {
                case '&':
                    out.append("&amp;");
                    break;
                case '<':
                    out.append("&lt;");
                    break;
                case '>':
                    out.append("&gt;");
                    break;
                case '"':
                    out.append("&quot;");
                    break;
                default:
                    if (ch >= 0x20 || ch == '\t' || ch == '\n' || ch == '\r') {
                        out.push_back(char(ch));
                    }
            }
            continue;
        }
        if (QChar::isHighSurrogate(ch) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(char16_t(ch), text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(ch) || ch == 0xFFFE || ch == 0xFFFF) {
            continue;  // not representable in XML
        }
        if (ch < 0x800) {
            out.push_back(char(0xC0 | (ch >> 6)));
            out.push_back(char(0x80 | (ch & 0x3F)));
        } else if (ch < 0x10000) {
            out.push_back(char(0xE0 | (ch >> 12)));
            out.push_back(char(0x80 | ((ch >> 6) & 0x3F)));
            out.push_back(char(0x80 | (ch & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (ch >> 18)));
            out.push_back(char(0x80 | ((ch >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((ch >> 6) & 0x3F)));
            out.push_back(char(0x80 | (ch & 0x3F)));
        }
    }
}

void XmlWriter::appendNumber(std::string& out, double value) {
    char buffer[32];
    out.append(buffer, writeNumber(buffer, value));
}

namespace {

// The length of the decimal digits of a positive whole number.
int digitCount(std::uint64_t n) {
    int count = 1;
    while (n >= 10) {
        n /= 10;
        ++count;
    }
    return count;
}

// A number that is a whole number of ten-thousandths at most, written as std::to_chars writes
// it; nullptr when it is not one, or when std::to_chars would write it in exponent form.
char* writeShortDecimal(char* at, double value) {
    // Below a billion two numbers of at most four decimals are farther apart than two doubles,
    // so the one of fewest decimals that reads back as the value is the shortest text of it.
    constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e9)) {
        return nullptr;
    }
    for (int decimals = 0; decimals < 5; ++decimals) {
        const double scaled = std::nearbyint(magnitude * kScale[decimals]);
        if (scaled / kScale[decimals] != magnitude) {
            continue;
        }
        const auto whole = std::uint64_t(scaled);
        const int digits = digitCount(whole);
        // As a fixed text: the digits with a point, and "0." and zeros before them below 1.
        const int fixed = decimals == 0 ? digits : std::max(digits, decimals + 1) + 1;
        // In exponent form: the digits without the trailing zeros (only a whole number has
        // them), a point after the first, and "e+NN".
        int significant = digits;
        for (std::uint64_t n = whole; n % 10 == 0; n /= 10) {
            --significant;
        }
        const int exponent = std::abs(digits - 1 - decimals);
        const int scientific =
            significant + (significant > 1 ? 1 : 0) + 2 + (exponent >= 100 ? 3 : 2);
        if (scientific < fixed) {
            return nullptr;  // std::to_chars takes the shorter form, fixed on a tie
        }
        if (value < 0) {
            *at++ = '-';
        }
        char text[24];
        std::to_chars(text, text + sizeof text, whole);
        const int before = digits - decimals;  // digits before the point, none below 1
        if (before > 0) {
            std::memcpy(at, text, std::size_t(before));
            at += before;
        } else {
            *at++ = '0';
        }
        if (decimals > 0) {
            *at++ = '.';
            for (int zero = before; zero < 0; ++zero) {
                *at++ = '0';
            }
            const int shown = std::min(digits, decimals);
            std::memcpy(at, text + (digits - shown), std::size_t(shown));
            at += shown;
        }
        return at;
    }
    return nullptr;
}

// The texts after the point of numbers of one to 2^52 that have a fraction, by the bits of
// the fraction and the power of two of the number: the shortest text of such a number is its
// whole part followed by the shortest fraction that falls within half a step of the number's
// precision, and both the fraction and that step depend on those bits alone. Readings repeat a
// few hundred values, and a logger's times (days since 1899 and the time of day) recur at the
// same time of day every day, so each thread keeps the fractions it wrote last.
class FractionTexts {
  public:
    // Writes `value` (at least 1 and below 2^52, with a fraction) as std::to_chars does.
    char* write(char* at, double value) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        const int exponent = int((bits >> 52) & 0x7FF) - 1023;
        const std::uint64_t fraction = bits & ((std::uint64_t(1) << (52 - exponent)) - 1);
        const std::uint64_t key = (std::uint64_t(exponent) << 52) | fraction;
        Entry& entry = entries_[(key * 0x9E3779B97F4A7C15ULL) >> (64 - kIndexBits)];
        if (entry.key == key) {
            at = std::to_chars(at, at + 24, std::uint64_t(value)).ptr;  // the whole part
            std::memcpy(at, entry.text, entry.length);
            return at + entry.length;
        }
        char* end = writeShortDecimal(at, value);
        if (!end) {
            end = std::to_chars(at, at + 24, value).ptr;
        }
        const char* point = std::find(at, end, '.');
        if (end - point <= qsizetype(sizeof entry.text) && std::find(at, end, 'e') == end) {
            entry.key = key;
            entry.length = std::uint8_t(end - point);
            std::memcpy(entry.text, point, std::size_t(end - point));
        }
        return end;
    }

  private:
    static constexpr int kIndexBits = 12;
    struct Entry {
        std::uint64_t key = ~std::uint64_t(0);  // no number has it
        std::uint8_t length = 0;
        char text[23] = {};  // the point and the digits after it
    };
    Entry entries_[std::size_t(1) << kIndexBits];
};

}  // namespace

char* XmlWriter::writeNumber(char* at, double value) {
    if (value > 1 && value < 4503599627370496.0 && value != std::floor(value)) {
        thread_local FractionTexts fractions;
        return fractions.write(at, value);
    }
    // Readings and the figures made of them mostly have a decimal or two: those are written
    // without the general shortest-form search, which costs several times as much.
    if (char* end = writeShortDecimal(at, value)) {
        return end;
    }
    return std::to_chars(at, at + 24, value).ptr;
}

void XmlWriter::appendInteger(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

}  // namespace qorv::automation

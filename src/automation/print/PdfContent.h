#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::automation {
class FastDeflate;
}  // namespace qorv::automation

namespace qorv::automation::pdf {

// A page's content operators as they are written: numbers to the thousandth of a point (a
// printer's dot is a tenth), without trailing zeros, each followed by a space.
//
//     std::string ops;
//     pdf::AppendNumber(ops, 12.5);  // "12.5 "
inline void AppendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        value = 0;
    }
    long long thousandths = std::llround(value * 1000);
    if (thousandths < 0) {
        out += '-';
        thousandths = -thousandths;
    }
    char digits[24];
    int n = 0;
    long long whole = thousandths / 1000;
    do {
        digits[n++] = char('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    while (n > 0) {
        out += digits[--n];
    }
    int fraction = int(thousandths % 1000);
    if (fraction != 0) {
        out += '.';
        int divisor = 100;
        while (fraction != 0) {
            out += char('0' + fraction / divisor);
            fraction %= divisor;
            divisor /= 10;
        }
    }
    out += ' ';
}

// A glyph number as four hexadecimal digits, for a two-byte string of a composite font.
inline void AppendGlyph(std::string& out, std::uint32_t glyph) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += kHex[(glyph >> 12) & 0xF];
    out += kHex[(glyph >> 8) & 0xF];
    out += kHex[(glyph >> 4) & 0xF];
    out += kHex[glyph & 0xF];
}

// A glyph number as the two bytes of a literal string of a composite font, "(" ... ")": half
// the room of hexadecimal digits, the bytes a string would misread escaped.
inline void AppendGlyphBytes(std::string& out, std::uint32_t glyph) {
    for (const char byte : {char((glyph >> 8) & 0xFF), char(glyph & 0xFF)}) {
        switch (byte) {
            case '(':
            case ')':
            case '\\':
                out += '\\';
                out += byte;
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += byte;
                break;
        }
    }
}

// Compresses streams as the file stores them: zlib streams at the fastest level.
//
//     pdf::Deflater deflater;
//     const std::string stored = deflater.deflate(content);
class Deflater {
  public:
    Deflater();
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    std::string deflate(std::string_view content);

  private:
    std::unique_ptr<FastDeflate> stream_;
};

}  // namespace qorv::automation::pdf

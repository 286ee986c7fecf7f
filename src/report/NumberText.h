#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace qorv {

// The number-text rules of the report. Samples travel from the file to the sheets as texts;
// every computation reads its operands from text and writes its result back as text, so the
// rounding of these forms is part of every result. Arithmetic is done in long double (80-bit
// on x86-64) and each result is rounded to double before it is formatted.

// Reads a decimal number. Both ',' and '.' are accepted as the decimal separator, whatever the
// system's, so a value typed on a comma system reads on a point system and back. Surrounding
// blanks are ignored; an exponent ("1.5E+9") is accepted. Throws ConversionError otherwise.
long double ReadNumber(const QString& text);
std::optional<long double> TryReadNumber(QStringView text);
inline std::optional<long double> TryReadNumber(const QString& text) {
    return TryReadNumber(QStringView(text));
}

// Reads 1 to `maxDigits` (at most 9) ASCII digits as a whole number: no sign, no blanks.
std::optional<int> ReadDigits(QStringView text, int maxDigits);

// x rounded half away from zero (on its exact binary value) to at most 8 significant digits
// and at most `decimals` decimal places, written with exactly `decimals` places in the system
// decimal separator. `decimals` is clamped to 0..18. When the integer part needs more than
// 8 digits the number is written in exponent form ("1.2345679E+9"), which ReadNumber reads.
//
//     FixedText(0.1234567891, 12) == "0,123456790000"   // on a comma system
QString FixedText(double x, int decimals);

// FixedText(x, 12) with every ',' replaced by '.': the form in which corrected and smoothed
// values are kept, the same on every system.
QString ValueText(double x);

// The text form of a mean kinetic temperature term: rounded to 8 significant digits, then
// written with exactly 18 decimal places in the system decimal separator, places beyond the
// 18th dropped without further rounding. A term below 1e-18 therefore reads back as zero.
QString MktTermText(double x);

namespace detail {
// The rounding and writing behind FixedText and MktTermText: at most 8 significant digits and
// `roundDecimals` places, then exactly `writeDecimals` places (cut, not rounded, when fewer).
// FormatFixed takes a fast integer path where it can; FormatFixedExact always works on the
// full decimal expansion. Both give the same text for every double.
QString FormatFixed(double x, int roundDecimals, int writeDecimals, QChar separator);
QString FormatFixedExact(double x, int roundDecimals, int writeDecimals, QChar separator);
// ReadNumber without its fast path for short texts.
std::optional<long double> TryReadNumberFull(const QString& text);
}  // namespace detail

}  // namespace qorv

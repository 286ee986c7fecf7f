#pragma once

#include "automation/print/DisplayLocale.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace qorv::automation {

class Worksheet;

// A number format code applied to a number as spreadsheet programs show it: "General", fixed
// decimals ("0.0"), padded integers ("00"), exponent form ("0.0000000E+0"), dates and times
// ("dd\.mm\.yyyy hh:mm:ss", "dd/mm/yy h:mm"), literals in quotes or after a backslash, and up
// to four sections (positive; negative; zero; text). A "/" of a date shows as the system's
// date separator, a "." of a number as its decimal separator. The code is read once; format()
// is cheap, for the million cells of a large report.
//
//     NumberFormatter f("dd/mm/yy h:mm;@");
//     f.format(42346.5847, {u',', u'.'}) == "08.12.15 14:01"
class NumberFormatter {
  public:
    explicit NumberFormatter(const QString& code);
    ~NumberFormatter();
    NumberFormatter(NumberFormatter&&) noexcept;
    NumberFormatter& operator=(NumberFormatter&&) noexcept;

    QString format(double value, const DisplayLocale& locale) const;
    // Whether the format shows dates or times (its numbers are day counts).
    bool isDateTime() const;

    struct Section;

  private:
    std::vector<Section> sections_;
};

// The texts cells show on one worksheet, with each number format read once.
//
//     CellTexts texts(sheet, locale);
//     QString shown = texts.at(5, 1);   // "08.12.2015 14:03:09"
class CellTexts {
  public:
    CellTexts(const Worksheet& sheet, const DisplayLocale& locale);
    ~CellTexts();

    // The text of a cell as shown; empty for an empty cell.
    QString at(int row, int column) const;
    // Whether the cell holds a number (shown right-aligned by default, never overflowing).
    bool isNumber(int row, int column) const;

  private:
    // A number format read once, with the texts of the numbers it showed last: a column of
    // readings repeats a few hundred values over thousands of rows.
    struct Shown {
        explicit Shown(const QString& code) : formatter(code) {}
        NumberFormatter formatter;
        struct Entry {
            std::uint64_t bits = 0;
            QString text;  // null: nothing kept here yet
        };
        std::vector<Entry> recent;  // by the value's bits; empty for dates and times
    };

    const Worksheet& sheet_;
    DisplayLocale locale_;
    mutable std::vector<std::unique_ptr<Shown>> formats_;  // by number format
};

// The day, month, year, hour, minute and second of a spreadsheet day count (days since
// 30 December 1899, the time of day as the fraction, the spreadsheet's 29 February 1900
// counted), to the nearest second.
struct DateTimeParts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};
DateTimeParts DateTimeOfSerial(double serial);

}  // namespace qorv::automation

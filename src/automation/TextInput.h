#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace qorv::automation {

// What a written text becomes in a cell.
//
// Texts written through Value or FormulaR1C1Local are read the way a user's typing is read:
// a number (decimal separator ',' or '.', whatever the process locale), a day/month/year
// date with an optional time (separators '/', '.' or '-', day always first), else text.
// Value2 reads numbers only. A converted cell also gets a display layout (LayoutKey) under
// which it shows the text exactly as written: the same decimals, the same date layout.
struct TextInput {
    enum class Kind { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    // Compact description of the display layout of a converted number or date; 0 for none.
    std::uint32_t layout = 0;
};

TextInput readValueText(QStringView text);
TextInput readValue2Text(QStringView text);

// The number format code (file notation) of a display layout, e.g. "0.000" or
// "dd\.mm\.yyyy hh:mm:ss".
QString layoutFormatCode(std::uint32_t layout);

// Excel's serial day number of a calendar date and time (days since 1899-12-30, with the
// historical 29 February 1900 accounted for). Returns false for an invalid date.
bool dateTimeSerial(int year, int month, int day, int hour, int minute, int second, double& serial);

}  // namespace qorv::automation

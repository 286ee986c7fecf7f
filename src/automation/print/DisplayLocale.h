#pragma once

#include <QChar>
#include <QString>

namespace qorv::automation {

// The separators a spreadsheet program takes from the system when it shows numbers and dates:
// the decimal separator of numbers and the character that stands for "/" in a date format
// ("dd/mm/yy" shows as 08.12.15 on a Russian system, 08/12/15 on an English one).
struct DisplayLocale {
    QChar decimalSeparator = u'.';
    QChar dateSeparator = u'/';
};

}  // namespace qorv::automation

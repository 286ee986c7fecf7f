#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

namespace qorv::automation {

// The separators a spreadsheet program takes from the system when it shows numbers and dates:
// the decimal separator of numbers and the character that stands for "/" in a date format
// ("dd/mm/yy" shows as 08.12.15 on a Russian system, 08/12/15 on an English one).
struct DisplayLocale {
    QChar decimalSeparator = u'.';
    QChar dateSeparator = u'/';

    // The separators of a locale, usually QLocale::system().
    static DisplayLocale fromLocale(const QLocale& locale) {
        DisplayLocale result;
        const QString point = locale.decimalPoint();
        if (!point.isEmpty()) {
            result.decimalSeparator = point.front();
        }
        // The first character of the short date format that is neither a field letter nor a
        // quote separates the fields.
        for (QChar c : locale.dateFormat(QLocale::ShortFormat)) {
            if (!c.isLetter() && c != u'\'' && !c.isSpace()) {
                result.dateSeparator = c;
                break;
            }
        }
        return result;
    }
};

}  // namespace qorv::automation

#pragma once

#include <QString>
#include <QStringView>

namespace qorv::automation {

// Turns a number format given in the user's local notation into the file notation.
//
// Russian codes (ДД, ММ, ГГ/ГГГГ, Ч, С, "Основной", colour names in brackets) become their
// usual equivalents; usual codes pass unchanged. Quoted literals and backslash escapes are
// copied as written. Example: "ДД/ММ/ГГ Ч:ММ;@" gives "dd/mm/yy h:mm;@".
QString formatCodeFromLocal(QStringView local);

}  // namespace qorv::automation

#pragma once

class QCoreApplication;

namespace qorv {

// Installs Qt's own Russian translations (qtbase_ru.qm from Qt's translations folder) into the
// application, so that the texts Qt itself shows (standard dialogs and buttons, its error
// texts) are Russian like the rest of the program, whatever the system's language. Returns
// false when the translation file is not installed; the program then works in Qt's English.
bool InstallQtRussianTranslations(QCoreApplication& application);

}  // namespace qorv

#pragma once

#include <QString>

// The window's own texts that are not captions of a control (those live in the .ui files):
// the messages of the dialogs and the settings file, titles of the common dialogs.
namespace qorv::ui::messages {

// The chart appearance dialogs.
inline const QString AxisScaleFieldEmpty =
    QStringLiteral("Поле Максимальное и минимально значение оси не заполнено!");
inline const QString AxisMaximumBelowMinimum =
    QStringLiteral("Максимальное значение оси меньше минимального!");

// The standard conversion messages that keep a dialog open.
inline QString NotAValidInteger(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}
inline QString NotAValidFloat(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

// The main window.
inline const QString ChooseDirectoryTitle = QStringLiteral("Выбор директории");
inline const QString OpenFilesFilter = QStringLiteral("Формат Wuxo_Pr (*.txt);;All (*)");

// The about box.
inline const QString UserGuideLink = QStringLiteral("Руководство пользователя (README)");
inline const QString UserGuideMissing =
    QStringLiteral("Руководство пользователя не найдено: программа установлена без него.");

}  // namespace qorv::ui::messages

#pragma once

#include "files/FileName.h"

#include <QString>
#include <QStringList>

// The window's own texts that are not captions of a control (those live in the .ui files):
// the messages of the dialogs and the settings file, titles of the common dialogs.
namespace qorv::ui::messages {

// The chart appearance dialogs.
inline const QString AxisScaleFieldEmpty =
    QStringLiteral("Поле Максимальное и минимально значение оси не заполнено!");
inline const QString AxisMaximumBelowMinimum =
    QStringLiteral("Максимальное значение оси меньше минимального!");

inline const QString DecimalsOutOfRange =
    QStringLiteral("Число десятичных знаков: допустимы значения от 0 до 7.");

// The conversion messages that keep a dialog open, with the caption of the field at fault.
inline QString NotAValidInteger(const QString& field, const QString& text) {
    return QStringLiteral("Поле \"%1\": '%2' не является целым числом.").arg(field, text);
}
inline QString NotAValidFloat(const QString& field, const QString& text) {
    return QStringLiteral("Поле \"%1\": '%2' не является числом.").arg(field, text);
}

// The main window.
inline const QString ChooseDirectoryTitle = QStringLiteral("Выбор директории");
inline const QString OpenFilesFilter = QStringLiteral("Формат Wuxo_Pr (*.txt);;All (*)");
inline const QString OpenAFileFirst = QStringLiteral(
    "Файл логгера не загружен. Откройте его кнопкой \"...\" рядом с полем \"Открыть файл:\".");
// The field names a file other than the loaded one: the report would be of the loaded one.
inline QString OtherFileNamed(const QString& named, const QString& loaded) {
    return QStringLiteral(
               "В поле \"Открыть файл:\" указан файл %1, а загружен файл %2. "
               "Откройте указанный файл кнопкой \"...\" (или перетащите его в окно), "
               "затем нажмите \"Excel\".")
        .arg(files::DisplayFileName(named), files::DisplayFileName(loaded));
}
// The end of a batch in which a file was not built (or built without its PDF copy).
inline QString BatchOutcome(int built, int total, const QStringList& notBuilt,
                            const QStringList& withoutPdf) {
    QString text = QStringLiteral("Построено протоколов: %1 из %2.").arg(built).arg(total);
    if (!notBuilt.isEmpty()) {
        text += QStringLiteral("\n\nНе построены:\n") + notBuilt.join(u'\n');
    }
    if (!withoutPdf.isEmpty()) {
        text += QStringLiteral("\n\nБез копии PDF:\n") + withoutPdf.join(u'\n');
    }
    return text;
}
inline QString AboutFile(const QString& file, const QString& message) {
    return files::DisplayFileName(file) + QStringLiteral(": ") + message;
}
// Start-up: more "Исходный файл" lines than the one message shown named files that are gone.
inline QString MoreFilesNotFound(qsizetype more) {
    return QStringLiteral("Ещё строк \"Исходный файл\" с файлами, которые не удалось открыть: %1.")
        .arg(more);
}
// A dropped address that names no file of this computer.
inline QString NotALocalFile(const QString& address) {
    return QStringLiteral("Адрес %1 не является именем файла на этом компьютере.").arg(address);
}

// The mapping study dialog.
inline const QString MappingNoFiles =
    QStringLiteral("Добавьте файлы логгеров кнопкой \"Добавить файлы...\" (или перетащите их).");
inline const QString MappingOneSidedRange = QStringLiteral(
    "Допустимый диапазон: укажите обе границы или оставьте оба поля пустыми (тогда берутся "
    "пределы самих логгеров).");
inline const QString MappingRangeReversed =
    QStringLiteral("Допустимый диапазон: нижняя граница должна быть меньше верхней.");
inline const QString MappingPeriodReversed =
    QStringLiteral("Период: время \"с\" позже времени \"по\".");
inline const QString MappingRangeLow = QStringLiteral("Допустимый диапазон, от");
inline const QString MappingRangeHigh = QStringLiteral("Допустимый диапазон, до");
// A list row of a file that could not be read.
inline QString MappingFileUnreadable(const QString& message) {
    return QStringLiteral("Не читается: %1").arg(message);
}
// A list row's recording time.
inline QString MappingRecorded(const QString& first, const QString& last) {
    return QStringLiteral("%1 – %2").arg(first, last);
}

// The settings file at closing.
inline QString SettingsFileReadOnly(const QString& path) {
    return QStringLiteral("Файл настроек %1 доступен только для чтения: настройки не сохранены.")
        .arg(files::DisplayFileName(path));
}
inline QString SettingsNotSaved(const QString& reason) {
    return QStringLiteral("Настройки не сохранены. %1").arg(reason);
}

// The about box.
inline const QString UserGuideLink = QStringLiteral("Руководство пользователя (README)");
inline const QString UserGuideMissing =
    QStringLiteral("Руководство пользователя не найдено: программа установлена без него.");

}  // namespace qorv::ui::messages

#pragma once

#include <QString>

// Every text the program shows the user, in one place. The validation texts are fixed: users
// and their instructions know them word for word.
namespace qorv::messages {

// Validation of the report options, in the order the "Excel" button checks them.
inline const QString DateFieldsError = QStringLiteral("Ошибка заполнения полей даты!");
inline const QString MktFieldError =
    QStringLiteral("Ошибка поля \"Средняя кинетическая температура\"!");
inline const QString SmoothingFieldError =
    QStringLiteral("Ошибка поля \"Коэффициент сглаживания\"!");
inline const QString StepFieldError = QStringLiteral("Ошибка поля \"Шаг в отсчетах\"!");
inline const QString CoefficientAError = QStringLiteral("Ошибка поля Коэффициент \"a\"!");
inline const QString CoefficientBError = QStringLiteral("Ошибка поля Коэффициент \"b\"!");
inline const QString CoefficientCError = QStringLiteral("Ошибка поля Коэффициент \"c\"!");
inline const QString CoefficientDError = QStringLiteral("Ошибка поля Коэффициент \"d\"!");
inline const QString RangeError = QStringLiteral("Ошибка заполнения полей!");
inline const QString SaveDirectoryError = QStringLiteral("Директория сохранения задана не верно");
inline QString FileMissing(const QString& path) {
    return QStringLiteral("Файл - ") + path + QStringLiteral(" - не существует.");
}

// Report run.
inline const QString PdfError = QStringLiteral("Ошибка создания PDF");

// Conversions that end a run: what failed and where.
inline QString NotANumber(const QString& text) {
    return QStringLiteral("'%1' не является числом").arg(text);
}
inline QString NotADateTime(const QString& text) {
    return QStringLiteral("'%1' не является датой и временем").arg(text);
}
inline QString NotAnInteger(const QString& text) {
    return QStringLiteral("'%1' не является целым числом").arg(text);
}

// Where a conversion failed inside a run: the text and the sample line or field it came from.
inline QString SampleWithoutSeparator(const QString& line) {
    return QStringLiteral("В строке отсчёта нет разделителя \" - \": %1").arg(line);
}
inline QString SampleTimeError(const QString& text, const QString& line) {
    return QStringLiteral("Время отсчёта '%1' не является датой и временем (строка: %2)")
        .arg(text, line);
}
inline QString SampleValueError(const QString& text, const QString& line) {
    return QStringLiteral("Значение '%1' не является числом (строка: %2)").arg(text, line);
}
inline QString FieldValueError(const QString& field, const QString& text) {
    return QStringLiteral("Поле \"%1\": '%2' не является числом").arg(field, text);
}
inline QString RateTextError(const QString& text) {
    return QStringLiteral("Частота отсчётов '%1' не является целым числом").arg(text);
}
inline QString RangeEndError(const QString& text) {
    return QStringLiteral("Граница диапазона '%1' не является датой и временем").arg(text);
}

// Reading a logger file.
inline QString FileReadFailed(const QString& path, const QString& reason) {
    return QStringLiteral("Ошибка чтения файла %1: %2").arg(path, reason);
}

// Command line.
inline const QString UsageHint = QStringLiteral("Справка: qorv-pr-report --help");
inline QString UnknownOption(const QString& option) {
    return QStringLiteral("Неизвестный параметр: %1").arg(option);
}
inline QString MissingOptionValue(const QString& option) {
    return QStringLiteral("Параметр %1 требует значения").arg(option);
}
inline QString BadOptionValue(const QString& option, const QString& value) {
    return QStringLiteral("Недопустимое значение параметра %1: %2").arg(option, value);
}
inline const QString NoInputFiles = QStringLiteral("Не указаны файлы логгера");

}  // namespace qorv::messages

#pragma once

#include <QString>

// The texts only the command line shows; the program's other texts are in report/Messages.h.
namespace qorv::cli::messages {

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
inline QString StandardOutputFailed(const QString& reason) {
    return QStringLiteral("Не удалось записать в стандартный вывод: %1").arg(reason);
}

}  // namespace qorv::cli::messages

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
// The map form's acceptance range and period.
inline const QString RangeNeedsBothEnds =
    QStringLiteral("Параметры --low и --high задаются вместе");
inline const QString RangeReversed = QStringLiteral(
    "Нижняя граница допустимого диапазона (--low) должна быть меньше верхней (--high)");
inline const QString StudyPeriodReversed =
    QStringLiteral("Начало периода (--from) позже его конца (--to)");
inline const QString NoInputFiles = QStringLiteral("Не указаны файлы логгера");
inline QString StandardOutputFailed(const QString& reason) {
    return QStringLiteral("Не удалось записать в стандартный вывод: %1").arg(reason);
}
// A file of a batch built in a process of its own (-j) whose process did not start or did not
// end as the tool ends.
inline QString BatchWorkerNotStarted(const QString& program) {
    return QStringLiteral("Не удалось запустить процесс построения протокола: %1").arg(program);
}
// A process of a -j batch whose message grew beyond the bound (megabytes).
inline QString BatchWorkerMessageTooLong(qsizetype megabytes) {
    return QStringLiteral(
               "Процесс построения протокола передал сообщение длиннее %1 МБ и "
               "остановлен; этот файл можно построить с -j 1")
        .arg(megabytes);
}
inline const QString BatchWorkerCrashed =
    QStringLiteral("Процесс построения протокола завершился аварийно");
// The hidden form got an input that no batch of the tool gives.
inline const QString BatchWorkerInputInvalid =
    QStringLiteral("Неверные входные данные процесса построения протокола");

}  // namespace qorv::cli::messages

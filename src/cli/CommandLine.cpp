#include "cli/CommandLine.h"

#include "report/Messages.h"

namespace qorv::cli {

namespace {

Request parseInspect(const QStringList& arguments) {
    InspectRequest request;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg == QLatin1String("--json")) {
            request.json = true;
        } else if (!optionsEnded && arg.startsWith('-') && arg.size() > 1) {
            return UsageError{messages::UnknownOption(arg)};
        } else {
            request.files << arg;
        }
    }
    if (request.files.isEmpty()) {
        return UsageError{messages::NoInputFiles};
    }
    return request;
}

}  // namespace

Request ParseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return UsageError{messages::NoInputFiles};
    }
    const QString& first = arguments.front();
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        return HelpRequest{};
    }
    if (first == QLatin1String("inspect")) {
        return parseInspect(arguments);
    }
    return UsageError{messages::UnknownOption(first)};
}

QString HelpText() {
    return QStringLiteral(
        "qorv-pr-report — протокол измерений по текстовому файлу логгера\n"
        "\n"
        "Использование:\n"
        "  qorv-pr-report inspect [--json] ФАЙЛ...\n"
        "      Загружает каждый файл так же, как окно программы, и выводит, что осталось\n"
        "      после загрузки; с --json — массив JSON, по объекту на файл.\n"
        "\n"
        "Коды завершения: 0 — всё выполнено, 1 — файл не прочитан, 2 — ошибка в параметрах.\n");
}

}  // namespace qorv::cli

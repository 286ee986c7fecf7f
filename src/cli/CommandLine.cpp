#include "cli/CommandLine.h"

#include "cli/CliMessages.h"
#include "cli/TerminalText.h"

#include <QThread>

#include <algorithm>
#include <utility>

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
            return UsageError{messages::UnknownOption(Printable(arg))};
        } else {
            request.files << arg;
        }
    }
    if (request.files.isEmpty()) {
        return UsageError{messages::NoInputFiles};
    }
    return request;
}

// The value of an option that takes one, checked; the value given with the option
// ("--name=value") or the next argument.
std::variant<QString, UsageError> optionValue(const BuildOption& option, const QString& name,
                                              const std::optional<QString>& inlineValue,
                                              const QStringList& arguments, qsizetype& i) {
    if (!inlineValue && i + 1 >= arguments.size()) {
        return UsageError{messages::MissingOptionValue(Printable(name))};
    }
    const QString value = inlineValue ? *inlineValue : arguments[++i];
    if (option.accepts && !option.accepts(value)) {
        return UsageError{messages::BadOptionValue(Printable(name), Printable(value))};
    }
    return value;
}

// Takes the option at `i` (and its value) into `request`; -j and --progress only where
// `jobsAllowed`. Returns why the command line cannot be carried out, if it cannot.
std::optional<UsageError> takeOption(const QStringList& arguments, qsizetype& i, bool jobsAllowed,
                                     BuildRequest& request, std::optional<int>& jobs) {
    const QString& given = arguments[i];
    QString name = given;
    // "--name=value" and "--name value" alike; a value may itself begin with '-'.
    std::optional<QString> inlineValue;
    if (const qsizetype eq = name.indexOf('='); name.startsWith(QLatin1String("--")) && eq > 0) {
        inlineValue = name.mid(eq + 1);
        name = name.left(eq);
    }
    if (jobsAllowed && name.startsWith(QLatin1String("-j")) && name.size() > 2) {
        inlineValue = name.mid(2);  // "-j4", as make takes it
        name = QStringLiteral("-j");
    }
    const BuildOption* option = FindBuildOption(name);
    // The batch's own options are unknown to the stats form, and --progress is with a value.
    const bool batchOption = option && !option->apply;
    if (!option || (batchOption && (!jobsAllowed || (!option->takesValue && inlineValue)))) {
        return UsageError{messages::UnknownOption(Printable(name))};
    }
    if (!batchOption && name == QLatin1String(option->shortName)) {
        name = QLatin1String(option->name);  // "-o" is named "--out" in messages
    }
    QString value = name;  // a flag's value: the spelling given
    if (option->takesValue) {
        auto taken = optionValue(*option, name, inlineValue, arguments, i);
        if (auto* error = std::get_if<UsageError>(&taken)) {
            return *error;
        }
        value = std::get<QString>(std::move(taken));
    } else if (inlineValue) {
        return UsageError{messages::BadOptionValue(Printable(name), Printable(*inlineValue))};
    }
    if (batchOption && option->takesValue) {
        jobs = value.toInt();
        return std::nullopt;
    }
    if (batchOption) {
        request.progressSteps = true;
    } else {
        request.overrides.given[QLatin1String(option->name)] = value;
    }
    request.optionArguments << given;
    if (option->takesValue && !inlineValue) {
        request.optionArguments << value;
    }
    return std::nullopt;
}

// The build form's options and files; -j only where `jobsAllowed` (the stats form has none).
Request parseBuild(const QStringList& arguments, bool jobsAllowed) {
    BuildRequest request;
    std::optional<int> jobs;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (optionsEnded || !arg.startsWith('-') || arg.size() == 1) {
            request.files << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (auto error = takeOption(arguments, i, jobsAllowed, request, jobs)) {
            return *error;
        }
    }
    if (request.files.isEmpty()) {
        return UsageError{messages::NoInputFiles};
    }
    if (jobsAllowed) {
        request.jobs = jobs.value_or(std::max(1, QThread::idealThreadCount()));
    }
    return request;
}

// The build form's options and files, and --json before a "--".
Request parseStats(const QStringList& arguments) {
    StatsRequest stats;
    QStringList rest;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        optionsEnded = optionsEnded || arguments[i] == QLatin1String("--");
        if (!optionsEnded && arguments[i] == QLatin1String("--json")) {
            stats.json = true;
        } else {
            rest << arguments[i];
        }
    }
    Request parsed = parseBuild(rest, false);
    if (auto* build = std::get_if<BuildRequest>(&parsed)) {
        stats.overrides = build->overrides;
        stats.files = build->files;
        return stats;
    }
    return parsed;
}

// The help's lines for the options. An option without a description shares the line of the
// options after it; the descriptions start in column 27, or in column 41 after a longer usage,
// or three spaces after one longer still, and go on in the same column.
QString optionHelp() {
    QString help;
    QString usage;
    for (const BuildOption& option : BuildOptions()) {
        usage +=
            (usage.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromUtf8(option.usage);
        if (!option.description) {
            continue;
        }
        const qsizetype width = usage.size() <= 22   ? 25
                                : usage.size() <= 36 ? 39
                                                     : usage.size() + 3;
        const QString description =
            QString::fromUtf8(option.description).replace('\n', '\n' + QString(width + 2, ' '));
        help += QStringLiteral("  ") + usage.leftJustified(width) + description + '\n';
        usage.clear();
    }
    return help;
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
    if (first == kBatchWorkerArgument && arguments.size() == 1) {
        return BatchWorkerRequest{};
    }
    if (first == QLatin1String("inspect")) {
        return parseInspect(arguments);
    }
    if (first == QLatin1String("stats")) {
        return parseStats(arguments);
    }
    return parseBuild(arguments, true);
}

QString HelpText() {
    return QStringLiteral(
               "qorv-pr-report — протокол измерений по текстовому файлу логгера\n"
               "\n"
               "Использование:\n"
               "  qorv-pr-report inspect [--json] ФАЙЛ...\n"
               "      Загружает каждый файл так же, как окно программы, и выводит, что осталось\n"
               "      после загрузки; с --json — массив JSON, по объекту на файл.\n"
               "  qorv-pr-report [-j N] [ПАРАМЕТРЫ] ФАЙЛ...\n"
               "      Строит протокол по каждому файлу и выводит пути сохранённых файлов.\n"
               "  qorv-pr-report stats [--json] [ПАРАМЕТРЫ] ФАЙЛ...\n"
               "      Выводит статистику выбранных отсчётов каждого файла, не строя протокол.\n"
               "\n"
               "Параметры протокола:\n") +
           optionHelp() +
           QStringLiteral(
               "\n"
               "Коды завершения: 0 — всё выполнено, 1 — файл не прочитан или протокол не "
               "построен,\n"
               "2 — ошибка в параметрах или в полях протокола.\n");
}

}  // namespace qorv::cli

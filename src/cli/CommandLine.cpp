#include "cli/CommandLine.h"

#include "cli/CliMessages.h"
#include "cli/TerminalText.h"
#include "report/NumberText.h"

#include <QDate>
#include <QDateTime>
#include <QThread>
#include <QTime>

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

// A --from or --to of the study: "DATE[ hh:mm:ss]" as the build form takes it, as a time of the
// loggers' clocks.
std::optional<QDateTime> studyTime(const QString& text, bool isEnd) {
    const std::optional<RangeEnd> end = ParseRangeEnd(text, isEnd);
    if (!end) {
        return std::nullopt;
    }
    const QDate date = QDate::fromString(end->date, QStringLiteral("d/M/yyyy"));
    const QTime time(end->hour.toInt(), end->minute.toInt(), end->second.toInt());
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, time, Qt::UTC);
}

std::optional<double> decimalNumber(const QString& text) {
    const std::optional<long double> value = TryReadNumber(text);
    return value ? std::optional(static_cast<double>(*value)) : std::nullopt;
}

// Takes the map form's option at `i` (and its value) into `request`.
std::optional<UsageError> takeMapOption(const QStringList& arguments, qsizetype& i,
                                        MapRequest& request) {
    QString name = arguments[i];
    std::optional<QString> value;
    if (const qsizetype eq = name.indexOf('='); name.startsWith(QLatin1String("--")) && eq > 0) {
        value = name.mid(eq + 1);
        name = name.left(eq);
    }
    const bool flag = name == QLatin1String("--json") || name == QLatin1String("--pdf");
    static const QStringList valued = {"-o", "--out", "--from", "--to", "--low", "--high", "--dh"};
    if (!flag && !valued.contains(name)) {
        return UsageError{messages::UnknownOption(Printable(name))};
    }
    if (flag) {
        if (value) {
            return UsageError{messages::BadOptionValue(Printable(name), Printable(*value))};
        }
        (name == QLatin1String("--json") ? request.json : request.pdf) = true;
        return std::nullopt;
    }
    if (name == QLatin1String("-o")) {
        name = QStringLiteral("--out");
    }
    if (!value && i + 1 >= arguments.size()) {
        return UsageError{messages::MissingOptionValue(Printable(name))};
    }
    const QString text = value ? *value : arguments[++i];
    const UsageError bad{messages::BadOptionValue(Printable(name), Printable(text))};
    MappingRequest& study = request.study;
    if (name == QLatin1String("--out")) {
        request.folder = text;  // a folder: the bytes the system gave
    } else if (name == QLatin1String("--from") || name == QLatin1String("--to")) {
        const bool isEnd = name == QLatin1String("--to");
        const std::optional<QDateTime> time = studyTime(text, isEnd);
        if (!time) {
            return bad;
        }
        (isEnd ? study.to : study.from) = time;
    } else if (name == QLatin1String("--dh")) {
        const std::optional<double> value = decimalNumber(text);
        if (!value || *value <= 0) {
            return bad;
        }
        study.deltaH = text.trimmed();
    } else {
        const std::optional<double> value = decimalNumber(text);
        if (!value) {
            return bad;
        }
        (name == QLatin1String("--low") ? study.low : study.high) = value;
    }
    return std::nullopt;
}

Request parseMap(const QStringList& arguments) {
    MapRequest request;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (optionsEnded || !arg.startsWith('-') || arg.size() == 1) {
            request.study.files << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (auto error = takeMapOption(arguments, i, request)) {
            return *error;
        }
    }
    const MappingRequest& study = request.study;
    if (study.low.has_value() != study.high.has_value()) {
        return UsageError{messages::RangeNeedsBothEnds};
    }
    if (study.low && *study.low >= *study.high) {
        return UsageError{messages::RangeReversed};
    }
    if (study.from && study.to && *study.from > *study.to) {
        return UsageError{messages::StudyPeriodReversed};
    }
    if (study.files.isEmpty()) {
        return UsageError{messages::NoInputFiles};
    }
    return request;
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
    if (first == QLatin1String("map")) {
        return parseMap(arguments);
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
               "  qorv-pr-report map [--json] [ПАРАМЕТРЫ КАРТИРОВАНИЯ] ФАЙЛ...\n"
               "      Строит один отчёт картирования по всем файлам (логгерам одного\n"
               "      помещения): сводку мест, график всех логгеров и их данные; с --json —\n"
               "      выводит показатели картирования, не сохраняя отчёт.\n"
               "\n"
               "Параметры протокола:\n") +
           optionHelp() +
           QStringLiteral(
               "\n"
               "Параметры картирования:\n"
               "  -o, --out DIR, --pdf     директория сохранения, копия в формате PDF\n"
               "  --from \"ДАТА чч:мм:сс\", --to \"ДАТА чч:мм:сс\"   сузить общий период\n"
               "  --low X, --high X        допустимый диапазон температуры, °C (по умолчанию —\n"
               "                           пределы из файлов логгеров, если они везде одинаковы)\n"
               "  --dh X                   ΔH средней кинетической температуры, кДж/моль\n"
               "\n"
               "Коды завершения: 0 — всё выполнено, 1 — файл не прочитан или протокол не "
               "построен,\n"
               "2 — ошибка в параметрах или в полях протокола.\n");
}

}  // namespace qorv::cli

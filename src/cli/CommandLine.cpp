#include "cli/CommandLine.h"

#include "cli/CliMessages.h"
#include "cli/TerminalText.h"
#include "files/FileName.h"
#include "report/Messages.h"

#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <functional>
#include <map>

namespace qorv::cli {

namespace {

using Overrides = ReportOverrides;
// Takes an option's value; returns false when the option does not take it.
using ValueHandler = std::function<bool(Overrides&, const QString&)>;

template <typename T>
ValueHandler setter(std::optional<T> Overrides::*field,
                    std::function<std::optional<T>(const QString&)> parse) {
    return [field, parse](Overrides& o, const QString& value) {
        const auto parsed = parse(value);
        if (parsed) {
            o.*field = *parsed;
        }
        return parsed.has_value();
    };
}

// A text option. The arguments arrive as file names (bytes that are not UTF-8 kept as they
// are); a text that goes into the report shows such bytes as U+FFFD.
ValueHandler text(std::optional<QString> Overrides::*field, qsizetype maxLength = -1) {
    return setter<QString>(field, [maxLength](const QString& v) -> std::optional<QString> {
        const QString shown = files::DisplayFileName(v);
        if (maxLength >= 0 && shown.size() > maxLength) {
            return std::nullopt;
        }
        return shown;
    });
}

// A folder, kept as the bytes the system gave.
ValueHandler path(std::optional<QString> Overrides::*field) {
    return setter<QString>(field, [](const QString& v) { return std::optional<QString>(v); });
}

std::optional<int> decimals(const QString& v) {
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok && n >= 0 && n <= 7 ? std::optional<int>(n) : std::nullopt;
}

// A value-axis major unit: a whole number of at least 0 (0 = automatic).
std::optional<int> majorUnit(const QString& v) {
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

const std::map<QString, ValueHandler>& valueOptions() {
    static const std::map<QString, ValueHandler> options = {
        {"--out", path(&Overrides::outDir)},
        {"--title1", text(&Overrides::title1, 25)},
        {"--title2", text(&Overrides::title2, 25)},
        {"--ch1-name", text(&Overrides::channel1Name)},
        {"--ch2-name", text(&Overrides::channel2Name)},
        {"--a", text(&Overrides::a)},
        {"--b", text(&Overrides::b)},
        {"--c", text(&Overrides::c)},
        {"--d", text(&Overrides::d)},
        {"--dh", text(&Overrides::deltaH)},
        {"--smooth", text(&Overrides::smoothing)},
        {"--step", text(&Overrides::step)},
        {"--from", setter<Overrides::RangeEnd>(
                       &Overrides::from, [](const QString& v) { return ParseRangeEnd(v, false); })},
        {"--to", setter<Overrides::RangeEnd>(
                     &Overrides::to, [](const QString& v) { return ParseRangeEnd(v, true); })},
        {"--decimals1", setter<int>(&Overrides::decimals1, decimals)},
        {"--decimals2", setter<int>(&Overrides::decimals2, decimals)},
        {"--color1", setter<int>(&Overrides::color1, ParseColor)},
        {"--color2", setter<int>(&Overrides::color2, ParseColor)},
        {"--unit1", setter<int>(&Overrides::unit1, majorUnit)},
        {"--unit2", setter<int>(&Overrides::unit2, majorUnit)},
        {"--scale1", setter<std::pair<int, int>>(&Overrides::scale1, ParseScale)},
        {"--scale2", setter<std::pair<int, int>>(&Overrides::scale2, ParseScale)},
        {"--time-unit", setter<double>(&Overrides::timeUnitDays, ParseTimeUnit)},
    };
    return options;
}

const std::map<QString, std::function<void(Overrides&)>>& flagOptions() {
    static const std::map<QString, std::function<void(Overrides&)>> flags = {
        {"--pdf", [](Overrides& o) { o.pdf = true; }},
        {"--no-setup", [](Overrides& o) { o.noSetup = true; }},
        {"--no-label", [](Overrides& o) { o.noLabel = true; }},
        {"--no-status", [](Overrides& o) { o.noStatus = true; }},
        {"--no-params", [](Overrides& o) { o.noParams = true; }},
        {"--no-chart", [](Overrides& o) { o.noChart = true; }},
        {"--ch1", [](Overrides& o) { o.channel1 = true; }},
        {"--no-ch1", [](Overrides& o) { o.channel1 = false; }},
        {"--ch2", [](Overrides& o) { o.channel2 = true; }},
        {"--no-ch2", [](Overrides& o) { o.channel2 = false; }},
        {"--mkt", [](Overrides& o) { o.mkt = true; }},
        {"--compress", [](Overrides& o) { o.compress = true; }},
        {"--marker1", [](Overrides& o) { o.marker1 = true; }},
        {"--marker2", [](Overrides& o) { o.marker2 = true; }},
        {"--time-grid", [](Overrides& o) { o.timeGrid = true; }},
        {"--stats", [](Overrides& o) { o.statistics = true; }},
        {"--limits", [](Overrides& o) { o.limitLines = true; }},
    };
    return flags;
}

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

// A number of files built at once: a whole number of at least 1, digits only.
std::optional<int> jobCount(const QString& v) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool ok = false;
    const int n = v.toInt(&ok);
    return digits.match(v).hasMatch() && ok && n >= 1 ? std::optional<int>(n) : std::nullopt;
}

// The build form's options and files; -j only where `jobsAllowed` (the stats form has none).
Request parseBuild(const QStringList& arguments, bool jobsAllowed) {
    BuildRequest request;
    std::optional<int> jobs;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& given = arguments[i];
        QString arg = given;
        if (optionsEnded || !arg.startsWith('-') || arg.size() == 1) {
            request.files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        // "--name=value" and "--name value" alike; a value may itself begin with '-'.
        std::optional<QString> inlineValue;
        if (const qsizetype eq = arg.indexOf('='); arg.startsWith(QLatin1String("--")) && eq > 0) {
            inlineValue = arg.mid(eq + 1);
            arg = arg.left(eq);
        }
        if (arg == QLatin1String("-o")) {
            arg = QStringLiteral("--out");
        }
        if (jobsAllowed && arg.startsWith(QLatin1String("-j")) && arg.size() > 2) {
            inlineValue = arg.mid(2);  // "-j4", as make takes it
            arg = QStringLiteral("-j");
        }
        if (jobsAllowed && (arg == QLatin1String("-j") || arg == QLatin1String("--jobs"))) {
            if (!inlineValue && i + 1 >= arguments.size()) {
                return UsageError{messages::MissingOptionValue(Printable(arg))};
            }
            const QString value = inlineValue ? *inlineValue : arguments[++i];
            jobs = jobCount(value);
            if (!jobs) {
                return UsageError{messages::BadOptionValue(Printable(arg), Printable(value))};
            }
            continue;
        }
        if (jobsAllowed && arg == QLatin1String("--progress") && !inlineValue) {
            request.progressSteps = true;
            request.optionArguments << given;
            continue;
        }
        if (const auto flag = flagOptions().find(arg); flag != flagOptions().end()) {
            if (inlineValue) {
                return UsageError{
                    messages::BadOptionValue(Printable(arg), Printable(*inlineValue))};
            }
            flag->second(request.overrides);
            request.optionArguments << given;
            continue;
        }
        const auto option = valueOptions().find(arg);
        if (option == valueOptions().end()) {
            return UsageError{messages::UnknownOption(Printable(arg))};
        }
        if (!inlineValue && i + 1 >= arguments.size()) {
            return UsageError{messages::MissingOptionValue(Printable(arg))};
        }
        const QString value = inlineValue ? *inlineValue : arguments[++i];
        if (!option->second(request.overrides, value)) {
            return UsageError{messages::BadOptionValue(Printable(arg), Printable(value))};
        }
        request.optionArguments << given;
        if (!inlineValue) {
            request.optionArguments << value;
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
        // The build form's options and files, and --json before a "--".
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
        "Параметры протокола:\n"
        "  -j N, --jobs N           строить до N протоколов одновременно, каждый в отдельном\n"
        "                           процессе (по умолчанию — по числу ядер)\n"
        "  --progress               строка на каждый шаг построения в стандартном потоке\n"
        "                           ошибок, даже когда это не терминал\n"
        "  -o, --out DIR            директория сохранения (по умолчанию текущая)\n"
        "  --pdf                    сделать копию в формате PDF\n"
        "  --title1 T, --title2 T   строки заголовка протокола (до 25 символов)\n"
        "  --no-setup               без установочных параметров\n"
        "  --no-label, --no-status, --no-params   без ярлыка, статуса, параметров протокола\n"
        "  --no-chart               без графика\n"
        "  --ch1, --no-ch1, --ch2, --no-ch2       включить или выключить канал\n"
        "  --ch1-name T, --ch2-name T             имена каналов\n"
        "  --a X, --b X, --c X, --d X             коэффициенты T = at + b, M = cm + d\n"
        "  --mkt, --dh X            средняя кинетическая температура и ΔH, кДж/моль\n"
        "  --smooth K, --step S, --compress       сглаживание, шаг в отсчётах, сжатие\n"
        "  --from \"ДАТА чч:мм:сс\", --to \"ДАТА чч:мм:сс\"   диапазон (дата дд/мм/гггг)\n"
        "  --decimals1 N, --decimals2 N           число десятичных знаков (0–7)\n"
        "  --color1 C, --color2 C   цвет линии: число RGB или #RRGGBB\n"
        "  --marker1, --marker2     маркеры\n"
        "  --unit1 N, --unit2 N     цена деления оси значений (0 — автоматически)\n"
        "  --scale1 MIN:MAX, --scale2 MIN:MAX     пределы оси значений\n"
        "  --time-grid              вертикальные линии сетки\n"
        "  --time-unit N{m,h,d}     цена деления оси времени в минутах, часах или сутках\n"
        "  --stats                  раздел «Статистика» после параметров протокола\n"
        "  --limits                 пределы из файла логгера линиями на графике\n"
        "\n"
        "Коды завершения: 0 — всё выполнено, 1 — файл не прочитан или протокол не построен,\n"
        "2 — ошибка в параметрах или в полях протокола.\n");
}

}  // namespace qorv::cli

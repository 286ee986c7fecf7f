#pragma once

#include "files/FileKind.h"
#include "files/FileName.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cerrno>

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
    return QStringLiteral("Файл - ") + files::DisplayFileName(path) +
           QStringLiteral(" - не существует.");
}
// A path that exists but is not a file that can be read (a folder, a FIFO, a device, a socket).
inline QString NotARegularFile(const QString& path, files::FileKind kind) {
    QString what;
    switch (kind) {
        case files::FileKind::Directory:
            what = QStringLiteral("на папку");
            break;
        case files::FileKind::Fifo:
            what = QStringLiteral("на именованный канал (FIFO)");
            break;
        case files::FileKind::CharacterDevice:
        case files::FileKind::BlockDevice:
            what = QStringLiteral("на устройство");
            break;
        case files::FileKind::Socket:
            what = QStringLiteral("на сокет");
            break;
        default:
            what = QStringLiteral("не на обычный файл");
            return QStringLiteral("Путь - %1 - указывает %2.")
                .arg(files::DisplayFileName(path), what);
    }
    return QStringLiteral("Путь - %1 - указывает %2, а не на файл.")
        .arg(files::DisplayFileName(path), what);
}
// A selection that does not fit the chart-data sheet.
inline QString TooManySamples(qsizetype selected, qsizetype capacity) {
    const QLocale russian(QLocale::Russian);
    return QStringLiteral(
               "В выбранном диапазоне %1 отсчётов, а лист данных вмещает не более %2. "
               "Сузьте диапазон дат.")
        .arg(russian.toString(selected), russian.toString(capacity));
}

// Report run.
inline const QString PdfError = QStringLiteral("Ошибка создания PDF");
// The PDF copy's failure with its reason: the file and what the system said, as a failed save.
inline QString PdfFailed(const QString& reason) {
    return PdfError + QStringLiteral(": ") + reason;
}

// Conversions that end a run: what failed and where.
inline QString NotANumber(const QString& text) {
    return QStringLiteral("'%1' не является числом").arg(text);
}
inline QString NotADateTime(const QString& text) {
    return QStringLiteral("'%1' не является датой и временем").arg(text);
}

// Where a conversion failed inside a run: the text and the sample line (its number in the
// logger file and its text) or the field it came from.
inline QString SampleWithoutSeparator(qsizetype lineNumber, const QString& line) {
    return QStringLiteral("В строке отсчёта %1 нет разделителя \" - \": %2")
        .arg(QString::number(lineNumber), line);
}
inline QString SampleTimeError(const QString& text, qsizetype lineNumber, const QString& line) {
    return QStringLiteral("Время отсчёта '%1' не является датой и временем (строка %2: %3)")
        .arg(text, QString::number(lineNumber), line);
}
inline QString SampleValueError(const QString& text, qsizetype lineNumber, const QString& line) {
    return QStringLiteral("Значение '%1' не является числом (строка %2: %3)")
        .arg(text, QString::number(lineNumber), line);
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

// A logger file in Windows-1251 on a system without a converter for it.
inline const QString MissingCodePage = QStringLiteral(
    "В системе нет преобразователя кодировки Windows-1251: файл в этой кодировке прочитать "
    "нельзя.");

// The system's reasons for a failed file operation.
inline QString SystemErrorText(int error) {
    switch (error) {
        case ENOENT:
            return QStringLiteral("файл или папка не существует");
        case ENOTDIR:
            return QStringLiteral("часть пути не является папкой");
        case EACCES:
        case EPERM:
            return QStringLiteral("нет прав доступа");
        case ENOSPC:
            return QStringLiteral("на диске нет свободного места");
#ifdef EDQUOT  // no disk quotas in the Windows C library
        case EDQUOT:
            return QStringLiteral("исчерпана дисковая квота");
#endif
        case EROFS:
            return QStringLiteral("файловая система доступна только для чтения");
        case ENAMETOOLONG:
            return QStringLiteral("слишком длинное имя файла");
        case ENOMEM:
            return QStringLiteral("недостаточно памяти");
        case EIO:
            return QStringLiteral("ошибка ввода-вывода");
        case EISDIR:
            return QStringLiteral("это папка, а не файл");
        case EEXIST:
            return QStringLiteral("файл с таким именем уже существует");
        case ELOOP:
            return QStringLiteral("слишком много символических ссылок в пути");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("открыто слишком много файлов");
        case EFBIG:
            return QStringLiteral("файл слишком велик");
        case EBUSY:
        case ETXTBSY:
            return QStringLiteral("файл занят");
        case EPIPE:
            return QStringLiteral("канал закрыт читающей стороной");
        case EBADF:
            return QStringLiteral("поток закрыт");
        default:
            return QStringLiteral("системная ошибка %1").arg(error);
    }
}

// Reading a logger file, writing a report.
inline QString FileReadFailed(const QString& path, const QString& reason) {
    return QStringLiteral("Ошибка чтения файла %1: %2").arg(files::DisplayFileName(path), reason);
}
inline QString FileWriteFailed(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл «%1»: %2")
        .arg(files::DisplayFileName(path), reason);
}

// Failures that are no one's input: memory, and faults of the program itself.
inline const QString OutOfMemory = QStringLiteral("Недостаточно памяти для этой операции.");
inline const QString InternalError = QStringLiteral("Внутренняя ошибка программы.");

// The statistics section and `qorv-pr-report stats`.
namespace statistics {
inline const QString Heading = QStringLiteral("Статистика");
inline const QString NoData = QStringLiteral("Нет данных");
inline QString Channel(int number, const QString& name) {
    return QStringLiteral("%1 - Канал - %2").arg(number).arg(name);
}
inline QString Samples(qsizetype n) {
    return QStringLiteral("Число отсчётов: %1").arg(n);
}
inline QString Period(const QString& first, const QString& last) {
    return QStringLiteral("Первый отсчёт: %1, последний отсчёт: %2").arg(first, last);
}
inline QString Minimum(const QString& value, const QString& time) {
    return QStringLiteral("Минимальное значение: %1 (%2)").arg(value, time);
}
inline QString Maximum(const QString& value, const QString& time) {
    return QStringLiteral("Максимальное значение: %1 (%2)").arg(value, time);
}
inline QString Mean(const QString& value) {
    return QStringLiteral("Среднее значение: %1").arg(value);
}
inline QString StandardDeviation(const QString& value) {
    return QStringLiteral("Среднеквадратическое отклонение: %1").arg(value);
}
inline QString MeanKineticTemperature(const QString& deltaH, const QString& value) {
    return QStringLiteral("Средняя кинетическая температура (ΔH = %1 кДж/моль): %2 °C")
        .arg(deltaH, value);
}
inline QString AboveUpper(const QString& limit, qsizetype n, const QString& duration) {
    return QStringLiteral("Выше верхнего предела %1: %2 отсч., %3").arg(limit).arg(n).arg(duration);
}
inline QString BelowLower(const QString& limit, qsizetype n, const QString& duration) {
    return QStringLiteral("Ниже нижнего предела %1: %2 отсч., %3").arg(limit).arg(n).arg(duration);
}
inline QString LongestExcursion(const QString& duration, const QString& start) {
    return QStringLiteral("Наибольший непрерывный выход за пределы: %1, начало %2")
        .arg(duration, start);
}
inline const QString NoExcursion = QStringLiteral("Выходов за пределы нет");
inline QString ReversedLimits(const QString& upper, const QString& lower) {
    return QStringLiteral(
               "Пределы не учтены: верхний предел %1 не выше нижнего %2 (файл повреждён?)")
        .arg(upper, lower);
}
inline QString NoMeanKineticTemperature(const QString& deltaH, const QString& absoluteZero) {
    return QStringLiteral(
               "Средняя кинетическая температура (ΔH = %1 кДж/моль): не определена, "
               "есть температура не выше %2 °C")
        .arg(deltaH, absoluteZero);
}
inline QString NonIncreasingTimes(qsizetype n) {
    return QStringLiteral(
               "Время отсчётов не возрастает: %1 раз; эти промежутки не учтены в "
               "интервале и длительностях")
        .arg(n);
}
inline const QString UnknownDuration = QStringLiteral("время неизвестно");
inline QString Switches(qsizetype n) {
    return QStringLiteral("Число переключений: %1").arg(n);
}
inline QString TimeOn(const QString& duration) {
    return QStringLiteral("Время в состоянии «Есть»: %1").arg(duration);
}
inline QString TimeOff(const QString& duration) {
    return QStringLiteral("Время в состоянии «Нет»: %1").arg(duration);
}
inline const QString Days = QStringLiteral("сут");
inline const QString Hours = QStringLiteral("ч");
inline const QString Minutes = QStringLiteral("мин");
inline const QString Seconds = QStringLiteral("с");
}  // namespace statistics

// A mapping study that is not made, and the file that stops it.
namespace mapping {
inline QString NotMadeBecause(const QString& reason) {
    return QStringLiteral("Картирование не построено. ") + reason;
}
inline const QString NoFiles =
    QStringLiteral("Картирование не построено. Не выбраны файлы логгеров.");
inline const QString ReversedRange =
    QStringLiteral("Картирование не построено. Нижняя граница диапазона приёмки не ниже верхней.");
// A file that could not be read or whose samples do not read: the load's or the run's message.
inline QString FileFailed(const QString& path, const QString& reason) {
    return NotMadeBecause(
        QStringLiteral("Файл «%1»: %2").arg(files::DisplayFileName(path), reason));
}
inline QString NoTemperature(const QString& path) {
    return NotMadeBecause(
        QStringLiteral("В файле «%1» нет отсчётов температуры.").arg(files::DisplayFileName(path)));
}
// `path` is the logger that has no time in common with the others, `other` one of those.
inline QString NoCommonTime(const QString& path, const QString& span, const QString& other,
                            const QString& otherSpan) {
    return NotMadeBecause(
        QStringLiteral("Логгер файла «%1» (%2) не записывал одновременно с логгером файла «%3» "
                       "(%4): у логгеров нет общего времени.")
            .arg(files::DisplayFileName(path), span, files::DisplayFileName(other), otherSpan));
}
inline QString SingleMoment(const QString& path, const QString& time) {
    return NotMadeBecause(
        QStringLiteral("В файле «%1» температура записана только в один момент (%2).")
            .arg(files::DisplayFileName(path), time));
}
inline QString PeriodOutsideCommonTime(const QString& period, const QString& common) {
    return NotMadeBecause(
        QStringLiteral("Заданный период (%1) не пересекается со временем, когда записывали все "
                       "логгеры (%2).")
            .arg(period, common));
}
inline QString NoSamplesInPeriod(const QString& path, const QString& period) {
    return NotMadeBecause(
        QStringLiteral("В файле «%1» нет отсчётов температуры за период исследования (%2).")
            .arg(files::DisplayFileName(path), period));
}
// A span of time in the messages above: "01/02/2015 10:00:00 – 03/02/2015 18:00:00".
inline QString Span(const QString& first, const QString& last) {
    return QStringLiteral("%1 – %2").arg(first, last);
}
}  // namespace mapping

// The chart's limit lines and their block on the chart-data sheet.
namespace limits {
inline const QString Time = QStringLiteral("Время");
inline const QString Upper = QStringLiteral("Верхний предел");
inline const QString Lower = QStringLiteral("Нижний предел");
// A line's name in a chart showing the lines of both channels.
inline QString OfChannel(const QString& line, const QString& channel) {
    return QStringLiteral("%1 (%2)").arg(line, channel);
}
}  // namespace limits

// The mapping study's workbook.
namespace mapping {
inline const QString SummarySheet = QStringLiteral("Сводка");
inline const QString ChartSheet = QStringLiteral("График");
inline const QString DataSheet = QStringLiteral("Данные");
inline const QString FilePrefix = QStringLiteral("Картирование-");
inline const QString Title = QStringLiteral("Протокол картирования температуры");
inline const QString Subtitle = QStringLiteral("Сводка по местам установки логгеров");
inline const QString PeriodStart = QStringLiteral("Начало периода исследования");
inline const QString PeriodEnd = QStringLiteral("Конец периода исследования");
inline const QString PeriodLength = QStringLiteral("Продолжительность");
inline const QString RangeLow = QStringLiteral("Нижняя граница диапазона, °C");
inline const QString RangeHigh = QStringLiteral("Верхняя граница диапазона, °C");
inline const QString RangeFrom = QStringLiteral("Диапазон приёмки");
inline const QString RangeFromOptions = QStringLiteral("задан в параметрах исследования");
inline const QString RangeFromLoggers =
    QStringLiteral("пределы логгеров (одинаковы во всех файлах)");
inline const QString RangeNone = QStringLiteral("не задан");
inline const QString Loggers = QStringLiteral("Число логгеров");
inline const QString Samples = QStringLiteral("Число отсчётов");
// The table's column headings.
inline const QStringList TableHeadings = {QStringLiteral("№"),
                                          QStringLiteral("Номер устройства"),
                                          QStringLiteral("Место установки"),
                                          QStringLiteral("Отсчётов"),
                                          QStringLiteral("Мин., °C"),
                                          QStringLiteral("Время минимума"),
                                          QStringLiteral("Макс., °C"),
                                          QStringLiteral("Время максимума"),
                                          QStringLiteral("Сред., °C"),
                                          QStringLiteral("СКО, °C"),
                                          QStringLiteral("СКТ, °C"),
                                          QStringLiteral("Ниже диапазона"),
                                          QStringLiteral("Выше диапазона"),
                                          QStringLiteral("В диапазоне"),
                                          QStringLiteral("Отметка")};
inline const QString Yes = QStringLiteral("да");
inline const QString No = QStringLiteral("нет");
inline const QString NotApplicable = QStringLiteral("—");
// Marks of the warmest (↑) and the coldest (↓) place, and what they mean.
inline const QString WarmestByMaximumMark = QStringLiteral("макс.↑");
inline const QString WarmestByMeanMark = QStringLiteral("ср.↑");
inline const QString ColdestByMinimumMark = QStringLiteral("мин.↓");
inline const QString ColdestByMeanMark = QStringLiteral("ср.↓");
inline const QString MarksExplained = QStringLiteral(
    "↑ — самое тёплое место, ↓ — самое холодное: по максимуму (макс.), минимуму (мин.), "
    "среднему (ср.); СКО — среднеквадратическое отклонение, СКТ — средняя кинетическая "
    "температура");
inline const QString WarmestByMaximum = QStringLiteral("Самое тёплое место (наибольший максимум)");
inline const QString WarmestByMean = QStringLiteral("Самое тёплое место (наибольшее среднее)");
inline const QString ColdestByMinimum = QStringLiteral("Самое холодное место (наименьший минимум)");
inline const QString ColdestByMean = QStringLiteral("Самое холодное место (наименьшее среднее)");
inline const QString StudyMinimum = QStringLiteral("Минимум по всем логгерам, °C");
inline const QString StudyMaximum = QStringLiteral("Максимум по всем логгерам, °C");
inline const QString StudyMean = QStringLiteral("Среднее по всем логгерам, °C");
inline const QString LargestDifference =
    QStringLiteral("Наибольшая разница между местами в один момент, °C");
inline const QString DifferenceWarmer = QStringLiteral("В этот момент теплее всего");
inline const QString DifferenceColder = QStringLiteral("В этот момент холоднее всего");
inline const QString NoDifference = QStringLiteral("нет шага, где есть отсчёты двух логгеров");
inline const QString ComparisonStep = QStringLiteral("Шаг сравнения мест");
// A logger as the legend and the headings name it.
inline QString LoggerName(const QString& device, const QString& place) {
    return device.isEmpty() ? place : QStringLiteral("%1 — %2").arg(device, place);
}
inline const QString Time = QStringLiteral("Время");
inline const QString Temperature = QStringLiteral("Температура, °C");
inline const QString Humidity = QStringLiteral("Влажность, %");
inline const QString TemperatureChart = QStringLiteral("Температура по местам установки, °C");
inline const QString HumidityChart = QStringLiteral("Влажность по местам установки, %");
inline const QString RangeLowLine = QStringLiteral("Нижняя граница диапазона");
inline const QString RangeHighLine = QStringLiteral("Верхняя граница диапазона");
}  // namespace mapping

}  // namespace qorv::messages

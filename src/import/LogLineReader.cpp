#include "import/LogLineReader.h"

#include "import/LoadListener.h"

#include <algorithm>
#include <array>

namespace qorv {

namespace {

// Line beginnings the reader recognises. Matching is case-sensitive and at the first character.
namespace kw {
constexpr QStringView RateShort = u"Частота отсч";
constexpr QStringView RateRegistration = u"Частота регистрации";
constexpr QStringView Device = u"Устройство -";
constexpr QStringView DataSaved = u"Данные сохранены";
constexpr QStringView DataReadOut = u"Данные считаны:";
constexpr QStringView Label = u"Ярлык";
constexpr QStringView TempValues = u"Значения температуры";
constexpr QStringView MeasuredValues = u"Значения измеренных величин";
constexpr QStringView TempChannel = u"Канал температуры";
constexpr QStringView DataChannel = u"Канал данных";
constexpr QStringView TempUpper = u"Верхний температурный предел:";
constexpr QStringView TempLowerTwoBlanks = u"Нижний  температурный предел:";
constexpr QStringView TempLower = u"Нижний температурный предел:";
constexpr QStringView TempExcursions = u"Выходы за температурные пределы";
constexpr QStringView DataUpper = u"Верхний предел канала данных:";
constexpr QStringView DataLower = u"Нижний предел канала данных:";
constexpr QStringView DataExcursions = u"Выходы за пределы канала данных:";

// Lines that go to the summary rows, besides "Частота регистрации", in the order they are tried.
constexpr std::array<QStringView, 11> OtherSummary = {
    u"Данные сохранены",
    u"Состояние устройства",
    u"Условия начала измерений",
    u"Кольцевой буфер",
    u"Превышения кольцевого буфера",
    u"Первый отсчёт",
    u"Задержка",
    u"Отсчётов в данной сессии",
    u"Всего измерений",
    u"Текущее время Устройства",
    u"Частота отсчётов",
};

// Every line beginning above starts with a capital Cyrillic letter, while sample lines start
// with a blank or a digit. Checking the first character lets the bulk of a file, its samples,
// skip some twenty prefix comparisons each.
constexpr bool IsCapitalCyrillic(QChar c) {
    return c.unicode() >= 0x0410 && c.unicode() <= 0x042F;
}

constexpr bool AllStartCapitalCyrillic() {
    for (QStringView k :
         {RateShort, RateRegistration, Device, DataSaved, DataReadOut, Label, TempValues,
          MeasuredValues, TempChannel, DataChannel, TempUpper, TempLowerTwoBlanks, TempLower,
          TempExcursions, DataUpper, DataLower, DataExcursions}) {
        if (!IsCapitalCyrillic(k.front())) {
            return false;
        }
    }
    for (QStringView k : OtherSummary) {
        if (!IsCapitalCyrillic(k.front())) {
            return false;
        }
    }
    return true;
}
static_assert(AllStartCapitalCyrillic(), "the keyword pre-check relies on this");
}  // namespace kw

constexpr QStringView kAbsent = u"отсутствует";
constexpr QStringView kEventOn = u"(Есть)";
constexpr QStringView kEventOff = u"(Нет)";
constexpr QStringView kCelsius = u"°C";
constexpr QStringView kEmptyUnit = u"()";

bool HasEventValue(QStringView line) {
    return line.contains(u'(') && (line.contains(kEventOff) || line.contains(kEventOn));
}

}  // namespace

LogLineReader::LogLineReader(LogData& data, LoadSummary& summary, LoadListener* listener)
    : data_(data), summary_(summary), listener_(listener) {}

void LogLineReader::prepare(const QString& fileName) {
    // The window first takes the date and time conventions, resets the report options and the
    // chart settings and clears its display.
    if (listener_) {
        listener_->prepareForLoad();
    }
    data_.DeviceKind = QStringLiteral("XX");
    data_.SourceFileName = fileName;

    data_.StatusRows = QStringList();
    data_.LabelRows = QStringList();
    data_.SampleRows = TextColumn();
    data_.SampleLineNumbers = LineNumbers();
    lineNumber_ = 0;

    summary_.LimitRows.fill(QStringLiteral("NO"));
    data_.TempChannelHeader = QStringLiteral("NO");
    data_.DataChannelHeader = QStringLiteral("NO");
    data_.HasEvents = QStringLiteral("NO");
    data_.DataSeriesKind = QStringLiteral("NO");
    data_.TempChannelState = QStringLiteral("OK");
    data_.DataChannelState = QStringLiteral("OK");
    celsiusCounted_ = false;
    summary_.CelsiusCount = 0;

    // What the window cleared: the summary text, the channel 2 name field ("Данные" before every
    // read) and the range fields; the dates are set anew once the last line is in.
    summary_.SummaryRows = QStringList();
    summary_.Channel2Name = QStringLiteral("Данные");
    summary_.SampleDates = QStringList();
    summary_.FirstTime = {};
    summary_.LastTime = {};
    data_.FirstDate.clear();
    data_.LastDate.clear();
    sampleDates_ = QStringList();
    seenDates_ = QSet<QString>();

    if (listener_) {
        listener_->fileNameShown(fileName);
    }
    section_ = ReaderSection::Start;
}

void LogLineReader::expectFileSize(qint64 bytes) {
    // Past a quarter of a gigabyte the lines grow as they come, rather than holding room that
    // much text may never need.
    constexpr qint64 kLargestRoom = qint64(256) << 20;
    constexpr qint64 kShortestLine = 24;  // bytes of the shortest usual sample line
    const qint64 characters = std::clamp<qint64>(bytes, 0, kLargestRoom);
    data_.SampleRows.reserve(characters / kShortestLine, characters);
}

void LogLineReader::readLine(QStringView line) {
    ++lineNumber_;
    const bool mayBeKeyword = !line.isEmpty() && kw::IsCapitalCyrillic(line.front());

    if (mayBeKeyword) {
        if (line.startsWith(kw::RateShort)) {
            data_.RateText = line.toString();
        }
        takeSummaryRows(line);
        if (line.startsWith(kw::Device)) {
            if (line.contains(u"DS1921") && !line.contains(u"Qorv")) {
                data_.DeviceKind = QStringLiteral("21");
            }
            takeDeviceLine(line);
        }
        if (line.startsWith(kw::DataSaved)) {
            section_ = ReaderSection::Status;
        }
        if (data_.isDs1921() && line.startsWith(kw::DataReadOut)) {
            section_ = ReaderSection::ReadOut;
        }
    }

    if (section_ == ReaderSection::Label && !line.isEmpty()) {
        data_.LabelRows.append(line.toString());
    }
    if (section_ == ReaderSection::Values && !line.isEmpty()) {
        takeSampleLine(line);
    }

    if (mayBeKeyword) {
        if (line.startsWith(kw::Label)) {
            section_ = ReaderSection::Label;
        }
        // A device line above may just have made this a DS1921 file.
        if (data_.isDs1921()) {
            if (line.startsWith(kw::DataReadOut)) {
                section_ = ReaderSection::ReadOut;
            }
            takeDs1921LimitLines(line);
            if (line.startsWith(kw::TempValues)) {
                section_ = ReaderSection::Values;
            }
        } else if (line.startsWith(kw::MeasuredValues)) {
            section_ = ReaderSection::Values;
        }
    }

    if (section_ != ReaderSection::Status) {
        return;
    }
    if (!line.isEmpty()) {
        data_.StatusRows.append(line.toString());
    }
    if (mayBeKeyword) {
        takeStatusLine(line);
    }
}

void LogLineReader::takeSummaryRows(QStringView line) {
    auto append = [this](QStringView row) {
        summary_.SummaryRows.append(row.toString());
        if (listener_) {
            listener_->summaryRowAppended(summary_.SummaryRows.constLast());
        }
    };
    if (line.startsWith(kw::RateRegistration)) {
        data_.RateText = line.toString();
        append(line);
    }
    for (QStringView keyword : kw::OtherSummary) {
        if (line.startsWith(keyword)) {
            append(line);
        }
    }
}

void LogLineReader::takeDeviceLine(QStringView line) {
    data_.DeviceHeader = line.toString();
    data_.DeviceNumber = DeviceNumberOf(line);
    QString title = line.toString();
    title.replace(kw::Device.toString(), QStringLiteral("Qorv_Pr –"), Qt::CaseInsensitive);
    summary_.WindowTitle = title;
    if (listener_) {
        listener_->windowTitleChanged(title);
    }
}

void LogLineReader::takeSampleLine(QStringView line) {
    const bool events = HasEventValue(line);
    if (events) {
        data_.DataSeriesKind = QStringLiteral("XXX");
    }
    if (!celsiusCounted_) {
        summary_.CelsiusCount = static_cast<int>(line.count(kCelsius));
        celsiusCounted_ = true;
    }
    data_.SampleRows.append(line);
    data_.SampleLineNumbers.append(lineNumber_);
    if (data_.SampleRows.size() == 1) {
        if (events) {
            setChannel2Name(QStringLiteral("Событие"));
        }
        if (line.contains(u'%')) {
            setChannel2Name(QStringLiteral("Влажность"));
        }
    }
    if (events) {
        data_.HasEvents = QStringLiteral("true");
    }
    takeSampleDate(line);
}

void LogLineReader::takeSampleDate(QStringView line) {
    char16_t date[11];
    qsizetype size = 0;
    for (QChar c : line.left(11)) {
        if (c != u' ') {
            date[size++] = c.unicode();
        }
    }
    const QStringView view(date, size);
    // Samples come in time order, so most lines repeat the date just taken.
    if (!sampleDates_.isEmpty() && sampleDates_.constLast() == view) {
        return;
    }
    QString text = view.toString();
    if (seenDates_.contains(text)) {
        return;
    }
    seenDates_.insert(text);
    sampleDates_.append(std::move(text));
}

void LogLineReader::takeDs1921LimitLines(QStringView line) {
    if (line.startsWith(kw::TempLowerTwoBlanks)) {
        summary_.LimitRows[LoadSummary::TempLower] = line.toString();
    }
    if (line.startsWith(kw::TempUpper)) {
        summary_.LimitRows[LoadSummary::TempUpper] = line.toString();
    }
    if (line.startsWith(kw::TempExcursions)) {
        summary_.LimitRows[LoadSummary::TempExcursions] = line.toString();
    }
}

void LogLineReader::takeStatusLine(QStringView line) {
    if (line.startsWith(kw::DataChannel)) {
        if (line.contains(kAbsent)) {
            data_.DataChannelState = QStringLiteral("NO");
        } else {
            data_.DataChannelHeader = line.toString();
        }
    }
    auto& limits = summary_.LimitRows;
    if (line.startsWith(kw::TempUpper)) {
        limits[LoadSummary::TempUpper] = line.toString();
    }
    if (line.startsWith(kw::TempLowerTwoBlanks) || line.startsWith(kw::TempLower)) {
        limits[LoadSummary::TempLower] = line.toString();
    }
    if (line.startsWith(kw::TempExcursions)) {
        limits[LoadSummary::TempExcursions] = line.toString();
    }
    if (line.startsWith(kw::TempChannel)) {
        if (line.contains(kAbsent)) {
            data_.TempChannelState = QStringLiteral("NO");
        } else {
            data_.TempChannelHeader = line.toString();
        }
    }
    if (line.startsWith(kw::DataUpper)) {
        limits[LoadSummary::DataUpper] = line.toString();
    }
    if (line.startsWith(kw::DataLower)) {
        limits[LoadSummary::DataLower] = line.toString();
    }
    if (line.startsWith(kw::DataExcursions)) {
        limits[LoadSummary::DataExcursions] = line.toString();
    }
}

void LogLineReader::setChannel2Name(const QString& name) {
    if (summary_.Channel2Name == name) {
        return;
    }
    summary_.Channel2Name = name;
    if (listener_) {
        listener_->channel2NameChanged(name);
    }
}

void LogLineReader::finish() {
    const bool ds1921 = data_.isDs1921();
    if (ds1921) {
        data_.DataChannelState = QStringLiteral("NO");
    }
    makeDataChannelCaption();

    summary_.SampleDates = std::move(sampleDates_);
    sampleDates_ = QStringList();
    seenDates_ = QSet<QString>();
    data_.FirstDate = summary_.SampleDates.isEmpty() ? QString() : summary_.SampleDates.first();
    data_.LastDate = summary_.SampleDates.isEmpty() ? QString() : summary_.SampleDates.last();

    // Without samples the times are empty, except a DS1921's seconds, which are always "00".
    const QString first = data_.SampleRows.copyAt(0);
    const QString last = data_.SampleRows.copyAt(data_.SampleRows.size() - 1);
    summary_.FirstTime = SampleTime(first, ds1921);
    summary_.LastTime = SampleTime(last, ds1921);

    settleDataSeriesKind();
}

void LogLineReader::makeDataChannelCaption() {
    const QString& header = data_.DataChannelHeader;
    if (header == u"NO") {
        return;  // no data channel header: the window keeps its caption
    }
    if (!header.contains(kEmptyUnit)) {
        data_.DataChannelCaption = header;
        return;
    }
    // "()" is where the unit goes; the samples tell which unit it is. Only such a header takes
    // a unit from the samples, and only then is channel 2 renamed to a temperature.
    QString caption = header;
    if (data_.DataSeriesKind == u"XXX") {
        caption = QString(header).replace(kEmptyUnit.toString(), QStringLiteral("(Есть/Нет)"));
    }
    if (!data_.SampleRows.isEmpty()) {
        const QString firstSample = data_.SampleRows.copyAt(0);
        bool secondTemperature = false;
        if (!data_.hasTemperatureChannel()) {
            secondTemperature = firstSample.contains(kCelsius);
        } else {
            // Channel 1 takes the first "°C"; another one belongs to channel 2.
            const qsizetype at = firstSample.indexOf(kCelsius);
            secondTemperature = at >= 0 && QString(firstSample).remove(at, 2).contains(kCelsius);
        }
        if (secondTemperature) {
            caption = QString(header).replace(kEmptyUnit.toString(), QStringLiteral("(°C)"));
            setChannel2Name(QStringLiteral("Темпер."));
        }
    }
    data_.DataChannelCaption = caption;
}

void LogLineReader::settleDataSeriesKind() {
    if (summary_.CelsiusCount == 0 && !data_.hasTemperatureChannel()) {
        data_.DataSeriesKind =
            data_.DataSeriesKind == u"XXX" ? QStringLiteral("NO") : QStringLiteral("OK");
    }
}

std::array<QString, 3> SampleTime(QStringView sampleLine, bool ds1921) {
    // A line without " - " is taken whole.
    const qsizetype separator = sampleLine.indexOf(u" - ");
    const QStringView dateAndTime = separator < 0 ? sampleLine : sampleLine.left(separator);
    // Dropping the first character removes the optional leading blank, so the first blank left
    // is the one between date and time. Without a blank there is no time: all texts are empty.
    const QStringView rest = dateAndTime.mid(1);
    const qsizetype blank = rest.indexOf(u' ');
    const QStringView time = blank < 0 ? QStringView() : rest.mid(blank + 1);
    return {time.mid(0, 2).toString(), time.mid(3, 2).toString(),
            ds1921 ? QStringLiteral("00") : time.mid(6, 2).toString()};
}

QString DeviceNumberOf(QStringView deviceLine) {
    constexpr qsizetype kFrom = 13;  // the 14th character: just after "Устройство - "
    // The number ends at the line's first double blank. When that stands before the 14th
    // character's end (two blanks right after "Устройство -") or there is none, the number
    // counts as empty and, like an empty one, becomes the 16 characters from the 14th.
    const qsizetype end = deviceLine.indexOf(u"  ");
    QStringView number = end <= kFrom ? QStringView() : deviceLine.mid(kFrom, end - kFrom);
    if (number.isEmpty()) {
        number = deviceLine.mid(kFrom, 16);
    }
    return number.toString();
}

}  // namespace qorv

#include "report/SampleConversion.h"

#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/NumberText.h"
#include "report/ReportError.h"
#include "report/SideBySide.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>

namespace qorv {

namespace {

// Where " - ", the separator of a sample line's time from its values, first stands; -1 when
// nowhere: the first dash with a blank on each side, found by a search for the dash alone.
qsizetype FindSeparator(QStringView line) {
    for (qsizetype dash = line.indexOf(u'-', 1); dash > 0 && dash + 1 < line.size();
         dash = line.indexOf(u'-', dash + 1)) {
        if (line[dash - 1] == u' ' && line[dash + 1] == u' ') {
            return dash - 1;
        }
    }
    return -1;
}

// The gas constant in J/(mol·K), 0 °C in K, and the ten-decimal e the report has always used.
constexpr long double kGasConstant = 8.314472L;
constexpr long double kZeroCelsius = 273.15L;
constexpr long double kTenDigitE = 2.7182818284L;

bool startsWithNumber(QStringView v) {
    if (v.isEmpty()) {
        return false;
    }
    if (v[0].isDigit() && v[0].unicode() < 128) {
        return true;
    }
    return v.size() > 1 && v[0] == '-' && v[1] >= '0' && v[1] <= '9';
}

// Sample i's value text read as a number, as ReadSampleValue reads it; the sample's line is
// looked up only for the message when the text does not read.
long double readValue(QStringView text, const SampleColumns& columns, qsizetype i) {
    if (const auto value = TryReadNumber(text)) {
        return *value;
    }
    return ReadSampleValue(text.toString(), columns.sourceOf(i));
}

// Replaces each non-empty entry of `column` by first(entry, i), then second(that text, i), in
// one pass; empty entries stay. Either conversion may be missing. The texts are those of
// `first` over the whole column followed by `second` over its result, without the column in
// between; so are the failures: a failure of `first` at any entry is the one met, and one of
// `second` (or `secondFailure`, its making's) counts only when `first` converted every entry.
// The column is replaced only when both succeed.
ConversionFailures convertInOnePass(TextColumn& column, const ValueConversion& first,
                                    const ValueConversion& second,
                                    std::exception_ptr secondFailure) {
    ConversionFailures failures{nullptr, std::move(secondFailure)};
    if (!first && (!second || failures.second)) {
        return failures;
    }
    TextColumn replaced;
    // Room for the usual value text (12 places after the point, a few before): a column whose
    // entries grow by their conversion does not move as it fills.
    replaced.reserve(column.size(), std::max(column.characters(), column.size() * 16));
    TextColumn::Reader read(column);
    QString text;
    for (qsizetype i = 0; i < column.size(); ++i) {
        const QStringView entry = read[i];
        if (entry.isEmpty()) {
            replaced.append(entry);
            continue;
        }
        try {
            text = first ? first(entry, i) : entry.toString();
        } catch (...) {
            return {std::current_exception(), nullptr};
        }
        if (second && !failures.second) {
            try {
                text = second(text, i);
            } catch (...) {
                failures.second = std::current_exception();
                if (!first) {
                    return failures;
                }
            }
        }
        replaced.append(text);
    }
    if (!failures.second) {
        column = std::move(replaced);
    }
    return failures;
}

// Makes a conversion; its failure (a field that does not read) is kept rather than thrown.
ValueConversion makeConversion(const std::function<ValueConversion()>& make,
                               std::exception_ptr& failure) {
    try {
        return make ? make() : ValueConversion();
    } catch (...) {
        failure = std::current_exception();
        return ValueConversion();
    }
}

// Replaces each non-empty entry of `column` by conversion(entry, i); a failure is thrown.
void convert(TextColumn& column, const ValueConversion& conversion) {
    const ConversionFailures failures = convertInOnePass(column, conversion, {}, nullptr);
    if (failures.first) {
        std::rethrow_exception(failures.first);
    }
}

// The conversion x·factor + offset of a channel's values; none for a channel without values.
ValueConversion correction(const SampleColumns& columns, const TextColumn& column,
                           const QString& factorText, const char* factorField,
                           const QString& offsetText, const char* offsetField) {
    if (column.isEmpty()) {
        return {};
    }
    const long double factor = ReadFieldValue(factorText.trimmed(), factorField);
    const long double offset = ReadFieldValue(offsetText.trimmed(), offsetField);
    return [&columns, factor, offset](QStringView entry, qsizetype i) {
        const long double x = readValue(entry.trimmed(), columns, i);
        return ValueText(static_cast<double>(CorrectedValue(x, factor, offset)));
    };
}

}  // namespace

long double ReadSampleValue(const QString& text, const SampleSource& source) {
    if (const auto value = TryReadNumber(text)) {
        return *value;
    }
    throw ConversionError(messages::SampleValueError(text.trimmed(), source.number, source.text),
                          text);
}

long double ReadFieldValue(const QString& text, const char* field) {
    if (const auto value = TryReadNumber(text)) {
        return *value;
    }
    throw ConversionError(messages::FieldValueError(QString::fromUtf8(field), text), text);
}

SampleLines SelectSamplesByRange(const SampleLines& samples, const QDateTime& start,
                                 const QDateTime& end) {
    // Each line's time is read and tested on the cores a piece at a time; the first line that
    // does not read is the one reported, as when the lines are read in turn.
    const qsizetype count = samples.texts.size();
    std::vector<char> inRange(static_cast<std::size_t>(count));
    RunOverPieces(count, [&](qsizetype first, qsizetype last) {
        TextColumn::Reader read(samples.texts);
        for (qsizetype i = first; i < last; ++i) {
            const QStringView line = read[i];
            const qsizetype p = FindSeparator(line);
            if (p < 0) {
                const QString text = line.toString();
                throw ConversionError(
                    messages::SampleWithoutSeparator(samples.numbers.value(i), text), text);
            }
            const QStringView timeText = line.left(p).trimmed();
            const auto time = TryReadDateTime(timeText);
            if (!time) {
                const QString shown = timeText.toString();
                throw ConversionError(
                    messages::SampleTimeError(shown, samples.numbers.value(i), line.toString()),
                    shown);
            }
            inRange[static_cast<std::size_t>(i)] = start <= *time && *time <= end;
        }
    });
    if (std::all_of(inRange.begin(), inRange.end(), [](char in) { return in != 0; })) {
        return samples;  // every line: the lines themselves, shared
    }
    SampleLines selected;
    TextColumn::Reader read(samples.texts);
    for (qsizetype i = 0; i < count; ++i) {
        if (inRange[static_cast<std::size_t>(i)]) {
            selected.texts << read[i];
            selected.numbers << samples.numbers.value(i);
        }
    }
    return selected;
}

std::optional<SampleLineParts> SplitSampleLine(QStringView line, bool hasTemperatureChannel) {
    const qsizetype p = FindSeparator(line);
    if (p < 0) {
        return std::nullopt;
    }
    SampleLineParts parts;
    parts.time = line.left(p).trimmed();
    QStringView v = line.mid(p + 2).trimmed();
    if (hasTemperatureChannel) {
        const qsizetype q = v.indexOf(QChar(' '));
        // The first value with its trailing blank; empty when no blank follows it.
        if (q >= 0) {
            parts.channel1 = v.left(q + 1);
            v = v.mid(q);
        }
    }
    while (!v.isEmpty() && !startsWithNumber(v)) {
        v = v.mid(1);
    }
    if (!v.isEmpty()) {
        const qsizetype blank = v.indexOf(QChar(' '));
        parts.channel2 = blank < 0 ? v : v.left(blank).trimmed();
    }
    return parts;
}

namespace {

// Splits selected line i, read through `read`; a line without " - " ends the run with a message
// naming it. The parts are views into what `read` read.
SampleLineParts splitSelected(const SampleLines& selected, TextColumn::Reader& read, qsizetype i,
                              bool hasTemperatureChannel) {
    const QStringView line = read[i];
    const auto parts = SplitSampleLine(line, hasTemperatureChannel);
    if (!parts) {
        const QString text = line.toString();
        throw ConversionError(messages::SampleWithoutSeparator(selected.numbers.value(i), text),
                              text);
    }
    return *parts;
}

}  // namespace

QString SampleColumns::timeText(qsizetype i) const {
    return TimeTextReader(*this)[i].toString();
}

QStringView TimeTextReader::operator[](qsizetype i) {
    if (timesHeld_) {
        return times_[i];
    }
    const QStringView line = lines_[i];
    const qsizetype p = FindSeparator(line);
    const QStringView time = (p < 0 ? line : line.left(p)).trimmed();
    buffer_.resize(time.size());
    std::transform(time.begin(), time.end(), buffer_.begin(),
                   [&](QChar ch) { return ch == '/' || ch == '.' ? separator_ : ch; });
    return buffer_;
}

void KeepTimesOnly(SampleColumns& columns) {
    TextColumn times = std::move(columns.Lines.texts);
    columns.Lines = SampleLines();
    if (!TextColumn::fitsNarrow(QStringView(&columns.dateSeparator, 1))) {
        times.widen();
    }
    // The time of a line: the text before its first " - ", trimmed, which TimeTextReader reads.
    times.keepStretches(
        [](QStringView line) {
            const qsizetype p = FindSeparator(line);
            const QStringView time = p < 0 ? line : line.left(p);
            const QStringView trimmed = time.trimmed();
            return std::pair(trimmed.isEmpty() ? 0 : qsizetype(trimmed.data() - line.data()),
                             trimmed.size());
        },
        [separator = columns.dateSeparator](QChar c) {
            return c == '/' || c == '.' ? separator : c;
        });
    columns.Times = std::move(times);
}

SampleColumns SplitSamples(const SampleLines& selected, bool hasTemperatureChannel) {
    const qsizetype count = selected.texts.size();
    const QChar dateSeparator = FormatSettings::instance().dateSeparator();
    // Two passes over the lines on the cores, a piece at a time: the first checks each line and
    // measures its values, the second writes them in their places in columns made to the
    // measure. The time texts stay in the lines.
    QList<quint32> channel1Lengths(hasTemperatureChannel ? count : 0);
    QList<quint32> channel2Lengths(count);
    // Whether any channel-2 value is there, and whether a column needs characters wider than
    // eight bits.
    std::atomic<bool> anyChannel2 = false;
    std::atomic<bool> wideChannel1 = false;
    std::atomic<bool> wideChannel2 = false;
    RunOverPieces(count, [&](qsizetype first, qsizetype last) {
        TextColumn::Reader read(selected.texts);
        bool any = false;
        bool wide[2] = {false, false};
        for (qsizetype i = first; i < last; ++i) {
            const SampleLineParts parts = splitSelected(selected, read, i, hasTemperatureChannel);
            // A part is no longer than its line, whose length the column of lines holds.
            if (hasTemperatureChannel) {
                channel1Lengths[i] = quint32(parts.channel1.size());
            }
            channel2Lengths[i] = quint32(parts.channel2.size());
            any = any || !parts.channel2.isEmpty();
            if (read.wide()) {
                wide[0] = wide[0] || !TextColumn::fitsNarrow(parts.channel1);
                wide[1] = wide[1] || !TextColumn::fitsNarrow(parts.channel2);
            }
        }
        anyChannel2 = anyChannel2 || any;
        wideChannel1 = wideChannel1 || wide[0];
        wideChannel2 = wideChannel2 || wide[1];
    });
    SampleColumns c;
    c.Lines = selected;
    c.dateSeparator = dateSeparator;
    c.Channel1Texts = TextColumn::ofLengths(std::move(channel1Lengths), wideChannel1);
    if (anyChannel2) {
        c.Channel2Texts = TextColumn::ofLengths(std::move(channel2Lengths), wideChannel2);
    }
    channel2Lengths = QList<quint32>();
    if (!hasTemperatureChannel && !anyChannel2) {
        return c;
    }
    const TextColumn::Writer channel1 = c.Channel1Texts.writer();
    const TextColumn::Writer channel2 = c.Channel2Texts.writer();
    RunOverPieces(count, [&](qsizetype first, qsizetype last) {
        TextColumn::Reader read(selected.texts);
        for (qsizetype i = first; i < last; ++i) {
            const SampleLineParts parts = splitSelected(selected, read, i, hasTemperatureChannel);
            if (hasTemperatureChannel) {
                channel1.write(i, parts.channel1);
            }
            if (anyChannel2) {
                channel2.write(i, parts.channel2);
            }
        }
    });
    return c;
}

long double CorrectedValue(long double x, long double factor, long double offset) {
    return x * factor + offset;
}

ValueConversion Channel1Correction(const SampleColumns& columns, const QString& a,
                                   const QString& b) {
    return correction(columns, columns.Channel1Texts, a, "a", b, "b");
}

ValueConversion Channel2Correction(const SampleColumns& columns, const QString& c,
                                   const QString& d) {
    return correction(columns, columns.Channel2Texts, c, "c", d, "d");
}

void CorrectChannel1(SampleColumns& columns, const QString& a, const QString& b) {
    convert(columns.Channel1Texts, Channel1Correction(columns, a, b));
}

void CorrectChannel2(SampleColumns& columns, const QString& c, const QString& d) {
    convert(columns.Channel2Texts, Channel2Correction(columns, c, d));
}

ConversionFailures ConvertChannel(TextColumn& column,
                                  const std::function<ValueConversion()>& makeFirst,
                                  const std::function<ValueConversion()>& makeSecond) {
    std::exception_ptr failure;
    const ValueConversion first = makeConversion(makeFirst, failure);
    if (failure) {
        return {failure, nullptr};
    }
    const ValueConversion second = makeConversion(makeSecond, failure);
    return convertInOnePass(column, first, second, failure);
}

namespace {

// The running sum of the mean kinetic temperature's terms, and the temperature it gives.
class MktSum {
  public:
    explicit MktSum(long double deltaH) : dH_(deltaH), lnE_(std::log(kTenDigitE)) {}

    // The term of a temperature in °C, before any rounding.
    double term(long double celsius) const {
        const long double x = -1000.0L * dH_ / (kGasConstant * (celsius + kZeroCelsius));
        return static_cast<double>(std::exp(x * lnE_));
    }
    void add(long double termValue) {
        sum_ = static_cast<double>(static_cast<long double>(sum_) + termValue);
        count_ += 1;
    }
    double temperature() const {
        return static_cast<double>((1000.0L * dH_ / kGasConstant) / (-std::log(sum_ / count_)) -
                                   kZeroCelsius);
    }

  private:
    long double dH_;
    long double lnE_;
    double sum_ = 0;
    long double count_ = 0;
};

// The terms of the temperatures met last, by their value: a logger's readings repeat a few
// hundred values over thousands of samples, and each term costs an exponential. A term is the
// same number however it is found.
class MktTerms {
  public:
    explicit MktTerms(const MktSum& sum) : sum_(sum) {}

    double operator()(long double celsius) {
        const auto bits = std::bit_cast<std::uint64_t>(static_cast<double>(celsius));
        Entry& entry = entries_[(bits * 0x9E3779B97F4A7C15ULL) >> (64 - kIndexBits)];
        if (!entry.used || entry.celsius != celsius) {
            entry = {celsius, sum_.term(celsius), true};
        }
        return entry.term;
    }

  private:
    static constexpr int kIndexBits = 8;
    struct Entry {
        long double celsius = 0;
        double term = 0;
        bool used = false;
    };
    MktSum sum_;  // only its terms are taken
    std::array<Entry, std::size_t(1) << kIndexBits> entries_{};
};

}  // namespace

ValueConversion RunningMeanKineticTemperature(const SampleColumns& columns, const QString& deltaH,
                                              bool roundTerms) {
    const MktSum sum(ReadFieldValue(deltaH, "ΔH"));
    return [&columns, roundTerms, mkt = sum, terms = MktTerms(sum)](QStringView entry,
                                                                    qsizetype i) mutable {
        const double term = terms(readValue(entry, columns, i));
        long double termValue = term;
        if (roundTerms && std::isfinite(term)) {
            termValue = ReadNumber(MktTermText(term));
            if (termValue == 0 && term != 0) {
                termValue = term;
            }
        }
        mkt.add(termValue);
        return ValueText(mkt.temperature());
    };
}

void ApplyMeanKineticTemperature(SampleColumns& columns, const QString& deltaH, bool roundTerms) {
    convert(columns.Channel1Texts, RunningMeanKineticTemperature(columns, deltaH, roundTerms));
}

double MeanKineticTemperature(const std::vector<double>& celsius, long double deltaH) {
    MktSum mkt(deltaH);
    // The terms, each on its own, on the cores; their sum in order, as one pass makes it.
    std::vector<double> terms(celsius.size());
    RunOverPieces(qsizetype(celsius.size()), [&](qsizetype first, qsizetype last) {
        MktTerms termOf(mkt);
        for (qsizetype i = first; i < last; ++i) {
            terms[std::size_t(i)] = termOf(celsius[std::size_t(i)]);
        }
    });
    for (double term : terms) {
        mkt.add(term);
    }
    return mkt.temperature();
}

ValueConversion ExponentialSmoothing(const SampleColumns& columns, const QString& k) {
    if (columns.Channel2Texts.isEmpty()) {
        return {};
    }
    const long double weight = ReadFieldValue(k, "Коэффициент сглаживания");
    bool first = true;
    long double previous = 0;  // the previous result, read back from its text
    return [&columns, weight, first, previous](QStringView entry, qsizetype i) mutable {
        const long double x = readValue(entry, columns, i);
        const long double y =
            first ? x * weight + (1 - weight) * x : x * weight + (1 - weight) * previous;
        QString result = ValueText(static_cast<double>(y));
        previous = ReadNumber(result);
        first = false;
        return result;
    };
}

void SmoothChannel2(SampleColumns& columns, const QString& k) {
    convert(columns.Channel2Texts, ExponentialSmoothing(columns, k));
}

void StepSamples(SampleColumns& columns, int step) {
    if (step <= 1) {
        return;
    }
    std::vector<qsizetype> keep;
    for (qsizetype i = 0; i < columns.size(); i += step) {
        keep.push_back(i);
    }
    columns.Lines.texts.keep(keep);
    columns.Lines.numbers.keep(keep);
    columns.Channel1Texts.keep(keep);
    columns.Channel2Texts.keep(keep);
}

void CompressSamples(SampleColumns& columns, bool channel1, bool channel2) {
    QString last1 = QStringLiteral("NO");
    QString last2 = QStringLiteral("NO");
    std::vector<qsizetype> keep;
    TextColumn::Reader read1(columns.Channel1Texts);
    TextColumn::Reader read2(columns.Channel2Texts);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QStringView v1 = read1.value(i);
        const QStringView v2 = read2.value(i);
        if (channel1 && channel2) {
            if (v1 != last1 || v2 != last2) {
                keep.push_back(i);
                last1 = v1.trimmed().toString();
                last2 = v2.trimmed().toString();
            }
        } else if (channel1) {
            if (v1 != last1) {
                keep.push_back(i);
                last1 = v1.toString();
            }
        } else if (channel2) {
            if (v2 != last2) {
                keep.push_back(i);
                last2 = v2.toString();
            }
        }
    }
    columns.Lines.texts.keep(keep);
    columns.Lines.numbers.keep(keep);
    if (channel1) {
        columns.Channel1Texts.keep(keep);
    } else {
        columns.Channel1Texts.clear();
    }
    if (channel2) {
        columns.Channel2Texts.keep(keep);
    } else {
        columns.Channel2Texts.clear();
    }
}

}  // namespace qorv

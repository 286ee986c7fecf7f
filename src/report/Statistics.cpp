#include "report/Statistics.h"

#include "files/Precision.h"
#include "report/ChannelLimits.h"
#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/NumberText.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"
#include "report/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <future>
#include <thread>

namespace qorv {

namespace {

using R = ReportOptions;
namespace text = messages::statistics;

// No temperature lies at or below it: the mean kinetic temperature has no meaning there.
constexpr double kAbsoluteZeroCelsius = -273.15;

using Sample = SelectedSample;

// A list whose growth leaves the new elements unset until they are written: a part of the
// selection writes its samples into its own stretch of the list, on its own thread, and the
// memory is first touched there.
template <typename T>
struct UnsetOnGrowth : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnsetOnGrowth<U>;
    };
    UnsetOnGrowth() = default;
    template <typename U>
    UnsetOnGrowth(const UnsetOnGrowth<U>& other) noexcept : std::allocator<T>(other) {}
    template <typename U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
template <typename T>
using SampleList = std::vector<T, UnsetOnGrowth<T>>;

// A sample line as a message names it: its number and its text, looked up for a failure only.
struct Line {
    const SampleLines& rows;
    qsizetype index;

    SampleSource source() const { return {rows.numbers.value(index), rows.texts.copyAt(index)}; }
};

qint64 readTime(QStringView timeText, const Line& line) {
    if (const auto time = TryReadMSecsSinceEpoch(timeText)) {
        return *time;
    }
    const QString t = timeText.toString();
    const SampleSource source = line.source();
    throw ConversionError(messages::SampleTimeError(t, source.number, source.text), t);
}

double readValue(QStringView valueText, const Line& line) {
    if (const auto value = TryReadNumber(valueText)) {
        return static_cast<double>(*value);
    }
    return static_cast<double>(ReadSampleValue(valueText.trimmed().toString(), line.source()));
}

// Whether a sample text is already in the corrected column's form: at most 8 significant
// digits and 12 decimals, no exponent; the identity correction then keeps its value as read.
bool keptAsRead(QStringView text) {
    int significant = 0;
    int decimals = 0;
    bool leading = true;
    bool fraction = false;
    for (QChar ch : text) {
        if (ch == '.' || ch == ',') {
            fraction = true;
        } else if (ch.isDigit()) {
            leading = leading && ch == '0';
            significant += leading ? 0 : 1;
            decimals += fraction ? 1 : 0;
        } else if (ch != '-' && ch != '+') {
            return false;
        }
    }
    return significant <= 8 && decimals <= 12;
}

// The value as the corrected column holds it: x·factor + offset in the text form the tables
// print from.
double corrected(QStringView text, const Line& line, long double factor, long double offset) {
    const double x = readValue(text, line);
    if (factor == 1 && offset == 0 && keptAsRead(text.trimmed())) {
        return x;
    }
    return static_cast<double>(
        ReadNumber(ValueText(static_cast<double>(CorrectedValue(x, factor, offset)))));
}

// The spacings between consecutive times: the median of the increasing ones, and how many did
// not increase (a file whose clock ran back or repeated a time).
struct Spacing {
    std::optional<double> median;
    qsizetype nonIncreasing = 0;
};

Spacing spacingOf(const SampleList<qint64>& times) {
    Spacing result;
    std::vector<double> gaps;
    gaps.reserve(times.size());
    for (size_t i = 1; i < times.size(); ++i) {
        const qint64 msecs = times[i] - times[i - 1];
        if (msecs > 0) {
            gaps.push_back(static_cast<double>(msecs) / 1000.0);
        } else {
            result.nonIncreasing += 1;
        }
    }
    if (gaps.empty()) {
        return result;
    }
    const auto mid = gaps.begin() + std::ptrdiff_t(gaps.size() / 2);
    std::nth_element(gaps.begin(), mid, gaps.end());
    result.median = gaps.size() % 2 == 1 ? *mid : (*std::max_element(gaps.begin(), mid) + *mid) / 2;
    return result;
}

void describe(ChannelStatistics& c, const SampleList<Sample>& samples) {
    c.samples = static_cast<qsizetype>(samples.size());
    if (samples.empty()) {
        return;
    }
    c.first = samples.front().time();
    c.last = samples.back().time();
    if (c.kind == ChannelStatistics::Kind::Events) {
        for (size_t i = 0; i < samples.size(); ++i) {
            const bool on = samples[i].value != 0;
            (on ? c.samplesOn : c.samplesOff) += 1;
            if (i == 0) {
                continue;
            }
            const bool wasOn = samples[i - 1].value != 0;
            c.switches += on != wasOn ? 1 : 0;
            const qint64 msecs = samples[i].msecs - samples[i - 1].msecs;
            if (msecs > 0) {
                (wasOn ? c.secondsOn : c.secondsOff) += static_cast<double>(msecs) / 1000.0;
            }
        }
        return;
    }
    const Sample* minimum = &samples.front();
    const Sample* maximum = &samples.front();
    long double sum = 0;
    for (const Sample& s : samples) {
        minimum = s.value < minimum->value ? &s : minimum;
        maximum = s.value > maximum->value ? &s : maximum;
        sum += s.value;
    }
    c.minimum = minimum->value;
    c.minimumTime = minimum->time();
    c.maximum = maximum->value;
    c.maximumTime = maximum->time();
    const long double mean = sum / static_cast<long double>(samples.size());
    c.mean = static_cast<double>(mean);
    if (samples.size() > 1) {
        long double squares = 0;
        for (const Sample& s : samples) {
            squares += (s.value - mean) * (s.value - mean);
        }
        c.standardDeviation =
            static_cast<double>(std::sqrt(squares / static_cast<long double>(samples.size() - 1)));
    }

    // Limits: samples beyond each, and the longest run of samples outside either.
    if ((!c.upperLimit && !c.lowerLimit) || c.limitsReversed()) {
        return;
    }
    ChannelStatistics::Excursion current;
    qint64 currentStart = 0;
    qint64 longestStart = 0;
    for (const Sample& s : samples) {
        const bool above = c.upperLimit && s.value > *c.upperLimit;
        const bool below = c.lowerLimit && s.value < *c.lowerLimit;
        c.aboveUpper += above ? 1 : 0;
        c.belowLower += below ? 1 : 0;
        if (above || below) {
            if (current.samples == 0) {
                currentStart = s.msecs;
            }
            current.samples += 1;
            if (current.samples > c.longestExcursion.samples) {
                c.longestExcursion = current;
                longestStart = currentStart;
            }
        } else {
            current = {};
        }
    }
    if (c.longestExcursion.samples > 0) {
        c.longestExcursion.start = DateTimeOfMSecs(longestStart);
    }
}

QString timeText(const QDateTime& time) {
    const QChar separator =
        FormatSettings::dateSeparatorOf(FormatSettings::instance().systemLocale());
    return time.toString(QStringLiteral("dd%1MM%1yyyy hh:mm:ss").arg(separator));
}

}  // namespace

// The corrections of the two channels; channel 2's only for measured values.
struct Corrections {
    long double a, b, c, d;
    bool channel2;
};

// The selected samples: each time in the range, and the values of each channel at them.
struct SelectedSamples {
    SampleList<qint64> times;
    SampleList<Sample> channel1, channel2;
};

// How many of each a part of the lines selected.
struct SelectedCounts {
    std::size_t times = 0, channel1 = 0, channel2 = 0;
};

// One pass over the sample lines [first, last): the selection by time (each time read once),
// then the values of the lines in the range. Written into `into` from position `first` on,
// which has room for a sample of each channel on each line.
SelectedCounts SelectRows(const SampleLines& rows, qsizetype first, qsizetype last,
                          bool hasTemperature, qint64 start, qint64 end, const Corrections& k,
                          SelectedSamples& into) {
    files::UseFullLongDoublePrecision();  // also run in threads of its own
    const auto offset = static_cast<std::size_t>(first);
    qint64* times = into.times.data() + offset;
    Sample* channel1 = hasTemperature ? into.channel1.data() + offset : nullptr;
    Sample* channel2 = into.channel2.data() + offset;
    SelectedCounts count;
    TextColumn::Reader read(rows.texts);
    for (qsizetype i = first; i < last; ++i) {
        const Line line{rows, i};
        const auto parts = SplitSampleLine(read[i], hasTemperature);
        if (!parts) {
            const QString text = rows.texts.copyAt(i);
            throw ConversionError(messages::SampleWithoutSeparator(rows.numbers.value(i), text),
                                  text);
        }
        const qint64 time = readTime(parts->time, line);
        if (time < start || end < time) {
            continue;
        }
        times[count.times++] = time;
        if (!parts->channel1.trimmed().isEmpty()) {
            channel1[count.channel1++] = {time, corrected(parts->channel1, line, k.a, k.b)};
        }
        if (!parts->channel2.trimmed().isEmpty()) {
            channel2[count.channel2++] = {time, k.channel2
                                                    ? corrected(parts->channel2, line, k.c, k.d)
                                                    : readValue(parts->channel2, line)};
        }
    }
    return count;
}

// SelectRows over all lines, a large file in parts read side by side (the reading only looks
// at the process-wide format settings), each part into its own stretch of the lists, which are
// then closed up. A line that does not read ends it with the message of the first such line,
// as one pass would.
SelectedSamples SelectSamples(const SampleLines& rows, bool hasTemperature, qint64 start,
                              qint64 end, const Corrections& k) {
    constexpr qsizetype kRowsPerPart = 100000;
    const qsizetype n = rows.texts.size();
    const qsizetype parts = std::clamp<qsizetype>(
        std::min<qsizetype>(n / kRowsPerPart, std::thread::hardware_concurrency()), 1, 8);
    const auto lines = static_cast<std::size_t>(n);
    SelectedSamples all;
    all.times.resize(lines);
    all.channel1.resize(hasTemperature ? lines : 0);
    all.channel2.resize(lines);
    const auto firstOf = [&](qsizetype p) { return n * p / parts; };
    std::vector<std::future<SelectedCounts>> pending;
    for (qsizetype p = 1; p < parts; ++p) {
        pending.push_back(std::async(std::launch::async, SelectRows, std::cref(rows), firstOf(p),
                                     firstOf(p + 1), hasTemperature, start, end, std::cref(k),
                                     std::ref(all)));
    }
    std::vector<SelectedCounts> counts;
    try {
        counts.push_back(SelectRows(rows, 0, firstOf(1), hasTemperature, start, end, k, all));
    } catch (...) {
        for (std::future<SelectedCounts>& part : pending) {
            part.wait();  // they write into `all`
        }
        throw;  // the first part's error first
    }
    for (std::future<SelectedCounts>& part : pending) {
        part.wait();
    }
    for (std::future<SelectedCounts>& part : pending) {
        counts.push_back(part.get());
    }
    // Close up: each part's samples follow the previous part's. Nothing moves when every line
    // was selected with both values, as in a whole file.
    const auto closeUp = [&](auto& list, auto countOf) {
        std::size_t end = 0;
        for (qsizetype p = 0; p < parts; ++p) {
            const auto from = list.begin() + std::ptrdiff_t(firstOf(p));
            const std::size_t count = countOf(counts[std::size_t(p)]);
            if (std::size_t(firstOf(p)) != end) {
                std::copy(from, from + std::ptrdiff_t(count), list.begin() + std::ptrdiff_t(end));
            }
            end += count;
        }
        list.resize(end);
    };
    closeUp(all.times, [](const SelectedCounts& c) { return c.times; });
    if (hasTemperature) {
        closeUp(all.channel1, [](const SelectedCounts& c) { return c.channel1; });
    }
    closeUp(all.channel2, [](const SelectedCounts& c) { return c.channel2; });
    return all;
}

SelectionStatistics ComputeStatistics(const ProgramState& state, SelectedChannels* samples) {
    const ReportOptions& o = state.options;
    const LogData& data = state.data;
    FormatSettings::instance().applyProgramConventions();
    const auto start = TryReadMSecsSinceEpoch(RangeStartText(o));
    const auto end = TryReadMSecsSinceEpoch(RangeEndText(o));
    if (!start || !end) {
        throw ConversionError(messages::DateFieldsError, RangeStartText(o));
    }
    const bool hasTemperature = data.hasTemperatureChannel();

    SelectionStatistics result;
    const long double a = ReadFieldValue(o.Edit7.trimmed(), "a");
    const long double b = ReadFieldValue(o.Edit8.trimmed(), "b");
    const bool correct2 = o.Channel2CoefficientsVisible;
    const long double c = correct2 ? ReadFieldValue(o.Edit9.trimmed(), "c") : 1;
    const long double d = correct2 ? ReadFieldValue(o.Edit11.trimmed(), "d") : 0;
    SelectedSamples selected = SelectSamples({data.SampleRows, data.SampleLineNumbers},
                                             hasTemperature, *start, *end, {a, b, c, d, correct2});
    const SampleList<qint64>& times = selected.times;
    const SampleList<Sample>& channel1 = selected.channel1;
    const SampleList<Sample>& channel2 = selected.channel2;
    result.selected = static_cast<qsizetype>(times.size());
    const Spacing spacing = spacingOf(times);
    result.intervalSeconds = spacing.median;
    result.nonIncreasingSpacings = spacing.nonIncreasing;

    const auto deltaH = TryReadNumber(o.Edit10);
    const bool mktPossible = deltaH && *deltaH > 0 && *deltaH <= kMaxDeltaH;
    if (o.isChecked(R::CheckBox6) && hasTemperature) {
        ChannelStatistics s;
        s.channel = 1;
        s.name = o.Edit12;
        s.kind = ChannelStatistics::Kind::Temperature;
        s.decimals = state.chart.TempDecimals;
        const ChannelLimits limits = LimitsOfChannel(state.summary, 1);
        s.upperLimit = limits.upper;
        s.lowerLimit = limits.lower;
        describe(s, channel1);
        if (mktPossible && !channel1.empty()) {
            s.deltaH = o.Edit10;
            s.belowAbsoluteZero = s.minimum <= kAbsoluteZeroCelsius;
            if (!s.belowAbsoluteZero) {
                std::vector<double> celsius;
                celsius.reserve(channel1.size());
                for (const Sample& sample : channel1) {
                    celsius.push_back(sample.value);
                }
                s.meanKineticTemperature = MeanKineticTemperature(celsius, *deltaH);
            }
        }
        result.channels.push_back(s);
    }
    if (o.isChecked(R::CheckBox7) && data.hasDataChannel()) {
        ChannelStatistics s;
        s.channel = 2;
        s.name = o.Edit13;
        s.kind =
            data.hasEvents() ? ChannelStatistics::Kind::Events : ChannelStatistics::Kind::Values;
        s.decimals = state.chart.DataDecimals;
        if (s.kind != ChannelStatistics::Kind::Events) {
            const ChannelLimits limits = LimitsOfChannel(state.summary, 2);
            s.upperLimit = limits.upper;
            s.lowerLimit = limits.lower;
        }
        describe(s, channel2);
        result.channels.push_back(s);
    }
    if (samples) {
        samples->channel1.assign(channel1.begin(), channel1.end());
        samples->channel2.assign(channel2.begin(), channel2.end());
    }
    return result;
}

QString DurationText(const std::optional<double>& seconds) {
    return seconds ? DurationText(*seconds) : text::UnknownDuration;
}

QString DurationText(double seconds) {
    auto total = static_cast<long long>(std::llround(seconds));
    const long long days = total / 86400;
    const long long hours = total % 86400 / 3600;
    const long long minutes = total % 3600 / 60;
    const long long rest = total % 60;
    QStringList parts;
    const std::pair<long long, const QString*> units[] = {{days, &text::Days},
                                                          {hours, &text::Hours},
                                                          {minutes, &text::Minutes},
                                                          {rest, &text::Seconds}};
    for (const auto& [count, unit] : units) {
        if (count != 0) {
            parts << QStringLiteral("%1 %2").arg(count).arg(*unit);
        }
    }
    return parts.isEmpty() ? QStringLiteral("0 ") + text::Minutes : parts.join(' ');
}

QStringList StatisticsLines(const SelectionStatistics& statistics) {
    const QChar separator = FormatSettings::instance().decimalSeparator();
    QStringList lines;
    if (statistics.nonIncreasingSpacings > 0) {
        lines << text::NonIncreasingTimes(statistics.nonIncreasingSpacings);
    }
    for (const ChannelStatistics& c : statistics.channels) {
        lines << text::Channel(c.channel, c.name);
        if (c.samples == 0) {
            lines << text::NoData;
            continue;
        }
        const auto value = [&c](double x, int extra = 0) {
            return FixedText(x, c.decimals + extra);
        };
        const auto duration = [&statistics](qsizetype n) {
            return DurationText(statistics.secondsOf(n));
        };
        lines << text::Samples(c.samples) << text::Period(timeText(c.first), timeText(c.last));
        if (c.kind == ChannelStatistics::Kind::Events) {
            lines << text::Switches(c.switches) << text::TimeOn(DurationText(c.secondsOn))
                  << text::TimeOff(DurationText(c.secondsOff));
            continue;
        }
        lines << text::Minimum(value(c.minimum), timeText(c.minimumTime))
              << text::Maximum(value(c.maximum), timeText(c.maximumTime))
              << text::Mean(value(c.mean, 1));
        if (c.standardDeviation) {
            lines << text::StandardDeviation(value(*c.standardDeviation, 1));
        }
        if (!c.deltaH.isEmpty()) {
            QString deltaH = c.deltaH;
            deltaH.replace('.', separator).replace(',', separator);
            lines << (c.meanKineticTemperature ? text::MeanKineticTemperature(
                                                     deltaH, value(*c.meanKineticTemperature, 1))
                                               : text::NoMeanKineticTemperature(
                                                     deltaH, FixedText(kAbsoluteZeroCelsius, 2)));
        }
        if (c.limitsReversed()) {
            lines << text::ReversedLimits(value(*c.upperLimit), value(*c.lowerLimit));
            continue;
        }
        if (c.upperLimit) {
            lines << text::AboveUpper(value(*c.upperLimit), c.aboveUpper, duration(c.aboveUpper));
        }
        if (c.lowerLimit) {
            lines << text::BelowLower(value(*c.lowerLimit), c.belowLower, duration(c.belowLower));
        }
        if (c.upperLimit || c.lowerLimit) {
            lines << (c.longestExcursion.samples == 0
                          ? text::NoExcursion
                          : text::LongestExcursion(duration(c.longestExcursion.samples),
                                                   timeText(c.longestExcursion.start)));
        }
    }
    return lines;
}

}  // namespace qorv

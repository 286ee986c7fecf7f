#pragma once

#include "import/LineNumbers.h"
#include "import/TextColumn.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <exception>
#include <functional>
#include <optional>
#include <vector>

namespace qorv {

// Sample lines with the line number of each in the logger file (1-based): LogData's SampleRows
// and SampleLineNumbers, or a selection of them.
struct SampleLines {
    TextColumn texts;
    LineNumbers numbers;
};

// Where a sample came from, as a message names it: its line number and its text.
struct SampleSource {
    qsizetype number = 0;
    QString text;
};

// The three parallel text columns a report is made of, entry i of each belonging to sample i:
// the time texts (TimeTexts), Channel1Texts and Channel2Texts, with the selected sample lines
// they came from (also for messages that say where a value failed). Each channel column holds
// its texts end to end, as a million samples need; the time texts are not held at all, but read
// from the lines (TimeTextReader), unless the lines have given way to them (KeepTimesOnly).
//
// A channel list is either empty (the channel is absent: no temperature channel, or no line
// carries a channel-2 value) or exactly as long as the lines; a line that lacks the channel's
// value has an empty entry there, which every table prints as an empty cell and the chart
// skips. Emptiness of a whole list keeps its meaning for the later stages ("channel 2 has no
// values").
struct SampleColumns {
    SampleLines Lines;
    // The date separator of the time texts: the system's when the lines were split.
    QChar dateSeparator = QChar(u'/');
    TextColumn Channel1Texts;
    TextColumn Channel2Texts;

    // The time texts, once the lines have given way to them (KeepTimesOnly); empty before.
    TextColumn Times;

    // The number of samples.
    qsizetype size() const { return Times.isEmpty() ? Lines.texts.size() : Times.size(); }
    // The time text of sample i, as TimeTextReader reads it.
    QString timeText(qsizetype i) const;
    // Where sample i came from; the lines are needed, not only the times.
    SampleSource sourceOf(qsizetype i) const {
        return {Lines.numbers.value(i), Lines.texts.copyAt(i)};
    }
};

// The lines give way to their time texts, for the tables that read nothing else of them (a time
// text is about half its line); the times are written over the lines, in their buffer, which
// is copied first only when something else still holds it.
void KeepTimesOnly(SampleColumns& columns);

// Reads the samples' time texts: the time of each sample line (the text before its first " - ",
// trimmed) with the date parts, whether written with '/' or '.', in the columns' date
// separator. Every line of the columns has its " - ", as splitting made sure. Once the columns
// hold their time texts instead of the lines, it reads those. A view lasts until the reader's
// next read; one reader belongs to one thread.
class TimeTextReader {
  public:
    explicit TimeTextReader(const SampleColumns& columns)
        : times_(columns.Times),
          timesHeld_(!columns.Times.isEmpty()),
          lines_(columns.Lines.texts),
          separator_(columns.dateSeparator) {}
    QStringView operator[](qsizetype i);

  private:
    TextColumn::Reader times_;  // the columns' Times, when they hold them
    bool timesHeld_;
    TextColumn::Reader lines_;
    QChar separator_;
    QString buffer_;
};

// A sample value's text read as a number; a text that does not read ends the run with a
// message naming the value and the line it came from.
long double ReadSampleValue(const QString& text, const SampleSource& source);
// A field's text read as a number; else the run ends with a message naming the `field`.
long double ReadFieldValue(const QString& text, const char* field);

// Selection: the sample lines whose time (the text before the first " - ", read with the process'
// current date settings) lies within [start, end], both ends included. A line without " - " or
// with a time that does not read ends the run with a message naming the line.
SampleLines SelectSamplesByRange(const SampleLines& samples, const QDateTime& start,
                                 const QDateTime& end);

// One sample line taken apart: the time text before the first " - " (trimmed), the channel-1
// value (the first blank-separated word after " - ", with its trailing blank; empty when no
// blank follows it) when the file has a temperature channel, and the channel-2 value (the next
// word that starts with a digit or "-digit"; empty when there is none). Nothing for a line
// without " - ". The views point into `line`.
struct SampleLineParts {
    QStringView time;
    QStringView channel1;
    QStringView channel2;
};
std::optional<SampleLineParts> SplitSampleLine(QStringView line, bool hasTemperatureChannel);

// Splitting: the selected lines become the columns, their time texts read in the system's date
// separator (which the caller has set back to the system's), and channel texts. The channel-1
// value is the first blank-separated word after " - " when the file has a temperature channel;
// the channel-2 value is the next word that starts with a digit or "-digit".
SampleColumns SplitSamples(const SampleLines& selected, bool hasTemperatureChannel);

// A conversion of a channel's values: the text the non-empty value `entry` of sample i becomes.
// It reads its fields when it is made (a field that does not read fails there, with a message
// naming the field), and applies to the values in order. An empty one converts nothing.
using ValueConversion = std::function<QString(QStringView entry, qsizetype sample)>;

// Corrections of channel 1 (T = a·t + b) and channel 2 (M = c·m + d): each entry becomes
// ValueText(x·k + d), read and computed in extended precision. The coefficient texts are read with
// ReadNumber; `field` names them in an error. None for a channel without values.
ValueConversion Channel1Correction(const SampleColumns& columns, const QString& a,
                                   const QString& b);
ValueConversion Channel2Correction(const SampleColumns& columns, const QString& c,
                                   const QString& d);
void CorrectChannel1(SampleColumns& columns, const QString& a, const QString& b);
void CorrectChannel2(SampleColumns& columns, const QString& c, const QString& d);
// The corrected value x·factor + offset, in the precision the corrections compute it.
long double CorrectedValue(long double x, long double factor, long double offset);

// Mean kinetic temperature: channel 1 becomes the running mean kinetic temperature for ΔH in
// kJ/mol. Each term is kept as its 18-decimal text as the report always has; a term whose text
// would read as zero although the term is not (below about -31.9 °C at the default ΔH) is used
// exactly, so that frozen-goods data yields a value instead of a failed logarithm. Without
// `roundTerms` every term is used exactly.
ValueConversion RunningMeanKineticTemperature(const SampleColumns& columns, const QString& deltaH,
                                              bool roundTerms = true);
void ApplyMeanKineticTemperature(SampleColumns& columns, const QString& deltaH,
                                 bool roundTerms = true);

// The mean kinetic temperature of all the temperatures, in °C, for ΔH in kJ/mol: the running
// mean's last value with every term used exactly. NaN for no temperatures.
double MeanKineticTemperature(const std::vector<double>& celsius, long double deltaH);

// Smoothing: exponential smoothing of channel 2 with weight k of the new sample, each result
// computed from the text of the previous one. None for a channel without values.
ValueConversion ExponentialSmoothing(const SampleColumns& columns, const QString& k);
void SmoothChannel2(SampleColumns& columns, const QString& k);

// What a channel's two conversions met: the failure of the first and of the second, each
// empty when it did not fail.
struct ConversionFailures {
    std::exception_ptr first;
    std::exception_ptr second;
};

// A channel's two conversions (a correction, then the mean kinetic temperature or the
// smoothing; either may be none) in one pass over `column`, each value passing through both:
// the texts are those of the first over the whole column followed by the second, without the
// column in between. So are the failures: the second's (making it included) counts only when
// the first made and converted every value. The column is replaced only when neither failed.
ConversionFailures ConvertChannel(TextColumn& column,
                                  const std::function<ValueConversion()>& makeFirst,
                                  const std::function<ValueConversion()>& makeSecond);

// Step in samples: keeps samples 0, s, 2s, ... (s >= 1).
void StepSamples(SampleColumns& columns, int step);

// Compression of repeated values of the included channels. The list of a channel that
// is not included ends up empty.
void CompressSamples(SampleColumns& columns, bool channel1, bool channel2);

}  // namespace qorv

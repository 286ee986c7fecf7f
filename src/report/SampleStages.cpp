#include "report/SampleStages.h"

#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"
#include "report/SideBySide.h"

#include <exception>

namespace qorv {

namespace {

using R = ReportOptions;

QDateTime readRangeEnd(const QString& text) {
    if (const auto value = TryReadDateTime(text)) {
        return *value;
    }
    throw ConversionError(messages::RangeEndError(text), text);
}

// The corrections (the channel-2 correction only while its fields are shown: not for on/off
// events, whose 0 and 1 stay as they are), the running mean kinetic temperature of channel 1
// and the smoothing of channel 2. Each channel's values pass through its two conversions in one
// pass; channel 1's work and channel 2's share nothing, so the two run side by side. A failure
// is the one the stages, taken in their order, meet first.
void ConvertChannels(ReportRun& run) {
    const ReportOptions& o = run.program.options;
    SampleColumns& columns = run.columns;
    const bool meanKinetic = o.isChecked(R::CheckBox5) && run.channels.channel1;
    const bool smoothing = run.channels.channel2 && !run.channels.events;
    ConversionFailures channel1;
    ConversionFailures channel2;
    RunSideBySide(2, [&](qsizetype channel) {
        if (channel == 0) {
            channel1 = ConvertChannel(
                columns.Channel1Texts,
                [&] { return Channel1Correction(columns, o.Edit7, o.Edit8); },
                [&] {
                    return meanKinetic ? RunningMeanKineticTemperature(columns, o.Edit10)
                                       : ValueConversion();
                });
        } else {
            channel2 = ConvertChannel(
                columns.Channel2Texts,
                [&] {
                    return o.Channel2CoefficientsVisible
                               ? Channel2Correction(columns, o.Edit9, o.Edit11)
                               : ValueConversion();
                },
                [&] {
                    return smoothing ? ExponentialSmoothing(columns, o.Edit6) : ValueConversion();
                });
        }
    });
    for (const std::exception_ptr& failure :
         {channel1.first, channel2.first, channel1.second, channel2.second}) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

}  // namespace

void SelectAndConvertSamples(ReportRun& run) {
    ProgramState& s = run.program;
    const ReportOptions& o = s.options;

    // Selection, read with the run's start settings ('/' dates, day first).
    const QDateTime start = readRangeEnd(RangeStartText(o));
    const QDateTime end = readRangeEnd(RangeEndText(o));
    const SampleLines selected =
        SelectSamplesByRange({s.data.SampleRows, s.data.SampleLineNumbers}, start, end);
    s.data.SampleRows.clear();
    s.data.SampleLineNumbers.clear();
    run.advance();

    // Splitting: the first line sets the formats back to the system's own, so the time
    // texts take the system's date separator (an empty selection leaves them as they are).
    if (!selected.texts.isEmpty()) {
        FormatSettings::instance().resetToSystem();
    }
    run.columns = SplitSamples(selected, s.data.hasTemperatureChannel());
    if (s.keepsSelection) {
        s.data.SampleRows = selected.texts;
        s.data.SampleLineNumbers = selected.numbers;
    }
    run.advance();

    ConvertChannels(run);
    run.advance();  // corrections
    run.advance();  // mean kinetic temperature
    run.advance();  // smoothing
}

void ThinSamples(ReportRun& run) {
    const ReportOptions& o = run.program.options;
    const auto step = ReadStepInSamples(o.Edit5);
    if (!step) {
        throw ConversionError(messages::FieldValueError(QStringLiteral("Шаг в отсчетах"), o.Edit5),
                              o.Edit5);
    }
    StepSamples(run.columns, *step);
    run.advance();

    if (o.isChecked(R::CheckBox4)) {
        CompressSamples(run.columns, run.channels.channel1, run.channels.channel2);
    }
    run.advance();
}

}  // namespace qorv

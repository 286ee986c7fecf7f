#include "report/SampleStages.h"

#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"
#include "report/SideBySide.h"

#include <array>
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
// and the smoothing of channel 2. Channel 1's work and channel 2's share nothing, so the two
// run side by side; a failure is the one the stages, taken in their order, meet first.
void ConvertChannels(ReportRun& run) {
    const ReportOptions& o = run.program.options;
    SampleColumns& columns = run.columns;
    enum Stage { Correction1, Correction2, MeanKinetic, Smoothing, StageCount };
    std::array<std::exception_ptr, StageCount> failures;
    // Runs one stage; false (with its failure kept) when it fails.
    const auto stage = [&failures](Stage which, const auto& work) {
        try {
            work();
            return true;
        } catch (...) {
            failures[which] = std::current_exception();
            return false;
        }
    };
    const bool meanKinetic = o.isChecked(R::CheckBox5) && run.channels.channel1;
    const bool smoothing = run.channels.channel2 && !run.channels.events;
    RunSideBySide(2, [&](qsizetype channel) {
        if (channel == 0) {
            stage(Correction1, [&] { CorrectChannel1(columns, o.Edit7, o.Edit8); }) &&
                (!meanKinetic ||
                 stage(MeanKinetic, [&] { ApplyMeanKineticTemperature(columns, o.Edit10); }));
        } else {
            (!o.Channel2CoefficientsVisible ||
             stage(Correction2, [&] { CorrectChannel2(columns, o.Edit9, o.Edit11); })) &&
                (!smoothing || stage(Smoothing, [&] { SmoothChannel2(columns, o.Edit6); }));
        }
    });
    for (const std::exception_ptr& failure : failures) {
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
    s.data.SampleRows = selected.texts;
    s.data.SampleLineNumbers = selected.numbers;
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

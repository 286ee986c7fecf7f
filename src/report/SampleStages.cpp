#include "report/SampleStages.h"

#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"

namespace qorv {

namespace {

using R = ReportOptions;

QDateTime readRangeEnd(const QString& text) {
    if (const auto value = TryReadDateTime(text)) {
        return *value;
    }
    throw ConversionError(messages::RangeEndError(text), text);
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

    // Corrections; the channel-2 correction only while its fields are shown (not for
    // on/off events, whose 0 and 1 stay as they are).
    CorrectChannel1(run.columns, o.Edit7, o.Edit8);
    if (o.Channel2CoefficientsVisible) {
        CorrectChannel2(run.columns, o.Edit9, o.Edit11);
    }
    run.advance();

    if (o.isChecked(R::CheckBox5) && run.channels.channel1) {
        ApplyMeanKineticTemperature(run.columns, o.Edit10);
    }
    run.advance();

    if (run.channels.channel2 && !run.channels.events) {
        SmoothChannel2(run.columns, o.Edit6);
    }
    run.advance();
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

#include "report/MappingWorkbook.h"

#include "automation/print/PdfExport.h"
#include "files/SafeSave.h"
#include "report/FormatSettings.h"
#include "report/MappingSheets.h"
#include "report/Messages.h"
#include "report/UserMessage.h"

#include <QDir>

#include <future>

namespace qorv {

namespace {

namespace text = messages::mapping;
using mapping::MappingRun;

// The three sheets in their order: the summary in the new workbook's first sheet, then the
// charts and the chart data.
void CreateSheets(MappingRun& run, automation::Application& application,
                  const QDateTime& startTime) {
    run.book = &application.workbooks().add();
    run.book->setTimestamp(startTime);
    // The PDF copy shows numbers and dates as a spreadsheet program on this system would.
    const QLocale& system = FormatSettings::instance().systemLocale();
    run.book->setDisplayLocale(
        {FormatSettings::decimalSeparatorOf(system), FormatSettings::dateSeparatorOf(system)});
    run.summary = &run.book->worksheet(1);
    run.summary->setName(text::SummarySheet);
    run.charts = &run.book->sheets().add(run.summary);
    run.charts->setName(text::ChartSheet);
    run.data = &run.book->sheets().add(run.charts);
    run.data->setName(text::DataSheet);
    run.summary->activate();
}

// The workbook's name: the study's start.
QString WorkbookName(const QString& folder, const QDateTime& startTime) {
    const QString name = text::FilePrefix + startTime.toString(QStringLiteral("ddMMyy_HHmmss")) +
                         QStringLiteral(".xlsx");
    return QDir(folder).filePath(name);
}

// The workbook is saved once, complete: a failure before leaves no file, and the save itself
// writes beside the target and takes a free name only when the file is whole.
QString SaveWorkbook(MappingRun& run, const QString& name) {
    return run.book->saveAs(name);
}

// The PDF copy of the summary and the charts, drawn beside the workbook's save (both only read
// the sheets; the save's wait for the disk leaves a core to it), or after it when no thread
// can be had.
std::future<automation::PdfDraft> DrawPdf(MappingRun& run, const QString& workbook) {
    QString pdf = workbook;
    pdf.chop(5);  // ".xlsx"
    return std::async(std::launch::async | std::launch::deferred, [&run, pdf] {
        return automation::DrawWorksheetsPdf({run.summary, run.charts}, pdf,
                                             run.book->displayLocale());
    });
}

// The PDF copy named after the workbook as saved; its failure is reported and the workbook
// stays.
std::optional<QString> PublishPdf(std::future<automation::PdfDraft>& draft, const QString& workbook,
                                  ProgressListener& progress) {
    QString pdf = workbook;
    pdf.chop(5);  // ".xlsx"
    try {
        return draft.get().publish(pdf);
    } catch (const std::exception& e) {
        progress.pdfFailed(messages::PdfFailed(UserMessage(e)));
        return std::nullopt;
    }
}

}  // namespace

MappingFiles BuildMappingWorkbook(const MappingStudy& study, const QString& folder, bool pdf,
                                  ProgressListener& progress, const QDateTime& startTime) {
    // The application lives for one build, as a report run's does.
    automation::Application application = automation::Application::connect();
    MappingRun run(study);
    MappingFiles files;
    std::future<automation::PdfDraft> draft;
    progress.runStarted(4);
    try {
        CreateSheets(run, application, startTime);
        mapping::WriteSummarySheet(run);
        progress.runAdvanced(1);
        mapping::WriteDataSheet(run);
        progress.runAdvanced(2);
        mapping::WriteChartSheet(run);
        progress.runAdvanced(3);
        const QString name = WorkbookName(folder, startTime);
        if (pdf) {
            draft = DrawPdf(run, name);
        }
        files.workbook = SaveWorkbook(run, name);
    } catch (...) {
        // The copy being drawn is waited for and its file removed as `draft` goes.
        progress.runFinished();
        throw;
    }
    if (pdf) {
        files.pdf = PublishPdf(draft, files.workbook, progress);
    }
    progress.runAdvanced(4);
    progress.runFinished();
    return files;
}

}  // namespace qorv

#include "report/BuildReport.h"

#include "files/SafeSave.h"
#include "report/ChartStage.h"
#include "report/DataTables.h"
#include "report/FormatSettings.h"
#include "report/HeadingBlock.h"
#include "report/Messages.h"
#include "report/ReportFileName.h"
#include "report/ReportRun.h"
#include "report/SampleStages.h"
#include "report/UserMessage.h"
#include "report/WorkbookFinishing.h"

namespace qorv {

namespace {

namespace xl = automation::xl;
using R = ReportOptions;

// Set-up: the new workbook, its name, the first save, the two sheets.
void CreateWorkbook(ReportRun& run) {
    run.workbook = &run.application.workbooks().add();
    run.workbook->setTimestamp(run.startTime);
    // The PDF copy shows numbers and dates as a spreadsheet program on this system would.
    const QLocale& system = FormatSettings::instance().systemLocale();
    run.workbook->setDisplayLocale(
        {FormatSettings::decimalSeparatorOf(system), FormatSettings::dateSeparatorOf(system)});

    run.RunStamp = run.startTime.toString(QStringLiteral("ddMMyy_HHmmss"));
    run.ReportPath = MakeReportPath(
        run.program.options.Edit2, run.program.data.DeviceNumber.value_or(QString()), run.RunStamp);
    run.savedPath = run.workbook->saveAs(run.ReportPath);

    run.ReportSheet = &run.workbook->worksheet(1);
    run.select(*run.ReportSheet);
    run.advance();

    run.ReportRow = 1;
    run.DataSheetRow = 1;
    run.PageNumber = 1;
    run.DataSheet = &run.workbook->sheets().add(&run.workbook->activeSheet());
}

// The samples and every table made of them, in the order the work interleaves.
void WriteSampleTables(ReportRun& run) {
    SelectAndConvertSamples(run);
    WriteChartDataColumns(run);
    WriteStateDurationTable(run);
    ThinSamples(run);
    run.channel2HasValues = !run.columns.Channel2Texts.isEmpty();
    WritePrintedTable(run);
    // The samples are in the sheets now; their memory goes before the chart and the save.
    run.columns = SampleColumns();
}

// The PDF copy of the report sheet; its failure is reported and the run goes on.
void ExportPdf(ReportRun& run) {
    QString pdf = run.savedPath;
    if (pdf.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        pdf.chop(5);
    }
    pdf += QStringLiteral(".pdf");
    try {
        run.pdfPath = run.ReportSheet->exportAsFixedFormat(xl::TypePDF, pdf);
    } catch (const std::exception& e) {
        run.progress.pdfFailed(messages::PdfFailed(UserMessage(e)));
    }
}

}  // namespace

ReportFiles BuildReport(ProgramState& state, ProgressListener& progress,
                        const QDateTime& startTime) {
    // The application lives for one run: the saved file is what the run leaves behind, so a
    // batch does not keep every workbook in memory.
    automation::Application application = automation::Application::connect();
    return BuildReport(state, progress, application, startTime);
}

ReportFiles BuildReport(ProgramState& state, ProgressListener& progress,
                        automation::Application& application, const QDateTime& startTime) {
    ReportRun run(state, progress, application);
    run.startTime = startTime;
    FormatSettings::instance().applyProgramConventions();
    run.decimalSeparator = FormatSettings::instance().decimalSeparator();
    progress.runStarted(ReportRun::kProgressMaximum);

    // Everything from here on is followed by the clean-up, also after a failure.
    try {
        CreateWorkbook(run);
        SetColumnWidths(run);
        WriteHeadingBlock(run);
        WriteChartDataHeading(run);
        run.select(*run.DataSheet);
        run.advance();

        const ReportOptions& o = state.options;
        if (run.channels.channel1 || run.channels.channel2) {
            WriteSampleTables(run);
        }
        progress.tableHidden();
        run.advance();

        BuildChart(run);
        FinishWorkbook(run);
        run.workbook->save();
        if (o.isChecked(R::CheckBox8)) {
            ExportPdf(run);
        }
    } catch (...) {
        // A failed run leaves nothing that looks like a protocol: not the empty workbook of
        // its first save either.
        if (!run.savedPath.isEmpty()) {
            files::RemoveQuietly(run.savedPath);
        }
        progress.runFinished();
        throw;
    }
    progress.runFinished();
    return ReportFiles{run.savedPath, run.pdfPath};
}

}  // namespace qorv

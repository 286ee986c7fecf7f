// The PDF copy of the report sheet: reports of generated two-channel exports (with the chart)
// are built in memory and saved, then the report sheet is exported as PDF and timed alone. The
// peak memory is the export's own, above what the built workbook already holds. LibreOffice
// converting the saved 8,192-sample workbook is the peer, timed in the same run. At 65,536
// samples the save of the same built workbook is timed beside its export.

#include "BenchUtil.h"
#include "LoggerFile.h"
#include "files/MemoryReuse.h"

#include "report/BuildReport.h"
#include "report/LoadLogFile.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

struct Silent : qorv::ProgressListener {};

// The save of the very same built workbook (Workbook::saveAs, as the report saves it), best of
// two, each to a new file, against its PDF export of `pdfSeconds`.
void CompareSaveWithPdf(qorv::automation::Workbook& book, const QString& outDir, int samples,
                        double pdfSeconds) {
    const double save = qorv::bench::BestSecondsHere(
        2, [&](int run) { book.saveAs(outDir + QString("/save_%1_%2").arg(samples).arg(run)); });
    std::printf("bench: save_%d %.3f s\n", samples, save);
    std::printf("bench: pdf_%d_vs_save_%d %.3f x\n", samples, samples, pdfSeconds / save);
}

// Builds the report in a child, then times its PDF export; prints the figures. The peak
// memory is the export's own, above what the built workbook holds.
void ExportOnce(const std::string& logger, const QString& outDir, int samples) {
    qorv::ProgramState state;
    qorv::LoadLogFile(state, QString::fromStdString(logger));
    state.options.Edit2 = outDir + '/';
    Silent silent;
    qorv::automation::Application application;
    const qorv::ReportFiles files =
        qorv::BuildReport(state, silent, application, QDateTime::currentDateTime());
    qorv::automation::Worksheet& report = application.activeWorkbook().worksheet(1);
    // Best of two exports of the same workbook: these machines are noisy.
    double seconds = 0;
    double peak = 0;
    QString pdf;
    for (int run = 0; run < 2; ++run) {
        if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", refs);
            std::fclose(refs);
        }
        const double baseline = qorv::bench::ProcStatusBytes("VmRSS:");
        const auto start = Clock::now();
        pdf = report.exportAsFixedFormat(0, outDir + QString("/pdf_%1").arg(samples));
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        seconds = run == 0 ? s : std::min(seconds, s);
        peak = std::max(peak, qorv::bench::ProcStatusBytes("VmHWM:") - baseline);
    }
    std::printf("bench: pdf_%d %.3f s\n", samples, seconds);
    std::printf("bench: pdf_%d_peak_rss %.0f MB\n", samples, peak / 1e6);
    std::printf("bench: pdf_%d_size %.1f MB\n", samples, QFileInfo(pdf).size() / 1e6);
    if (samples == 65536) {
        CompareSaveWithPdf(application.activeWorkbook(), outDir, samples, seconds);
    }
    if (samples == 8192) {
        // Keep the workbook for the peer's conversion.
        QFile::copy(files.workbook, outDir + "/peer_8192.xlsx");
    }
    std::fflush(stdout);
}

// LibreOffice converting the same saved workbook to PDF, with a private profile that exists
// already (its first start is not counted).
double LibreOfficeSeconds(const QString& dir) {
    const QString profile = "-env:UserInstallation=file://" + dir + "/lo-profile";
    const QStringList args = {profile,    "--headless", "--convert-to",         "pdf",
                              "--outdir", dir + "/lo",  dir + "/peer_8192.xlsx"};
    QProcess warm;
    warm.start("soffice", {profile, "--headless", "--terminate_after_init"});
    warm.waitForFinished(120000);
    const auto start = Clock::now();
    QProcess convert;
    convert.start("soffice", args);
    if (!convert.waitForFinished(300000) || convert.exitCode() != 0) {
        return -1;
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The PDF export of an 8,192-sample report built here, best of three, for the ratio.
double OursSeconds(const QString& dir) {
    const std::string logger = (dir + "/log_ratio.txt").toStdString();
    qorv::bench::WriteTwoChannelLogger(logger, 8192);
    qorv::ProgramState state;
    qorv::LoadLogFile(state, QString::fromStdString(logger));
    state.options.Edit2 = dir + '/';
    Silent silent;
    qorv::automation::Application application;
    qorv::BuildReport(state, silent, application, QDateTime::currentDateTime());
    qorv::automation::Worksheet& report = application.activeWorkbook().worksheet(1);
    return qorv::bench::BestSecondsHere(
        3, [&](int) { report.exportAsFixedFormat(0, dir + "/ratio"); });
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator set as the program sets it (the floors, run in children, inherit it).
    qorv::files::KeepFreedMemoryForReuse();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    for (int samples : {8192, 65536, 1000000}) {
        const std::string logger = dir.filePath(QString("log_%1.txt").arg(samples)).toStdString();
        qorv::bench::WriteTwoChannelLogger(logger, samples);
        qorv::bench::MeasureInChild([&] { ExportOnce(logger, dir.path(), samples); });
        QFile::remove(QString::fromStdString(logger));
    }
    const double ours = OursSeconds(dir.path());
    const double theirs = LibreOfficeSeconds(dir.path());
    if (theirs > 0) {
        qorv::bench::Report("pdf_libreoffice_8192", theirs, "s");
        qorv::bench::Report("pdf_vs_libreoffice", ours / theirs, "x");
    }
    return 0;
}

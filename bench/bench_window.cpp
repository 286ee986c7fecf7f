// The main window's report run with the PDF copy on a generated 65,536-sample two-channel file,
// against the same work done without the window, all in one run of this program (best of two
// rounds, each figure in a forked child of its own):
//   window_65536_pdf             the click on "Excel" until the click returns with the window
//                                enabled again: the window's checks, the run on its worker
//                                thread (build, save, PDF copy) while the window's thread paints
//                                the progress bars, and the window made usable again. The file
//                                is loaded into the window (as the open dialog does) before; the
//                                best of two clicks in the same window, as pdf_65536 is the
//                                best of two exports in the same process.
//   report_65536_total           load + checks + BuildReport with its saves, as bench_report
//                                times it;
//   report_65536_build_and_save  the same without the load, which the click does not include;
//   pdf_65536                    the PDF export of the built report sheet, as bench_pdf times it;
//   window_65536_pdf_vs_run      window_65536_pdf / (report_65536_build_and_save + pdf_65536).
// The mean kinetic temperature is on in both. Messages the window shows go to a desktop that
// records them, as the window's tests do; nothing waits for a click.

#include "BenchUtil.h"
#include "LoggerFile.h"
#include "files/MemoryReuse.h"

#include "report/BuildReport.h"
#include "report/LoadLogFile.h"
#include "report/ReportValidation.h"
#include "ui/Desktop.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSamples = 65536;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Silent : qorv::ProgressListener {};

// A desktop that shows nothing: it records messages and what the window opens, and every dialog
// is cancelled.
struct RecordingDesktop : qorv::ui::Desktop {
    void showMessage(QWidget*, const QString& text) override { messages << text; }
    void showError(QWidget*, const QString& text) override { messages << text; }
    QStringList chooseLoggerFiles(QWidget*, const QString&) override { return {}; }
    std::optional<QString> chooseDirectory(QWidget*, const QString&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
    void openWithDefaultHandler(const QString& path) override { opened << path; }

    QStringList messages;
    QStringList opened;
};

// A new folder under `dir` for one child's files.
QString NewFolder(const QString& dir, const char* name) {
    const QString folder = dir + '/' + name + QString::number(getpid());
    QDir().mkpath(folder);
    return folder;
}

// In a child: the window made, shown and given the file; then the click on "Excel" timed.
double WindowRunSeconds(const std::string& logger, const QString& dir) {
    const QString folder = NewFolder(dir, "window");
    qorv::ui::ProgramPlace place;
    place.directory = folder;  // the save directory at start; no settings file there
    place.settings = {folder + "/Qorv_Pr.ini", folder + "/config.ini"};
    qorv::ProgramState state;
    RecordingDesktop desktop;
    qorv::ui::TForm1 window(state, desktop, place);
    window.show();
    QApplication::processEvents();  // the start-up steps
    window.openFiles({QString::fromStdString(logger)});
    for (const char* name : {"CheckBox5", "CheckBox8"}) {  // mean kinetic temperature, PDF copy
        auto* box = window.findChild<QCheckBox*>(name);
        if (!box->isChecked()) {
            box->click();
        }
    }
    QPushButton* excel = nullptr;
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        excel = button->text() == QStringLiteral("Excel") ? button : excel;
    }
    QApplication::processEvents();
    double seconds = 0;
    for (int run = 0; run < 2; ++run) {
        const auto start = Clock::now();
        excel->click();
        seconds = run == 0 ? SecondsSince(start) : std::min(seconds, SecondsSince(start));
    }
    const bool done = excel->isEnabled() && desktop.opened.size() == 2 &&
                      desktop.messages.isEmpty() && QDir(folder).entryList({"*.pdf"}).size() == 2;
    if (!done) {
        std::fprintf(stderr, "bench_window: the window's run did not end as expected\n");
        _exit(2);
    }
    return seconds;
}

// The program state after the load, with the options both runs use.
void LoadForReport(qorv::ProgramState& state, const std::string& logger, const QString& folder) {
    qorv::LoadLogFile(state, QString::fromStdString(logger));
    state.options.Edit2 = folder + '/';
    state.options.setChecked(qorv::ReportOptions::CheckBox5, true);
}

struct RunSeconds {
    double load = 0;
    double buildAndSave = 0;
};

// In a child: the report run as bench_report times it, its load timed on its own.
RunSeconds ReportRunSeconds(const std::string& logger, const QString& dir) {
    const QString folder = NewFolder(dir, "report");
    RunSeconds run;
    const auto start = Clock::now();
    qorv::ProgramState state;
    LoadForReport(state, logger, folder);
    run.load = SecondsSince(start);
    const auto built = Clock::now();
    if (qorv::ValidateReportOptions(state.options, state.data)) {
        _exit(2);
    }
    Silent silent;
    qorv::BuildReport(state, silent);
    run.buildAndSave = SecondsSince(built);
    return run;
}

// In a child: the report built, then its report sheet's PDF export timed, best of two.
double PdfSeconds(const std::string& logger, const QString& dir) {
    const QString folder = NewFolder(dir, "pdf");
    qorv::ProgramState state;
    LoadForReport(state, logger, folder);
    Silent silent;
    qorv::automation::Application application;
    qorv::BuildReport(state, silent, application, QDateTime::currentDateTime());
    qorv::automation::Worksheet& report = application.activeWorkbook().worksheet(1);
    return qorv::bench::BestSecondsHere(
        2, [&](int run) { report.exportAsFixedFormat(0, folder + QString("/pdf_%1").arg(run)); });
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator set as the program sets it (the floors, run in children, inherit it).
    qorv::files::KeepFreedMemoryForReuse();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string logger = dir.filePath("log_65536.txt").toStdString();
    qorv::bench::WriteTwoChannelLogger(logger, kSamples);
    using qorv::bench::RunInChild;
    double window = -1;
    double total = -1;
    double buildAndSave = -1;
    double pdf = -1;
    // In turns, so that a slower moment of the machine does not fall on one figure only.
    for (int round = 0; round < 2; ++round) {
        const double w = RunInChild<double>([&] { return WindowRunSeconds(logger, dir.path()); });
        const RunSeconds r =
            RunInChild<RunSeconds>([&] { return ReportRunSeconds(logger, dir.path()); });
        const double p = RunInChild<double>([&] { return PdfSeconds(logger, dir.path()); });
        window = round == 0 ? w : std::min(window, w);
        total = round == 0 ? r.load + r.buildAndSave : std::min(total, r.load + r.buildAndSave);
        buildAndSave = round == 0 ? r.buildAndSave : std::min(buildAndSave, r.buildAndSave);
        pdf = round == 0 ? p : std::min(pdf, p);
    }
    using qorv::bench::Report;
    Report("window_65536_pdf", window, "s");
    Report("report_65536_total", total, "s");
    Report("report_65536_build_and_save", buildAndSave, "s");
    Report("pdf_65536", pdf, "s");
    Report("window_65536_pdf_vs_run", window / (buildAndSave + pdf), "x");
    return 0;
}

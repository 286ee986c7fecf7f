// Full report runs (load + run + save, no PDF) of generated two-channel logger files with the
// mean kinetic temperature on, at 8,192, 65,536 and 1,000,000 samples, the largest against the
// floors of loading and saving and once more with the statistics section and the limit lines.
// Each size runs in a forked child, which prints the time of every stage of the run; the parent
// prints the totals, the peak memory and how the cost per sample grows.

#include "BenchUtil.h"
#include "LoadFloor.h"
#include "LoggerFile.h"
#include "SaveFloor.h"
#include "files/MemoryReuse.h"

#include "report/BuildReport.h"
#include "report/LoadLogFile.h"
#include "report/ReportValidation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Times the stages between the run's progress advances.
class StageClock : public qorv::ProgressListener {
  public:
    explicit StageClock(Clock::time_point start) : last_(start) {}
    void runAdvanced(int) override { lap(); }
    void runFinished() override { lap(); }
    std::vector<double> laps;

  private:
    void lap() {
        const auto now = Clock::now();
        laps.push_back(std::chrono::duration<double>(now - last_).count());
        last_ = now;
    }
    Clock::time_point last_;
};

// The stage each lap ends, in the order of the run's advances. Both channels' corrections, the
// mean kinetic temperature and the smoothing run side by side and end together, so their work
// is all in the first of their three laps; the sample texts are let go in "tables_done".
const char* const kStages[] = {
    "create_and_first_save", "heading_block",       "selection",         "splitting",
    "conversions",           "conversions_end_2",   "conversions_end_3", "chart_data_times",
    "chart_data_channel1",   "chart_data_channel2", "state_durations",   "step",
    "compression",           "printed_table",       "tables_done",       "finish_and_save",
};

// The report button's checks with a correction that is not the identity, which makes them go
// through every selected sample once (with the defaults they need no pass at all).
void validateOnce(const std::string& file, const QString& outDir, int samples) {
    qorv::ProgramState state;
    qorv::LoadLogFile(state, QString::fromStdString(file));
    state.options.Edit2 = outDir + '/';
    state.options.Edit7 = QStringLiteral("1,0001");
    const auto start = Clock::now();
    const auto refusal = qorv::ValidateReportOptions(state.options, state.data);
    std::printf("bench: validate_%d_scan %.3f s%s\n", samples,
                std::chrono::duration<double>(Clock::now() - start).count(),
                refusal ? " (refused!)" : "");
    std::fflush(stdout);
}

// `extras`: the statistics section and the limit lines of both channels.
void runOnce(const std::string& file, const QString& outDir, int samples, bool extras) {
    const auto start = Clock::now();
    qorv::ProgramState state;
    qorv::LoadLogFile(state, QString::fromStdString(file));
    state.options.Edit2 = outDir + '/';
    state.keepsSelection = false;  // one report of the file, as the command line makes it
    state.options.setChecked(qorv::ReportOptions::CheckBox5, true);
    state.options.Statistics = extras;
    state.chart.TempLimitLines = extras;
    state.chart.DataLimitLines = extras;
    // The checks the report button makes first (with these options they need no sample pass).
    if (const auto refusal = qorv::ValidateReportOptions(state.options, state.data)) {
        std::printf("bench: report_%d refused: %s\n", samples, qPrintable(*refusal));
    }
    const auto loaded = Clock::now();
    StageClock clock(loaded);
    qorv::BuildReport(state, clock);
    std::printf("bench: report_%d_load_and_checks %.3f s\n", samples,
                std::chrono::duration<double>(loaded - start).count());
    for (size_t i = 0; !extras && i < clock.laps.size() && i < std::size(kStages); ++i) {
        std::printf("bench: report_%d_stage_%s %.3f s\n", samples, kStages[i], clock.laps[i]);
    }
    std::fflush(stdout);
}

constexpr int kLarge = 1000000;

// The largest report against the floors of any loader and any writer, best of two, each in a
// child of its own in the same run: reading its file into owned lines (LoadFloor.h), and writing
// a workbook of as many samples in the save benchmark's shape (SaveFloor.h; its values made
// before its timer starts).
void CompareWithFloors(const std::string& file, const QString& outDir,
                       const qorv::bench::Measurement& report) {
    using namespace qorv::bench;
    const Measurement load = BestOf(2, [&] {
        if (ReadAndSplit(file) < std::size_t(kLarge)) {
            _exit(2);
        }
    });
    const std::string floorPath = (outDir + "/save_floor.xlsx").toStdString();
    const Measurement save =
        BestOf(2, [&, values = MakeFloorValues(kLarge)] { WriteSaveFloor(values, floorPath); });
    const double fileBytes = double(QFileInfo(QString::fromStdString(file)).size());
    Report("load_floor_1000000", load.seconds, "s");
    Report("save_floor_1000000", save.seconds, "s");
    Report("report_1000000_vs_floor", report.seconds / (load.seconds + save.seconds), "x");
    Report("report_1000000_peak_rss_vs_file_size", report.peakBytes / fileBytes, "x");
}

// The same report with the statistics section (one more pass over the selection) and the limit
// lines against the plain one: best of three of each, taken in turns, so that a slower moment
// of the machine does not fall on one of them only. The plain run measured before is not one of
// them: the first report a benchmark makes is the fastest of all (its printed table 0.09 s
// faster than any later one, with or without the extras), which would count against these.
void CompareWithExtras(const std::string& file, const QString& outDir) {
    double plain = -1;
    double extras = -1;
    const auto best = [](double& so_far, double seconds) {
        so_far = so_far < 0 ? seconds : std::min(so_far, seconds);
    };
    for (int round = 0; round < 3; ++round) {
        best(plain,
             qorv::bench::MeasureInChild([&] { runOnce(file, outDir, kLarge, false); }).seconds);
        best(extras,
             qorv::bench::MeasureInChild([&] { runOnce(file, outDir, kLarge, true); }).seconds);
    }
    std::printf("bench: report_1000000_stats_total %.3f s\n", extras);
    std::printf("bench: report_1000000_stats_vs_plain %.3f x\n", extras / plain);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator set as the program sets it (the floors, run in children, inherit it).
    qorv::files::KeepFreedMemoryForReuse();
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<int> sizes = {8192, 65536, kLarge};
    std::vector<qorv::bench::Measurement> results;
    for (int samples : sizes) {
        const std::string file = dir.filePath(QString("log_%1.txt").arg(samples)).toStdString();
        qorv::bench::WriteTwoChannelLogger(file, samples);
        const qorv::bench::Measurement m =
            qorv::bench::MeasureInChild([&] { runOnce(file, dir.path(), samples, false); });
        results.push_back(m);
        std::printf("bench: report_%d_total %.3f s\n", samples, m.seconds);
        std::printf("bench: report_%d_peak_rss %.0f MB\n", samples, m.peakBytes / 1e6);
        std::fflush(stdout);
        qorv::bench::MeasureInChild([&] { validateOnce(file, dir.path(), samples); });
        if (samples == kLarge) {
            CompareWithFloors(file, dir.path(), m);
            CompareWithExtras(file, dir.path());
        }
    }
    const double perSample65536 = results[1].seconds / 65536.0;
    const double perSample1000000 = results[2].seconds / 1000000.0;
    std::printf("bench: report_cost_per_sample_ratio %.2f x\n", perSample1000000 / perSample65536);
    return 0;
}

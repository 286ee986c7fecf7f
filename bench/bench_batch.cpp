// A batch of 64 generated two-channel logger files of 65,536 samples each, built by the
// command-line tool itself with -j 1 (one file after the other, in one process) and with -j 2
// (two processes at once), each run into a folder of its own, best of two each in the same run.

#include "BenchUtil.h"
#include "LoggerFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFiles = 64;
constexpr int kSamples = 65536;

// Runs the tool over the files into `out`; returns the wall-clock seconds, or a negative
// number when it did not build every report.
double RunBatch(const QStringList& files, const QString& jobs, const QString& out) {
    QDir().mkpath(out);
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    const auto start = Clock::now();
    tool.start(QStringLiteral(QORV_BIN_DIR "/qorv-pr-report"),
               QStringList{"-j", jobs, "-o", out} + files);
    if (!tool.waitForFinished(-1) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        return -1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const qsizetype saved = QDir(out).entryList({"*.xlsx"}, QDir::Files).size();
    return saved == kFiles ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < kFiles; ++i) {
        files << dir.filePath(QStringLiteral("log_%1.txt").arg(i, 2, 10, QChar('0')));
        qorv::bench::WriteTwoChannelLogger(files.back().toStdString(), kSamples);
    }

    // Best of two of each, taken in turns, so that a slower moment of the machine does not
    // fall on one of them only.
    double one = -1;
    double two = -1;
    for (int round = 0; round < 2; ++round) {
        for (const char* jobs : {"1", "2"}) {
            const double seconds = RunBatch(
                files, jobs, dir.filePath(QStringLiteral("jobs%1_%2").arg(jobs).arg(round)));
            if (seconds < 0) {
                std::printf("bench: batch_64x65536 -j %s failed\n", jobs);
                return 1;
            }
            double& best = jobs[0] == '1' ? one : two;
            best = best < 0 ? seconds : std::min(best, seconds);
        }
    }
    qorv::bench::Report("batch_64x65536_jobs1", one, "s");
    qorv::bench::Report("batch_64x65536_jobs2", two, "s");
    qorv::bench::Report("batch_64x65536_jobs2_vs_jobs1", two / one, "x");

    return 0;
}

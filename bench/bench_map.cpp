// A mapping study of 30 generated two-channel loggers of 65,536 samples each, with its PDF
// copy, against one protocol of one such file with its PDF copy, both made by the
// command-line tool itself in the same run, best of two each.

#include "BenchUtil.h"
#include "LoggerFile.h"
#include "ToolRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kLoggers = 30;
constexpr int kSamples = 65536;

// Runs the tool with `arguments` into a new folder `out`; returns the wall-clock seconds, or a
// negative number when it did not save a workbook and a PDF.
double RunTool(const QStringList& arguments, const QString& out) {
    const double seconds =
        qorv::bench::RunToolSeconds(arguments + QStringList{"--pdf", "-o", out}, out);
    const QDir folder(out);
    const bool saved = folder.entryList({"*.xlsx"}, QDir::Files).size() == 1 &&
                       folder.entryList({"*.pdf"}, QDir::Files).size() == 1;
    return seconds >= 0 && saved ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QStringList loggers =
        qorv::bench::WriteTwoChannelLoggers(dir.path(), "place", kLoggers, kSamples, true);

    double map = -1;
    double one = -1;
    for (int round = 0; round < 2; ++round) {
        const double study =
            RunTool(QStringList{"map"} + loggers, dir.filePath(QStringLiteral("map%1").arg(round)));
        const double protocol =
            RunTool({loggers.front()}, dir.filePath(QStringLiteral("one%1").arg(round)));
        if (study < 0 || protocol < 0) {
            std::printf("bench: map_30x65536_vs_one failed (%s)\n", study < 0 ? "map" : "one");
            return 1;
        }
        map = map < 0 ? study : std::min(map, study);
        one = one < 0 ? protocol : std::min(one, protocol);
    }
    qorv::bench::Report("map_30x65536", map, "s");
    qorv::bench::Report("one_65536_protocol", one, "s");
    qorv::bench::Report("map_30x65536_vs_one", map / one, "x");
    return 0;
}

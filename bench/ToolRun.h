#pragma once
// Runs the command-line tool as a user would and times it.

#include <QDir>
#include <QProcess>
#include <QStringList>

#include <chrono>

namespace qorv::bench {

// Runs qorv-pr-report with `arguments` (its output discarded), after making the folder `out`;
// returns the wall-clock seconds, or a negative number when it did not end with 0.
inline double RunToolSeconds(const QStringList& arguments, const QString& out) {
    QDir().mkpath(out);
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.setStandardErrorFile(QProcess::nullDevice());
    const auto start = std::chrono::steady_clock::now();
    tool.start(QStringLiteral(QORV_BIN_DIR "/qorv-pr-report"), arguments);
    if (!tool.waitForFinished(-1) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        return -1;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace qorv::bench

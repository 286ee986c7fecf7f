#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace qorv::test {

// What another program printed and how it ended.
struct ProcessResult {
    int exitCode = -1;
    QString output;  // standard output and error together
};

// Runs a program to its end (at most `timeoutMs`); a program that does not start or does not
// finish in time gives exit code -1 and says so in `output`.
inline ProcessResult RunProcess(const QString& program, const QStringList& arguments,
                                int timeoutMs = 300000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ProcessResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("timed out or failed to start: ") + program;
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

// Converts `file` with LibreOffice headless into `format` ("pdf", "xlsx") in `outDir`, with a
// private profile under `profileDir`, so that parallel runs do not share LibreOffice's state.
inline ProcessResult ConvertWithLibreOffice(const QString& profileDir, const QString& file,
                                            const QString& format, const QString& outDir) {
    return RunProcess(
        QStringLiteral("soffice"),
        {QStringLiteral("-env:UserInstallation=file://") + profileDir, QStringLiteral("--headless"),
         QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), outDir, file});
}

}  // namespace qorv::test

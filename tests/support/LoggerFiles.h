#pragma once

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QStringList>

namespace qorv::test {

// Writes a logger export as the read-out program does: Windows-1251, every line ended by CR LF.
// Returns the file's path, or an empty text when it could not be written.
inline QString WriteLoggerFile(const QDir& dir, const QString& name, const QStringList& lines) {
    QStringEncoder encoder("windows-1251");
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QString();
    }
    file.write(encoder(lines.join("\r\n") + "\r\n"));
    return path;
}

}  // namespace qorv::test

#pragma once

#include "files/CodePage1251.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace qorv::test {

// Writes a logger export as the read-out program does: Windows-1251, every line ended by CR LF.
// Returns the file's path, or an empty text when it could not be written.
inline QString WriteLoggerFile(const QDir& dir, const QString& name, const QStringList& lines) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QString();
    }
    const std::optional<QByteArray> bytes =
        files::CodePage1251().encode(lines.join("\r\n") + "\r\n");
    if (!bytes || file.write(*bytes) != bytes->size()) {
        return QString();
    }
    return path;
}

}  // namespace qorv::test

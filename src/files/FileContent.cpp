#include "files/FileContent.h"

#include "files/FileName.h"
#include "files/TemporaryReplace.h"

#include <QFile>

#include <cerrno>

namespace qorv::files {

// The same on every system: the kind is decided by OpenRegularFile, the reading is Qt's.
WholeFile ReadWholeFile(const QString& name, qsizetype limit) {
    WholeFile result;
    const OpenedFile opened = OpenRegularFile(name);
    result.kind = opened.kind;
    result.error = opened.error;
    if (opened.descriptor < 0) {
        return result;
    }
    QFile file;
    if (!file.open(opened.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        CloseDescriptor(opened.descriptor);
        result.error = EIO;
        return result;
    }
    char buffer[4096];
    for (;;) {
        errno = 0;
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            result.error = errno != 0 ? errno : EIO;
            break;
        }
        if (result.content.size() + got > limit) {
            result.error = EFBIG;
            break;
        }
        result.content.append(buffer, got);
    }
    if (result.error != 0) {
        result.content.clear();
    }
    return result;
}

ReadOnlyFileError::ReadOnlyFileError(const QString& name) : FileSystemError(name, EACCES) {}

void ReplaceWithTemporary(
    const QString& target,
    const std::function<int(int descriptor, const QString& temporary)>& fill) {
    QString temporary;
    const int fd = CreateTemporaryFile(DirectoryOf(target), temporary);
    if (fd < 0) {
        throw FileSystemError(temporary, errno);
    }
    try {
        if (const int error = fill(fd, temporary)) {
            throw FileSystemError(temporary, error);
        }
        ReplaceFile(temporary, target);
    } catch (...) {
        RemoveQuietly(temporary);
        throw;
    }
}

}  // namespace qorv::files

#include "files/SafeSave.h"

#include "files/FileName.h"
#include "files/Interruption.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qorv::files {

namespace {

// More numbered names than anyone keeps in one folder; past it the save gives up.
constexpr int kMaxNumber = 1000000;

int SyncDescriptorOf(const QString& name, int flags) {
    const int fd = ::open(EncodeFileName(name).constData(), flags | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

// The folder's entry for a renamed file reaches the disk too; a file system that cannot sync a
// folder (EINVAL) has nothing to flush.
void SyncFolderOf(const QString& name) {
    const int error = SyncDescriptorOf(DirectoryOf(name), O_RDONLY | O_DIRECTORY);
    if (error != 0 && error != EINVAL && error != EACCES) {
        throw FileSystemError(DirectoryOf(name), error);
    }
}

// Renames without replacing: 0, EEXIST when the name is taken, or the failure. File systems
// without an exclusive rename (some network shares) take the name by creating it exclusively
// and then renaming over that empty file of their own.
int RenameExclusively(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return errno;
    }
    const int fd = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    if (::rename(from.constData(), to.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData());
        return error;
    }
    return 0;
}

}  // namespace

FileSystemError::FileSystemError(const QString& name, int error)
    : std::runtime_error(EncodeFileName(name).toStdString() + ": " + std::strerror(error)),
      name_(name),
      error_(error) {}

QString TemporaryNameIn(const QString& folder) {
    const quint64 random = QRandomGenerator::system()->generate64();
    QString name = folder;
    if (!name.endsWith(u'/')) {
        name += u'/';
    }
    return name + QStringLiteral(".qorv-pr-%1.tmp").arg(random, 16, 16, QChar(u'0'));
}

int CreateTemporaryFile(const QString& folder, QString& temporary) {
    for (int attempt = 0;; ++attempt) {
        temporary = TemporaryNameIn(folder);
        const int fd = ::open(EncodeFileName(temporary).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            RememberTemporaryFile(temporary);
        }
        if (fd >= 0 || errno != EEXIST || attempt >= 10) {
            return fd;
        }
    }
}

void SyncToDisk(const QString& name) {
    if (const int error = SyncDescriptorOf(name, O_RDONLY)) {
        throw FileSystemError(name, error);
    }
}

QString NumberedName(const QString& wanted, int n) {
    const qsizetype slash = wanted.lastIndexOf(u'/');
    const qsizetype dot = wanted.lastIndexOf(u'.');
    const qsizetype cut = dot > slash + 1 ? dot : wanted.size();
    return wanted.left(cut) + QStringLiteral("_%1").arg(n) + wanted.mid(cut);
}

QString PublishNewFile(const QString& temporary, const QString& wanted) {
    const QByteArray from = EncodeFileName(temporary);
    for (int n = 1; n <= kMaxNumber; ++n) {
        const QString candidate = n == 1 ? wanted : NumberedName(wanted, n);
        const int error = RenameExclusively(from, EncodeFileName(candidate));
        if (error == 0) {
            ForgetTemporaryFile(temporary);
            SyncFolderOf(candidate);
            return candidate;
        }
        if (error != EEXIST) {
            throw FileSystemError(candidate, error);
        }
    }
    throw FileSystemError(wanted, EEXIST);
}

void ReplaceFile(const QString& temporary, const QString& target) {
    if (::rename(EncodeFileName(temporary).constData(), EncodeFileName(target).constData()) != 0) {
        throw FileSystemError(target, errno);
    }
    ForgetTemporaryFile(temporary);
    SyncFolderOf(target);
}

void RemoveQuietly(const QString& name) {
    ::unlink(EncodeFileName(name).constData());
    ForgetTemporaryFile(name);
}

}  // namespace qorv::files

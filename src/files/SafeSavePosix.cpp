// Saving on Linux and other POSIX systems: descriptors, fsync and renameat2.
#include "files/FileName.h"
#include "files/Interruption.h"
#include "files/SafeSave.h"
#include "files/SystemSave.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace qorv::files {

namespace {

int SyncDescriptorOf(const QString& name, int flags) {
    const int fd = ::open(EncodeFileName(name).constData(), flags | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

}  // namespace

namespace system {

// The folder's entry for a renamed file reaches the disk too; a file system that cannot sync a
// folder (EINVAL) has nothing to flush.
void SyncFolderOf(const QString& name) {
    const int error = SyncDescriptorOf(DirectoryOf(name), O_RDONLY | O_DIRECTORY);
    if (error != 0 && error != EINVAL && error != EACCES) {
        throw FileSystemError(DirectoryOf(name), error);
    }
}

// File systems without an exclusive rename (some network shares) take the name by creating it
// exclusively and then renaming over that empty file of their own.
int RenameWithoutReplacing(const QString& fromName, const QString& toName) {
    const QByteArray from = EncodeFileName(fromName);
    const QByteArray to = EncodeFileName(toName);
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

}  // namespace system

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

int SyncDescriptor(int descriptor) {
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

void CloseDescriptor(int descriptor) {
    ::close(descriptor);
}

void ReplaceFile(const QString& temporary, const QString& target) {
    if (::rename(EncodeFileName(temporary).constData(), EncodeFileName(target).constData()) != 0) {
        throw FileSystemError(target, errno);
    }
    ForgetTemporaryFile(temporary);
    system::SyncFolderOf(target);
}

void RemoveQuietly(const QString& name) {
    ::unlink(EncodeFileName(name).constData());
    ForgetTemporaryFile(name);
}

}  // namespace qorv::files

#include "files/FileKind.h"

#include "files/FileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qorv::files {

namespace {

FileKind KindOfMode(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return FileKind::Regular;
        case S_IFDIR:
            return FileKind::Directory;
        case S_IFIFO:
            return FileKind::Fifo;
        case S_IFCHR:
            return FileKind::CharacterDevice;
        case S_IFBLK:
            return FileKind::BlockDevice;
        case S_IFSOCK:
            return FileKind::Socket;
        default:
            return FileKind::Other;
    }
}

}  // namespace

// An empty name needs no case of its own: the system finds nothing there (ENOENT).
FileKind KindOf(const QString& name, int* error) {
    struct stat info {};
    if (::stat(EncodeFileName(name).constData(), &info) != 0) {
        if (error) {
            *error = errno;
        }
        return FileKind::Missing;
    }
    return KindOfMode(info.st_mode);
}

OpenedFile OpenRegularFile(const QString& name) {
    OpenedFile result;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd =
        ::open(EncodeFileName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.error = errno;
        ::close(fd);
        return result;
    }
    result.kind = KindOfMode(info.st_mode);
    if (result.kind != FileKind::Regular) {
        ::close(fd);
        return result;
    }
    // Reads of a regular file never wait anyway; clear the flag so that nothing depends on it.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    result.descriptor = fd;
    return result;
}

}  // namespace qorv::files

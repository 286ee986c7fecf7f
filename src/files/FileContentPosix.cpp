#include "files/FileContent.h"

#include "files/FileName.h"
#include "files/TemporaryReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

// Small files read and written whole on Linux and other POSIX systems.
namespace qorv::files {

namespace {

// Symbolic links followed this many times at most, as the system itself does.
constexpr int kMaxLinks = 40;

// The name a write of `name` ends at: `name` with every symbolic link on its last part
// followed. The target of a dangling link is that target's name.
QString FinalTarget(const QString& name) {
    QString current = name;
    for (int links = 0;; ++links) {
        const QByteArray bytes = EncodeFileName(current);
        struct stat info {};
        if (::lstat(bytes.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        if (links == kMaxLinks) {
            throw FileSystemError(name, ELOOP);
        }
        std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t length = ::readlink(bytes.constData(), target.data(), target.size());
        if (length < 0) {
            throw FileSystemError(current, errno);
        }
        const QString next = DecodeFileName(QByteArrayView(target.data(), length));
        current = next.startsWith(u'/') ? next : DirectoryOf(current) + u'/' + next;
    }
}

// Writes all of `bytes` to `fd` and closes it; 0 or the first error.
int WriteAndClose(int fd, QByteArrayView bytes) {
    int error = 0;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        done += put;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR) {
        error = errno;
    }
    return error;
}

}  // namespace

void ReplaceFileContent(const QString& name, QByteArrayView bytes) {
    const QString target = FinalTarget(name);
    struct stat info {};
    const bool exists = ::stat(EncodeFileName(target).constData(), &info) == 0;
    if (!exists && errno != ENOENT) {
        throw FileSystemError(target, errno);
    }
    if (exists && !S_ISREG(info.st_mode)) {
        throw FileSystemError(target, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    if (exists && (info.st_mode & 0222) == 0) {
        throw ReadOnlyFileError(target);
    }
    ReplaceWithTemporary(target, [&](int fd, const QString& temporary) {
        if (exists && ::fchmod(fd, info.st_mode & 07777) != 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (const int error = WriteAndClose(fd, bytes)) {
            return error;
        }
        SyncToDisk(temporary);
        return 0;
    });
}

void CreateFolderPath(const QString& folder) {
    const QByteArray path = EncodeFileName(folder);
    for (qsizetype end = 1; end <= path.size(); ++end) {
        if (end == path.size() || path[end] == '/') {
            const QByteArray part = path.first(end);
            if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) {
                throw FileSystemError(DecodeFileName(part), errno);
            }
        }
    }
}

bool FolderAllowsNewFiles(const QString& folder) {
    struct stat info {};
    if (::stat(EncodeFileName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    const mode_t needed = S_IWOTH | S_IXOTH;  // write and search, in the "others" position
    int shift = 0;                            // others
    if (info.st_uid == ::geteuid()) {
        shift = 6;
    } else if (info.st_gid == ::getegid()) {
        shift = 3;
    } else {
        std::vector<gid_t> groups(static_cast<size_t>(::getgroups(0, nullptr)) + 1);
        const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
        for (int i = 0; i < count; ++i) {
            if (groups[i] == info.st_gid) {
                shift = 3;
            }
        }
    }
    return ((info.st_mode >> shift) & needed) == needed;
}

}  // namespace qorv::files

// Small files read and written whole on Windows. A file the user made read-only carries the
// read-only attribute there; links (symbolic links, junctions) are followed by the system when
// the file is opened, and the final name of the opened file is where the write goes.
#include "files/FileContent.h"
#include "files/FileName.h"
#include "files/TemporaryReplace.h"
#include "files/WindowsSystem.h"

#include <windows.h>
#undef ReplaceFile  // ours, not the API's

#include <QDir>

#include <io.h>

#include <cerrno>
#include <vector>

namespace qorv::files {

namespace {

int LastErrno() {
    return windows::ErrnoFromWindowsError(::GetLastError());
}

// The attributes of the file `name` stands for and its final name, links followed; the
// attributes are INVALID_FILE_ATTRIBUTES when nothing is there.
DWORD FinalTarget(const QString& name, QString& target) {
    target = name;
    const HANDLE handle = ::CreateFileW(
        windows::ApiName(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const int error = LastErrno();
        if (error != ENOENT) {
            throw FileSystemError(name, error);
        }
        return INVALID_FILE_ATTRIBUTES;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info);
    std::vector<wchar_t> final(32768);
    const DWORD length = ::GetFinalPathNameByHandleW(handle, final.data(), DWORD(final.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    ::CloseHandle(handle);
    if (length > 0 && length < final.size()) {
        QString path = QString::fromWCharArray(final.data(), length);
        if (path.startsWith(QLatin1String("\\\\?\\UNC\\"))) {
            path = QStringLiteral("\\\\") + path.mid(8);
        } else if (path.startsWith(QLatin1String("\\\\?\\"))) {
            path = path.mid(4);
        }
        target = QDir::fromNativeSeparators(path);
    }
    return known ? info.dwFileAttributes : FILE_ATTRIBUTE_NORMAL;
}

}  // namespace

void ReplaceFileContent(const QString& name, QByteArrayView bytes) {
    QString target;
    const DWORD attributes = FinalTarget(name, target);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        throw FileSystemError(target, EISDIR);
    }
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        throw ReadOnlyFileError(target);
    }
    ReplaceWithTemporary(target, [bytes](int fd, const QString&) {
        int error = 0;
        for (qsizetype done = 0; done < bytes.size() && error == 0;) {
            const int put = ::_write(fd, bytes.data() + done,
                                     unsigned(std::min<qsizetype>(bytes.size() - done, 1 << 30)));
            if (put < 0) {
                error = errno;
            } else {
                done += put;
            }
        }
        if (error == 0) {
            error = SyncDescriptor(fd);
        }
        ::_close(fd);
        return error;
    });
    // The file keeps what it was: hidden, say, or not indexed.
    if (exists) {
        ::SetFileAttributesW(windows::ApiName(target).c_str(), attributes);
    }
}

void CreateFolderPath(const QString& folder) {
    if (KindOf(folder) == FileKind::Directory) {
        return;
    }
    const QString above = DirectoryOf(folder);
    if (above != folder && !above.isEmpty() && above != QLatin1String(".")) {
        CreateFolderPath(above);
    }
    if (!::CreateDirectoryW(windows::ApiName(folder).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
        throw FileSystemError(folder, LastErrno());
    }
}

// Windows decides through the folder's access list, which only an attempt reads reliably: a
// file is created there and removed again.
bool FolderAllowsNewFiles(const QString& folder) {
    if (KindOf(folder) != FileKind::Directory) {
        return false;
    }
    QString probe;
    const int fd = CreateTemporaryFile(folder, probe);
    if (fd < 0) {
        return false;
    }
    ::_close(fd);
    RemoveQuietly(probe);
    return true;
}

}  // namespace qorv::files

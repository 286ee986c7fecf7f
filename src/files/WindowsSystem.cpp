#include "files/WindowsSystem.h"

#include "files/FileName.h"

#include <windows.h>

#include <QDir>

#include <cerrno>

namespace qorv::files::windows {

namespace {

// Past this length some API calls refuse a plain name (MAX_PATH less room for an 8.3 name).
constexpr qsizetype kPlainNameLimit = 248;

}  // namespace

std::wstring ApiName(const QString& name) {
    QString native = QDir::toNativeSeparators(name);
    if (native.size() >= kPlainNameLimit && !native.startsWith(QLatin1String("\\\\?\\"))) {
        // The extended form is taken literally: it must be absolute and without "." or "..".
        native = QDir::toNativeSeparators(QDir::cleanPath(AbsoluteFileName(name)));
        if (native.startsWith(QLatin1String("\\\\"))) {
            native = QStringLiteral("\\\\?\\UNC\\") + native.mid(2);
        } else {
            native = QStringLiteral("\\\\?\\") + native;
        }
    }
    return native.toStdWString();
}

int ErrnoFromWindowsError(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return EBUSY;  // another program, a spreadsheet program most often, has it open
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_PARAMETER:
            return EINVAL;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_INVALID_HANDLE:
            return EBADF;
        default:
            return EIO;
    }
}

bool IsReservedDeviceName(const QString& name) {
    QString last = LastNameOf(QDir::fromNativeSeparators(name));
    // Windows drops trailing dots and blanks, and the device name ignores any extension.
    while (last.endsWith(u'.') || last.endsWith(u' ')) {
        last.chop(1);
    }
    const QString stem = last.left(last.indexOf(u'.')).trimmed().toUpper();
    if (stem == QLatin1String("CON") || stem == QLatin1String("PRN") ||
        stem == QLatin1String("AUX") || stem == QLatin1String("NUL") ||
        stem == QLatin1String("CONIN$") || stem == QLatin1String("CONOUT$")) {
        return true;
    }
    return stem.size() == 4 &&
           (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
           stem[3] >= u'1' && stem[3] <= u'9';
}

}  // namespace qorv::files::windows

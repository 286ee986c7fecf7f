// What a name stands for on Windows: the file's attributes and, for an opened file, its type.
#include "files/FileKind.h"
#include "files/FileName.h"
#include "files/WindowsSystem.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>

namespace qorv::files {

namespace {

FileKind KindOfType(DWORD type, DWORD attributes) {
    switch (type) {
        case FILE_TYPE_DISK:
            return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Directory
                                                           : FileKind::Regular;
        case FILE_TYPE_CHAR:
            return FileKind::CharacterDevice;
        case FILE_TYPE_PIPE:
            return FileKind::Fifo;
        default:
            return FileKind::Other;
    }
}

}  // namespace

FileKind KindOf(const QString& name, int* error) {
    if (name.isEmpty()) {
        if (error) {
            *error = ENOENT;
        }
        return FileKind::Missing;
    }
    if (windows::IsReservedDeviceName(name)) {
        return FileKind::CharacterDevice;
    }
    const std::wstring apiName = windows::ApiName(name);
    if (apiName.rfind(L"\\\\.\\", 0) == 0) {
        return FileKind::CharacterDevice;  // \\.\COM1, \\.\PhysicalDrive0, \\.\pipe\...
    }
    // Symbolic links and junctions are followed, as stat follows them.
    const HANDLE handle =
        ::CreateFileW(apiName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error) {
            *error = windows::ErrnoFromWindowsError(::GetLastError());
        }
        return FileKind::Missing;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD type = ::GetFileType(handle);
    const DWORD attributes =
        ::GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes : 0;
    ::CloseHandle(handle);
    return KindOfType(type, attributes);
}

OpenedFile OpenRegularFile(const QString& name) {
    OpenedFile result;
    if (name.isEmpty()) {
        result.error = ENOENT;
        return result;
    }
    // A device name opens the device, and a read from a console or a printer port waits: refuse
    // it before opening anything.
    if (windows::IsReservedDeviceName(name)) {
        result.kind = FileKind::CharacterDevice;
        return result;
    }
    const std::wstring apiName = windows::ApiName(name);
    if (apiName.rfind(L"\\\\.\\", 0) == 0) {
        result.kind = FileKind::CharacterDevice;
        return result;
    }
    // Other programs may go on writing the file (a logger program still exporting); a folder
    // opens too (FILE_FLAG_BACKUP_SEMANTICS) so that it is named as a folder, not as missing.
    const HANDLE handle = ::CreateFileW(
        apiName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        result.error = windows::ErrnoFromWindowsError(::GetLastError());
        return result;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD attributes =
        ::GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes : 0;
    result.kind = KindOfType(::GetFileType(handle), attributes);
    if (result.kind != FileKind::Regular) {
        ::CloseHandle(handle);
        return result;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        result.kind = FileKind::Missing;
        result.error = EMFILE;
        return result;
    }
    result.descriptor = fd;
    return result;
}

}  // namespace qorv::files

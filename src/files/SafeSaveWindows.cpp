// Saving on Windows: CreateFileW, FlushFileBuffers and MoveFileExW. Descriptors are the C
// library's, opened in binary mode, so that the layers above hold the same `int` as on Linux.
#include "files/FileName.h"
#include "files/Interruption.h"
#include "files/SafeSave.h"
#include "files/SystemSave.h"
#include "files/WindowsSystem.h"

#include <windows.h>
#undef ReplaceFile  // ours, not the API's

#include <fcntl.h>
#include <io.h>

#include <cerrno>

namespace qorv::files {

namespace {

int LastErrno() {
    return windows::ErrnoFromWindowsError(::GetLastError());
}

// Flushes a file opened by name; a file we may not open for writing has nothing of ours to
// flush.
int FlushByName(const QString& name) {
    const HANDLE handle = ::CreateFileW(windows::ApiName(name).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return LastErrno();
    }
    const int result = ::FlushFileBuffers(handle) ? 0 : LastErrno();
    ::CloseHandle(handle);
    return result;
}

}  // namespace

namespace system {

// MOVEFILE_WRITE_THROUGH returns only once the new name is on the disk: there is no folder to
// flush on Windows.
void SyncFolderOf(const QString&) {}

int RenameWithoutReplacing(const QString& from, const QString& to) {
    // The temporary file was hidden while it was written; the published file is not.
    ::SetFileAttributesW(windows::ApiName(from).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (::MoveFileExW(windows::ApiName(from).c_str(), windows::ApiName(to).c_str(),
                      MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    return LastErrno();
}

}  // namespace system

int CreateTemporaryFile(const QString& folder, QString& temporary) {
    for (int attempt = 0;; ++attempt) {
        temporary = TemporaryNameIn(folder);
        // Hidden while it is incomplete, like the leading "." hides it elsewhere; shared for
        // reading and deleting only, so nothing else writes into it meanwhile.
        const HANDLE handle =
            ::CreateFileW(windows::ApiName(temporary).c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const int error = LastErrno();
            if (error == EEXIST && attempt < 10) {
                continue;
            }
            errno = error;
            return -1;
        }
        const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
        if (fd < 0) {
            ::CloseHandle(handle);
            ::DeleteFileW(windows::ApiName(temporary).c_str());
            errno = EMFILE;
        } else {
            RememberTemporaryFile(temporary);
        }
        return fd;
    }
}

void SyncToDisk(const QString& name) {
    if (const int error = FlushByName(name)) {
        throw FileSystemError(name, error);
    }
}

int SyncDescriptor(int descriptor) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE) {
        return EBADF;
    }
    return ::FlushFileBuffers(handle) ? 0 : LastErrno();
}

void CloseDescriptor(int descriptor) {
    ::_close(descriptor);
}

void ReplaceFile(const QString& temporary, const QString& target) {
    ::SetFileAttributesW(windows::ApiName(temporary).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::MoveFileExW(windows::ApiName(temporary).c_str(), windows::ApiName(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw FileSystemError(target, LastErrno());
    }
    ForgetTemporaryFile(temporary);
}

void RemoveQuietly(const QString& name) {
    ::DeleteFileW(windows::ApiName(name).c_str());
    ForgetTemporaryFile(name);
}

}  // namespace qorv::files

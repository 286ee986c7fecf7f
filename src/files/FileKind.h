#pragma once

#include <QString>

namespace qorv::files {

// What a name in the file system stands for, symbolic links followed.
enum class FileKind {
    Missing,  // nothing there, or it cannot be looked at (see the error)
    Regular,
    Directory,
    Fifo,
    CharacterDevice,
    BlockDevice,
    Socket,
    Other,
};

// The kind of `name`; when it is Missing and `error` is given, *error holds the system's error
// number (ENOENT when nothing is there, EACCES when a folder on the way may not be searched).
FileKind KindOf(const QString& name, int* error = nullptr);

// An open file descriptor of a regular file, or why there is none.
struct OpenedFile {
    int descriptor = -1;
    FileKind kind = FileKind::Missing;
    int error = 0;  // the system's error number when the file could not be opened
};

// Opens `name` for reading when, and only when, it is a regular file. The open itself does not
// wait: a FIFO without a writer, a device or a socket is recognised and refused at once (kind
// says what it is), and a name swapped between a check and the open cannot slip through, since
// the kind is taken from the opened file itself. The caller owns the descriptor.
OpenedFile OpenRegularFile(const QString& name);

}  // namespace qorv::files

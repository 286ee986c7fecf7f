#pragma once

#include "files/FileKind.h"
#include "files/SafeSave.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Small files read and written whole: the settings file and its folder. Everything here that
// calls the system is the platform's; the rest of the program sees only these functions.
//
//     const WholeFile file = ReadWholeFile(path);
//     if (file.kind == FileKind::Regular && file.error == 0) use(file.content);
//     ReplaceFileContent(path, bytes);   // throws FileSystemError, ReadOnlyFileError
namespace qorv::files {

// What reading a file whole gave: its content when `kind` is Regular and `error` is 0.
struct WholeFile {
    QByteArray content;
    FileKind kind = FileKind::Missing;  // what the name stands for (Missing: see `error`)
    int error = 0;                      // the system's error number; EFBIG past the limit
    bool read() const { return kind == FileKind::Regular && error == 0; }
};

// Reads the regular file `name` whole, up to `limit` bytes. A FIFO, device, socket or folder is
// refused at once without being opened for long (kind says what it is).
WholeFile ReadWholeFile(const QString& name, qsizetype limit = 16 * 1024 * 1024);

// A file whose permissions allow nobody to write it: the user made it read-only on purpose.
class ReadOnlyFileError : public FileSystemError {
  public:
    explicit ReadOnlyFileError(const QString& name);
};

// Gives the file `name` the content `bytes` in one step: the content is written completely to
// a temporary file beside the file, flushed and renamed over it. A symbolic link is followed
// and its target replaced (the link stays a link); an existing file keeps its permissions. A
// file without any write permission is left as it is (ReadOnlyFileError); a name that is no
// regular file is refused. Other failures throw FileSystemError; no temporary file remains.
void ReplaceFileContent(const QString& name, QByteArrayView bytes);

// Creates `folder` and the folders above it that are missing. Throws FileSystemError.
void CreateFolderPath(const QString& folder);

// Whether the permissions of `folder` let this user create files in it. The permission bits
// decide, also for an administrator, who may write anywhere: a folder made read-only for
// everyone is not written by the program.
bool FolderAllowsNewFiles(const QString& folder);

}  // namespace qorv::files

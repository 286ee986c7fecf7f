#pragma once

#include <QString>

#include <stdexcept>

// Saving without ever leaving half a file or replacing someone else's.
//
// A file is first written completely under a temporary name in its target's folder and flushed
// to disk; only then does it get its real name, in one step. A new file takes its name
// exclusively: when another file (another run, in this or another process) has the name, the
// next of name_2, name_3, ... is tried, so two saves of the same name at the same moment keep
// both files.
//
//     const QString temporary = TemporaryNameIn(folder);
//     ... write temporary ...
//     SyncToDisk(temporary);
//     const QString saved = PublishNewFile(temporary, folder + "/report.xlsx");
namespace qorv::files {

// A file system call that failed: the name it concerned and the system's error number.
class FileSystemError : public std::runtime_error {
  public:
    FileSystemError(const QString& name, int error);
    const QString& name() const { return name_; }
    int error() const { return error_; }

  private:
    QString name_;
    int error_;
};

// A free name for a temporary file in `folder`: short, random, and starting with "." so that it
// is hidden and never taken for a report, whatever the final name.
QString TemporaryNameIn(const QString& folder);

// Creates a new file under a fresh temporary name in `folder` (O_EXCL, a few tries when the
// name is taken) and opens it for writing; the name goes to `temporary`, and is removed when
// the program is interrupted before the file is published or removed (Interruption.h).
// Returns the descriptor, or -1 with errno set.
int CreateTemporaryFile(const QString& folder, QString& temporary);

// Flushes a written file's content to the disk.
void SyncToDisk(const QString& name);

// Flushes the content written through an open descriptor to the disk: 0, or the system's error
// number.
int SyncDescriptor(int descriptor);

// Closes a descriptor that CreateTemporaryFile or OpenRegularFile gave.
void CloseDescriptor(int descriptor);

// `wanted` with "_n" before its extension: NumberedName("a/b.xlsx", 2) == "a/b_2.xlsx".
QString NumberedName(const QString& wanted, int n);

// Gives the complete file `temporary` the name `wanted`, or the first of its numbered names
// that no file has, and returns the name it got. Never replaces a file. The temporary file
// must be in the same folder.
QString PublishNewFile(const QString& temporary, const QString& wanted);

// Gives `temporary` the name `target`, replacing the file that has it.
void ReplaceFile(const QString& temporary, const QString& target);

// Removes a file left by a failed save; a failure to remove it is not reported.
void RemoveQuietly(const QString& name);

}  // namespace qorv::files

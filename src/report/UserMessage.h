#pragma once

#include "import/PuskFile.h"

#include <QString>

#include <cerrno>
#include <exception>
#include <optional>

namespace qorv {

// The message a front end shows for a failure that ended a load or a report run: the program's
// own texts, the reason of a failed file operation worded in Russian with the file's path, and
// never an internal text (an exception's class name, a library's English message).
//
//     catch (const std::exception& e) { ShowError(UserMessage(e)); }
QString UserMessage(const std::exception& error);

// The refusal of a logger file by what its path names, before any read: "Файл - … - не
// существует." when nothing is there, what the path is when it is no regular file; nothing for
// a regular file. A Missing `kind` whose `error` (the system's error number) is not ENOENT, a
// name that could not be looked at, is not refused here: its load tells why it failed.
std::optional<QString> SourceFileRefusal(const QString& path, files::FileKind kind,
                                         int error = ENOENT);

// The message for a logger file that could not be loaded: "Файл - … - не существует." for a
// path with nothing there, what the path is when it is no regular file, else the reason.
QString LoadFailureMessage(const FileReadError& error);

}  // namespace qorv

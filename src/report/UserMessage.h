#pragma once

#include "import/PuskFile.h"

#include <QString>

#include <exception>

namespace qorv {

// The message a front end shows for a failure that ended a load or a report run: the program's
// own texts, the reason of a failed file operation worded in Russian with the file's path, and
// never an internal text (an exception's class name, a library's English message).
//
//     catch (const std::exception& e) { ShowError(UserMessage(e)); }
QString UserMessage(const std::exception& error);

// The message for a logger file that could not be loaded: "Файл - … - не существует." for a
// path with nothing there, what the path is when it is no regular file, else the reason.
QString LoadFailureMessage(const FileReadError& error);

}  // namespace qorv

#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace qorv::ui {

// The file name a dropped "file:" address stands for, byte for byte as the system has it: the
// percent-encoded bytes of the path decoded as file names are (files/FileName.h), so that a
// name that is not UTF-8 still finds its file. The host must be empty or "localhost". Nothing
// for another scheme or host, an empty path, or a path holding a NUL byte (no file has one).
//
//     FileNameOfUrl(QUrl("file://localhost/d/%CF%F0.txt")) == "/d/" + the bytes CF F0 + ".txt"
std::optional<QString> FileNameOfUrl(const QUrl& url);

}  // namespace qorv::ui

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QDropEvent;
class QWidget;

namespace qorv::ui {

class Desktop;

// The file name a dropped "file:" address stands for, byte for byte as the system has it: the
// percent-encoded bytes of the path decoded as file names are (files/FileName.h), so that a
// name that is not UTF-8 still finds its file. The host must be empty or "localhost". Nothing
// for another scheme or host, an empty path, or a path holding a NUL byte (no file has one).
//
//     FileNameOfUrl(QUrl("file://localhost/d/%CF%F0.txt")) == "/d/" + the bytes CF F0 + ".txt"
std::optional<QString> FileNameOfUrl(const QUrl& url);

// Whether a drag brings only "file:" addresses, the drags a window takes.
bool AreFileAddresses(const QList<QUrl>& urls);

// The files dropped onto `window`: the drop accepted, their names in order. When an address
// names no file of this computer the drop is refused, the message shown, and nothing returned.
std::optional<QStringList> TakeDroppedFiles(QDropEvent& event, Desktop& desktop, QWidget* window);

}  // namespace qorv::ui

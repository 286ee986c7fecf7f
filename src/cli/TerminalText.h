#pragma once

#include <QString>
#include <QTextStream>

namespace qorv::cli {

// A text from a logger file or a file name made safe for a terminal: control characters and
// the characters that reorder text (bidirectional controls) are written as escapes the way
// JSON writes them ("\u001b", "\t"), so that a file cannot move the cursor, recolour the
// terminal or disguise a name; bytes of a file name that are not UTF-8 show as U+FFFD.
QString Printable(const QString& text);

// One line of standard error about one file: its path, ": " and the message.
void PrintAboutFile(QTextStream& err, const QString& file, const QString& message);

// Writes a saved file's path as one line of standard output: as the bytes the system knows the
// name by when the stream writes to a device (so a script can open it), else as text. Returns
// the system's error number when the line could not be written, 0 when it was.
int PrintPath(QTextStream& out, const QString& path);

// Writes lines that another process of the tool printed with PrintPath: as they are when the
// stream writes to a device, else decoded as file names. Returns as PrintPath does.
int PrintPathLines(QTextStream& out, const QByteArray& lines);

// Flushes `out`: 0 when everything written reached its device, else the system's error number.
int FlushOutput(QTextStream& out);

}  // namespace qorv::cli

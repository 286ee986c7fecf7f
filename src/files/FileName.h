#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names as the program holds them.
//
// The system gives a file name as bytes. Most are UTF-8, but a name copied from a Windows share
// may be Windows-1251 ("Протокол.txt" as the bytes CF F0 EE ...), which is not valid UTF-8.
// Qt's own conversion turns each such byte into U+FFFD, and the name then no longer finds its
// file. Here every byte that is not part of a valid UTF-8 sequence becomes one of the lone
// surrogates U+DC80..U+DCFF and turns back into the same byte, so a name read from the command
// line, a directory or the current directory always names the same file again.
//
//     const QString name = qorv::files::DecodeFileName(argv[1]);
//     ::open(qorv::files::EncodeFileName(name).constData(), O_RDONLY);
namespace qorv::files {

QString DecodeFileName(QByteArrayView bytes);
QByteArray EncodeFileName(QStringView name);

// The name for a message: each byte that is not UTF-8 shown as U+FFFD, as a terminal shows it.
QString DisplayFileName(QStringView name);

// The name as a C library that takes UTF-8 names (libzip) opens it: the system's bytes on
// Linux; on Windows UTF-8, in the long "\\?\" form near and past the 260-character limit.
QByteArray LibraryFileName(const QString& name);

// The current directory, decoded as above; empty when it cannot be read.
QString CurrentDirectory();

// `name` made absolute against the current directory (an absolute name is returned as it is).
QString AbsoluteFileName(const QString& name);

// The path by which this program starts another process of itself. On Linux the kernel's
// link to the running program ("/proc/self/exe"), which reaches it whatever bytes the names of
// its folders hold; elsewhere the application's file path (Windows names are UTF-16 and reach
// their file). Needs the application object on systems without the link.
QString ProgramPath();

// The directory part of `name` ("." when it has none) and the part after the last '/'.
QString DirectoryOf(const QString& name);
QString LastNameOf(const QString& name);

}  // namespace qorv::files

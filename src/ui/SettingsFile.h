#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// The window's settings file "Qorv_Pr.ini": the save directory (Edit2) and the last loaded
// logger file (Edit1), kept from one run to the next. The window writes it when it closes and
// reads it when first shown.
//
//     const SettingsFileLocations where = DefaultSettingsFileLocations();
//     if (const auto entries = ReadSettingsFile(where)) {
//         for (const SettingsEntry& entry : *entries) apply(entry);
//     }
//     ...
//     WriteSettingsFile(where, Edit2->text(), Edit1->text());
namespace qorv::ui {

inline constexpr char kSettingsFileName[] = "Qorv_Pr.ini";

// Where the settings file may be: beside the program, then in the user's configuration folder.
// An empty path is a location that does not exist.
struct SettingsFileLocations {
    QString besideProgram;  // full path of the file
    QString userConfig;     // full path of the file
};

// Whether a program folder belongs to the system's installed programs (/usr/...), where the
// program writes nothing of its own.
bool IsInstalledProgramFolder(const QString& folder);

// The program's own locations: the executable's folder and Qt's AppConfigLocation.
SettingsFileLocations DefaultSettingsFileLocations();

// One recognised line of the file.
struct SettingsEntry {
    enum Key { SaveDirectory, SourceFile };
    Key key;
    QString value;
    bool operator==(const SettingsEntry&) const = default;
};

// The file the program writes, and so reads first: beside the program when that folder lets
// the user create files, else the one in the user's configuration folder.
QString WrittenSettingsFile(const SettingsFileLocations& locations);

// The file's bytes as written: a three-line header, a blank line, then
// "Директория сохранения=<saveDirectory>" and "Исходный файл=<sourceFile>", every line ended
// by CR LF, no byte order mark. Windows-1251 when all the text fits it, else UTF-8, in which a
// name's bytes that are not UTF-8 (held as U+DC80..U+DCFF, see files/FileName.h) are written
// as those very bytes, so that the name comes back unchanged.
QByteArray SettingsFileBytes(const QString& saveDirectory, const QString& sourceFile);

// The entries of a file's bytes, in file order. A file whose keys are UTF-8 is read as UTF-8
// with every byte that is not UTF-8 kept as a name's byte; any other file is Windows-1251.
// Lines are read whole; a line starting with "Директория сохранения" or "Исходный файл" gives
// the rest of the line after the key and one more character (where "=" stands) as it is;
// every other line is ignored.
//
//     ParseSettingsFile("Исходный файл=/d/1.txt\r\n" in Windows-1251)
//         == {{SettingsEntry::SourceFile, "/d/1.txt"}}
std::vector<SettingsEntry> ParseSettingsFile(QByteArrayView bytes);

// Reads the file the program writes, or when that is not there the other one; nothing when
// neither is a regular file that can be read. Never throws.
std::optional<std::vector<SettingsEntry>> ReadSettingsFile(const SettingsFileLocations& locations);

// Writes the file atomically where WrittenSettingsFile says, through a symbolic link to its
// target and keeping its permissions; when the program's folder fails, into the user's
// configuration folder (created when needed). Returns the path written. A file the user made
// read-only is not written (files::ReadOnlyFileError). Throws files::FileSystemError when no
// location can be written; no temporary file is left behind.
QString WriteSettingsFile(const SettingsFileLocations& locations, const QString& saveDirectory,
                          const QString& sourceFile);

}  // namespace qorv::ui

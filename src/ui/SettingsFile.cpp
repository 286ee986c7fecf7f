#include "ui/SettingsFile.h"

#include "files/CodePage1251.h"
#include "files/FileContent.h"
#include "files/FileName.h"
#include "files/SafeSave.h"
#include "import/TextDecoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <optional>
#include <utility>

namespace qorv::ui {

namespace {

const QString kSaveDirectoryKey = QStringLiteral("Директория сохранения");
const QString kSourceFileKey = QStringLiteral("Исходный файл");

// Code units of the first `count` characters of `text` (all of it when shorter). A character
// outside the Basic Multilingual Plane is one character of two code units.
qsizetype UnitsOfCharacters(QStringView text, qsizetype count) {
    qsizetype i = 0;
    for (; count > 0 && i < text.size(); --count) {
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                              : 1;
    }
    return i;
}

// The entry of one line (already without its line end), if it is one.
std::optional<SettingsEntry> EntryOf(QStringView line) {
    for (const auto& [key, name] : {std::pair{SettingsEntry::SaveDirectory, &kSaveDirectoryKey},
                                    std::pair{SettingsEntry::SourceFile, &kSourceFileKey}}) {
        if (line.startsWith(*name)) {
            // The value starts after the key and the one character where "=" belongs, whatever
            // stands there.
            const QStringView value = line.sliced(UnitsOfCharacters(line, name->size() + 1));
            return SettingsEntry{key, value.toString()};
        }
    }
    return std::nullopt;
}

// `text` in Windows-1251 when every character of it has a place there, else nothing.
// Without a converter the file is written as UTF-8, which reads back the same.
std::optional<QByteArray> InWindows1251(const QString& text) {
    try {
        return files::CodePage1251().encode(text);
    } catch (const files::MissingCodePage&) {
        return std::nullopt;
    }
}

// The entries of a file's text, line by line. Lines end in LF, normally after a CR, which is
// then no part of the line.
std::vector<SettingsEntry> EntriesOf(QStringView text) {
    std::vector<SettingsEntry> entries;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            end = text.size();
        }
        QStringView line = text.sliced(start, end - start);
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (std::optional<SettingsEntry> entry = EntryOf(line)) {
            entries.push_back(*std::move(entry));
        }
        start = end + 1;
    }
    return entries;
}

void WriteIntoUserConfig(const QString& path, const QByteArray& bytes) {
    files::CreateFolderPath(files::DirectoryOf(path));
    files::ReplaceFileContent(path, bytes);
}

}  // namespace

bool IsInstalledProgramFolder(const QString& folder) {
#ifdef Q_OS_WIN
    // Program Files (and its 32-bit twin), where the installer puts the program.
    const QString path = QDir::fromNativeSeparators(folder) + u'/';
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString root = QDir::fromNativeSeparators(qEnvironmentVariable(variable));
        if (!root.isEmpty() && path.startsWith(root + u'/', Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
#else
    return folder.startsWith(QStringLiteral("/usr/"));
#endif
}

SettingsFileLocations DefaultSettingsFileLocations() {
    const QString name = QString::fromLatin1(kSettingsFileName);
    SettingsFileLocations locations;
    // An installed program (under /usr, the package manager's) keeps no file of its own
    // beside it, even for an administrator who could write there.
    if (const QString folder = QCoreApplication::applicationDirPath();
        !folder.isEmpty() && !IsInstalledProgramFolder(folder)) {
        locations.besideProgram = folder + u'/' + name;
    }
#ifdef Q_OS_WIN
    // %APPDATA%\Qorv_Pr: the user's own roaming settings.
    const auto userLocation = QStandardPaths::AppDataLocation;
#else
    const auto userLocation = QStandardPaths::AppConfigLocation;
#endif
    if (const QString folder = QStandardPaths::writableLocation(userLocation); !folder.isEmpty()) {
        locations.userConfig = folder + u'/' + name;
    }
    return locations;
}

QByteArray SettingsFileBytes(const QString& saveDirectory, const QString& sourceFile) {
    const QString rule(33, u'#');
    const QString crlf = QStringLiteral("\r\n");
    const QString text = rule + crlf + QStringLiteral("#Файл настроек программы Qorv_Pr#") + crlf +
                         rule + crlf + u' ' + crlf + kSaveDirectoryKey + u'=' + saveDirectory +
                         crlf + kSourceFileKey + u'=' + sourceFile + crlf;
    if (std::optional<QByteArray> bytes = InWindows1251(text)) {
        return *std::move(bytes);
    }
    return files::EncodeFileName(text);
}

QString WrittenSettingsFile(const SettingsFileLocations& locations) {
    if (!locations.besideProgram.isEmpty() &&
        files::FolderAllowsNewFiles(files::DirectoryOf(locations.besideProgram))) {
        return locations.besideProgram;
    }
    return locations.userConfig;
}

std::vector<SettingsEntry> ParseSettingsFile(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    // UTF-8, with a name's bytes that are not UTF-8 kept as they are.
    std::vector<SettingsEntry> entries = EntriesOf(files::DecodeFileName(bytes));
    if (!entries.empty()) {
        return entries;
    }
    TextDecoder decoder(TextEncoding::Windows1251);
    return EntriesOf(decoder.decode(bytes));
}

std::optional<std::vector<SettingsEntry>> ReadSettingsFile(const SettingsFileLocations& locations) {
    const QString written = WrittenSettingsFile(locations);
    const QString other =
        written == locations.besideProgram ? locations.userConfig : locations.besideProgram;
    for (const QString* path : {&written, &other}) {
        if (path->isEmpty()) {
            continue;
        }
        if (const files::WholeFile file = files::ReadWholeFile(*path); file.read()) {
            return ParseSettingsFile(file.content);
        }
    }
    return std::nullopt;
}

QString WriteSettingsFile(const SettingsFileLocations& locations, const QString& saveDirectory,
                          const QString& sourceFile) {
    const QByteArray bytes = SettingsFileBytes(saveDirectory, sourceFile);
    const QString path = WrittenSettingsFile(locations);
    if (path.isEmpty()) {
        throw files::FileSystemError(locations.besideProgram, ENOENT);
    }
    if (path == locations.userConfig) {
        WriteIntoUserConfig(path, bytes);
        return path;
    }
    try {
        files::ReplaceFileContent(path, bytes);
        return path;
    } catch (const files::ReadOnlyFileError&) {
        throw;  // the user's choice: the file stays as it is
    } catch (const files::FileSystemError&) {
        // The program's folder may still refuse (a read-only medium, a folder in the file's
        // place); the user's configuration folder takes the file then.
        if (locations.userConfig.isEmpty()) {
            throw;
        }
    }
    WriteIntoUserConfig(locations.userConfig, bytes);
    return locations.userConfig;
}

}  // namespace qorv::ui

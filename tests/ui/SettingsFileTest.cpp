#include "ui/SettingsFile.h"

#include "files/CodePage1251.h"
#include "files/FileContent.h"
#include "files/FileName.h"
#include "files/SafeSave.h"
#include "import/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qorv::ui {

void PrintTo(const SettingsEntry& entry, std::ostream* out) {
    *out << (entry.key == SettingsEntry::SaveDirectory ? "Save=" : "Source=")
         << entry.value.toStdString();
}

namespace {

using Entries = std::vector<SettingsEntry>;
SettingsEntry Save(const QString& value) {
    return {SettingsEntry::SaveDirectory, value};
}
SettingsEntry Source(const QString& value) {
    return {SettingsEntry::SourceFile, value};
}

TEST(SettingsFileBytes, Windows1251WhenEverythingFitsElseUtf8) {
    const QByteArray rule(33, '#');
    const QByteArray in1251 =
        rule + "\r\n#" + QByteArray::fromHex("D4E0E9EB20EDE0F1F2F0EEE5EA20EFF0EEE3F0E0ECECFB") +
        " Qorv_Pr#\r\n" + rule + "\r\n \r\n" +
        QByteArray::fromHex("C4E8F0E5EAF2EEF0E8FF20F1EEF5F0E0EDE5EDE8FF") + "=/home/" +
        QByteArray::fromHex("C8E2E0ED2FCEF2F7B8F2FB") + "\r\n" +
        QByteArray::fromHex("C8F1F5EEE4EDFBE920F4E0E9EB") + "=/d/" +
        QByteArray::fromHex("CFF0EEF2EEEAEEEB") + " 1 \x88.txt\r\n";
    EXPECT_EQ(SettingsFileBytes("/home/Иван/Отчёты", "/d/Протокол 1 €.txt").toHex(' '),
              in1251.toHex(' '));
    const QString utf8 =
        "#################################\r\n#Файл настроек программы Qorv_Pr#\r\n"
        "#################################\r\n \r\nДиректория сохранения=/дом/日本\r\n"
        "Исходный файл=/d/1.txt\r\n";
    EXPECT_EQ(SettingsFileBytes("/дом/日本", "/d/1.txt").toHex(' '), utf8.toUtf8().toHex(' '));
}

// What is written is read back whole, in every name the system can give.
TEST(SettingsFileRoundTrip, ValuesComeBackAsWritten) {
    const QString longPath = "/" + QString(299, u'ж');
    // The bytes CF F0 EE of a Windows-1251 name, which are no UTF-8.
    const QString notUtf8 = files::DecodeFileName("/d/\xCF\xF0\xEE 1.txt");
    const QString wide = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 code units
    const struct {
        QString saveDirectory, sourceFile;
        TextEncoding encoding;
        Entries expected;
    } rows[] = {
        {" /Мои документы/ ",
         "",
         TextEncoding::Windows1251,
         {Save(" /Мои документы/ "), Source("")}},
        {"", "/d/файл 1.txt", TextEncoding::Windows1251, {Save(""), Source("/d/файл 1.txt")}},
        {longPath, longPath, TextEncoding::Windows1251, {Save(longPath), Source(longPath)}},
        {longPath + "日",
         "日" + longPath,
         TextEncoding::Utf8,
         {Save(longPath + "日"), Source("日" + longPath)}},
        {QString(157, u'a') + wide + "bc",
         "/z",
         TextEncoding::Utf8,
         {Save(QString(157, u'a') + wide + "bc"), Source("/z")}},
        {"/Отчёты/", notUtf8, TextEncoding::Windows1251, {Save("/Отчёты/"), Source(notUtf8)}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.saveDirectory.toStdString());
        const QByteArray bytes = SettingsFileBytes(row.saveDirectory, row.sourceFile);
        // A name that is not UTF-8 is kept as its bytes in a UTF-8 file, which is then no
        // valid UTF-8 as a whole.
        EXPECT_EQ(DetectTextEncoding(bytes), row.encoding);
        EXPECT_EQ(ParseSettingsFile(bytes), row.expected);
    }
}

TEST(SettingsFileParse, LinesAreReadByTheirKeysInEitherEncoding) {
    const struct {
        QString text;
        Entries expected;
    } rows[] = {
        {"Директория сохранения=/a\r\nИсходный файл=/s\r\nДиректория сохранения=/b\r\n",
         {Save("/a"), Source("/s"), Save("/b")}},
        {"Директория сохранения:/a\nИсходный файл /b\nИсходный файл==c\nИсходный файл",
         {Save("/a"), Source("/b"), Source("=c"), Source("")}},
        {"#Исходный файл=/x\r\n Исходный файл=/x\r\nИсходный=/x\r\n\r\n"
         "директория сохранения=/x\r\nИСХОДНЫЙ ФАЙЛ=/x\r\n",
         {}},
        {"Исходный файл= /a\rb \r\r\n", {Source(" /a\rb \r")}},
        {"Исходный файл=" + QString(300, u'я') + "\r\nДиректория сохранения=",
         {Source(QString(300, u'я')), Save("")}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(ParseSettingsFile(files::CodePage1251().encode(row.text).value()), row.expected);
        EXPECT_EQ(ParseSettingsFile(row.text.toUtf8()), row.expected);
    }
    EXPECT_EQ(ParseSettingsFile("\xEF\xBB\xBF" + QString("Исходный файл=/d").toUtf8()),
              Entries{Source("/d")});
}

// A program folder, and a user configuration folder deeper than 80 characters that is not
// there yet.
struct Folders {
    QTemporaryDir root;
    QString beside = root.path() + "/program";
    QString config = root.path() + "/config/" + QString(60, u'к');
    SettingsFileLocations where{beside + "/Qorv_Pr.ini", config + "/Qorv_Pr.ini"};

    void put(const QString& path, const QByteArray& bytes) const {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Every name in a folder: a temporary file left behind shows here.
    static QStringList namesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST(SettingsFileLocation, ReadingPrefersTheFileBesideTheProgram) {
    Folders f;
    EXPECT_EQ(ReadSettingsFile(f.where), std::nullopt);
    ASSERT_TRUE(QDir().mkpath(f.beside) && QDir().mkpath(f.config));
    f.put(f.where.userConfig, SettingsFileBytes("/config", ""));
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/config"), Source("")}));
    f.put(f.where.besideProgram, SettingsFileBytes("/beside", ""));
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/beside"), Source("")}));
    // A folder of that name is no file to read.
    ASSERT_TRUE(QFile::remove(f.where.besideProgram) && QDir().mkdir(f.where.besideProgram));
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/config"), Source("")}));
}

// A shared program folder that is read-only with a settings file in it: the program writes to
// the user's configuration folder and reads from there too.
TEST(SettingsFileLocation, AReadOnlyProgramFolderIsNeitherWrittenNorRead) {
#ifdef _WIN32
    GTEST_SKIP() << "a folder's permission bits: Windows decides by access lists instead";
#endif
    Folders f;
    ASSERT_TRUE(QDir().mkpath(f.beside));
    f.put(f.where.besideProgram, SettingsFileBytes("/shared", ""));
    ASSERT_EQ(chmod(QFile::encodeName(f.beside).constData(), 0555), 0);
    // No file of the user's yet: the shared one is read.
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/shared"), Source("")}));
    EXPECT_EQ(WriteSettingsFile(f.where, "/mine", "/1.txt"), f.where.userConfig);
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/mine"), Source("/1.txt")}));
    ASSERT_EQ(chmod(QFile::encodeName(f.beside).constData(), 0755), 0);
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/shared"), Source("")}));
}

// A settings file that is a symbolic link is written through it; the file keeps its
// permissions, and one without any write permission is not written.
TEST(SettingsFileLocation, WritingKeepsLinksAndPermissions) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links and permission bits; on Windows the read-only attribute is "
                    "checked by ClosingShowsWhyTheSettingsWereNotSaved";
#else
    Folders f;
    ASSERT_TRUE(QDir().mkpath(f.beside) && QDir().mkpath(f.config));
    const QString target = f.config + "/real.ini";
    f.put(target, "old");
    const QByteArray link = "../config/" + QFile::encodeName(QString(60, u'к')) + "/real.ini";
    ASSERT_EQ(symlink(link.constData(), QFile::encodeName(f.where.besideProgram).constData()), 0);
    const QByteArray name = QFile::encodeName(target);
    ASSERT_EQ(chmod(name.constData(), 0640), 0);
    EXPECT_EQ(WriteSettingsFile(f.where, "/a", ""), f.where.besideProgram);
    EXPECT_TRUE(QFileInfo(f.where.besideProgram).isSymLink());
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/a"), Source("")}));
    struct stat info {};
    ASSERT_EQ(stat(name.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Folders::namesIn(f.beside), QStringList{"Qorv_Pr.ini"});
    EXPECT_EQ(Folders::namesIn(f.config), QStringList{"real.ini"});

    ASSERT_EQ(chmod(name.constData(), 0444), 0);
    try {
        WriteSettingsFile(f.where, "/b", "");
        ADD_FAILURE() << "no error";
    } catch (const files::ReadOnlyFileError& error) {
        // The link's target, as the link names it.
        EXPECT_EQ(QFileInfo(error.name()).canonicalFilePath(),
                  QFileInfo(target).canonicalFilePath());
    }
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/a"), Source("")}));
    ASSERT_EQ(stat(name.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
#endif
}

TEST(SettingsFileLocation, WritingReplacesOrFallsBackOrFailsCleanly) {
    Folders f;
    ASSERT_TRUE(QDir().mkpath(f.beside));
    EXPECT_EQ(WriteSettingsFile(f.where, "/old", "/old.txt"), f.where.besideProgram);
    EXPECT_EQ(WriteSettingsFile(f.where, "/новая папка", "/日.txt"), f.where.besideProgram);
    EXPECT_EQ(Folders::namesIn(f.beside), QStringList{"Qorv_Pr.ini"});
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/новая папка"), Source("/日.txt")}));

    // A program "folder" that is a file cannot take it, for root too.
    ASSERT_TRUE(QDir(f.beside).removeRecursively());
    f.put(f.beside, "file");
    EXPECT_EQ(WriteSettingsFile(f.where, "/c", ""), f.where.userConfig);
    EXPECT_EQ(ReadSettingsFile(f.where), (Entries{Save("/c"), Source("")}));

    // Non-empty folders where the files belong: temporary files are written, renames fail.
    ASSERT_TRUE(QFile::remove(f.beside) && QFile::remove(f.where.userConfig));
    for (const QString& path : {f.where.besideProgram, f.where.userConfig}) {
        ASSERT_TRUE(QDir().mkpath(path));
        f.put(path + "/keep", "x");
    }
    try {
        WriteSettingsFile(f.where, "/a", "/b");
        ADD_FAILURE() << "no error";
    } catch (const files::FileSystemError& error) {
        EXPECT_EQ(error.name(), f.where.userConfig);
    }
    EXPECT_EQ(Folders::namesIn(f.beside), QStringList{"Qorv_Pr.ini"});
    EXPECT_EQ(Folders::namesIn(f.config), QStringList{"Qorv_Pr.ini"});
}

}  // namespace
}  // namespace qorv::ui

// The file layer's system side, on whichever system the tests run: what a name stands for,
// saving under a new or the same name, names past Windows' old 260-character limit, and the
// Windows-1251 converter.
#include "files/CodePage1251.h"
#include "files/FileKind.h"
#include "files/FileName.h"
#include "files/MemoryReuse.h"
#include "files/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace qorv::files {
namespace {

QByteArray ReadAll(const QString& name) {
    const OpenedFile opened = OpenRegularFile(name);
    if (opened.descriptor < 0) {
        return "<not opened>";
    }
    QFile file;
    file.open(opened.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    return file.readAll();
}

QString WriteTemporary(const QString& folder, const QByteArray& content) {
    QString temporary;
    const int fd = CreateTemporaryFile(folder, temporary);
    EXPECT_GE(fd, 0) << temporary.toStdString();
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    file.write(content);
    EXPECT_EQ(SyncDescriptor(fd), 0);
    file.close();
    return temporary;
}

TEST(SystemFiles, KindsOfNames) {
    QTemporaryDir dir;
    const QString folder = dir.path();
    QFile(folder + "/file.txt").open(QIODevice::WriteOnly);
    struct Case {
        QString name;
        FileKind kind;
    };
    std::vector<Case> cases = {
        {folder + "/file.txt", FileKind::Regular},
        {folder, FileKind::Directory},
        {folder + "/missing.txt", FileKind::Missing},
    };
#ifdef _WIN32
    // Device names open the device in any folder, with any extension, in any case.
    for (const char* device : {"NUL", "con", "CON.txt", "aux .log", "COM1", "lpt9.txt"}) {
        cases.push_back({folder + "/" + device, FileKind::CharacterDevice});
    }
    cases.push_back({QDir::toNativeSeparators(folder + "/file.txt"), FileKind::Regular});
    cases.push_back({folder + "/CONSOLE.txt", FileKind::Missing});
#else
    cases.push_back({"/dev/null", FileKind::CharacterDevice});
#endif
    for (const Case& c : cases) {
        EXPECT_EQ(KindOf(c.name), c.kind) << c.name.toStdString();
        const OpenedFile opened = OpenRegularFile(c.name);
        EXPECT_EQ(opened.descriptor >= 0, c.kind == FileKind::Regular) << c.name.toStdString();
        EXPECT_EQ(opened.kind, c.kind) << c.name.toStdString();
        if (opened.descriptor >= 0) {
            CloseDescriptor(opened.descriptor);
        }
    }
}

// A new name is taken only when free; the run's own file is replaced; a long path (past 260
// characters, which Windows refuses without its long form) behaves the same.
TEST(SystemFiles, PublishAndReplaceAlsoInDeepFolders) {
    QTemporaryDir dir;
    QString deep = dir.path();
    while (deep.size() < 300) {
        deep += QStringLiteral("/Протоколы измерений");
    }
    ASSERT_TRUE(QDir().mkpath(deep));
    for (const QString& folder : {dir.path(), deep}) {
        const QString wanted = folder + QStringLiteral("/Отчёт.xlsx");
        EXPECT_EQ(PublishNewFile(WriteTemporary(folder, "first"), wanted), wanted);
        EXPECT_EQ(PublishNewFile(WriteTemporary(folder, "second"), wanted),
                  NumberedName(wanted, 2));
        EXPECT_EQ(ReadAll(wanted), "first");
        const QString temporary = WriteTemporary(folder, "third");
        SyncToDisk(temporary);
        ReplaceFile(temporary, wanted);
        EXPECT_EQ(ReadAll(wanted), "third");
        EXPECT_EQ(KindOf(temporary), FileKind::Missing);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
}

// Each of the 128 upper bytes has its character; text goes back to the same bytes, and text
// the code page cannot hold is refused rather than approximated.
TEST(SystemFiles, CodePage1251RoundTrip) {
    CodePage1251 codePage;
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != 0x98) {  // the one byte without a character
            bytes += char(b);
        }
    }
    std::vector<QChar> text(bytes.size());
    const qsizetype length = codePage.decode(bytes, text.data());
    ASSERT_EQ(length, bytes.size());
    const QString decoded(text.data(), length);
    EXPECT_EQ(decoded.mid(0xC0 - 1, 4), QStringLiteral("АБВГ"));  // after the missing 0x98
    EXPECT_EQ(decoded[0xB9 - 1], QChar(u'№'));
    EXPECT_EQ(decoded[0x88], QChar(u'€'));
    EXPECT_EQ(codePage.encode(decoded), std::optional<QByteArray>(bytes));
    EXPECT_EQ(codePage.encode(QStringLiteral("Ω")), std::nullopt);
    EXPECT_EQ(codePage.encode(QStringLiteral("é")), std::nullopt);  // no best fit to "e"
}

// Once the allocator is told to keep freed memory, blocks freed at the top of the heap stay in
// it for reuse rather than being handed back to the system.
TEST(MemoryReuse, FreedHeapIsKept) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer has an allocator of its own";
#elif defined(__GLIBC__)
    KeepFreedMemoryForReuse();
    constexpr std::size_t kBlock = 64 << 10;  // taken from the heap, not mapped on its own
    constexpr int kBlocks = 128;
    std::vector<volatile char*> blocks;
    for (int i = 0; i < kBlocks; ++i) {
        blocks.push_back(static_cast<volatile char*>(std::malloc(kBlock)));
        blocks.back()[0] = 1;  // used, so that the allocation is made
    }
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        std::free(const_cast<char*>(*it));
    }
    EXPECT_GE(mallinfo2().arena, kBlock * kBlocks);
#else
    GTEST_SKIP() << "the allocator is left as it is";
#endif
}

}  // namespace
}  // namespace qorv::files

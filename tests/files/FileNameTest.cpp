#include "files/FileName.h"
#include "files/SafeSave.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace qorv::files {
namespace {

// Every byte string comes back unchanged, and valid UTF-8 decodes as Qt decodes it: the names
// of files keep finding their files whatever bytes they hold.
TEST(FileName, EveryByteStringComesBackUnchanged) {
    QRandomGenerator random(7);
    const QByteArray pieces[] = {"\xd0\x9f",
                                 "\xe2\x82\xac",
                                 "\xf0\x9f\x98\x80",
                                 "\xc0\xaf",
                                 "\xed\xa0\x80",
                                 "\xf4\x90\x80\x80",
                                 "\xcf",
                                 "a",
                                 "/"};
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int length = random.bounded(12);
        for (int i = 0; i < length; ++i) {
            if (random.bounded(2) == 0) {
                bytes += char(random.bounded(256));
            } else {
                bytes += pieces[random.bounded(int(std::size(pieces)))];
            }
        }
        const QString name = DecodeFileName(bytes);
        ASSERT_EQ(EncodeFileName(name), bytes) << bytes.toHex().toStdString();
        if (QString::fromUtf8(bytes).toUtf8() == bytes) {
            EXPECT_EQ(name, QString::fromUtf8(bytes)) << bytes.toHex().toStdString();
        }
    }
}

TEST(FileName, BytesThatAreNotUtf8ShowAsReplacementCharacters) {
    const QString name = DecodeFileName("/d/\xcf\xf0\xe8.txt");
    EXPECT_EQ(DisplayFileName(name),
              QString::fromUtf8("/d/\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd.txt"));
    EXPECT_EQ(DirectoryOf(name), QString("/d"));
    EXPECT_EQ(EncodeFileName(LastNameOf(name)), QByteArray("\xcf\xf0\xe8.txt"));
}

TEST(SafeSave, NumberedNamesGoBeforeTheExtension) {
    EXPECT_EQ(NumberedName("/a.b/report-1.xlsx", 2), QString("/a.b/report-1_2.xlsx"));
    EXPECT_EQ(NumberedName("/a.b/report", 3), QString("/a.b/report_3"));
    EXPECT_EQ(NumberedName("/a/.hidden", 2), QString("/a/.hidden_2"));
}

}  // namespace
}  // namespace qorv::files

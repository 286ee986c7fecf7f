#include "import/TextColumn.h"

#include <gtest/gtest.h>

#include <vector>

namespace qorv {
namespace {

// Lines as a logger file holds them: Latin-1 ones ("°C") and, after them, event lines whose
// Cyrillic turns the column wide. Every way of building a column must read back the same.
const QStringList kLines = {" 01/02/2015 10:00:00 - 20.1 °C", "", " 01/02/2015 10:05:00 - 20.2",
                            " 01/02/2015 10:10:00 - 1 (Есть)", " 01/02/2015 10:15:00 - 0 (Нет)"};

std::vector<qsizetype> everyOther(qsizetype n) {
    std::vector<qsizetype> keep;
    for (qsizetype i = 0; i < n; i += 2) {
        keep.push_back(i);
    }
    return keep;
}

// Appending, making to measure and writing, and keeping entries, on columns that stay eight-bit
// and on one that turns wide part way: the entries read back as they were written.
TEST(TextColumn, ReadsBackWhatWasWrittenInEitherWidth) {
    for (const qsizetype count : {qsizetype(3), kLines.size()}) {
        SCOPED_TRACE(count);
        const QStringList lines = kLines.first(count);
        const bool wide = count > 3;

        TextColumn appended;
        for (const QString& line : lines) {
            appended << line;
        }
        EXPECT_EQ(appended.isWide(), wide);
        EXPECT_EQ(appended, lines);
        EXPECT_EQ(appended.toList(), lines);

        QList<quint32> lengths;
        for (const QString& line : lines) {
            lengths << quint32(line.size());
        }
        TextColumn made = TextColumn::ofLengths(lengths, wide);
        const TextColumn::Writer writer = made.writer();
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            writer.write(i, lines[i]);
        }
        EXPECT_EQ(made, appended);

        TextColumn::Reader read(appended);
        EXPECT_EQ(read.value(count), QStringView());
        EXPECT_EQ(appended.copyAt(count), QString());
        EXPECT_EQ(appended.copyAt(-1), QString());

        QStringList kept;
        for (const qsizetype i : everyOther(count)) {
            kept << lines[i];
        }
        made.keep(everyOther(count));
        EXPECT_EQ(made.toList(), kept);
    }
}

// A column that turns wide keeps the entries it had, and equals the same texts held narrow
// only where the texts are the same.
TEST(TextColumn, EqualityLooksAtTheTextsNotTheWidth) {
    TextColumn narrow = {"20.1", "20.2"};
    TextColumn wide = {"20.1", "20.2"};
    wide << QStringLiteral("Есть");
    ASSERT_TRUE(wide.isWide());
    ASSERT_FALSE(narrow.isWide());
    EXPECT_FALSE(narrow == wide);
    narrow << QStringLiteral("Есть");
    EXPECT_TRUE(narrow == wide);
    wide.keep({0, 1});
    TextColumn other = {"20.1", "20.2"};
    EXPECT_TRUE(wide == other);
    EXPECT_TRUE(other == wide);
    other.clear();
    other << QStringLiteral("20.1") << QStringLiteral("20.3");
    EXPECT_FALSE(wide == other);
}

}  // namespace
}  // namespace qorv
